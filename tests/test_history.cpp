// SPDX-License-Identifier: MIT
// The play history through the facade and the real module: every field reads
// back as written, across runs; a damaged, locked or foreign file costs only
// the history and is left as it was; the summaries agree with a recount of
// the entries, kept as they come or built for an older file; the CSV export;
// clearing.
#include "storage/History.h"
#include "storage/sqlite/PlayRows.h"
#include "storage/sqlite/SqliteSummary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QtTest>

#include <map>
#include <optional>
#include <random>
#include <set>
#include <time.h>

using game::NoticeLamps;
using game::PlayKind;
using game::PlayRecord;
using game::ReachAction;
using storage::History;
using namespace Qt::StringLiterals;

namespace {

const QString Module = QStringLiteral(ZELMOR_HISTORY_MODULE_PATH);

PlayRecord Money(PlayKind kind, qint64 amount, qint64 moneyAfter, int targetSymbol = 0)
{
    return {.kind = kind, .playedAtMs = 1'700'000'000'000, .amount = amount, .moneyAfter = moneyAfter,
            .targetSymbol = targetSymbol};
}

PlayRecord Spin(qint64 win, int symbol, ReachAction reach = ReachAction::None, NoticeLamps lamps = NoticeLamps::None)
{
    return {.playedAtMs = 1'700'000'000'123, .amount = win, .moneyAfter = 250 + win, .bet = 3, .denominator = 300,
            .jackpot = reach > ReachAction::Missed, .reach = reach, .noticeLamps = lamps, .symbol = symbol};
}

// Every field, for comparing entries with a readable difference.
QString Fields(const PlayRecord& r)
{
    return u"%1 at %2 amount %3 after %4 | bet %5 1/%6 jackpot %7 %8 %9 sound %10 chance %11 symbol %12 "
           "target %13x%14"_s
        .arg(game::Name(r.kind))
        .arg(r.playedAtMs)
        .arg(r.amount)
        .arg(r.moneyAfter)
        .arg(r.bet)
        .arg(r.denominator)
        .arg(r.jackpot)
        .arg(game::Name(r.reach), game::Name(r.noticeLamps))
        .arg(r.noticeSound)
        .arg(r.slotChance)
        .arg(r.symbol)
        .arg(r.targetSymbol)
        .arg(r.targetRate);
}

struct Entry {
    QString fields;
    qint64 session;
};

// A scan that fails leaves the history's failure to report.
QList<Entry> ScanAll(History& history)
{
    QList<Entry> entries;
    history.scan([&](const PlayRecord& r, qint64 session) { entries.append({Fields(r), session}); });
    return entries;
}

QByteArray Bytes(const QString& path)
{
    if (QFileInfo(path).isDir())
        return "(directory) " + QDir(path).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).join(u',').toUtf8();
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

void Write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A connection of the test's own to a history file, beside the module's.
class Connection {
public:
    explicit Connection(const QString& path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, name_);
        db.setDatabaseName(path);
        db.open();
    }
    ~Connection()
    {
        QSqlDatabase::database(name_, false).close();
        QSqlDatabase::removeDatabase(name_);
    }
    bool exec(const QString& statement)
    {
        QSqlQuery query(QSqlDatabase::database(name_, false));
        return query.exec(statement);
    }
    // The statement's rows, their columns joined by '|', one row a line.
    QString rows(const QString& statement)
    {
        QSqlQuery query(QSqlDatabase::database(name_, false));
        query.exec(statement);
        QStringList lines;
        while (query.next()) {
            QStringList columns;
            for (int c = 0; c < query.record().count(); ++c)
                columns << (query.value(c).isNull() ? u"NULL"_s : query.value(c).toString());
            lines << columns.join(u'|');
        }
        return lines.join(u'\n');
    }

private:
    QString name_ = u"test-%1"_s.arg(quintptr(this));
};

enum class Damage { Garbage, Directory, ReadOnly, Locked, NoModule, Newer, Foreign };

// A seeded player: cover clicks before each spin, a jackpot spin in 40 with
// its five slot-chance spins, a target now and then, a loan when broke and
// the goal's reset when rich.
class SeededPlay {
public:
    explicit SeededPlay(quint32 seed) : random_(seed) {}

    PlayRecord next(qint64 atMs)
    {
        PlayRecord record{.playedAtMs = atMs};
        if (money_ < 10)
            return money(record, PlayKind::Loan, 1000);
        if (money_ > 20'000)
            return money(record, PlayKind::Goal, 100 - money_);
        if (chance_ == 0 && unit() < 0.003 && money_ >= 100) {
            target_ = record.targetSymbol = 1 + int(unit() * 9);
            return money(record, PlayKind::Target, -100);
        }
        if (chance_ == 0 && bet_ < covers_) {
            ++bet_;
            return money(record, unit() < 0.25 ? PlayKind::CoverHit : PlayKind::CoverMiss, -10);
        }
        return spin(record);
    }

private:
    double unit() { return double(random_()) / 4294967296.0; }

    PlayRecord money(PlayRecord record, PlayKind kind, qint64 amount)
    {
        money_ += amount;
        record.kind = kind;
        record.amount = amount;
        record.moneyAfter = money_;
        return record;
    }

    PlayRecord spin(PlayRecord record)
    {
        record.bet = std::max(1, bet_);
        record.denominator = 300;
        record.targetSymbol = target_;
        record.slotChance = chance_ > 0;
        record.jackpot = !record.slotChance && unit() < 1.0 / 40;
        if (record.jackpot || (record.slotChance && unit() < 0.1)) {
            record.symbol = int(unit() * 10);
            record.amount = record.bet * (record.jackpot ? 100 : 500);
        }
        record.reach = record.jackpot ? ReachAction::NormalStop : ReachAction::None;
        chance_ = record.jackpot ? 5 : std::max(0, chance_ - 1);
        bet_ = 0;
        covers_ = 1 + int(unit() * 3);
        money_ += record.amount;
        record.moneyAfter = money_;
        return record;
    }

    std::mt19937 random_;
    qint64 money_ = 100;
    int bet_ = 0, covers_ = 1, chance_ = 0, target_ = 0;
};

QString Text(const game::PlayTally& t)
{
    return u"spins %1 jackpots %2 chance %3/%4 run %5/%6 in %7 out %8 loans %9 goals %10 expected %11 %12 %13 %14"_s
        .arg(t.spins)
        .arg(t.jackpots)
        .arg(t.chanceLineUps)
        .arg(t.chanceSpins)
        .arg(t.currentRun)
        .arg(t.longestRun)
        .arg(t.paidIn)
        .arg(t.paidOut)
        .arg(t.loans)
        .arg(t.goalResets)
        .arg(t.expectedJackpots, 0, 'g', 17)
        .arg(t.expectedChanceLineUps, 0, 'g', 17)
        .arg(t.expectedPaidIn, 0, 'g', 17)
        .arg(t.expectedPaidOut, 0, 'g', 17);
}

// How a day's line as read back differs from the line of every spin, empty
// when it does not: a short day has every spin; a long one, points on the
// line that keep each 16 spins' lowest and highest balance, and marks that
// are marks of the line.
QString LineDifference(const game::SlumpLine& read, const game::SlumpLine& full)
{
    if (read.reached.spins != full.reached.spins || read.reached.running != full.reached.running)
        return u"the line ends elsewhere"_s;
    if (full.spins() <= storage::SqliteSummary::FullLineSpins)
        return read.points == full.points && read.marks == full.marks ? QString() : u"not every spin"_s;
    std::map<qint64, qint64> onLine;
    for (const game::SlumpPoint& point : full.points)
        onLine[point.spin] = point.balance;
    std::map<qint64, std::pair<qint64, qint64>> lowHigh; // of each block, as read
    for (const game::SlumpPoint& point : read.points) {
        const auto on = onLine.find(point.spin);
        if (on == onLine.end() || on->second != point.balance)
            return u"spin %1 off the line"_s.arg(point.spin);
        auto& [low, high] = lowHigh.try_emplace((point.spin - 1) / 16, point.balance, point.balance).first->second;
        low = std::min(low, point.balance);
        high = std::max(high, point.balance);
    }
    for (const game::SlumpPoint& point : full.points) {
        const auto& [low, high] = lowHigh[(point.spin - 1) / 16];
        if (point.balance < low || point.balance > high)
            return u"the peak or dip at spin %1 is lost"_s.arg(point.spin);
    }
    for (const game::SlumpPoint& mark : read.marks)
        if (!full.marks.contains(mark))
            return u"spin %1 marked off the line's marks"_s.arg(mark.spin);
    return read.points.last() == full.points.last() ? QString() : u"the last point is lost"_s;
}

} // namespace

Q_DECLARE_METATYPE(game::PlayRecord)
Q_DECLARE_METATYPE(Damage)

class HistoryTest : public QObject {
    Q_OBJECT

    std::optional<QTemporaryDir> dir_; // each case's own
    QString path_;

    QString file(const QString& name) const { return dir_->filePath(name); }
    // A history with one session of two entries, closed again.
    void writeSomeHistory()
    {
        History history(path_, Module);
        history.setSessionStart(1000);
        QVERIFY(history.record(Money(PlayKind::CoverMiss, -10, 90)));
        QVERIFY(history.record(Spin(0, -1)));
    }

    // Three sessions over three days: a few hundred entries across each
    // midnight, and between them an afternoon of auto play long enough for
    // its day to be kept in blocks.
    void writeSeededHistory()
    {
        SeededPlay play(20260210);
        const QDate first(2026, 2, 10);
        struct Session {
            QDateTime start;
            int entries;
            int msApart;
        };
        const Session sessions[] = {
            {QDateTime(first, QTime(23, 0)), 400, 20'000},
            {QDateTime(first.addDays(1), QTime(12, 0)), 14'000, 1'500},
            {QDateTime(first.addDays(1), QTime(23, 50)), 300, 5'000},
        };
        for (const Session& session : sessions) {
            History history(path_, Module);
            const qint64 start = session.start.toMSecsSinceEpoch();
            history.setSessionStart(start);
            for (int i = 0; i < session.entries; ++i)
                QVERIFY(history.record(play.next(start + qint64(i) * session.msApart)));
            history.endSession(start + qint64(session.entries) * session.msApart);
        }
    }

private slots:
    void init()
    {
        dir_.emplace();
        QVERIFY(dir_->isValid());
        path_ = file(History::FileName());
    }

    void cleanup() { dir_.reset(); }

    void everyFieldReadsBack_data()
    {
        QTest::addColumn<PlayRecord>("record");
        PlayRecord targeted = Spin(30'000, 7, ReachAction::NormalStop, NoticeLamps::Premium);
        targeted.noticeSound = true;
        targeted.targetSymbol = 7;
        targeted.targetRate = 100;
        QTest::newRow("jackpot on the target") << targeted;
        PlayRecord chance = Spin(5'000'000'000, 0, ReachAction::InstantLineUp);
        chance.slotChance = true;
        chance.denominator = 149.5;
        chance.bet = 1000;
        QTest::newRow("slot chance, past 32 bits") << chance;
        for (int reach = int(ReachAction::None); reach <= int(ReachAction::InstantLineUp); ++reach) {
            const auto action = ReachAction(reach);
            QTest::addRow("reach %s", game::Name(action).data()) << Spin(0, -1, action, NoticeLamps::Normal);
        }
        QTest::newRow("cover miss") << Money(PlayKind::CoverMiss, -10, 90);
        QTest::newRow("cover hit") << Money(PlayKind::CoverHit, -10, 90);
        QTest::newRow("target bought") << Money(PlayKind::Target, -100, 900, 5);
        QTest::newRow("loan") << Money(PlayKind::Loan, 1000, 1000);
        QTest::newRow("goal reset") << Money(PlayKind::Goal, -999'900, 100);
    }

    void everyFieldReadsBack()
    {
        QFETCH(PlayRecord, record);
        History history(path_, Module);
        history.setSessionStart(1000);
        QVERIFY(history.record(record));
        const QList<Entry> entries = ScanAll(history);
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries[0].fields, Fields(record));
        QCOMPARE(entries[0].session, history.currentSession());
        QCOMPARE(history.takeFailure(), QString());
    }

    void entriesSurviveTheNextRun()
    {
        {
            History idle(path_, Module);
            idle.endSession(500);
        }
        QVERIFY2(!QFile::exists(path_), "opened before the first entry");
        writeSomeHistory();
        {
            History second(path_, Module);
            second.setSessionStart(3000);
            QVERIFY(second.record(Money(PlayKind::Loan, 100, 190)));
            second.endSession(4000);
        }
        History third(path_, Module);
        const QList<Entry> entries = ScanAll(third);
        QCOMPARE(entries.size(), 3);
        QCOMPARE(entries[0].fields, Fields(Money(PlayKind::CoverMiss, -10, 90)));
        QCOMPARE(entries[1].fields, Fields(Spin(0, -1)));
        QCOMPARE(entries[2].fields, Fields(Money(PlayKind::Loan, 100, 190)));
        QCOMPARE((QList<qint64>{entries[0].session, entries[1].session, entries[2].session}),
                 (QList<qint64>{1, 1, 2}));
        QCOMPARE(third.currentSession(), qint64(0));
        Connection db(path_);
        QCOMPARE(db.rows(u"PRAGMA journal_mode"_s), u"wal"_s);
        QCOMPARE(db.rows(u"SELECT id, started_at, ended_at FROM sessions ORDER BY id"_s),
                 u"1|1000|NULL\n2|3000|4000"_s);
        // For whoever queries the file: the entries with their codes named.
        QCOMPARE(db.rows(u"SELECT kind, reach, notice_lamps FROM entries ORDER BY id"_s),
                 u"cover_miss|NULL|NULL\nspin|none|none\nloan|NULL|NULL"_s);
        QCOMPARE(db.rows(u"SELECT id, win, reach FROM spins"_s), u"2|0|none"_s);
    }

    void damagedHistoryCostsOnlyTheHistory_data()
    {
        QTest::addColumn<Damage>("damage");
        QTest::addColumn<QString>("reason");
        QTest::newRow("garbage bytes") << Damage::Garbage << u"not a database"_s;
        QTest::newRow("a directory in its place") << Damage::Directory << u"directory"_s;
        QTest::newRow("read-only file") << Damage::ReadOnly << u"read-only"_s;
        QTest::newRow("locked by another program") << Damage::Locked << u"locked"_s;
        QTest::newRow("module missing") << Damage::NoModule << u"history module"_s;
        QTest::newRow("newer format") << Damage::Newer << u"newer version"_s;
        QTest::newRow("another program's database") << Damage::Foreign << u"another program"_s;
    }

    void damagedHistoryCostsOnlyTheHistory()
    {
        QFETCH(Damage, damage);
        QFETCH(QString, reason);
        const QByteArray settings = "settings\r\n", data(200, '\x7f');
        Write(file(u"Zelmor.ini"_s), settings);
        Write(file(u"Zelmor.bin"_s), data);
        QString module = Module;
        std::optional<Connection> locker;
        switch (damage) {
        case Damage::Garbage:
            Write(path_, QByteArray("this is no database\n").repeated(200));
            break;
        case Damage::Directory:
            QVERIFY(QDir(dir_->path()).mkdir(History::FileName()));
            break;
        case Damage::ReadOnly:
            writeSomeHistory();
            QVERIFY(QFile::setPermissions(path_, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
            break;
        case Damage::Locked:
            writeSomeHistory();
            locker.emplace(path_);
            QVERIFY(locker->exec(u"BEGIN EXCLUSIVE"_s));
            break;
        case Damage::NoModule:
            module = file(u"missing/libzelmor_history.so"_s);
            break;
        case Damage::Newer:
            QVERIFY(Connection(path_).exec(u"PRAGMA user_version = 99"_s));
            break;
        case Damage::Foreign:
            QVERIFY(Connection(path_).exec(u"CREATE TABLE notes (text TEXT)"_s));
            break;
        }
        const QByteArray before = Bytes(path_);
        const QStringList files = QDir(dir_->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);

        History history(path_, module);
        history.setSessionStart(1000);
        QVERIFY(!history.record(Spin(0, -1)));
        QVERIFY(history.broken());
        const QString failure = history.takeFailure();
        QVERIFY2(failure.contains(reason, Qt::CaseInsensitive), qPrintable(failure));
        QCOMPARE(history.takeFailure(), QString());
        QVERIFY(!history.record(Spin(0, -1)));
        QVERIFY(!history.scan([](const PlayRecord&, qint64) { QFAIL("an entry from a broken history"); }));
        QString error;
        QVERIFY(!history.clear(error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!history.exportCsv(file(u"export.csv"_s), error));
        QVERIFY(!QFile::exists(file(u"export.csv"_s)));
        history.endSession(2000);
        QCOMPARE(history.takeFailure(), QString());

        QCOMPARE(Bytes(path_), before);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), files);
        QCOMPARE(Bytes(file(u"Zelmor.ini"_s)), settings);
        QCOMPARE(Bytes(file(u"Zelmor.bin"_s)), data);
    }

    void handEditedRows_data()
    {
        QTest::addColumn<QString>("values");
        QTest::addColumn<bool>("readable");
        QTest::newRow("a spin written by hand") << u"1, 5, 0, 0, 100, 1, 300, 0, 0, 0, 0, 0, 0, 1"_s << true;
        QTest::newRow("unknown kind") << u"1, 5, 99, 0, 100, NULL, NULL, NULL, NULL, NULL, NULL, NULL, 0, 1"_s
                                      << false;
        QTest::newRow("a kind spelled out") << u"1, 5, 'spin', 0, 100, 1, 300, 0, 0, 0, 0, 0, 0, 1"_s << false;
        QTest::newRow("spin without a bet") << u"1, 5, 0, 0, 100, NULL, 300, 0, 0, 0, 0, 0, 0, 1"_s << false;
        QTest::newRow("unknown reach") << u"1, 5, 0, 0, 100, 1, 300, 0, 99, 0, 0, 0, 0, 1"_s << false;
        QTest::newRow("target without its symbol")
            << u"1, 5, 3, -100, 100, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL"_s << false;
        QTest::newRow("text for money")
            << u"1, 5, 4, 'lots', 100, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL"_s << false;
    }

    // A row that does not read back is left out; the rest still read.
    void handEditedRows()
    {
        QFETCH(QString, values);
        QFETCH(bool, readable);
        writeSomeHistory();
        QVERIFY(Connection(path_).exec(u"INSERT INTO plays (session, played_at, kind, amount, money_after, bet, "
                                        "denominator, jackpot, reach, notice_lamps, notice_sound, slot_chance, "
                                        "target_symbol, target_rate) VALUES (%1)"_s.arg(values)));
        History history(path_, Module);
        QCOMPARE(ScanAll(history).size(), readable ? 3 : 2);
        storage::HistorySummary summary;
        QVERIFY(history.summary(summary));
        QCOMPARE(summary.allTime.spins, readable ? 2 : 1);
        QCOMPARE(history.takeFailure(), QString());
    }

    void summaryAgreesWithARecount_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("kept with every entry") << 3;
        QTest::newRow("built for a file from before the summaries") << 1;
        QTest::newRow("a file from before the codes, its summaries kept") << 2;
    }

    // The figures the counter opens on, against every entry read and added
    // up as the counter once did; the entries of an older file, which spelled
    // out the kinds, reach actions and lamps, read back as they were written.
    void summaryAgreesWithARecount()
    {
        QFETCH(int, format);
        writeSeededHistory();
        QList<Entry> written;
        {
            History history(path_, Module);
            written = ScanAll(history);
        }
        if (format < 3) {
            Connection db(path_);
            const QStringList statements = storage::SpellOutPlays() << u"PRAGMA user_version = 2"_s;
            for (const QString& statement : statements)
                QVERIFY2(db.exec(statement), qPrintable(statement));
        }
        if (format < 2) {
            Connection db(path_);
            for (const QString& statement : {u"DROP VIEW totals"_s, u"DROP TABLE days"_s,
                                             u"DROP TABLE slump_blocks"_s, u"PRAGMA user_version = 1"_s})
                QVERIFY(db.exec(statement));
        }
        History history(path_, Module);
        const QList<Entry> read = ScanAll(history);
        QCOMPARE(read.size(), written.size());
        for (int i = 0; i < read.size(); ++i)
            QCOMPARE(read[i].fields, written[i].fields);
        storage::HistorySummary summary;
        QVERIFY(history.summary(summary));

        game::DataCounter recount;
        std::set<qint64> sessions;
        qint64 first = 0, last = 0;
        QVERIFY(history.scan([&](const PlayRecord& record, qint64 session) {
            recount.add(record, false);
            sessions.insert(session);
            first = first ? std::min(first, record.playedAtMs) : record.playedAtMs;
            last = std::max(last, record.playedAtMs);
        }));
        QCOMPARE(Text(summary.allTime), Text(recount.allTime()));
        QCOMPARE(summary.sessions, qint64(sessions.size()));
        QCOMPARE(summary.firstPlayedMs, first);
        QCOMPARE(summary.lastPlayedMs, last);
        QCOMPARE(summary.days.size(), std::size_t(3));
        QCOMPARE(summary.days.size(), recount.days().size());
        bool inBlocks = false;
        for (const auto& [day, figures] : recount.days()) {
            QCOMPARE(Text(summary.days[day]), Text(figures.tally));
            game::SlumpLine line;
            QVERIFY(history.dayLine(day, line));
            const QString difference = LineDifference(line, *figures.line);
            QVERIFY2(difference.isEmpty(), qPrintable(day.toString(Qt::ISODate) + u": "_s + difference));
            inBlocks = inBlocks || line.points.size() < figures.line->points.size();
        }
        QVERIFY(inBlocks);
        QCOMPARE(history.takeFailure(), QString());
    }

    // The log is folded back into the file as play goes on, so it stays
    // small however long the session; everything written reads back.
    void theLogStaysSmallThroughALongSession()
    {
        History history(path_, Module);
        history.setSessionStart(1000);
        const int entries = 5000;
        qint64 largestLog = 0;
        for (int i = 0; i < entries; ++i) {
            QVERIFY(history.record(Spin(0, -1)));
            largestLog = std::max(largestLog, QFileInfo(path_ + u"-wal"_s).size());
        }
        QVERIFY2(largestLog < 6 * 1024 * 1024, qPrintable(QString::number(largestLog)));
        int read = 0;
        QVERIFY(history.scan([&read](const PlayRecord&, qint64) { ++read; }));
        QCOMPARE(read, entries);
    }

    void csvExport_data()
    {
        // The export writes local times: each row in a fixed zone.
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<PlayRecord>("spin");
        QTest::addColumn<QByteArray>("line");
        PlayRecord paid = Spin(3000, 7, ReachAction::AllRotation, NoticeLamps::Premium);
        paid.noticeSound = true;
        paid.targetSymbol = 3;
        QTest::newRow("paid, east of UTC")
            << QByteArray("JST-9") << paid
            << QByteArray("2023-11-15T07:13:20.123+09:00,1,3,300,1,all_rotation,premium,1,0,7,3,3000,3250\n");
        PlayRecord chance = Spin(0, -1, ReachAction::Missed);
        chance.slotChance = true;
        chance.denominator = 149.5;
        QTest::newRow("nothing paid, west of UTC")
            << QByteArray("EST5") << chance
            << QByteArray("2023-11-14T17:13:20.123-05:00,1,3,149.5,0,missed,none,0,1,,0,0,250\n");
    }

    void csvExport()
    {
        QFETCH(QByteArray, zone);
        QFETCH(PlayRecord, spin);
        QFETCH(QByteArray, line);
        qputenv("TZ", zone);
        tzset();
        History history(path_, Module);
        QVERIFY(history.record(Money(PlayKind::CoverHit, -10, 90)));
        QVERIFY(history.record(spin));
        QString error;
        QVERIFY2(history.exportCsv(file(u"spins.csv"_s), error), qPrintable(error));
        QCOMPARE(Bytes(file(u"spins.csv"_s)),
                 "played_at,session,bet,denominator,jackpot,reach,notice_lamps,notice_sound,slot_chance,symbol,"
                 "target_symbol,win,money_after\n" +
                     line);
    }

    void exportToAnUnwritablePlaceKeepsTheHistory()
    {
        History history(path_, Module);
        QVERIFY(history.record(Spin(0, -1)));
        QString error;
        QVERIFY(!history.exportCsv(file(u"no-such-folder/spins.csv"_s), error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!history.broken());
        QVERIFY(history.record(Spin(0, -1)));
        QCOMPARE(ScanAll(history).size(), 2);
    }

    void clearEmptiesAndBeginsANewSession()
    {
        writeSomeHistory();
        History history(path_, Module);
        history.setSessionStart(5000);
        QVERIFY(history.record(Spin(0, -1)));
        QString error;
        QVERIFY2(history.clear(error), qPrintable(error));
        QCOMPARE(ScanAll(history).size(), 0);
        QCOMPARE(history.currentSession(), qint64(0));
        QVERIFY(history.record(Money(PlayKind::Loan, 100, 100)));
        storage::HistorySummary summary;
        QVERIFY(history.summary(summary));
        QCOMPARE(summary.allTime.loans, 100);
        QCOMPARE(summary.sessions, 1);
        const QList<Entry> entries = ScanAll(history);
        QCOMPARE(entries.size(), 1);
        QCOMPARE(entries[0].session, history.currentSession());
        QVERIFY(history.currentSession() != 0);
        Connection db(path_);
        QCOMPARE(db.rows(u"SELECT started_at FROM sessions"_s), u"5000"_s);
    }
};

QTEST_GUILESS_MAIN(HistoryTest)
#include "test_history.moc"
