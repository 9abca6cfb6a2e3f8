// SPDX-License-Identifier: MIT
// The saved game: what the two files say as a typed value, the saves that
// write it back (lines left as they were keep their bytes), and how the
// session starts from it and saves it. Each case runs in its own temporary
// program directory.
#include "storage/FileAccess.h"
#include "storage/RuntimeError.h"
#include "storage/SavedGame.h"
#include "tests/support/SaveFiles.h"
#include "tests/support/SessionRig.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include <fcntl.h>
#include <memory>
#include <optional>
#include <sys/file.h>

using namespace testing;
using namespace Qt::StringLiterals;
using game::SavedState;
using storage::SavedGame;
using storage::Settings;
using Lines = QMap<int, QString>;

namespace {

const QString Ini = u"Zelmor.ini"_s;
const QString Bin = u"Zelmor.bin"_s;
// What a file name holds when it is no file: nothing, or a directory.
const QByteArray Absent = "-";
const QByteArray Directory = "<dir>";
const char Filler = 'A';
// An unused line that is no valid Shift-JIS, kept byte for byte.
const QByteArray RawLine("\x81\x7F\xFF\xFC\x82", 5);

// The typed value as one line, e.g.
// "Passed $5000 saved sound Off unlocked Taken 2 1/6 mark 1"; a damaged
// pair as "Damaged 62".
QString Summary(const SavedState& s)
{
    static const char* const checks[] = {"FirstStart", "Passed", "Failed", "Damaged"};
    static const char* const sounds[] = {"On", "Off", "Unset"};
    static const char* const wits[] = {"None", "Taken", "Consolation"};
    if (s.check == SavedState::Check::Damaged)
        return u"Damaged %1"_s.arg(s.errorNumber);
    return u"%1 $%2 %3 sound %4 %5 %6 %7 1/%8 mark %9"_s.arg(QLatin1String(checks[int(s.check)]))
        .arg(s.money)
        .arg(s.everSaved ? u"saved"_s : u"unsaved"_s)
        .arg(QLatin1String(sounds[int(s.sound)]))
        .arg(s.unlocked ? u"unlocked"_s : u"locked"_s)
        .arg(QLatin1String(wits[int(s.wits)]))
        .arg(s.failures)
        .arg(s.denominatorText.isEmpty() ? u"-"_s : s.denominatorText)
        .arg(s.afterFailedCheck ? 0 : 1);
}

// A saved settings file whose line 7 is RawLine.
QByteArray WithRawLine(const QString& money, Lines lines = {})
{
    lines[7] = u"@raw@"_s;
    return SavedSettings(money, lines).replace("@raw@", RawLine);
}

// Puts a file, a directory or nothing at `path`.
void Place(const QString& path, const QByteArray& bytes)
{
    if (bytes == Directory) {
        QDir().mkdir(path);
    } else if (bytes != Absent) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
}

QByteArray Read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The filler of the saves of `money` to come: every byte comes out as Filler.
void ScriptSaves(ScriptedRandom& rnd, qint64 money, int saves = 1)
{
    const int draws = 99 - int(QByteArray::number(money).size());
    for (int i = 0; i < saves * draws; ++i)
        rnd.push(pick(Filler, 255));
}

// Makes the staged save fail at one stage for its lifetime.
class FailAt {
public:
    explicit FailAt(const QString& stage)
    {
        storage::saveStageHook = [stage](const char* at) {
            if (stage == QLatin1String(at))
                throw storage::RuntimeError(storage::ErrPermissionDenied);
        };
    }
    ~FailAt() { storage::saveStageHook = nullptr; }
};

// One storage case: the seams, a fresh program directory and the saved game
// that has claimed it.
struct Case : Seams {
    QTemporaryDir tmp;
    SavedGame saved;
    std::optional<FailAt> failAt;  // makes the save fail at a stage
    std::unique_ptr<QFile> held;   // a file held open, under a lock

    Case() { host.dir = tmp.path(); }
    QString path(const QString& name) const { return tmp.filePath(name); }
    QString dir() const { return tmp.path() + u'/'; }
    void writePair(const QByteArray& settings, const QByteArray& data)
    {
        Place(path(Ini), settings);
        Place(path(Bin), data);
    }
    QByteArray read(const QString& name) const { return Read(path(name)); }
    // Holds the file open with the lock `take` puts on its descriptor.
    void hold(const QString& name, const std::function<bool(int)>& take)
    {
        held = std::make_unique<QFile>(path(name));
        QVERIFY(held->open(QIODevice::ReadWrite));
        QVERIFY(take(held->handle()));
    }
    QStringList savedLines() const { return SettingsLinesOf(read(Ini)); }
    bool noTemporaries() const { return QDir(tmp.path()).entryList({u"*.new"_s}).isEmpty(); }
    SavedState load()
    {
        saved.claimDirectory(tmp.path());
        return saved.load();
    }
    SavedGame::SaveOutcome save(const SavedState& state)
    {
        ScriptSaves(rnd, state.money);
        return saved.save(state, dir());
    }
    // What the next start finds, once this game has let go of the directory.
    SavedState reload()
    {
        saved = SavedGame();
        return load();
    }
};

} // namespace

class TestSavedGame : public QObject {
    Q_OBJECT
private slots:
    // ------------------------------------------------------------ loading

    // What the files say, as the start-up rules get it.
    void loading_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("dataSecondsLater");
        QTest::addColumn<QString>("state");
        const QByteArray good = SavedSettings(u"5000"_s), goodData = DataBytes("5000");
        const QString nothing = u"$0 unsaved sound Unset locked None 0 1/- mark 1"_s;
        QTest::newRow("no files") << Absent << Absent << 0 << u"FirstStart "_s + nothing;
        QTest::newRow("data file kept alone") << Absent << goodData << 0 << u"FirstStart "_s + nothing;
        QTest::newRow("line 1 empty") << SavedSettings(u"5000"_s, {{1, QString()}}) << goodData << 0
                                      << u"Passed $5000 unsaved sound Unset locked None 0 1/- mark 1"_s;
        QTest::newRow("data file missing") << good << Absent << 0
                                           << u"Failed $5000 saved sound Unset locked None 0 1/- mark 1"_s;
        QTest::newRow("money copy differs") << good << DataBytes("4000") << 0
                                            << u"Failed $5000 saved sound Unset locked None 0 1/- mark 1"_s;
        QTest::newRow("data 51 s later") << good << goodData << 51
                                         << u"Failed $5000 saved sound Unset locked None 0 1/- mark 1"_s;
        QTest::newRow("data 51 s earlier") << good << goodData << -51
                                           << u"Failed $5000 saved sound Unset locked None 0 1/- mark 1"_s;
        // A damaged pair names the file it could not read.
        QTest::newRow("settings is a directory") << Directory << goodData << 0 << u"Damaged 75 Zelmor.ini"_s;
        QTest::newRow("data is a directory") << good << Directory << 0 << u"Damaged 75 Zelmor.bin"_s;
        QTest::newRow("settings with 10 lines") << SettingsBytes({{2, u"5000"_s}}, 10) << goodData << 0
                                                << u"Damaged 62 Zelmor.ini"_s;
        QTest::newRow("empty data file") << good << QByteArray() << 0 << u"Damaged 5 Zelmor.bin"_s;
        QTest::newRow("played") << SavedSettings(u"12345"_s, {{3, u"1"_s}, {5, Settings::BattleTaken}, {6, u"2"_s},
                                                             {28, u"1"_s}, {29, u"ChosenGuest"_s}, {30, u"6"_s}})
                                << DataBytes("12345") << 0
                                << u"Passed $12345 saved sound Off unlocked Taken 2 1/6 mark 1"_s;
        QTest::newRow("saved after a failed check") << SavedSettings(u"100"_s, {{5, Settings::Consolation}, {6, u"11"_s}})
                                                    << DataBytes("100", 'p') << 0
                                                    << u"Passed $100 saved sound Unset locked Consolation 11 1/- mark 0"_s;
        // Hand-made texts: a fraction rounds half to even, any other status
        // is a battle under way, a count or denominator is taken as written.
        QTest::newRow("hand-made") << SavedSettings(u"10.5"_s, {{3, u"0"_s}, {5, u"foo"_s}, {6, u"abc"_s},
                                                                {28, u"1"_s}, {30, u"x7"_s}})
                                   << DataBytes("10.5") << 0
                                   << u"Passed $10 saved sound On locked Taken 0 1/x7 mark 1"_s;
    }
    void loading()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QByteArray, data);
        QFETCH(int, dataSecondsLater);
        QFETCH(QString, state);
        Case c;
        c.writePair(settings, data);
        if (dataSecondsLater != 0) {
            const QDateTime t(QDate(2024, 3, 3), QTime(9, 0, 0));
            SetModified(c.path(Ini), t);
            SetModified(c.path(Bin), t.addSecs(dataSecondsLater));
        }
        const SavedState loaded = c.load();
        const QString damaged = QFileInfo(c.saved.damagedFile()).fileName();
        QCOMPARE(Summary(loaded) + (damaged.isEmpty() ? QString() : u' ' + damaged), state);
        QCOMPARE(c.read(Ini), settings == Directory || settings == Absent ? QByteArray() : settings);
        QCOMPARE(c.read(Bin), data == Directory || data == Absent ? QByteArray() : data);
    }

    // ------------------------------------------------------------ saving

    // A good pair saved again: both files byte for byte, and the next start
    // finds what was saved.
    void resumeAndSave_data()
    {
        QTest::addColumn<QString>("money");
        QTest::addColumn<Lines>("lines");
        QTest::addColumn<qint64>("savedMoney");
        QTest::addColumn<QString>("reloaded");
        const Lines played{{3, u"1"_s}, {5, Settings::BattleTaken}, {6, u"2"_s}, {17, u"kept"_s},
                           {28, u"1"_s}, {29, u"ChosenGuest"_s}, {30, u"6"_s}};
        QTest::newRow("no sound, unlocked") << u"12345"_s << played << qint64(2500)
                                            << u"Passed $2500 saved sound Off unlocked Taken 2 1/6 mark 1"_s;
        // Nine digits (the most the check takes), and hand-made texts kept.
        QTest::newRow("hand-made texts kept")
            << u"10.5"_s << Lines{{3, u"2"_s}, {5, u"foo"_s}, {6, u"03"_s}, {28, u"1"_s}, {30, u"x7"_s}}
            << qint64(123456789) << u"Passed $123456789 saved sound Unset locked Taken 3 1/x7 mark 1"_s;
    }
    void resumeAndSave()
    {
        QFETCH(QString, money);
        QFETCH(Lines, lines);
        QFETCH(qint64, savedMoney);
        QFETCH(QString, reloaded);
        Case c;
        c.writePair(WithRawLine(money, lines), DataBytes(money.toLatin1()));
        SavedState state = c.load();
        state.money = savedMoney;
        QVERIFY(c.save(state).saved);
        lines[1] = c.dir();
        const QByteArray moneyText = QByteArray::number(savedMoney);
        QCOMPARE(c.read(Ini), WithRawLine(QString::fromLatin1(moneyText), lines));
        QCOMPARE(c.read(Bin), DataBytes(moneyText, 'q', Filler));
        QCOMPARE(c.rnd.draws(), 99 - int(moneyText.size()));
        QVERIFY(c.noTemporaries());
        QCOMPARE(Summary(c.reload()), reloaded);
    }

    // What the start-up and play changed reaches its lines; what they left
    // keeps the text a hand wrote.
    void changesWritten_data()
    {
        QTest::addColumn<Lines>("before");
        QTest::addColumn<std::function<void(SavedState&)>>("change");
        QTest::addColumn<QStringList>("after"); // lines 3, 5, 6, 28, 29, 30
        using Count = SavedState::Count;
        const Lines hand{{3, u"2"_s}, {5, u"foo"_s}, {6, u"03"_s}, {28, u"1"_s}, {30, u"x7"_s}};
        const QStringList handAfter{u"2"_s, u"foo"_s, u"03"_s, u"1"_s, QString(), u"x7"_s};
        auto with = [](QStringList lines, int index, const QString& text) {
            lines[index] = text;
            return lines;
        };
        QTest::newRow("nothing changed") << hand << std::function<void(SavedState&)>([](SavedState&) {}) << handAfter;
        QTest::newRow("sound switched off") << hand << std::function<void(SavedState&)>([](SavedState& s) {
            s.sound = game::SoundSwitch::Off;
        }) << with(handAfter, 0, u"1"_s);
        QTest::newRow("unlocked") << hand << std::function<void(SavedState&)>([](SavedState& s) {
            s.unlocked = true;
        }) << with(with(handAfter, 3, u"1"_s), 4, u"ChosenGuest"_s);
        QTest::newRow("denominator chosen") << hand << std::function<void(SavedState&)>([](SavedState& s) {
            s.denominatorText = u"500"_s;
        }) << with(handAfter, 5, u"500"_s);
        QTest::newRow("a failure counted") << hand << std::function<void(SavedState&)>([](SavedState& s) {
            s.failures = 4;
            s.failuresChange = Count::Counted;
        }) << with(handAfter, 2, u"4"_s);
        // The count written anew even where its value stays: beyond any
        // whole number, or a hand-made text of the same value.
        QTest::newRow("a huge count counted") << Lines{{5, Settings::Consolation}, {6, u"1e20"_s}}
                                              << std::function<void(SavedState&)>([](SavedState& s) {
                                                     s.failures += 1;
                                                     s.failuresChange = Count::Counted;
                                                 })
                                              << QStringList{QString(), Settings::Consolation,
                                                             u"100000000000000000000"_s, QString(), QString(),
                                                             QString()};
        QTest::newRow("consoled") << hand << std::function<void(SavedState&)>([](SavedState& s) {
            s.wits = game::WitsStatus::Consolation;
            s.failures = 10;
            s.failuresChange = Count::Counted;
        }) << with(with(handAfter, 1, Settings::Consolation), 2, u"10"_s);
        QTest::newRow("battle taken up") << Lines{{6, u"x"_s}} << std::function<void(SavedState&)>([](SavedState& s) {
            s.wits = game::WitsStatus::Taken;
            s.failures = 1;
            s.failuresChange = Count::Counted;
        }) << QStringList{QString(), Settings::BattleTaken, u"1"_s, QString(), QString(), QString()};
        // The battle won: both lines emptied, whatever the count said.
        QTest::newRow("battle won") << Lines{{5, u"foo"_s}, {6, u"abc"_s}}
                                    << std::function<void(SavedState&)>([](SavedState& s) {
                                           s.wits = game::WitsStatus::None;
                                           s.failures = 0;
                                           s.failuresChange = Count::Cleared;
                                       })
                                    << QStringList{QString(), QString(), QString(), QString(), QString(), QString()};
    }
    void changesWritten()
    {
        QFETCH(Lines, before);
        QFETCH(std::function<void(SavedState&)>, change);
        QFETCH(QStringList, after);
        Case c;
        c.writePair(SavedSettings(u"100"_s, before), DataBytes("100"));
        SavedState state = c.load();
        change(state);
        QVERIFY(c.save(state).saved);
        const QStringList lines = c.savedLines();
        QCOMPARE((QStringList{lines.value(2), lines.value(4), lines.value(5), lines.value(27), lines.value(28),
                              lines.value(29)}),
                 after);
    }

    // The save after a failed check carries the mark 0, and line 1 names the
    // directory exactly as given.
    void saveAfterFailedCheck()
    {
        Case c;
        c.writePair(SavedSettings(u"5000"_s), DataBytes("4000"));
        SavedState state = c.load();
        state.money = game::RestartMoney;
        state.afterFailedCheck = true;
        ScriptSaves(c.rnd, state.money);
        QVERIFY(c.saved.save(state, c.tmp.path()).saved);
        QCOMPARE(c.savedLines().mid(0, 4), (QStringList{c.tmp.path(), u"100"_s, QString(), u"3"_s}));
        QCOMPARE(c.read(Bin), DataBytes("100", 'p', Filler));
        QCOMPARE(Summary(c.reload()), u"Passed $100 saved sound Unset locked None 0 1/- mark 0"_s);
    }

    // A save that fails says why and where, and leaves the old pair as it
    // was; one cut between its renames is finished by the next start.
    void failedSave_data()
    {
        QTest::addColumn<std::function<void(Case&)>>("spoil");
        QTest::addColumn<QString>("outcome");
        auto failAt = [](const QString& stage) { return [stage](Case& c) { c.failAt.emplace(stage); }; };
        QTest::newRow("settings target refused") << std::function<void(Case&)>(failAt(u"settings written"_s))
                                                 << u"Other ."_s;
        QTest::newRow("data target refused") << std::function<void(Case&)>(failAt(u"data written"_s)) << u"Other ."_s;
        QTest::newRow("data file is a directory") << std::function<void(Case&)>([](Case& c) {
            QVERIFY(QFile::remove(c.path(Bin)));
            Place(c.path(Bin), Directory);
        }) << u"InTheWay Zelmor.bin"_s;
        QTest::newRow("settings file read-only") << std::function<void(Case&)>([](Case& c) {
            QVERIFY(QFile::setPermissions(c.path(Ini), QFileDevice::ReadOwner | QFileDevice::ReadOther));
        }) << u"NotWritable Zelmor.ini"_s;
        // Another program writing a file holds a lock on it: an flock, or a
        // record lock. Those of this process are taken on their own open
        // file, which the save's check sees as another's.
        QTest::newRow("data file under an flock") << std::function<void(Case&)>([](Case& c) {
            c.hold(Bin, [](int fd) { return ::flock(fd, LOCK_EX | LOCK_NB) == 0; });
        }) << u"HeldByAnotherProgram Zelmor.bin"_s;
        QTest::newRow("settings file under a record lock") << std::function<void(Case&)>([](Case& c) {
            c.hold(Ini, [](int fd) {
                struct flock lock {};
                lock.l_type = F_WRLCK;
                lock.l_whence = SEEK_SET;
                return ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
            });
        }) << u"HeldByAnotherProgram Zelmor.ini"_s;
        QTest::newRow("cut between the renames") << std::function<void(Case&)>(failAt(u"settings renamed"_s))
                                                 << u"Unfinished Zelmor.bin"_s;
    }
    void failedSave()
    {
        QFETCH(std::function<void(Case&)>, spoil);
        QFETCH(QString, outcome);
        Case c;
        c.writePair(WithRawLine(u"100"_s), DataBytes("100"));
        SavedState state = c.load();
        spoil(c);
        const QByteArray settingsBefore = c.read(Ini), dataBefore = c.read(Bin);
        state.money = 700;
        QCOMPARE(SaveSummary(c.save(state), c.tmp.path()), outcome);
        c.failAt.reset();
        c.held.reset();
        if (outcome.startsWith(u"Unfinished"_s)) {
            QCOMPARE(c.reload().money, 700);
            return;
        }
        QCOMPARE(c.read(Ini), settingsBefore);
        QCOMPARE(c.read(Bin), dataBefore);
        QVERIFY(c.noTemporaries());
    }

    // ------------------------------------------------------------ the session

    // What start() tells, whether the game plays, and the files it leaves: a
    // failed check saves twice with the mark 0 under the directory as the
    // system reports it; a damaged pair, another copy or a lock that cannot
    // be made leaves them alone.
    void sessionStart_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("lock"); // "copy": another copy holds it; "<dir>": a directory in its place
        QTest::addColumn<bool>("plays");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<int>("saves");
        const QByteArray good = SavedSettings(u"5000"_s, {{3, u"0"_s}}), goodData = DataBytes("5000");
        QTest::newRow("first start") << Absent << Absent << Absent << true
                                     << QStringList{u"Welcome"_s, u"CurrentProbability 300"_s} << 0;
        QTest::newRow("passed") << good << goodData << Absent << true << QStringList{u"CurrentProbability 300"_s} << 0;
        QTest::newRow("failed check") << good << DataBytes("4000") << Absent << false << QStringList{u"wits"_s} << 2;
        QTest::newRow("damaged") << SettingsBytes({{2, u"5000"_s}}, 10) << goodData << Absent << false
                                 << QStringList{u"LoadFailed 62"_s} << 0;
        // Bytes that are no settings file: damage, not a hand edit, so no
        // battle of wits writes $100 over the money the data file holds.
        QByteArray junk(4096, '\0');
        for (int i = 0; i < junk.size(); ++i)
            junk[i] = char((i * 7919 + 13) % 251);
        QTest::newRow("settings of binary junk") << junk << goodData << Absent << false
                                                 << QStringList{u"LoadFailed 5"_s} << 0;
        QTest::newRow("another copy") << good << goodData << QByteArray("copy") << false
                                      << QStringList{u"AlreadyRunning"_s} << 0;
        QTest::newRow("no lock can be made") << good << goodData << Directory << false
                                             << QStringList{u"CannotLock"_s} << 0;
    }
    void sessionStart()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, lock);
        QFETCH(bool, plays);
        QFETCH(QStringList, shown);
        QFETCH(int, saves);
        SessionRig rig;
        Place(rig.path(Ini), settings);
        Place(rig.path(Bin), data);
        SavedGame other;
        if (lock == "copy")
            QCOMPARE(other.claimDirectory(rig.dir()).kind, SavedGame::Claim::Owned);
        else
            Place(rig.path(u"Zelmor.lock"_s), lock);
        ScriptSaves(rig.rnd, game::RestartMoney, saves);
        QCOMPARE(rig.start(), plays);
        QCOMPARE(rig.prompts.shown, shown);
        QCOMPARE(rig.host.endCount, plays ? 0 : 1);
        QCOMPARE(rig.rnd.draws(), saves * 96);
        if (lock == "copy")
            QCOMPARE(rig.prompts.notices.back().path, rig.dir() + u'/');
        if (lock == Directory)
            QCOMPARE(rig.prompts.notices.back().path, rig.dir() + u"/Zelmor.lock"_s);
        if (shown.front().startsWith(u"LoadFailed"_s)) // names the file it could not read
            QCOMPARE(rig.prompts.notices.back().path, rig.path(Ini));
        if (saves == 0) {
            QCOMPARE(rig.readFile(Ini), settings == Absent ? QByteArray() : settings);
            QCOMPARE(rig.readFile(Bin), data == Absent ? QByteArray() : data);
            return;
        }
        QCOMPARE(SettingsLinesOf(rig.readFile(Ini)).mid(0, 4), (QStringList{rig.dir(), u"100"_s, u"0"_s, u"3"_s}));
        QCOMPARE(rig.readFile(Bin), DataBytes("100", 'p', Filler));
    }

    // The session's save takes what play changed from the machine: lines
    // 1 (the directory with its '/'), 2, 3, 28, 29 and 30, and the mark 1.
    void sessionSave_data()
    {
        QTest::addColumn<QString>("line3");
        QTest::addColumn<int>("soundToggles");
        QTest::addColumn<bool>("unlockedInPlay");
        QTest::addColumn<QString>("chosen"); // empty: the probability command is not used
        QTest::addColumn<QStringList>("after"); // lines 3, 28, 29, 30
        auto after = [](const QString& line3, bool unlocked, const QString& line30) {
            return QStringList{line3, unlocked ? u"1"_s : QString(), unlocked ? u"ChosenGuest"_s : QString(), line30};
        };
        QTest::newRow("other switch kept") << u"2"_s << 0 << false << QString() << after(u"2"_s, false, {});
        QTest::newRow("switched off") << u"0"_s << 1 << false << QString() << after(u"1"_s, false, {});
        QTest::newRow("off and on") << u"0"_s << 2 << false << QString() << after(u"0"_s, false, {});
        QTest::newRow("unlocked in play") << u"1"_s << 0 << true << QString() << after(u"1"_s, true, {});
        QTest::newRow("denominator chosen") << u"0"_s << 0 << false << u"500"_s << after(u"0"_s, true, u"500"_s);
    }
    void sessionSave()
    {
        QFETCH(QString, line3);
        QFETCH(int, soundToggles);
        QFETCH(bool, unlockedInPlay);
        QFETCH(QString, chosen);
        QFETCH(QStringList, after);
        SessionRig rig;
        rig.writeFile(Ini, SavedSettings(u"250"_s, {{3, line3}}));
        rig.writeFile(Bin, DataBytes("250"));
        rig.play();
        game::Machine& machine = rig.machine();
        for (int i = 0; i < soundToggles; ++i)
            machine.toggleSound();
        if (unlockedInPlay)
            machine.editState().unlocked = true;
        if (!chosen.isEmpty()) {
            rig.prompts.inputAnswers = {chosen};
            machine.changeProbability();
        }
        ScriptSaves(rig.rnd, 250);
        rig.session().save();
        const QStringList lines = SettingsLinesOf(rig.readFile(Ini));
        QCOMPARE(lines.mid(0, 2), (QStringList{rig.dir() + u'/', u"250"_s}));
        QCOMPARE((QStringList{lines.value(2), lines.value(27), lines.value(28), lines.value(29)}), after);
        QCOMPARE(rig.readFile(Bin), DataBytes("250", 'q', Filler));
    }

    // The session manager's request before a logout, mid-spin: nothing is
    // saved until the main event loop runs; then the spin plays out at once
    // and silently, the save holds what it paid, and the game goes on.
    void logoutMidSpinSavesThePaidSpin()
    {
        SessionRig rig;
        rig.play();
        game::Machine& machine = rig.machine();
        rig.rnd.push(pick(0, 4));
        machine.pickCover(0);
        rig.rnd.script(spinDraws(0, 0, 0, 0, 6)); // the instant line-up
        rig.rnd.push(0.5);                        // no jackpot notice
        machine.startSpin();
        ScriptSaves(rig.rnd, 1);
        const QByteArray before = rig.readFile(Ini);
        const qsizetype heard = rig.audio.played.size();
        rig.session().systemRequest(app::GameSession::SystemRequest::Save);
        QCOMPARE(rig.readFile(Ini), before);
        QCoreApplication::processEvents();
        QVERIFY(!machine.actions().busy);
        QVERIFY(machine.state().money > 90);
        QCOMPARE(SettingsLinesOf(rig.readFile(Ini)).value(1), QString::number(machine.state().money));
        QCOMPARE(rig.audio.played.size(), heard);
        QVERIFY(!rig.host.endedFlag);
    }

    // A save that fails is told with its cause and where, and the game goes
    // on ending.
    void sessionSaveFails()
    {
        SessionRig rig;
        rig.play();
        ScriptSaves(rig.rnd, game::RestartMoney);
        QDir().mkdir(rig.path(Ini)); // a first start: no settings file yet
        rig.session().quit();
        QCOMPARE(rig.prompts.shown, QStringList{u"SaveFailed"_s});
        QCOMPARE(rig.prompts.notices.back().saveProblem, game::SaveProblem::InTheWay);
        QCOMPARE(rig.prompts.notices.back().path, rig.path(Ini));
        QVERIFY(!rig.prompts.notices.back().earlierSaveKept); // nothing saved before to keep
        QCOMPARE(rig.host.endCount, 1);
    }
};

QTEST_MAIN(TestSavedGame)
#include "test_savedgame.moc"
