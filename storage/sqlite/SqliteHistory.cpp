// SPDX-License-Identifier: MIT
#include "storage/sqlite/SqliteHistory.h"

#include "storage/sqlite/PlayRows.h"

#include <QDateTime>
#include <QFileInfo>
#include <QIODevice>
#include <QLocale>
#include <QSqlError>
#include <QVariant>

#include <cstdlib>
#include <optional>

namespace storage {

using game::PlayKind;
using game::PlayRecord;
using namespace Qt::StringLiterals;

namespace {

const QByteArray CsvHeader = "played_at,session,bet,denominator,jackpot,reach,notice_lamps,notice_sound,"
                             "slot_chance,symbol,target_symbol,win,money_after\n";

// A small wait for a file another program is writing: the game's thread
// must not stall on it.
constexpr int BusyTimeoutMs = 50;

// ISO 8601 in local time with its offset and milliseconds:
// 2024-05-01T21:03:07.250+09:00.
QByteArray LocalTimeText(qint64 ms)
{
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(ms);
    const int offsetMinutes = local.offsetFromUtc() / 60;
    const int away = std::abs(offsetMinutes);
    return local.toString(u"yyyy-MM-dd'T'HH:mm:ss.zzz"_s).toLatin1() + (offsetMinutes < 0 ? '-' : '+') +
           QByteArray::number(away / 60).rightJustified(2, '0') + ':' +
           QByteArray::number(away % 60).rightJustified(2, '0');
}

QByteArray CsvLine(const PlayRecord& spin, qint64 session)
{
    const QByteArray fields[] = {
        LocalTimeText(spin.playedAtMs),
        QByteArray::number(session),
        QByteArray::number(spin.bet),
        QString::number(spin.denominator, 'g', QLocale::FloatingPointShortest).toLatin1(),
        QByteArray::number(int(spin.jackpot)),
        QByteArray(game::Name(spin.reach).data()),
        QByteArray(game::Name(spin.noticeLamps).data()),
        QByteArray::number(int(spin.noticeSound)),
        QByteArray::number(int(spin.slotChance)),
        spin.symbol >= 0 ? QByteArray::number(spin.symbol) : QByteArray(),
        QByteArray::number(spin.targetSymbol),
        QByteArray::number(spin.amount),
        QByteArray::number(spin.moneyAfter),
    };
    QByteArray line;
    for (const QByteArray& field : fields)
        line += field + ',';
    line.back() = '\n';
    return line;
}

} // namespace

// Named by its address, which no other store alive shares: a program may
// hold this code twice (the benchmark's own copy beside the module's), and
// Qt keeps one list of connections.
SqliteHistory::SqliteHistory()
    : connectionName_(u"zelmor-history-%1"_s.arg(quintptr(this), 0, 16))
{
}

// The queries and the handle go before the connection is removed, which
// Qt requires of a connection no longer in use.
SqliteHistory::~SqliteHistory()
{
    // A checkpoint under way finishes first; closing the file then folds in
    // the rest of the log.
    checkpointer_.waitForDone();
    insertPlay_.reset();
    beginEntry_.reset();
    commitEntry_.reset();
    summary_.reset();
    db_.close();
    db_ = QSqlDatabase();
    if (QSqlDatabase::contains(connectionName_))
        QSqlDatabase::removeDatabase(connectionName_);
}

bool SqliteHistory::open(const QString& path, QString& error)
{
    return openConnection(path, error) && createSchema(error) && useWriteAheadLog(error) && prepareInsert(error);
}

// Refuses what SQLite would not say clearly, or would write through: a
// directory, and a file made read-only (even for an administrator, whom
// the file system lets write it anyway).
bool SqliteHistory::openConnection(const QString& path, QString& error)
{
    const QFileInfo file(path);
    if (file.isDir()) {
        error = u"a directory stands in its place"_s;
        return false;
    }
    const auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    if (file.exists() && !(file.permissions() & anyWrite)) {
        error = u"the file is read-only"_s;
        return false;
    }
    db_ = QSqlDatabase::addDatabase(u"QSQLITE"_s, connectionName_);
    if (!db_.isValid()) {
        error = u"the SQLite driver of Qt SQL is missing: %1"_s.arg(db_.lastError().text());
        return false;
    }
    db_.setDatabaseName(path);
    db_.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=%1"_s.arg(BusyTimeoutMs));
    if (!db_.open()) {
        error = db_.lastError().text();
        return false;
    }
    return true;
}

// In one write transaction: refuses a newer format or another program's
// database, makes the tables of a new file, rewrites the entries of a file
// from before the codes with them, and brings the summaries up to date with
// the entries: built from them all in a file from before the summaries. Nothing is written to a file that is refused, nor to a history
// whose summaries are up to date.
bool SqliteHistory::createSchema(QString& error)
{
    if (!run(u"BEGIN IMMEDIATE"_s, error))
        return false;
    const std::optional<int> version = formatVersion(error);
    const bool older = version > 0 && *version < FormatVersion;
    const std::optional<bool> recode = older ? spelledOut(error) : false;
    QStringList statements;
    if (version == 0)
        statements << PlayTables();
    if (recode == true)
        statements << RecodePlays();
    if (version && *version < SummariesSince)
        statements << SqliteSummary::Tables();
    if (version && *version < FormatVersion)
        statements << u"PRAGMA user_version = %1"_s.arg(FormatVersion);
    bool made = version.has_value() && recode.has_value();
    for (auto statement = statements.begin(); made && statement != statements.end(); ++statement)
        made = run(*statement, error);
    summary_.emplace(db_);
    if (!made || !summary_->catchUp(error)) {
        rollBack();
        return false;
    }
    return run(u"COMMIT"_s, error);
}

// Whether the file's plays spell their kinds and actions out, as before
// the codes; nothing, with the reason, when the file cannot say.
std::optional<bool> SqliteHistory::spelledOut(QString& error)
{
    QSqlQuery query(db_);
    if (!query.exec(PlaysSpelledOut) || !query.next()) {
        queryFailed(query, error);
        return std::nullopt;
    }
    return query.value(0).toInt() > 0;
}

// The file's format: 0 for a new, empty file; nothing, with the reason, for
// a newer format or a database of another program.
std::optional<int> SqliteHistory::formatVersion(QString& error)
{
    QSqlQuery query(db_);
    if (!query.exec(u"PRAGMA user_version"_s) || !query.next()) {
        queryFailed(query, error);
        return std::nullopt;
    }
    const int version = query.value(0).toInt();
    if (version > FormatVersion) {
        error = u"the history was made by a newer version of the game (format %1)"_s.arg(version);
        return std::nullopt;
    }
    if (version > 0)
        return version;
    if (!query.exec(u"SELECT count(*) FROM sqlite_master"_s) || !query.next()) {
        queryFailed(query, error);
        return std::nullopt;
    }
    if (query.value(0).toInt() > 0) {
        error = u"the file holds another program's database, not a play history"_s;
        return std::nullopt;
    }
    return 0;
}

// Write-ahead logging: an entry is one append to the log, and a kill loses
// nothing committed. NORMAL syncs the disk at checkpoints, not per entry.
bool SqliteHistory::useWriteAheadLog(QString& error)
{
    QSqlQuery query(db_);
    if (!query.exec(u"PRAGMA journal_mode = WAL"_s) || !query.next())
        return queryFailed(query, error);
    const QString mode = query.value(0).toString();
    if (mode.compare(u"wal"_s, Qt::CaseInsensitive) != 0) {
        error = u"the history cannot keep a write-ahead log (journal mode %1)"_s.arg(mode);
        return false;
    }
    return run(u"PRAGMA synchronous = NORMAL"_s, error);
}

// A passive checkpoint through a connection of the worker's own: it copies
// what it can without waiting for the game's writes, which go on meanwhile,
// and syncs the file. Entries come seconds apart in play, so it is done
// long before the next one, which then starts the log afresh; SQLite's own
// checkpoint at a thousand pages, on the writing thread, is left as the
// bound for entries written faster than the worker keeps up with.
void SqliteHistory::checkpointInBackground()
{
    entriesSinceCheckpoint_ = 0;
    if (checkpointing_.exchange(true))
        return;
    checkpointer_.start([this, path = db_.databaseName(), name = connectionName_ + u"-checkpoint"_s] {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name);
            db.setDatabaseName(path);
            db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=%1"_s.arg(BusyTimeoutMs));
            if (db.open())
                QSqlQuery(db).exec(u"PRAGMA wal_checkpoint(PASSIVE)"_s);
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        checkpointing_ = false;
    });
}

// The statements of every entry, prepared once.
bool SqliteHistory::prepareInsert(QString& error)
{
    insertPlay_.emplace(db_);
    beginEntry_.emplace(db_);
    commitEntry_.emplace(db_);
    return (insertPlay_->prepare(InsertPlay) || queryFailed(*insertPlay_, error)) &&
           (beginEntry_->prepare(u"BEGIN IMMEDIATE"_s) || queryFailed(*beginEntry_, error)) &&
           (commitEntry_->prepare(u"COMMIT"_s) || queryFailed(*commitEntry_, error));
}

bool SqliteHistory::beginSession(qint64 startedAtMs, QString& error)
{
    sessionStartMs_ = startedAtMs;
    QSqlQuery query(db_);
    query.prepare(u"INSERT INTO sessions (started_at) VALUES (?)"_s);
    query.addBindValue(startedAtMs);
    if (!query.exec())
        return queryFailed(query, error);
    session_ = query.lastInsertId().toLongLong();
    return true;
}

bool SqliteHistory::endSession(qint64 endedAtMs, QString& error)
{
    if (session_ == 0)
        return true;
    QSqlQuery query(db_);
    query.prepare(u"UPDATE sessions SET ended_at = ? WHERE id = ?"_s);
    query.addBindValue(endedAtMs);
    query.addBindValue(session_);
    return query.exec() || queryFailed(query, error);
}

// The entry and the summaries' change in one transaction, so that a kill
// keeps both or neither.
bool SqliteHistory::append(const PlayRecord& record, QString& error)
{
    if (!insertPlay_)
        return notOpen(error);
    if (session_ == 0) {
        if (!sessionStartMs_) {
            error = u"no session was begun"_s;
            return false;
        }
        if (!beginSession(*sessionStartMs_, error))
            return false;
    }
    if (!beginEntry_->exec())
        return queryFailed(*beginEntry_, error);
    QSqlQuery& insert = *insertPlay_;
    BindPlay(insert, record, session_);
    const bool added = (insert.exec() || queryFailed(insert, error)) &&
                       summary_->count(record, insert.lastInsertId().toLongLong(), session_, error) &&
                       summary_->flush(error) && (commitEntry_->exec() || queryFailed(*commitEntry_, error));
    if (!added) {
        rollBack();
        summary_->forget();
        return false;
    }
    if (++entriesSinceCheckpoint_ >= EntriesPerCheckpoint)
        checkpointInBackground();
    return true;
}

bool SqliteHistory::scan(const Visitor& visit, QString& error)
{
    QSqlQuery rows(db_);
    rows.setForwardOnly(true);
    if (!rows.exec(SelectPlays()))
        return queryFailed(rows, error);
    while (rows.next()) {
        if (const auto record = ReadPlay(rows))
            visit(*record, PlaySession(rows));
    }
    // next() also ends on an error, which lastError() then holds.
    return !rows.lastError().isValid() || queryFailed(rows, error);
}

bool SqliteHistory::exportCsv(QIODevice& out, QString& error)
{
    bool written = out.write(CsvHeader) == CsvHeader.size();
    const bool read = scan(
        [&](const PlayRecord& record, qint64 session) {
            if (written && record.kind == PlayKind::Spin) {
                const QByteArray line = CsvLine(record, session);
                written = out.write(line) == line.size();
            }
        },
        error);
    if (read && !written)
        error = u"cannot write the export: %1"_s.arg(out.errorString());
    return read && written;
}

bool SqliteHistory::summary(HistorySummary& summary, QString& error)
{
    return summary_ ? summary_->summary(summary, error) : notOpen(error);
}

bool SqliteHistory::dayLine(QDate day, game::SlumpLine& line, QString& error)
{
    return summary_ ? summary_->dayLine(day, line, error) : notOpen(error);
}

bool SqliteHistory::clear(QString& error)
{
    if (!summary_)
        return notOpen(error);
    const bool cleared = run(u"BEGIN IMMEDIATE"_s, error) && run(u"DELETE FROM plays"_s, error) &&
                         run(u"DELETE FROM sessions"_s, error) && summary_->clear(error) &&
                         run(u"COMMIT"_s, error);
    if (!cleared) {
        rollBack();
        summary_->forget();
        return false;
    }
    session_ = 0;
    return true;
}

bool SqliteHistory::run(const QString& statement, QString& error)
{
    QSqlQuery query(db_);
    return query.exec(statement) || queryFailed(query, error);
}

void SqliteHistory::rollBack()
{
    QString unused;
    run(u"ROLLBACK"_s, unused);
}

bool SqliteHistory::notOpen(QString& error) const
{
    error = u"the history is not open"_s;
    return false;
}

bool SqliteHistory::queryFailed(const QSqlQuery& query, QString& error) const
{
    return QueryFailed(query, error, u"the history's database failed"_s);
}

} // namespace storage
