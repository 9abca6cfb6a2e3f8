// SPDX-License-Identifier: MIT
#include "game/PlayTally.h"

#include "game/Odds.h"

#include <QDateTime>

#include <algorithm>

namespace game {

namespace {

bool PaidIn(PlayKind kind)
{
    return kind == PlayKind::CoverMiss || kind == PlayKind::CoverHit || kind == PlayKind::Target;
}

} // namespace

void PlayTally::add(const PlayRecord& record)
{
    switch (record.kind) {
    case PlayKind::CoverMiss:
    case PlayKind::CoverHit:
    case PlayKind::Target:
        paidIn -= record.amount;
        return;
    case PlayKind::Loan:
        loans += record.amount;
        return;
    case PlayKind::Goal:
        goalResets += record.amount;
        return;
    case PlayKind::Spin:
        break;
    }
    ++spins;
    paidOut += record.amount;
    expectedPaidIn += ExpectedCost(record);
    expectedPaidOut += ExpectedWin(record);
    if (record.slotChance) {
        ++chanceSpins;
        chanceLineUps += record.paid() ? 1 : 0;
        expectedChanceLineUps += SlotChanceLineUpChance();
        return;
    }
    expectedJackpots += JackpotSpinChance(record.denominator);
    if (record.jackpot) {
        ++jackpots;
        currentRun = 0;
        return;
    }
    ++currentRun;
    longestRun = std::max(longestRun, currentRun);
}

std::optional<double> PlayTally::returnRate() const
{
    if (paidIn <= 0)
        return std::nullopt;
    return double(paidOut) / double(paidIn);
}

std::optional<double> PlayTally::expectedReturn() const
{
    if (expectedPaidIn <= 0)
        return std::nullopt;
    return expectedPaidOut / expectedPaidIn;
}

std::optional<SlumpPoint> SlumpBalance::add(const PlayRecord& record)
{
    if (PaidIn(record.kind))
        running += record.amount;
    if (record.kind != PlayKind::Spin)
        return std::nullopt;
    running += record.amount;
    return SlumpPoint{++spins, running};
}

void SlumpLine::add(const PlayRecord& record)
{
    const std::optional<SlumpPoint> point = reached.add(record);
    if (!point)
        return;
    points.append(*point);
    if (SlumpBalance::Marks(record))
        marks.append(*point);
}

SlumpBlock SlumpBlock::Starting(SlumpPoint point, bool marked)
{
    return {IndexOf(point.spin), point, point, point, marked ? std::optional(point) : std::nullopt};
}

// The first of equal lows or highs is kept, as the graph's own decimation
// keeps it.
void SlumpBlock::add(SlumpPoint point, bool marked)
{
    if (point.balance < low.balance)
        low = point;
    if (point.balance > high.balance)
        high = point;
    last = point;
    if (marked && !mark)
        mark = point;
}

void SlumpBlock::appendTo(SlumpLine& line) const
{
    SlumpPoint picks[] = {low, high, last};
    std::sort(std::begin(picks), std::end(picks),
              [](const SlumpPoint& a, const SlumpPoint& b) { return a.spin < b.spin; });
    for (const SlumpPoint& point : picks)
        if (line.points.isEmpty() || line.points.last().spin < point.spin)
            line.points.append(point);
    if (mark)
        line.marks.append(*mark);
}

QDate LocalDays::of(qint64 ms)
{
    if (day_.isValid() && ms >= start_ && ms < end_)
        return day_;
    day_ = QDateTime::fromMSecsSinceEpoch(ms).date();
    start_ = day_.startOfDay().toMSecsSinceEpoch();
    end_ = day_.addDays(1).startOfDay().toMSecsSinceEpoch();
    return day_;
}

DataCounter::DataCounter(QDate today)
    : todayDate_(today)
{
}

void DataCounter::add(const PlayRecord& record, bool thisSession)
{
    allTime_.add(record);
    // A day the counter has not seen had no play before: its line is known.
    const auto [day, fresh] = days_.try_emplace(localDays_.of(record.playedAtMs));
    if (fresh)
        day->second.line.emplace();
    day->second.tally.add(record);
    if (day->second.line)
        day->second.line->add(record);
    if (thisSession) {
        session_.add(record);
        sessionLine_.add(record);
    }
}

void DataCounter::setHistory(const PlayTally& allTime, const std::map<QDate, PlayTally>& days)
{
    allTime_ = allTime;
    days_.clear();
    for (const auto& [day, tally] : days)
        days_[day].tally = tally;
}

void DataCounter::setDayLine(QDate day, SlumpLine line)
{
    if (const auto played = days_.find(day); played != days_.end())
        played->second.line = std::move(line);
}

void DataCounter::setSession(const PlayTally& session, const SlumpLine& line)
{
    session_ = session;
    sessionLine_ = line;
}

const PlayTally& DataCounter::today() const
{
    static const PlayTally none;
    const auto day = days_.find(todayDate_);
    return day != days_.end() ? day->second.tally : none;
}

} // namespace game
