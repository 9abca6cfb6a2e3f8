// SPDX-License-Identifier: MIT
#include "storage/sqlite/SqliteSummary.h"

#include "storage/sqlite/PlayRows.h"

#include <QSqlError>
#include <QVariant>

#include <algorithm>

namespace storage {

using game::PlayRecord;
using game::PlayTally;
using game::SlumpBlock;
using game::SlumpLine;
using game::SlumpPoint;
using namespace Qt::StringLiterals;

namespace {

// The columns of a tally: a day's figures, and with `total_` before them the
// totals in the same row.
struct Count {
    const char16_t* column;
    qint64 PlayTally::*field;
};
const Count Counts[] = {
    {u"spins", &PlayTally::spins},
    {u"jackpots", &PlayTally::jackpots},
    {u"chance_spins", &PlayTally::chanceSpins},
    {u"chance_line_ups", &PlayTally::chanceLineUps},
    {u"current_run", &PlayTally::currentRun},
    {u"longest_run", &PlayTally::longestRun},
    {u"paid_in", &PlayTally::paidIn},
    {u"paid_out", &PlayTally::paidOut},
    {u"loans", &PlayTally::loans},
    {u"goal_resets", &PlayTally::goalResets},
};
struct Expectation {
    const char16_t* column;
    double PlayTally::*field;
};
const Expectation Expectations[] = {
    {u"expected_jackpots", &PlayTally::expectedJackpots},
    {u"expected_chance_line_ups", &PlayTally::expectedChanceLineUps},
    {u"expected_paid_in", &PlayTally::expectedPaidIn},
    {u"expected_paid_out", &PlayTally::expectedPaidOut},
};
constexpr int TallyColumns = int(std::size(Counts) + std::size(Expectations));

// "spins INTEGER NOT NULL, ...", or the names alone, each after `prefix`.
QString TallyColumnList(bool declared, const QString& prefix = QString())
{
    QStringList columns;
    for (const Count& count : Counts)
        columns << prefix + QString::fromUtf16(count.column) + (declared ? u" INTEGER NOT NULL"_s : QString());
    for (const Expectation& expected : Expectations)
        columns << prefix + QString::fromUtf16(expected.column) + (declared ? u" REAL NOT NULL"_s : QString());
    return columns.join(u", "_s);
}

QString Placeholders(int count)
{
    QStringList marks;
    marks.fill(u"?"_s, count);
    return marks.join(u", "_s);
}

// The figures of the data counter, as PlayTally adds them up, for each
// local day (the date of played_at, yyyy-MM-dd) and for all time; and each
// day's slump line in blocks of 16 spins. Each entry changes one row of
// days: its day's figures and last block, and the history's totals so far.
// A file without them has them built from its entries on opening.
const QString CreateDays = uR"(
CREATE TABLE IF NOT EXISTS days (
    day             TEXT PRIMARY KEY,     -- the local date of the entries, yyyy-MM-dd
    first_play      INTEGER NOT NULL,     -- its first and last entry (plays.id)
    last_play       INTEGER NOT NULL,
    balance         INTEGER NOT NULL,     -- its slump line's balance: paid out minus paid in
    %1,                                   -- its figures
    -- its last block of spins, as in slump_blocks; NULL without spins
    block INTEGER, low_spin INTEGER, low INTEGER, high_spin INTEGER, high INTEGER,
    last_spin INTEGER, last INTEGER, mark_spin INTEGER, mark INTEGER,
    -- the history's totals after the day's last entry, as the view totals shows them
    counted_to      INTEGER NOT NULL,     -- the last entry counted in (plays.id)
    sessions        INTEGER NOT NULL,     -- sessions with entries
    last_session    INTEGER NOT NULL,     -- the session of the entry counted last
    first_played_at INTEGER NOT NULL,     -- the earliest and latest played_at
    last_played_at  INTEGER NOT NULL,
    %2
) WITHOUT ROWID)"_s;

// A day's blocks but its last, which its row holds.
const QString CreateBlocks = uR"(
CREATE TABLE IF NOT EXISTS slump_blocks (
    day         TEXT NOT NULL,            -- as in days
    block       INTEGER NOT NULL,         -- the day's spins block*16+1 to block*16+16
    low_spin    INTEGER NOT NULL,         -- its lowest balance after a spin, and the spin (the first
    low         INTEGER NOT NULL,         -- of equals; spins counted from 1 each day)
    high_spin   INTEGER NOT NULL,         -- its highest
    high        INTEGER NOT NULL,
    last_spin   INTEGER NOT NULL,         -- its last
    last        INTEGER NOT NULL,
    mark_spin   INTEGER,                  -- its first jackpot or paying spin; NULL for none
    mark        INTEGER,
    PRIMARY KEY (day, block)
) WITHOUT ROWID)"_s;

// The history's totals: those of the day changed last.
const QString CreateTotals = uR"(
CREATE VIEW IF NOT EXISTS totals AS
    SELECT counted_to, sessions, last_session, first_played_at, last_played_at, %1
    FROM days ORDER BY last_play DESC LIMIT 1)"_s;

const QString TotalsColumns = u"counted_to, sessions, last_session, first_played_at, last_played_at"_s;
const QString DayColumns = u"first_play, last_play, balance"_s;
const QString BlockColumns = u"block, low_spin, low, high_spin, high, last_spin, last, mark_spin, mark"_s;
constexpr int BlockColumnCount = 9;

// "total_spins AS spins, ...", the view's names for the day row's totals.
QString TotalsAsNamed()
{
    QStringList columns;
    for (const QString& name : TallyColumnList(false).split(u", "_s))
        columns << u"total_%1 AS %1"_s.arg(name);
    return columns.join(u", "_s);
}

QString DayKey(QDate day)
{
    return day.toString(Qt::ISODate);
}

void BindTally(QSqlQuery& query, int first, const PlayTally& tally)
{
    for (const Count& count : Counts)
        query.bindValue(first++, tally.*count.field);
    for (const Expectation& expected : Expectations)
        query.bindValue(first++, tally.*expected.field);
}

PlayTally ReadTally(const QSqlQuery& row, int first)
{
    PlayTally tally;
    for (const Count& count : Counts)
        tally.*count.field = row.value(first++).toLongLong();
    for (const Expectation& expected : Expectations)
        tally.*expected.field = row.value(first++).toDouble();
    return tally;
}

SlumpPoint ReadPoint(const QSqlQuery& row, int first)
{
    return {row.value(first).toLongLong(), row.value(first + 1).toLongLong()};
}

// BlockColumns from `first`; nothing where they are NULL.
std::optional<SlumpBlock> ReadBlock(const QSqlQuery& row, int first)
{
    if (row.value(first).isNull())
        return std::nullopt;
    SlumpBlock block{row.value(first).toLongLong(), ReadPoint(row, first + 1), ReadPoint(row, first + 3),
                     ReadPoint(row, first + 5), {}};
    if (!row.value(first + 7).isNull())
        block.mark = ReadPoint(row, first + 7);
    return block;
}

void BindBlock(QSqlQuery& query, int first, const std::optional<SlumpBlock>& block)
{
    using Point = std::optional<SlumpPoint>;
    query.bindValue(first, block ? QVariant(block->index) : QVariant());
    const Point points[] = {block ? Point(block->low) : Point(), block ? Point(block->high) : Point(),
                            block ? Point(block->last) : Point(), block ? block->mark : Point()};
    for (const Point& point : points) {
        query.bindValue(++first, point ? QVariant(point->spin) : QVariant());
        query.bindValue(++first, point ? QVariant(point->balance) : QVariant());
    }
}

} // namespace

SqliteSummary::SqliteSummary(const QSqlDatabase& db)
    : db_(db)
{
}

QStringList SqliteSummary::Tables()
{
    return {CreateDays.arg(TallyColumnList(true), TallyColumnList(true, u"total_"_s)), CreateBlocks,
            CreateTotals.arg(TotalsAsNamed())};
}

QSqlQuery* SqliteSummary::prepared(std::optional<QSqlQuery>& query, const QString& text, QString& error)
{
    if (query)
        return &*query;
    query.emplace(db_);
    if (query->prepare(text))
        return &*query;
    failed(*query, error);
    query.reset();
    return nullptr;
}

bool SqliteSummary::catchUp(QString& error)
{
    QSqlQuery last(db_);
    if (!last.exec(u"SELECT max(id) FROM plays"_s) || !last.next())
        return failed(last, error);
    const qint64 lastEntry = last.value(0).toLongLong();
    last.finish();
    if (!loadTotals(error))
        return false;
    if (lastEntry == totals_->countedTo)
        return true;
    if (lastEntry < totals_->countedTo && !clear(error))
        return false;

    QSqlQuery rows(db_);
    rows.setForwardOnly(true);
    if (!rows.prepare(SelectPlays(u"WHERE id > ?"_s)))
        return failed(rows, error);
    rows.addBindValue(totals_->countedTo);
    if (!rows.exec())
        return failed(rows, error);
    while (rows.next()) {
        const std::optional<PlayRecord> record = ReadPlay(rows);
        if (record && !count(*record, PlayId(rows), PlaySession(rows), error))
            return false;
        totals_->countedTo = PlayId(rows);
    }
    if (rows.lastError().isValid())
        return failed(rows, error);
    if (day_)
        day_->changed = true; // for the rows that did not read back
    return flush(error);
}

// The day first, so that the day left behind keeps the totals of its own
// last entry.
bool SqliteSummary::count(const PlayRecord& record, qint64 id, qint64 session, QString& error)
{
    const QDate day = localDays_.of(record.playedAtMs);
    if (!loadTotals(error) || ((!day_ || day_->day != day) && (!flush(error) || !loadDay(day, error))))
        return false;
    Totals& totals = *totals_;
    totals.countedTo = id;
    if (session != totals.lastSession) {
        ++totals.sessions;
        totals.lastSession = session;
    }
    totals.firstPlayedMs =
        totals.firstPlayedMs ? std::min(totals.firstPlayedMs, record.playedAtMs) : record.playedAtMs;
    totals.lastPlayedMs = std::max(totals.lastPlayedMs, record.playedAtMs);
    totals.tally.add(record);
    return countInDay(record, id, error);
}

// The entry in its day's figures and line. A spin that begins a block has
// the finished one written first.
bool SqliteSummary::countInDay(const PlayRecord& record, qint64 id, QString& error)
{
    Day& day = *day_;
    if (day.firstPlay == 0)
        day.firstPlay = id;
    day.lastPlay = id;
    day.tally.add(record);
    day.changed = true;
    const std::optional<SlumpPoint> point = day.reached.add(record);
    if (!point)
        return true;
    const bool marked = game::SlumpBalance::Marks(record);
    if (day.block && day.block->index == SlumpBlock::IndexOf(point->spin)) {
        day.block->add(*point, marked);
        return true;
    }
    if (day.block && !writeFinishedBlock(error))
        return false;
    day.block = SlumpBlock::Starting(*point, marked);
    return true;
}

bool SqliteSummary::flush(QString& error)
{
    return !day_ || !day_->changed || writeDay(error);
}

bool SqliteSummary::clear(QString& error)
{
    for (const QString& table : {u"days"_s, u"slump_blocks"_s}) {
        QSqlQuery query(db_);
        if (!query.exec(u"DELETE FROM "_s + table))
            return failed(query, error);
    }
    totals_.emplace();
    day_.reset();
    return true;
}

void SqliteSummary::forget()
{
    totals_.reset();
    day_.reset();
}

bool SqliteSummary::loadTotals(QString& error)
{
    if (totals_)
        return true;
    QSqlQuery row(db_);
    if (!row.exec(u"SELECT %1, %2 FROM totals"_s.arg(TotalsColumns, TallyColumnList(false))))
        return failed(row, error);
    Totals& totals = totals_.emplace();
    if (row.next()) {
        totals.countedTo = row.value(0).toLongLong();
        totals.sessions = row.value(1).toLongLong();
        totals.lastSession = row.value(2).toLongLong();
        totals.firstPlayedMs = row.value(3).toLongLong();
        totals.lastPlayedMs = row.value(4).toLongLong();
        totals.tally = ReadTally(row, 5);
    }
    return !row.lastError().isValid() || failed(row, error);
}

bool SqliteSummary::loadDay(QDate day, QString& error)
{
    day_.emplace();
    return readDay(day, *day_, error);
}

// The day's row into `day`, which stays empty for a day without one.
bool SqliteSummary::readDay(QDate date, Day& day, QString& error)
{
    day.day = date;
    QSqlQuery* row = prepared(
        readDay_,
        u"SELECT %1, %2, %3 FROM days WHERE day = ?"_s.arg(DayColumns, TallyColumnList(false), BlockColumns),
        error);
    if (!row)
        return false;
    row->bindValue(0, DayKey(date));
    if (!row->exec())
        return failed(*row, error);
    if (row->next()) {
        day.firstPlay = row->value(0).toLongLong();
        day.lastPlay = row->value(1).toLongLong();
        day.tally = ReadTally(*row, 3);
        day.reached = {day.tally.spins, row->value(2).toLongLong()};
        day.block = ReadBlock(*row, 3 + TallyColumns);
    }
    const bool read = !row->lastError().isValid() || failed(*row, error);
    row->finish();
    return read;
}

// The day's row, with the totals as they stand.
bool SqliteSummary::writeDay(QString& error)
{
    QSqlQuery* write = prepared(writeDay_,
                                u"INSERT OR REPLACE INTO days (day, %1, %2, %3, %4, %5) VALUES (%6)"_s.arg(
                                    DayColumns, TallyColumnList(false), BlockColumns, TotalsColumns,
                                    TallyColumnList(false, u"total_"_s),
                                    Placeholders(4 + TallyColumns + BlockColumnCount + 5 + TallyColumns)),
                                error);
    if (!write)
        return false;
    const Day& day = *day_;
    const Totals& totals = *totals_;
    int column = 0;
    write->bindValue(column++, DayKey(day.day));
    write->bindValue(column++, day.firstPlay);
    write->bindValue(column++, day.lastPlay);
    write->bindValue(column++, day.reached.running);
    BindTally(*write, column, day.tally);
    column += TallyColumns;
    BindBlock(*write, column, day.block);
    column += BlockColumnCount;
    for (qint64 value : {totals.countedTo, totals.sessions, totals.lastSession, totals.firstPlayedMs,
                         totals.lastPlayedMs})
        write->bindValue(column++, value);
    BindTally(*write, column, totals.tally);
    if (!write->exec())
        return failed(*write, error);
    day_->changed = false;
    return true;
}

bool SqliteSummary::writeFinishedBlock(QString& error)
{
    QSqlQuery* write = prepared(
        writeBlock_,
        u"INSERT OR REPLACE INTO slump_blocks (day, %1) VALUES (%2)"_s.arg(BlockColumns, Placeholders(10)), error);
    if (!write)
        return false;
    write->bindValue(0, DayKey(day_->day));
    BindBlock(*write, 1, day_->block);
    return write->exec() || failed(*write, error);
}

bool SqliteSummary::summary(HistorySummary& summary, QString& error)
{
    if (!loadTotals(error))
        return false;
    summary = {totals_->tally, {}, totals_->sessions, totals_->firstPlayedMs, totals_->lastPlayedMs};
    QSqlQuery rows(db_);
    rows.setForwardOnly(true);
    if (!rows.exec(u"SELECT day, %1 FROM days"_s.arg(TallyColumnList(false))))
        return failed(rows, error);
    while (rows.next())
        summary.days[QDate::fromString(rows.value(0).toString(), Qt::ISODate)] = ReadTally(rows, 1);
    return !rows.lastError().isValid() || failed(rows, error);
}

bool SqliteSummary::dayLine(QDate date, SlumpLine& line, QString& error)
{
    line = {};
    Day day;
    if (!readDay(date, day, error))
        return false;
    if (day.tally.spins == 0) {
        line.reached = day.reached;
        return true;
    }
    return day.tally.spins <= FullLineSpins ? fullLine(day, line, error) : blockLine(day, line, error);
}

// Every spin, from the day's entries; those of other days among them (a
// clock set back) are left out.
bool SqliteSummary::fullLine(const Day& day, SlumpLine& line, QString& error)
{
    QSqlQuery rows(db_);
    rows.setForwardOnly(true);
    rows.prepare(SelectPlays(u"WHERE id BETWEEN ? AND ?"_s));
    rows.addBindValue(day.firstPlay);
    rows.addBindValue(day.lastPlay);
    if (!rows.exec())
        return failed(rows, error);
    game::LocalDays localDays;
    while (rows.next()) {
        const std::optional<PlayRecord> record = ReadPlay(rows);
        if (record && localDays.of(record->playedAtMs) == day.day)
            line.add(*record);
    }
    return !rows.lastError().isValid() || failed(rows, error);
}

bool SqliteSummary::blockLine(const Day& day, SlumpLine& line, QString& error)
{
    QSqlQuery rows(db_);
    rows.setForwardOnly(true);
    rows.prepare(u"SELECT %1 FROM slump_blocks WHERE day = ? AND block < ? ORDER BY block"_s.arg(BlockColumns));
    rows.addBindValue(DayKey(day.day));
    rows.addBindValue(day.block->index);
    if (!rows.exec())
        return failed(rows, error);
    line.points.reserve(qsizetype(3 * (day.tally.spins / SlumpBlock::Spins + 1)));
    while (rows.next())
        ReadBlock(rows, 0)->appendTo(line);
    if (rows.lastError().isValid())
        return failed(rows, error);
    day.block->appendTo(line);
    line.reached = day.reached;
    return true;
}

bool QueryFailed(const QSqlQuery& query, QString& error, const QString& fallback)
{
    error = query.lastError().text();
    if (error.isEmpty())
        error = fallback;
    return false;
}

bool SqliteSummary::failed(const QSqlQuery& query, QString& error) const
{
    return QueryFailed(query, error, u"the history's summaries failed"_s);
}

} // namespace storage
