// SPDX-License-Identifier: MIT
// The saved game: start-up loading with the integrity check, the battle of
// wits, the greeting and the denominator, and saving both files. Each case
// runs in its own temporary program directory with scripted prompts.
#include "storage/FileAccess.h"
#include "storage/RuntimeError.h"
#include "storage/SavedGame.h"
#include "tests/support/Rig.h"
#include "tests/support/SaveFiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace testing;
using namespace Qt::StringLiterals;
using storage::SavedGame;
using storage::Settings;
using Opened = SavedGame::Opened;
using Lines = QMap<int, QString>;

Q_DECLARE_METATYPE(game::SoundSwitch)
Q_DECLARE_METATYPE(seams::WitsChoice)
Q_DECLARE_METATYPE(storage::SavedGame::Opened)

namespace {

const QString Ini = u"Zelmor.ini"_s;
const QString Bin = u"Zelmor.bin"_s;
// What a file name holds when it is no file: nothing, or a directory.
const QByteArray Absent = "-";
const QByteArray Directory = "<dir>";
const char Filler = 'A';
// An unused line that is no valid Shift-JIS, kept byte for byte.
const QByteArray RawLine("\x81\x7F\xFF\xFC\x82", 5);

const QString Title = u"ゼルモア"_s;
const QString Welcome = u"この度はダウンロードして頂きありがとうございます。\r\n"
                        u"ちょっとした息抜きにぴったりですので、末永く御利用\r\n"
                        u"下さいます様お願い致します。"_s;
const QString BelowSix = u"確率の分子は６の為、分母は６以上の値を設定して下さい。\r\n"
                         u"６でほとんど大当たりします。初期値は３００です。"_s;
const QString Reward = u"チェックをパスする事に成功しました。\r\n"
                       u"ご褒美としてあなた様には確率を変動させることを許可します。\r\n"
                       u"Zelmor.ini ３０行に分母の確立が設定できます。\r\n"
                       u"初期値 6/300 ですので 6の設定でほとんど大当たりが期待できます。\r\n"
                       u"また、ご意見、ご感想をメールでいただけたらと思います。\r\n"
                       u"右記メールアドレスでお待ちしています。 zelmor@example.com"_s;
const QString SaveFailure = u"他のアプリケーションがゼルモアのデータファイルをアクセスしています。\r\n"
                            u"最終データは登録されませんでした。"_s;

QString Fatal(const QString& number)
{
    return u"致命的なエラーが発生しました。\r\nエラー番号 "_s + number
        + u" でエラーが発生しています。\r\nこの番号を作者までご連絡下さい。次期バージョンに修正します。"_s;
}

// A message box as "title | style | text".
QString Box(const QString& title, int style, const QString& text)
{
    return u"%1 | %2 | %3"_s.arg(title).arg(style).arg(text);
}

// What the machine starts with, e.g. "$100 sound 0 unlocked 1 1/300".
QString StartText(const game::Machine::StartValues& v)
{
    return u"$%1 sound %2 unlocked %3 1/%4"_s.arg(v.money).arg(int(v.sound)).arg(v.unlocked).arg(v.denominator);
}

// A saved settings file whose line 7 is RawLine.
QByteArray WithRawLine(const QString& money, Lines lines = {})
{
    lines[7] = u"@raw@"_s;
    return SavedSettings(money, lines).replace("@raw@", RawLine);
}

// One case: the seams, a fresh program directory and the saved game.
struct Case : Seams {
    QTemporaryDir tmp;
    SavedGame saved;

    Case() { host.dir = tmp.path(); }
    QString path(const QString& name) const { return tmp.filePath(name); }
    void write(const QString& name, const QByteArray& bytes)
    {
        if (bytes == Directory) {
            QDir(tmp.path()).mkdir(name);
        } else if (bytes != Absent) {
            QFile file(path(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(bytes);
        }
    }
    void writePair(const QByteArray& settings, const QByteArray& data)
    {
        write(Ini, settings);
        write(Bin, data);
    }
    QByteArray read(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList savedLines() const { return SettingsLinesOf(read(Ini)); }
    bool noTemporaries() const { return QDir(tmp.path()).entryList({u"*.new"_s}).isEmpty(); }
    // Every prompt in order, message boxes as Box() writes them.
    QStringList log() const
    {
        QStringList list;
        std::size_t box = 0;
        for (const QString& entry : prompts.shown) {
            const Message* m = entry.startsWith(u"message "_s) ? &prompts.messages.at(box++) : nullptr;
            list << (m ? Box(m->title, m->style, m->text) : entry);
        }
        return list;
    }
    // A save whose filler bytes all come out as Filler.
    void save(qint64 money)
    {
        rnd.clear();
        for (int i = 0; i < 99; ++i)
            rnd.push(pick(Filler, 255));
        saved.save(money);
    }
    // Opens the files as the next start would, once this game has ended and
    // let go of its directory, with the prompts cleared.
    Opened reopen(SavedGame& next)
    {
        saved = SavedGame();
        prompts.messages.clear();
        prompts.shown.clear();
        return next.open();
    }
};

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

} // namespace

class TestSavedGame : public QObject {
    Q_OBJECT
private slots:
    // ------------------------------------------------------------ loading

    // What open() makes of the files, and of the save that follows: a first
    // start is greeted; a failed check leads to the battle of wits and to the
    // save with mark 0 under the directory as reported (no '/' added); either
    // save passes the next check. A fatal error ends the program, no save.
    void opening_data()
    {
        QTest::addColumn<QByteArray>("settings");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("dataSecondsLater");
        QTest::addColumn<Opened>("opened");
        QTest::addColumn<QStringList>("log");
        const QStringList greeted{Box(Title, seams::vbInformation, Welcome)}, welcomed{u"wits welcome"_s};
        auto fatal = [](const char* number) {
            return QStringList{Box(u"Zelmor"_s, seams::vbOKOnly, Fatal(QString::fromLatin1(number)))};
        };
        const QByteArray good = SavedSettings(u"5000"_s), goodData = DataBytes("5000");
        QTest::newRow("no files") << Absent << Absent << 0 << Opened::Play << greeted;
        QTest::newRow("data file kept alone") << Absent << goodData << 0 << Opened::Play << greeted;
        QTest::newRow("line 1 empty") << SavedSettings(u"5000"_s, {{1, QString()}}) << goodData << 0 << Opened::Play
                                      << greeted;
        QTest::newRow("data file missing") << good << Absent << 0 << Opened::CheckFailed << welcomed;
        QTest::newRow("money copy differs") << good << DataBytes("4000") << 0 << Opened::CheckFailed << welcomed;
        QTest::newRow("data 51 s later") << good << goodData << 51 << Opened::CheckFailed << welcomed;
        QTest::newRow("data 51 s earlier") << good << goodData << -51 << Opened::CheckFailed << welcomed;
        QTest::newRow("settings is a directory") << Directory << goodData << 0 << Opened::Fatal << fatal(" 75");
        QTest::newRow("data is a directory") << good << Directory << 0 << Opened::Fatal << fatal(" 75");
        QTest::newRow("settings with 10 lines") << SettingsBytes({{2, u"5000"_s}}, 10) << goodData << 0
                                                << Opened::Fatal << fatal(" 62");
        QTest::newRow("empty data file") << good << QByteArray() << 0 << Opened::Fatal << fatal(" 5");
    }
    void opening()
    {
        QFETCH(QByteArray, settings);
        QFETCH(QByteArray, data);
        QFETCH(int, dataSecondsLater);
        QFETCH(Opened, opened);
        QFETCH(QStringList, log);
        Case c;
        c.writePair(settings, data);
        if (dataSecondsLater != 0) {
            const QDateTime t(QDate(2024, 3, 3), QTime(9, 0, 0));
            SetModified(c.path(Ini), t);
            SetModified(c.path(Bin), t.addSecs(dataSecondsLater));
        }
        QCOMPARE(c.saved.open(), opened);
        QCOMPARE(c.log(), log);
        QCOMPARE(c.host.endCount, opened == Opened::Fatal ? 1 : 0);
        if (opened == Opened::Fatal) {
            QCOMPARE(c.read(Ini), settings == Directory ? QByteArray() : settings);
            QCOMPARE(c.read(Bin), data == Directory ? QByteArray() : data);
            return;
        }
        QCOMPARE(c.saved.startValues().money, qint64(100));
        QCOMPARE(c.saved.startValues().denominator, 300.0);

        const bool failed = opened == Opened::CheckFailed;
        c.saved.dataMark = failed ? 0 : 1;
        c.save(c.saved.settingsMoney());
        const QStringList lines = c.savedLines();
        QCOMPARE(lines.value(0), failed ? c.tmp.path() : c.tmp.path() + u'/');
        QCOMPARE(lines.mid(1, 3), (QStringList{u"100"_s, QString(), u"3"_s}));
        QCOMPARE(c.read(Bin), DataBytes("100", failed ? 'p' : 'q', Filler));
        SavedGame next;
        QCOMPARE(c.reopen(next), Opened::Play);
        QVERIFY(c.prompts.shown.isEmpty()); // no greeting again, no reward at 100
        QCOMPARE(next.loadedMark, failed ? 0.0 : 1.0);
    }

    void denominator_data()
    {
        QTest::addColumn<QString>("line30");
        QTest::addColumn<double>("denominator");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("warned");
        QTest::newRow("empty") << QString() << 300.0 << u"300"_s << false;
        QTest::newRow("6") << u"6"_s << 6.0 << u"6"_s << false;
        QTest::newRow("5") << u"5"_s << 300.0 << u"300"_s << true;
        QTest::newRow("no number") << u"abc"_s << 300.0 << u"300"_s << true;
        QTest::newRow("fraction") << u"6.5"_s << 6.5 << u"6.5"_s << false;
        QTest::newRow("huge") << u"1e30"_s << 1e30 << u"1e30"_s << false;
    }
    void denominator()
    {
        QFETCH(QString, line30);
        QFETCH(double, denominator);
        QFETCH(QString, text);
        QFETCH(bool, warned);
        Case c;
        c.writePair(SavedSettings(u"100"_s, {{30, line30}}), DataBytes("100"));
        QCOMPARE(c.saved.open(), Opened::Play);
        QCOMPARE(c.saved.startValues().denominator, denominator);
        QCOMPARE(c.saved.denominatorText(), text);
        QCOMPARE(c.log(), warned ? QStringList{Box(Title, seams::vbInformation, BelowSix)} : QStringList{});
        // A refused value is replaced by the one in use, which the next save writes.
        QCOMPARE(c.saved.settings.denominator, line30.isEmpty() ? line30 : text);
    }

    // ------------------------------------------------------------ the battle of wits

    // Lines 5 and 6 before and after a failed check, and the dialogs shown.
    void battleOfWits_data()
    {
        QTest::addColumn<QString>("status");
        QTest::addColumn<QString>("count");
        QTest::addColumn<seams::WitsChoice>("answer");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("statusAfter");
        QTest::addColumn<QString>("countAfter");
        const QString taken = Settings::BattleTaken, consoled = Settings::Consolation;
        const QString welcome = u"wits welcome"_s;
        auto failure = [](const QString& n) { return u"wits failure "_s + n; };
        using seams::WitsChoice;
        QTest::newRow("closed") << QString() << u"3"_s << WitsChoice::Closed << QStringList{welcome} << QString()
                                << u"3"_s;
        QTest::newRow("promised") << QString() << u"3"_s << WitsChoice::Promise << QStringList{welcome} << QString()
                                  << u"3"_s;
        QTest::newRow("taken up") << QString() << QString() << WitsChoice::Challenge
                                  << QStringList{welcome, failure(u"1"_s)} << taken << u"1"_s;
        QTest::newRow("9th") << taken << u"8"_s << WitsChoice::Closed << QStringList{failure(u"9"_s)} << taken << u"9"_s;
        QTest::newRow("10th, consoled") << taken << u"9"_s << WitsChoice::Closed << QStringList{failure(u"10"_s)}
                                        << consoled << u"10"_s;
        QTest::newRow("12th") << consoled << u"11"_s << WitsChoice::Closed << QStringList{failure(u"12"_s)} << consoled
                              << u"12"_s;
        QTest::newRow("count negative") << taken << u"-3"_s << WitsChoice::Closed << QStringList{failure(u"-2"_s)}
                                        << taken << u"-2"_s;
        QTest::newRow("count huge") << taken << u"1e20"_s << WitsChoice::Closed << QStringList{failure(u"100000000000000000000"_s)}
                                    << consoled << u"100000000000000000000"_s;
    }
    void battleOfWits()
    {
        QFETCH(QString, status);
        QFETCH(QString, count);
        QFETCH(seams::WitsChoice, answer);
        QFETCH(QStringList, shown);
        QFETCH(QString, statusAfter);
        QFETCH(QString, countAfter);
        Case c;
        c.writePair(SavedSettings(u"5000"_s, {{5, status}, {6, count}}), DataBytes("100"));
        c.prompts.witsAnswers = {answer};
        QCOMPARE(c.saved.open(), Opened::CheckFailed);
        QCOMPARE(c.prompts.shown, shown);
        QCOMPARE(c.saved.settings.battleStatus, statusAfter);
        QCOMPARE(c.saved.settings.failureCount, countAfter);
    }

    // Passing the check after a failed one (mark 0) in the battle, with money
    // other than 100, earns the reward and ends the battle.
    void checkPassedTest_data()
    {
        QTest::addColumn<QString>("money");
        QTest::addColumn<char>("mark");
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("rewarded");
        const QString taken = Settings::BattleTaken;
        QTest::newRow("rewarded") << u"5000"_s << 'p' << taken << true;
        QTest::newRow("ordinary mark") << u"5000"_s << 'q' << taken << false;
        QTest::newRow("money left at 100") << u"100"_s << 'p' << taken << false;
        QTest::newRow("no battle") << u"5000"_s << 'p' << QString() << false;
    }
    void checkPassedTest()
    {
        QFETCH(QString, money);
        QFETCH(char, mark);
        QFETCH(QString, status);
        QFETCH(bool, rewarded);
        Case c;
        c.writePair(SavedSettings(money, {{5, status}, {6, u"4"_s}}), DataBytes(money.toLatin1(), mark));
        QCOMPARE(c.saved.open(), Opened::Play);
        QCOMPARE(c.log(), rewarded ? QStringList{Box(Title, seams::vbInformation, Reward)} : QStringList{});
        QCOMPARE(c.saved.settings.battleStatus, rewarded ? QString() : status);
        QCOMPARE(c.saved.settings.failureCount, rewarded ? QString() : u"4"_s);
    }

    // ------------------------------------------------------------ saving

    // A good pair: what the machine starts with, the save of both files byte
    // for byte, and the next start that takes them.
    void resumeAndSave_data()
    {
        QTest::addColumn<QString>("money");
        QTest::addColumn<Lines>("lines");
        QTest::addColumn<qint64>("startMoney");
        QTest::addColumn<game::SoundSwitch>("sound");
        QTest::addColumn<bool>("unlocked");
        QTest::addColumn<double>("denominator");
        QTest::addColumn<qint64>("savedMoney");
        const Lines played{{3, u"1"_s}, {5, Settings::BattleTaken}, {6, u"2"_s}, {17, u"kept"_s},
                           {28, u"1"_s}, {29, u"ChosenGuest"_s}, {30, u"6"_s}};
        QTest::newRow("no sound, unlocked") << u"12345"_s << played << qint64(12345) << game::SoundSwitch::Off << true
                                            << 6.0 << qint64(2500);
        QTest::newRow("fraction, half unlocked")
            << u"10.5"_s << Lines{{3, u"0"_s}, {28, u"1"_s}} << qint64(10) << game::SoundSwitch::On << false << 300.0
            << qint64(123456789); // nine digits: the most the check takes
    }
    void resumeAndSave()
    {
        QFETCH(QString, money);
        QFETCH(Lines, lines);
        QFETCH(qint64, startMoney);
        QFETCH(game::SoundSwitch, sound);
        QFETCH(bool, unlocked);
        QFETCH(double, denominator);
        QFETCH(qint64, savedMoney);
        Case c;
        c.writePair(WithRawLine(money, lines), DataBytes(money.toLatin1()));
        QCOMPARE(c.saved.open(), Opened::Play);
        QVERIFY(c.prompts.shown.isEmpty());
        QCOMPARE(c.saved.loadedMark, 1.0);
        QCOMPARE(StartText(c.saved.startValues()), StartText({startMoney, sound, unlocked, denominator}));

        c.save(savedMoney);
        lines[1] = c.tmp.path() + u'/';
        const QByteArray moneyText = QByteArray::number(savedMoney);
        QCOMPARE(c.read(Ini), WithRawLine(QString::fromLatin1(moneyText), lines));
        QCOMPARE(c.read(Bin), DataBytes(moneyText, 'q', Filler));
        QVERIFY(c.prompts.messages.empty());
        QVERIFY(c.noTemporaries());

        SavedGame next;
        QCOMPARE(c.reopen(next), Opened::Play);
        QVERIFY(c.prompts.shown.isEmpty());
        QCOMPARE(StartText(next.startValues()), StartText({savedMoney, sound, unlocked, denominator}));
    }

    // What the machine changed in play reaches lines 3, 28, 29 and 30.
    void takesFromTheMachine_data()
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
    void takesFromTheMachine()
    {
        QFETCH(QString, line3);
        QFETCH(int, soundToggles);
        QFETCH(bool, unlockedInPlay);
        QFETCH(QString, chosen);
        QFETCH(QStringList, after);
        Case c;
        c.writePair(SavedSettings(u"100"_s, {{3, line3}}), DataBytes("100"));
        QCOMPARE(c.saved.open(), Opened::Play);
        game::Machine machine;
        machine.startUp(c.saved.startValues());
        for (int i = 0; i < soundToggles; ++i)
            machine.toggleSound();
        if (unlockedInPlay)
            machine.editState().unlocked = true;
        if (!chosen.isEmpty()) {
            c.prompts.inputAnswers = {chosen};
            machine.changeProbability();
        }
        c.saved.takeFrom(machine);
        c.save(machine.state().money);
        const QStringList lines = c.savedLines();
        QCOMPARE((QStringList{lines.value(2), lines.value(27), lines.value(28), lines.value(29)}), after);
    }

    // A save that fails says so and leaves the old pair as it was.
    void failedSaveKeepsTheOldPair_data()
    {
        QTest::addColumn<QString>("stage");
        QTest::addColumn<bool>("dataFileIsADirectory");
        QTest::newRow("settings target refused") << u"settings written"_s << false;
        QTest::newRow("data target refused") << u"data written"_s << false;
        QTest::newRow("data file is a directory") << QString() << true;
    }
    void failedSaveKeepsTheOldPair()
    {
        QFETCH(QString, stage);
        QFETCH(bool, dataFileIsADirectory);
        Case c;
        c.writePair(WithRawLine(u"100"_s), DataBytes("100"));
        QCOMPARE(c.saved.open(), Opened::Play);
        if (dataFileIsADirectory) {
            QVERIFY(QFile::remove(c.path(Bin)));
            c.write(Bin, Directory);
        }
        const QByteArray settingsBefore = c.read(Ini), dataBefore = c.read(Bin);
        {
            FailAt hook(stage);
            c.save(700);
        }
        QCOMPARE(c.log(), QStringList{Box(Title, seams::vbCritical, SaveFailure)});
        QCOMPARE(c.read(Ini), settingsBefore);
        QCOMPARE(c.read(Bin), dataBefore);
        QVERIFY(c.noTemporaries());
    }
};

QTEST_GUILESS_MAIN(TestSavedGame)
#include "test_savedgame.moc"
