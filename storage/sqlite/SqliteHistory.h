// SPDX-License-Identifier: MIT
// The play history on SQLite, through Qt SQL. Built into the history module
// (libzelmor_history.so) and, as a static library, into the tests and the
// benchmark that drive it directly.
#pragma once

#include "storage/HistoryStore.h"
#include "storage/sqlite/SqliteSummary.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QThreadPool>

#include <atomic>
#include <optional>

namespace storage {

class SqliteHistory final : public HistoryStore {
public:
    SqliteHistory();
    ~SqliteHistory() override;
    SqliteHistory(const SqliteHistory&) = delete;
    SqliteHistory& operator=(const SqliteHistory&) = delete;

    bool open(const QString& path, QString& error) override;
    bool beginSession(qint64 startedAtMs, QString& error) override;
    bool endSession(qint64 endedAtMs, QString& error) override;
    bool append(const game::PlayRecord& record, QString& error) override;
    bool scan(const Visitor& visit, QString& error) override;
    qint64 currentSession() const override { return session_; }
    bool summary(HistorySummary& summary, QString& error) override;
    bool dayLine(QDate day, game::SlumpLine& line, QString& error) override;
    bool exportCsv(QIODevice& out, QString& error) override;
    bool clear(QString& error) override;

    // The file format this code writes (PRAGMA user_version): 2 keeps the
    // summaries beside the entries, which 1 had alone; 3 stores the entries'
    // kinds, reach actions and notice lamps as codes, not names.
    static constexpr int FormatVersion = 3;
    static constexpr int SummariesSince = 2;
    // Entries between two checkpoints of the write-ahead log.
    static constexpr int EntriesPerCheckpoint = 256;

private:
    bool openConnection(const QString& path, QString& error);
    bool createSchema(QString& error);
    std::optional<int> formatVersion(QString& error);
    std::optional<bool> spelledOut(QString& error);
    bool useWriteAheadLog(QString& error);
    bool prepareInsert(QString& error);
    bool run(const QString& statement, QString& error);
    void rollBack(); // of a transaction that failed; its own error is moot
    bool queryFailed(const QSqlQuery& query, QString& error) const;
    bool notOpen(QString& error) const;
    void checkpointInBackground();

    QString connectionName_;
    QSqlDatabase db_;
    std::optional<QSqlQuery> insertPlay_; // prepared once, bound per entry
    std::optional<QSqlQuery> beginEntry_, commitEntry_; // its transaction
    std::optional<SqliteSummary> summary_; // once the tables are there
    qint64 session_ = 0;                  // the session begun last, 0 for none
    std::optional<qint64> sessionStartMs_; // its start, for the session after a clear
    // The log is copied back into the file on a thread of its own, so that
    // its disk syncs do not hold up the game's thread.
    QThreadPool checkpointer_;
    std::atomic<bool> checkpointing_ = false;
    int entriesSinceCheckpoint_ = 0;
};

} // namespace storage
