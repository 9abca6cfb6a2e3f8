// SPDX-License-Identifier: MIT
#include "storage/sqlite/SqliteHistory.h"

#include <QDateTime>
#include <QFileInfo>
#include <QIODevice>
#include <QLocale>
#include <QSqlError>
#include <QVariant>

#include <atomic>
#include <cstdlib>
#include <optional>
#include <type_traits>

namespace storage {

using game::NoticeLamps;
using game::PlayKind;
using game::PlayRecord;
using game::ReachAction;
using namespace Qt::StringLiterals;

namespace {

// The history file, for whoever queries it. Times are milliseconds since
// 1970-01-01 UTC; enums are stored as the names game::Name() gives them
// ('spin', 'cover_miss', 'all_rotation', 'premium', ...); booleans as 0 or 1.
// PRAGMA user_version holds the format's number (SqliteHistory::FormatVersion).
const QString CreateSessions = uR"(
CREATE TABLE IF NOT EXISTS sessions (
    id          INTEGER PRIMARY KEY,  -- numbered in order from 1: one per run of the game
    started_at  INTEGER NOT NULL,     -- when the run began
    ended_at    INTEGER               -- when it quit; NULL while it runs, or after a crash
))"_s;

const QString CreatePlays = uR"(
CREATE TABLE IF NOT EXISTS plays (
    id            INTEGER PRIMARY KEY,  -- the order of play
    session       INTEGER NOT NULL REFERENCES sessions(id),
    played_at     INTEGER NOT NULL,     -- when the spin finished or the money moved
    kind          TEXT NOT NULL,        -- 'spin', or the money event: 'cover_miss', 'cover_hit',
                                        -- 'target' (a target bought), 'loan', 'goal' (the reset to $100)
    amount        INTEGER NOT NULL,     -- the money's change in dollars: a spin's win (0 for none),
                                        -- -10 a cover, -100 a target, +100/+1000 a loan, the goal's reset
    money_after   INTEGER NOT NULL,     -- the money after it
    -- A spin's columns; NULL for money events, but for target_symbol of a 'target' entry
    bet           INTEGER,              -- the BET of the spin
    denominator   REAL,                 -- the lottery's denominator: a jackpot spin is 6 in this
    jackpot       INTEGER,              -- 1: the lottery made it a jackpot spin
    reach         TEXT,                 -- the reach shown: 'none', 'missed', or a jackpot action
                                        -- ('all_rotation', 'normal_stop', 'two_stage', ...)
    notice_lamps  TEXT,                 -- the notice lamps: 'none', 'normal', 'premium'
    notice_sound  INTEGER,              -- 1: the notice chime was drawn (heard only with sound on)
    slot_chance   INTEGER,              -- 1: a slot-chance spin, stopped by the player
    symbol        INTEGER,              -- the symbol paid, 0..9; NULL when nothing was paid
    target_symbol INTEGER,              -- the target symbol in force, 0 for none; for a 'target'
                                        -- entry the symbol bought
    target_rate   INTEGER               -- the target's multiplier in force (1 without a target)
))"_s;

// The spins alone, the usual start of a query.
const QString CreateSpins = uR"(
CREATE VIEW IF NOT EXISTS spins AS
    SELECT id, session, played_at, amount AS win, money_after, bet, denominator, jackpot, reach,
           notice_lamps, notice_sound, slot_chance, symbol, target_symbol, target_rate
    FROM plays WHERE kind = '%1')"_s;

const QString InsertPlay = uR"(
INSERT INTO plays (session, played_at, kind, amount, money_after, bet, denominator, jackpot, reach,
                   notice_lamps, notice_sound, slot_chance, symbol, target_symbol, target_rate)
VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?))"_s;

// The columns in the order of InsertPlay and SelectPlays.
enum Column {
    Session,
    PlayedAt,
    Kind,
    Amount,
    MoneyAfter,
    Bet,
    Denominator,
    Jackpot,
    Reach,
    Lamps,
    NoticeSound,
    SlotChance,
    Symbol,
    TargetSymbol,
    TargetRate,
};

const QString SelectPlays = uR"(
SELECT session, played_at, kind, amount, money_after, bet, denominator, jackpot, reach,
       notice_lamps, notice_sound, slot_chance, symbol, target_symbol, target_rate
FROM plays ORDER BY id)"_s;

const QByteArray CsvHeader = "played_at,session,bet,denominator,jackpot,reach,notice_lamps,notice_sound,"
                             "slot_chance,symbol,target_symbol,win,money_after\n";

// A small wait for a file another program is writing: the game's thread
// must not stall on it.
constexpr int BusyTimeoutMs = 50;

// A column's number, or nothing for NULL or text that is no number.
template <typename Number>
std::optional<Number> NumberIn(const QVariant& value)
{
    if (value.isNull())
        return std::nullopt;
    bool ok = false;
    const Number number = std::is_integral_v<Number> ? Number(value.toLongLong(&ok)) : Number(value.toDouble(&ok));
    return ok ? std::optional(number) : std::nullopt;
}

std::optional<qint64> Whole(const QVariant& value) { return NumberIn<qint64>(value); }
std::optional<double> Real(const QVariant& value) { return NumberIn<double>(value); }

QVariant Flag(bool value) { return value ? 1 : 0; }

// One row of SelectPlays as an entry, or nothing for a row that does not
// read back (a kind this code does not know, a spin with a value missing:
// a file edited by hand).
std::optional<PlayRecord> ReadPlay(const QSqlQuery& row)
{
    const auto kind = game::PlayKindNamed(row.value(Kind).toString());
    const auto playedAt = Whole(row.value(PlayedAt));
    const auto amount = Whole(row.value(Amount));
    const auto moneyAfter = Whole(row.value(MoneyAfter));
    if (!kind || !playedAt || !amount || !moneyAfter)
        return std::nullopt;
    PlayRecord record;
    record.kind = *kind;
    record.playedAtMs = *playedAt;
    record.amount = *amount;
    record.moneyAfter = *moneyAfter;
    if (record.kind == PlayKind::Target) {
        const auto bought = Whole(row.value(TargetSymbol));
        if (!bought)
            return std::nullopt;
        record.targetSymbol = int(*bought);
    }
    if (record.kind != PlayKind::Spin)
        return record;

    const auto bet = Whole(row.value(Bet));
    const auto denominator = Real(row.value(Denominator));
    const auto jackpot = Whole(row.value(Jackpot));
    const auto reach = game::ReachActionNamed(row.value(Reach).toString());
    const auto lamps = game::NoticeLampsNamed(row.value(Lamps).toString());
    const auto noticeSound = Whole(row.value(NoticeSound));
    const auto slotChance = Whole(row.value(SlotChance));
    const auto targetSymbol = Whole(row.value(TargetSymbol));
    const auto targetRate = Whole(row.value(TargetRate));
    const QVariant symbol = row.value(Symbol);
    const auto paid = Whole(symbol);
    if (!bet || !denominator || !jackpot || !reach || !lamps || !noticeSound || !slotChance || !targetSymbol ||
        !targetRate || (!symbol.isNull() && !paid))
        return std::nullopt;
    record.bet = int(*bet);
    record.denominator = *denominator;
    record.jackpot = *jackpot != 0;
    record.reach = *reach;
    record.noticeLamps = *lamps;
    record.noticeSound = *noticeSound != 0;
    record.slotChance = *slotChance != 0;
    record.symbol = paid ? int(*paid) : -1;
    record.targetSymbol = int(*targetSymbol);
    record.targetRate = int(*targetRate);
    return record;
}

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

QString NextConnectionName()
{
    static std::atomic<int> made{0};
    return u"zelmor-history-%1"_s.arg(++made);
}

} // namespace

SqliteHistory::SqliteHistory()
    : connectionName_(NextConnectionName())
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
// database, and makes the tables of a new file. Nothing is written to a
// file that is refused, nor to a history that has its tables.
bool SqliteHistory::createSchema(QString& error)
{
    if (!run(u"BEGIN IMMEDIATE"_s, error))
        return false;
    const std::optional<int> version = formatVersion(error);
    bool made = version.has_value();
    if (made && *version == 0) {
        const QStringList statements{
            CreateSessions,
            CreatePlays,
            CreateSpins.arg(game::Name(PlayKind::Spin)),
            u"PRAGMA user_version = %1"_s.arg(FormatVersion),
        };
        for (auto statement = statements.begin(); made && statement != statements.end(); ++statement)
            made = run(*statement, error);
    }
    if (!made) {
        rollBack();
        return false;
    }
    return run(u"COMMIT"_s, error);
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

bool SqliteHistory::prepareInsert(QString& error)
{
    insertPlay_.emplace(db_);
    return insertPlay_->prepare(InsertPlay) || queryFailed(*insertPlay_, error);
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

bool SqliteHistory::append(const PlayRecord& record, QString& error)
{
    if (!insertPlay_) {
        error = u"the history is not open"_s;
        return false;
    }
    if (session_ == 0) {
        if (!sessionStartMs_) {
            error = u"no session was begun"_s;
            return false;
        }
        if (!beginSession(*sessionStartMs_, error))
            return false;
    }
    const bool spin = record.kind == PlayKind::Spin;
    const auto spinValue = [spin](QVariant value) { return spin ? value : QVariant(); };
    QSqlQuery& insert = *insertPlay_;
    insert.bindValue(Session, session_);
    insert.bindValue(PlayedAt, record.playedAtMs);
    insert.bindValue(Kind, QString(game::Name(record.kind)));
    insert.bindValue(Amount, record.amount);
    insert.bindValue(MoneyAfter, record.moneyAfter);
    insert.bindValue(Bet, spinValue(record.bet));
    insert.bindValue(Denominator, spinValue(record.denominator));
    insert.bindValue(Jackpot, spinValue(Flag(record.jackpot)));
    insert.bindValue(Reach, spinValue(QString(game::Name(record.reach))));
    insert.bindValue(Lamps, spinValue(QString(game::Name(record.noticeLamps))));
    insert.bindValue(NoticeSound, spinValue(Flag(record.noticeSound)));
    insert.bindValue(SlotChance, spinValue(Flag(record.slotChance)));
    insert.bindValue(Symbol, record.paid() ? QVariant(record.symbol) : QVariant());
    const bool hasTarget = spin || record.kind == PlayKind::Target;
    insert.bindValue(TargetSymbol, hasTarget ? QVariant(record.targetSymbol) : QVariant());
    insert.bindValue(TargetRate, spinValue(record.targetRate));
    if (!insert.exec())
        return queryFailed(insert, error);
    if (++entriesSinceCheckpoint_ >= EntriesPerCheckpoint)
        checkpointInBackground();
    return true;
}

bool SqliteHistory::scan(const Visitor& visit, QString& error)
{
    QSqlQuery rows(db_);
    rows.setForwardOnly(true);
    if (!rows.exec(SelectPlays))
        return queryFailed(rows, error);
    while (rows.next()) {
        if (const auto record = ReadPlay(rows))
            visit(*record, rows.value(Session).toLongLong());
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

bool SqliteHistory::clear(QString& error)
{
    const QStringList statements{u"BEGIN IMMEDIATE"_s, u"DELETE FROM plays"_s, u"DELETE FROM sessions"_s,
                                 u"COMMIT"_s};
    for (const QString& statement : statements) {
        if (!run(statement, error)) {
            rollBack();
            return false;
        }
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

// Always false, for `return ok || queryFailed(...)`.
bool SqliteHistory::queryFailed(const QSqlQuery& query, QString& error) const
{
    error = query.lastError().text();
    if (error.isEmpty())
        error = u"the history's database failed"_s;
    return false;
}

} // namespace storage
