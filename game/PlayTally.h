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

    friend bool operator==(const PlayTally&, const PlayTally&) = default;
};

// A point of a slump line: the balance after a spin, the spin numbered from
// 1 on its line.
struct SlumpPoint {
    qint64 spin = 0;
    qint64 balance = 0;

    friend bool operator==(const SlumpPoint&, const SlumpPoint&) = default;
};

// How far a slump line has come: its spins and its balance (paid out minus
// paid in), covers since the last spin included.
struct SlumpBalance {
    qint64 spins = 0;
    qint64 running = 0;

    // The point a spin makes. A money event makes none: a cover or a target
    // moves the balance, a loan or the goal's reset leaves it.
    std::optional<SlumpPoint> add(const PlayRecord& record);
    // Whether the graph marks the spin with a dot: a jackpot spin, or any
    // spin that paid.
    static bool Marks(const PlayRecord& record) { return record.jackpot || record.paid(); }
};

// A slump line: its points in order, with the spins marked with a dot.
// Lines kept in memory have a point for every spin; a long day read back
// from the history has its blocks' points only (SlumpBlock).
struct SlumpLine {
    SlumpBalance reached;
    QVector<SlumpPoint> points;
    QVector<SlumpPoint> marks;

    qint64 spins() const { return reached.spins; }
    void add(const PlayRecord& record);
};

// A stretch of a day's line as the history keeps it, so that a day of
// thousands of spins reads back in a few points: the block's lowest, highest
// and last point, and its first marked spin. No peak or dip is lost, and
// between them the balance only falls, a cover at a time, unless a spin
// pays, so straight lines between the points draw nearly the line itself.
struct SlumpBlock {
    static constexpr qint64 Spins = 16;
    // The block of a spin: spins 1 to 16 make block 0.
    static qint64 IndexOf(qint64 spin) { return (spin - 1) / Spins; }

    qint64 index = 0;
    SlumpPoint low, high, last;
    std::optional<SlumpPoint> mark;

    // A block from its first spin.
    static SlumpBlock Starting(SlumpPoint point, bool marked);
    void add(SlumpPoint point, bool marked);
    // Its points, in the order of their spins, to the end of `line`.
    void appendTo(SlumpLine& line) const;
};

// The local date of a play time, as the counter's days are split. The last
// day found is remembered, since the history comes in order and local-time
// conversion is slow.
class LocalDays {
public:
    QDate of(qint64 ms);

private:
    QDate day_;
    qint64 start_ = 0, end_ = 0; // [start, end) in ms
};

// Everything the data counter shows. Either fed with the whole history in
// order (add), or given the figures the history keeps (setHistory) and
// then fed the entries that come while it is shown.
class DataCounter {
public:
    // A day with play: its figures and, once read, its slump line.
    struct Day {
        PlayTally tally;
        std::optional<SlumpLine> line;
    };

    explicit DataCounter(QDate today = QDate::currentDate());

    // `thisSession`: the entry belongs to the session in progress. Its day is
    // the local date of its time.
    void add(const PlayRecord& record, bool thisSession);

    // The figures of the history: all time and each day with play, whose
    // lines come later, each as it is needed (setDayLine, for a day with
    // play; others have no line).
    void setHistory(const PlayTally& allTime, const std::map<QDate, PlayTally>& days);
    void setDayLine(QDate day, SlumpLine line);
    // This session's figures, counted as it went.
    void setSession(const PlayTally& session, const SlumpLine& line);
    // Another day becomes today, for figures carried past midnight.
    void setTodayDate(QDate today) { todayDate_ = today; }

    const PlayTally& session() const { return session_; }
    const PlayTally& today() const;
    const PlayTally& allTime() const { return allTime_; }
    const SlumpLine& sessionLine() const { return sessionLine_; }
    // Every day played, oldest first.
    const std::map<QDate, Day>& days() const { return days_; }
    QDate todayDate() const { return todayDate_; }

private:
    QDate todayDate_;
    LocalDays localDays_;
    PlayTally session_, allTime_;
    SlumpLine sessionLine_;
    std::map<QDate, Day> days_;
};

} // namespace game
