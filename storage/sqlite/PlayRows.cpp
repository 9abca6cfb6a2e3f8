// SPDX-License-Identifier: MIT
#include "storage/sqlite/PlayRows.h"

#include <QSqlQuery>
#include <QVariant>

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

QVariant Flag(bool value) { return value ? 1 : 0; }

// A spin's own columns, into `record`; false when one is missing.
bool ReadSpin(const QSqlQuery& row, PlayRecord& record)
{
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
    return {CreateSessions, CreatePlays, CreateSpins.arg(game::Name(PlayKind::Spin))};
}

void BindPlay(QSqlQuery& insert, const PlayRecord& record, qint64 session)
{
    const bool spin = record.kind == PlayKind::Spin;
    const auto spinValue = [spin](QVariant value) { return spin ? value : QVariant(); };
    insert.bindValue(Session, session);
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
}

QString SelectPlays(const QString& where)
{
    return u"SELECT %1, id FROM plays %2 ORDER BY id"_s.arg(PlayColumns, where);
}

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
