// SPDX-License-Identifier: MIT
// One entry of the play history: a finished spin, or a money event (a cover
// click, a target bought, a loan, the goal's reset). The machine reports
// each as it happens; whoever keeps the history stamps the time.
#pragma once

#include <QLatin1StringView>
#include <QtGlobal>

namespace game {

// The history file stores these three enums by number: new values go at the
// end, and none is ever renumbered.
enum class PlayKind { Spin, CoverMiss, CoverHit, Target, Loan, Goal };

// What the spin's draw showed on the reels.
enum class ReachAction {
    None,          // no reach
    Missed,        // a reach that does not pay
    AllRotation,   // the jackpot actions, by the lottery's number 1..6
    NormalStop,
    TwoStage,
    OneShort,
    OnePast,
    InstantLineUp,
};

enum class NoticeLamps { None, Normal, Premium };

struct PlayRecord {
    PlayKind kind = PlayKind::Spin;
    qint64 playedAtMs = 0;  // milliseconds since 1970-01-01 UTC
    // The money's change: a spin's win, -10 a cover click, -100 a target,
    // +100 or +1000 a loan, and the goal's reset to $100 (negative).
    qint64 amount = 0;
    qint64 moneyAfter = 0;

    // A spin: how it was played and what its draw decided
    int bet = 0;
    double denominator = 0;
    bool jackpot = false;      // the lottery made it a jackpot spin
    ReachAction reach = ReachAction::None;
    NoticeLamps noticeLamps = NoticeLamps::None;
    bool noticeSound = false;  // the notice chime was drawn (heard only with sound on)
    bool slotChance = false;   // a slot-chance spin, stopped by the player
    int symbol = -1;           // the symbol paid, -1 for none
    // The target symbol in force (for a Target entry: the symbol bought), 0 for none
    int targetSymbol = 0;
    int targetRate = 1;

    bool paid() const { return kind == PlayKind::Spin && symbol >= 0; }
};

// The names the history file and its exports give the enums' values; an
// empty name for a number that is none of them.
QLatin1StringView Name(PlayKind kind);
QLatin1StringView Name(ReachAction reach);
QLatin1StringView Name(NoticeLamps lamps);

} // namespace game
