// SPDX-License-Identifier: MIT
// The play history of the save directory (history.sqlite): every finished
// spin and every money event, kept across runs for the data counter.
//
// Nothing is loaded at start-up: the history module and the file open on the
// first entry recorded or the first read. A history that cannot be used (a
// damaged, read-only or locked file, a directory in its place, a missing
// module) costs only the history: the failure is reported once, through
// takeFailure(), and every later call does nothing and returns false. The
// two save files are never touched.
#pragma once

#include "storage/HistoryStore.h"

#include <QLibrary>
#include <QString>

#include <memory>

namespace storage {

class History {
public:
    // `filePath`: the history file; `modulePath`: the SQLite module.
    explicit History(QString filePath, QString modulePath = DefaultModulePath());
    ~History();
    History(const History&) = delete;
    History& operator=(const History&) = delete;

    static QString FileName() { return QStringLiteral("history.sqlite"); }
    // Beside the executable, where the game's build and its package put it.
    static QString DefaultModulePath();
    // For programs that do not live beside the module (tests): where
    // DefaultModulePath() finds it from now on.
    static void useModuleAt(const QString& modulePath);

    // When this run began; its session is written with the first entry.
    void setSessionStart(qint64 startedAtMs) { sessionStartMs_ = startedAtMs; }

    // Appends one entry, opening the history on first use.
    bool record(const game::PlayRecord& record);
    // Reads every entry in order (see HistoryStore::scan).
    bool scan(const HistoryStore::Visitor& visit);
    // The figures of every entry (see HistoryStore::summary).
    bool summary(HistorySummary& summary);
    // A day's slump line (see HistoryStore::dayLine).
    bool dayLine(QDate day, game::SlumpLine& line);
    // What the data counter shows on opening: the summary's figures and the
    // line of the counter's today. This session's own figures are the
    // caller's to add.
    bool readCounter(game::DataCounter& counter);
    // The session of this run, 0 before its first entry.
    qint64 currentSession() const;
    bool exportCsv(const QString& path, QString& error);
    bool clear(QString& error);
    // Ends this run's session, at quit.
    void endSession(qint64 endedAtMs);

    // Whether the history is out of use for the rest of the run.
    bool broken() const { return broken_; }
    // The reason it broke, once: empty afterwards and while it works.
    QString takeFailure();

private:
    HistoryStore* store();      // opens on first use; nullptr once broken
    bool fail(const QString& reason);

    QString filePath_;
    QLibrary library_;
    std::unique_ptr<HistoryStore> store_;
    qint64 sessionStartMs_ = 0;
    bool sessionBegun_ = false;
    bool broken_ = false;
    QString failure_;           // the first reason, kept for the calls after it
    bool failureTaken_ = false;
};

} // namespace storage
