// SPDX-License-Identifier: MIT
// The play history's file, as the history module (libzelmor_history.so)
// implements it on SQLite. Kept behind this interface so that the SQL
// libraries load with the module, on the first spin or when the data counter
// opens, and never at start-up.
#pragma once

#include "game/PlayRecord.h"
#include "game/PlayTally.h"

#include <QDate>
#include <QString>

#include <functional>
#include <map>

class QIODevice;

namespace storage {

// The figures the history keeps up to date with every entry, so that the
// data counter and `zelmor --stats` open without reading the entries.
struct HistorySummary {
    game::PlayTally allTime;
    std::map<QDate, game::PlayTally> days; // by the local date of the entries
    qint64 sessions = 0;                   // sessions with entries
    qint64 firstPlayedMs = 0, lastPlayedMs = 0; // 0 while there are none
};

class HistoryStore {
public:
    virtual ~HistoryStore() = default;

    // Opens the file, creating it and its tables when missing. False, with
    // the reason, for a file that is no history (garbage, a directory, a
    // newer format) or that cannot be written or is locked.
    virtual bool open(const QString& path, QString& error) = 0;
    // A session runs from the program's start to its quit.
    virtual bool beginSession(qint64 startedAtMs, QString& error) = 0;
    virtual bool endSession(qint64 endedAtMs, QString& error) = 0;
    // Appends one entry to the session begun last, in a transaction of its
    // own: once this returns true the entry survives a kill.
    virtual bool append(const game::PlayRecord& record, QString& error) = 0;
    // Every entry in the order played, with its session's number, and the
    // session begun last (0 for none).
    using Visitor = std::function<void(const game::PlayRecord& record, qint64 session)>;
    virtual bool scan(const Visitor& visit, QString& error) = 0;
    virtual qint64 currentSession() const = 0;
    // The figures of every entry, from the summaries kept beside them.
    virtual bool summary(HistorySummary& summary, QString& error) = 0;
    // A day's slump line: every spin of a short day, the blocks of a long
    // one (game::SlumpBlock). A day without play has an empty line.
    virtual bool dayLine(QDate day, game::SlumpLine& line, QString& error) = 0;
    // One line per spin with a header line.
    virtual bool exportCsv(QIODevice& out, QString& error) = 0;
    // Deletes every entry and session; the next append begins a new session
    // with the start time given last.
    virtual bool clear(QString& error) = 0;
};

// The module's one entry point.
using CreateHistoryStore = HistoryStore* (*)();
inline constexpr const char* CreateHistoryStoreSymbol = "zelmor_create_history_store";
inline constexpr const char* HistoryModuleFile = "libzelmor_history.so";

} // namespace storage
