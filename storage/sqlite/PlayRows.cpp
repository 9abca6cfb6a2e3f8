// SPDX-License-Identifier: MIT
#include "storage/sqlite/PlayRows.h"

#include <QSqlQuery>
#include <QVariant>

#include <limits>
#include <type_traits>

namespace storage {

using game::PlayKind;
using game::PlayRecord;
using namespace Qt::StringLiterals;

namespace {

// The history file, for whoever queries it.
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
    kind          INTEGER NOT NULL,     -- play_kinds.code: the spin, or the money event (a cover's miss or
                                        -- hit, a target bought, a loan, the goal's reset to $100)
    amount        INTEGER NOT NULL,     -- the money's change in dollars: a spin's win (0 for none),
                                        -- -10 a cover, -100 a target, +100/+1000 a loan, the goal's reset
    money_after   INTEGER NOT NULL,     -- the money after it
    -- A spin's columns; NULL for money events, but for target_symbol of a target entry
    bet           INTEGER,              -- the BET of the spin
    denominator   REAL,                 -- the lottery's denominator: a jackpot spin is 6 in this
    jackpot       INTEGER,              -- 1: the lottery made it a jackpot spin
    reach         INTEGER,              -- reach_actions.code: none, missed, or a jackpot action
    notice_lamps  INTEGER,              -- notice_lamp_kinds.code: none, normal, premium
    notice_sound  INTEGER,              -- 1: the notice chime was drawn (heard only with sound on)
    slot_chance   INTEGER,              -- 1: a slot-chance spin, stopped by the player
    symbol        INTEGER,              -- the symbol paid, 0..9; NULL when nothing was paid
    target_symbol INTEGER,              -- the target symbol in force, 0 for none; for a target
                                        -- entry the symbol bought
    target_rate   INTEGER               -- the target's multiplier in force (1 without a target)
))"_s;

// The names of a coded column's values ('spin', 'cover_miss', ...).
const QString CreateNames = uR"(
CREATE TABLE IF NOT EXISTS %1 (code INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE))"_s;

// Every entry with its codes named, and the spins alone, the usual start
// of a query.
const QString CreateEntries = uR"(
CREATE VIEW IF NOT EXISTS entries AS
    SELECT plays.id, session, played_at, play_kinds.name AS kind, amount, money_after, bet, denominator,
           jackpot, reach_actions.name AS reach, notice_lamp_kinds.name AS notice_lamps, notice_sound,
           slot_chance, symbol, target_symbol, target_rate
    FROM plays JOIN play_kinds ON play_kinds.code = plays.kind
    LEFT JOIN reach_actions ON reach_actions.code = plays.reach
    LEFT JOIN notice_lamp_kinds ON notice_lamp_kinds.code = plays.notice_lamps)"_s;
const QString CreateSpins = uR"(
CREATE VIEW IF NOT EXISTS spins AS
    SELECT id, session, played_at, amount AS win, money_after, bet, denominator, jackpot, reach,
           notice_lamps, notice_sound, slot_chance, symbol, target_symbol, target_rate
    FROM entries WHERE kind = '%1')"_s;

// A coded column's table of names, filled from the game's own names: an
// enum's number is its code, so its values are only ever added at its end.
template <typename Enum>
QStringList NameTable(const QString& table)
{
    QStringList rows;
    for (int code = 0; !game::Name(Enum(code)).isEmpty(); ++code)
        rows << u"(%1, '%2')"_s.arg(code).arg(game::Name(Enum(code)));
    return {CreateNames.arg(table), u"INSERT OR IGNORE INTO %1 VALUES %2"_s.arg(table, rows.join(u", "_s))};
}

QStringList NameTables()
{
    return NameTable<PlayKind>(u"play_kinds"_s) + NameTable<game::ReachAction>(u"reach_actions"_s) +
           NameTable<game::NoticeLamps>(u"notice_lamp_kinds"_s);
}

QStringList Views()
{
    return {CreateEntries, CreateSpins.arg(game::Name(PlayKind::Spin))};
}

// A name of the older files as its code: -1 for a name the game does not
// know (a file edited by hand), which does not read back, as before.
QString CodeOf(const QString& column, const QString& table)
{
    return u"coalesce((SELECT code FROM %2 WHERE name = %1), -1)"_s.arg(column, table);
}

// The columns in the order of InsertPlay and SelectPlays, which reads the
// id after them.
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
    Id,
};

const QString PlayColumns = u"session, played_at, kind, amount, money_after, bet, denominator, jackpot, reach, "
                            "notice_lamps, notice_sound, slot_chance, symbol, target_symbol, target_rate"_s;

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

// A coded column's value, or nothing for a code the game does not know.
template <typename Enum>
std::optional<Enum> Coded(const QVariant& value)
{
    const auto code = Whole(value);
    if (!code || *code < 0 || *code > std::numeric_limits<int>::max() || game::Name(Enum(*code)).isEmpty())
        return std::nullopt;
    return Enum(*code);
}

template <typename Enum>
QVariant Code(Enum value)
{
    return int(value);
}

QVariant Flag(bool value) { return value ? 1 : 0; }

// A spin's own columns, into `record`; false when one is missing.
bool ReadSpin(const QSqlQuery& row, PlayRecord& record)
{
    const auto bet = Whole(row.value(Bet));
    const auto denominator = Real(row.value(Denominator));
    const auto jackpot = Whole(row.value(Jackpot));
    const auto reach = Coded<game::ReachAction>(row.value(Reach));
    const auto lamps = Coded<game::NoticeLamps>(row.value(Lamps));
    const auto noticeSound = Whole(row.value(NoticeSound));
    const auto slotChance = Whole(row.value(SlotChance));
    const auto targetSymbol = Whole(row.value(TargetSymbol));
    const auto targetRate = Whole(row.value(TargetRate));
    const QVariant symbol = row.value(Symbol);
    const auto paid = Whole(symbol);
    if (!bet || !denominator || !jackpot || !reach || !lamps || !noticeSound || !slotChance || !targetSymbol ||
        !targetRate || (!symbol.isNull() && !paid))
        return false;
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
    return true;
}

} // namespace

const QString InsertPlay =
    u"INSERT INTO plays (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"_s.arg(PlayColumns);

QStringList PlayTables()
{
    return QStringList{CreateSessions, CreatePlays} + NameTables() + Views();
}

QStringList SpellOutPlays()
{
    return {u"CREATE TABLE plays_spelled_out (id INTEGER PRIMARY KEY, session INTEGER NOT NULL, "
            "played_at INTEGER NOT NULL, kind TEXT NOT NULL, amount INTEGER NOT NULL, money_after INTEGER NOT NULL, "
            "bet INTEGER, denominator REAL, jackpot INTEGER, reach TEXT, notice_lamps TEXT, notice_sound INTEGER, "
            "slot_chance INTEGER, symbol INTEGER, target_symbol INTEGER, target_rate INTEGER)"_s,
            u"INSERT INTO plays_spelled_out SELECT * FROM entries"_s,
            u"DROP VIEW spins"_s,
            u"DROP VIEW entries"_s,
            u"DROP TABLE plays"_s,
            u"DROP TABLE play_kinds"_s,
            u"DROP TABLE reach_actions"_s,
            u"DROP TABLE notice_lamp_kinds"_s,
            u"ALTER TABLE plays_spelled_out RENAME TO plays"_s,
            u"CREATE VIEW spins AS SELECT id, session, played_at, amount AS win, money_after, bet, denominator, "
            "jackpot, reach, notice_lamps, notice_sound, slot_chance, symbol, target_symbol, target_rate "
            "FROM plays WHERE kind = 'spin'"_s};
}

const QString PlaysSpelledOut = u"SELECT count(*) FROM pragma_table_info('plays') WHERE name = 'kind' AND type = 'TEXT'"_s;

QStringList RecodePlays()
{
    const QString copy = uR"(
INSERT INTO plays (id, %1)
    SELECT id, session, played_at, %2, amount, money_after, bet, denominator, jackpot,
           CASE WHEN reach IS NULL THEN NULL ELSE %3 END,
           CASE WHEN notice_lamps IS NULL THEN NULL ELSE %4 END,
           notice_sound, slot_chance, symbol, target_symbol, target_rate
    FROM plays_spelled_out)"_s;
    return QStringList{u"DROP VIEW IF EXISTS spins"_s, u"ALTER TABLE plays RENAME TO plays_spelled_out"_s,
                       CreatePlays} +
           NameTables() +
           QStringList{copy.arg(PlayColumns, CodeOf(u"kind"_s, u"play_kinds"_s),
                                CodeOf(u"reach"_s, u"reach_actions"_s),
                                CodeOf(u"notice_lamps"_s, u"notice_lamp_kinds"_s)),
                       u"DROP TABLE plays_spelled_out"_s} +
           Views();
}

void BindPlay(QSqlQuery& insert, const PlayRecord& record, qint64 session)
{
    const bool spin = record.kind == PlayKind::Spin;
    const auto spinValue = [spin](QVariant value) { return spin ? value : QVariant(); };
    insert.bindValue(Session, session);
    insert.bindValue(PlayedAt, record.playedAtMs);
    insert.bindValue(Kind, Code(record.kind));
    insert.bindValue(Amount, record.amount);
    insert.bindValue(MoneyAfter, record.moneyAfter);
    insert.bindValue(Bet, spinValue(record.bet));
    insert.bindValue(Denominator, spinValue(record.denominator));
    insert.bindValue(Jackpot, spinValue(Flag(record.jackpot)));
    insert.bindValue(Reach, spinValue(Code(record.reach)));
    insert.bindValue(Lamps, spinValue(Code(record.noticeLamps)));
    insert.bindValue(NoticeSound, spinValue(Flag(record.noticeSound)));
    insert.bindValue(SlotChance, spinValue(Flag(record.slotChance)));
    insert.bindValue(Symbol, record.paid() ? QVariant(record.symbol) : QVariant());
    const bool hasTarget = spin || record.kind == PlayKind::Target;
    insert.bindValue(TargetSymbol, hasTarget ? QVariant(record.targetSymbol) : QVariant());
    insert.bindValue(TargetRate, spinValue(record.targetRate));
}

QString SelectPlays(const QString& where)
{
    return u"SELECT %1, id FROM plays %2 ORDER BY id"_s.arg(PlayColumns, where);
}

std::optional<PlayRecord> ReadPlay(const QSqlQuery& row)
{
    const auto kind = Coded<PlayKind>(row.value(Kind));
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
    if (record.kind == PlayKind::Spin && !ReadSpin(row, record))
        return std::nullopt;
    return record;
}

qint64 PlaySession(const QSqlQuery& row)
{
    return row.value(Session).toLongLong();
}

qint64 PlayId(const QSqlQuery& row)
{
    return row.value(Id).toLongLong();
}

} // namespace storage
