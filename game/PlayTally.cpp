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

void SlumpLine::add(const PlayRecord& record)
{
    if (PaidIn(record.kind))
        running += record.amount;
    if (record.kind != PlayKind::Spin)
        return;
    running += record.amount;
    if (record.jackpot || record.paid())
        jackpotSpins.append(balance.size());
    balance.append(running);
}

DataCounter::DataCounter(QDate today)
    : todayDate_(today)
{
}

QDate DataCounter::dayOf(qint64 ms)
{
    if (lastDay_.isValid() && ms >= lastDayStart_ && ms < lastDayEnd_)
        return lastDay_;
    lastDay_ = QDateTime::fromMSecsSinceEpoch(ms).date();
    lastDayStart_ = lastDay_.startOfDay().toMSecsSinceEpoch();
    lastDayEnd_ = lastDay_.addDays(1).startOfDay().toMSecsSinceEpoch();
    return lastDay_;
}

void DataCounter::add(const PlayRecord& record, bool thisSession)
{
    const QDate day = dayOf(record.playedAtMs);
    allTime_.add(record);
    days_[day].add(record);
    if (day == todayDate_)
        today_.add(record);
    if (thisSession) {
        session_.add(record);
        sessionLine_.add(record);
    }
}

} // namespace game
