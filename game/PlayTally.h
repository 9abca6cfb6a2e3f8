// SPDX-License-Identifier: MIT
// The data counter's figures, added up from the play history: spins,
// jackpots, dry runs and money, with what the machine promised for the same
// play; and the slump graph's lines.
#pragma once

#include "game/PlayRecord.h"

#include <QDate>
#include <QVector>

#include <map>
#include <optional>

namespace game {

struct PlayTally {
    qint64 spins = 0;          // every finished spin
    qint64 jackpots = 0;       // jackpot spins
    qint64 chanceSpins = 0;    // slot-chance spins
    qint64 chanceLineUps = 0;  // slot-chance spins that lined up
    qint64 currentRun = 0;     // spins outside the slot chance since the last jackpot spin
    qint64 longestRun = 0;     // the longest such run, the one in progress included
    qint64 paidIn = 0;         // covers and targets, in dollars
    qint64 paidOut = 0;        // wins
    qint64 loans = 0;
    qint64 goalResets = 0;     // the goal's resets to $100 (negative)
    // What the machine promises for the same spins
    double expectedJackpots = 0;
    double expectedChanceLineUps = 0;
    double expectedPaidIn = 0;
    double expectedPaidOut = 0;

    void add(const PlayRecord& record);
    // Paid out per dollar paid in; none before anything was paid in.
    std::optional<double> returnRate() const;
    std::optional<double> expectedReturn() const;
};

// A slump graph line: the balance (paid out minus paid in) after each spin,
// and which spins were jackpot spins.
struct SlumpLine {
    QVector<qint64> balance;
    QVector<int> jackpotSpins; // indexes into balance
    qint64 running = 0;        // the balance so far, covers since the last spin included

    void add(const PlayRecord& record);
};

// Everything the data counter shows, fed with the history in order.
class DataCounter {
public:
    explicit DataCounter(QDate today = QDate::currentDate());

    // `thisSession`: the entry belongs to the session in progress. Its day is
    // the local date of its time.
    void add(const PlayRecord& record, bool thisSession);

    const PlayTally& session() const { return session_; }
    const PlayTally& today() const { return today_; }
    const PlayTally& allTime() const { return allTime_; }
    const SlumpLine& sessionLine() const { return sessionLine_; }
    // One line per day played, oldest first.
    const std::map<QDate, SlumpLine>& days() const { return days_; }
    QDate todayDate() const { return todayDate_; }

private:
    // The local date of a time; the last day found is remembered, since the
    // history comes in order and local-time conversion is slow.
    QDate dayOf(qint64 ms);

    QDate todayDate_;
    QDate lastDay_;
    qint64 lastDayStart_ = 0, lastDayEnd_ = 0; // [start, end) in ms
    PlayTally session_, today_, allTime_;
    SlumpLine sessionLine_;
    std::map<QDate, SlumpLine> days_;
};

} // namespace game
