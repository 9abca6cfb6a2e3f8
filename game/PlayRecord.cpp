// SPDX-License-Identifier: MIT
#include "game/PlayRecord.h"

#include <array>
#include <utility>

namespace game {

namespace {

using namespace Qt::StringLiterals;

constexpr std::array KindNames{
    std::pair{PlayKind::Spin, "spin"_L1},         std::pair{PlayKind::CoverMiss, "cover_miss"_L1},
    std::pair{PlayKind::CoverHit, "cover_hit"_L1}, std::pair{PlayKind::Target, "target"_L1},
    std::pair{PlayKind::Loan, "loan"_L1},         std::pair{PlayKind::Goal, "goal"_L1},
};

constexpr std::array ReachNames{
    std::pair{ReachAction::None, "none"_L1},
    std::pair{ReachAction::Missed, "missed"_L1},
    std::pair{ReachAction::AllRotation, "all_rotation"_L1},
    std::pair{ReachAction::NormalStop, "normal_stop"_L1},
    std::pair{ReachAction::TwoStage, "two_stage"_L1},
    std::pair{ReachAction::OneShort, "one_short"_L1},
    std::pair{ReachAction::OnePast, "one_past"_L1},
    std::pair{ReachAction::InstantLineUp, "instant_line_up"_L1},
};

constexpr std::array NoticeNames{
    std::pair{NoticeLamps::None, "none"_L1},
    std::pair{NoticeLamps::Normal, "normal"_L1},
    std::pair{NoticeLamps::Premium, "premium"_L1},
};

template <typename Enum, std::size_t N>
QLatin1StringView NameIn(const std::array<std::pair<Enum, QLatin1StringView>, N>& names, Enum value)
{
    for (const auto& [each, name] : names) {
        if (each == value)
            return name;
    }
    return {};
}
} // namespace

QLatin1StringView Name(PlayKind kind) { return NameIn(KindNames, kind); }
QLatin1StringView Name(ReachAction reach) { return NameIn(ReachNames, reach); }
QLatin1StringView Name(NoticeLamps lamps) { return NameIn(NoticeNames, lamps); }

} // namespace game
