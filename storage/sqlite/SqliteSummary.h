// SPDX-License-Identifier: MIT
// The data counter's figures, kept in the history file beside the entries:
// a row per day with its figures, its last block of spins and the totals
// of all time so far, and the day's earlier blocks of game::SlumpBlock::Spins
// spins. Every entry changes its day's row in the transaction that adds it,
// so a kill never leaves them apart, and writes one block more every 16
// spins; the counter then opens on a few rows however long the history.
#pragma once

#include "storage/HistoryStore.h"

#include <QSqlDatabase>
#include <QSqlQuery>

#include <optional>

namespace storage {

// The query's own error text, or `fallback` when it gives none. Always
// false, for `return ok || QueryFailed(...)`.
bool QueryFailed(const QSqlQuery& query, QString& error, const QString& fallback);

class SqliteSummary {
public:
    explicit SqliteSummary(const QSqlDatabase& db);

    // The tables, for a new file and for one from before the summaries.
    static QStringList Tables();

    // Within the caller's write transaction, on opening: counts the entries
    // the summaries lack (all of them in a history from before the
    // summaries, rows added to the file by other programs) and starts
    // afresh if entries they counted have gone.
    bool catchUp(QString& error);
    // Counts a new entry, within the caller's write transaction; written
    // with flush().
    bool count(const game::PlayRecord& record, qint64 id, qint64 session, QString& error);
    // Writes the day's row of the entries counted since the last flush.
    bool flush(QString& error);
    // Empties the summaries, with the entries, within the caller's write
    // transaction.
    bool clear(QString& error);
    // After a transaction that failed: what is held in memory is read again.
    void forget();

    bool summary(HistorySummary& summary, QString& error);
    bool dayLine(QDate day, game::SlumpLine& line, QString& error);

    // A day of at most this many spins reads back with every spin; a longer
    // one from its blocks.
    static constexpr qint64 FullLineSpins = 5000;

private:
    struct Totals {
        qint64 countedTo = 0;   // the last entry counted (plays.id)
        qint64 sessions = 0;    // sessions with entries
        qint64 lastSession = 0; // the session of the entry counted last
        qint64 firstPlayedMs = 0, lastPlayedMs = 0;
        game::PlayTally tally;
    };
    // The day of the entry counted last.
    struct Day {
        QDate day;
        qint64 firstPlay = 0, lastPlay = 0; // its first and last entry (plays.id)
        game::PlayTally tally;
        game::SlumpBalance reached;
        std::optional<game::SlumpBlock> block; // the block of its last spin
        bool changed = false;                  // since its row was written
    };

    // The statement, prepared on its first use; nullptr if it cannot be.
    QSqlQuery* prepared(std::optional<QSqlQuery>& query, const QString& text, QString& error);
    bool loadTotals(QString& error);
    bool loadDay(QDate day, QString& error);
    bool readDay(QDate date, Day& day, QString& error);
    bool writeDay(QString& error);
    bool writeFinishedBlock(QString& error);
    bool countInDay(const game::PlayRecord& record, qint64 id, QString& error);
    bool fullLine(const Day& day, game::SlumpLine& line, QString& error);
    bool blockLine(const Day& day, game::SlumpLine& line, QString& error);
    bool failed(const QSqlQuery& query, QString& error) const;

    QSqlDatabase db_;
    std::optional<Totals> totals_;
    std::optional<Day> day_;
    game::LocalDays localDays_;
    // Prepared on first use, kept for every entry after.
    std::optional<QSqlQuery> writeDay_, writeBlock_, readDay_;
};

} // namespace storage
