// Saving at every way out: the file contents, failures that change nothing,
// and a save cut short at any point.
#include "app/MdlZelmor.h"
#include "storage/DataFile.h"
#include "storage/FileAccess.h"
#include "storage/LoadCheck.h"
#include "storage/RuntimeError.h"
#include "storage/SettingsFile.h"
#include "tests/support/SavedGame.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QtTest>

using namespace testing;
using namespace MdlZelmor;

namespace {

const QString SaveFailure = QStringLiteral("他のアプリケーションがゼルモアのデータファイルをアクセスしています。\r\n"
                                           "最終データは登録されませんでした。");
const char Filler = 0x41;

void ScriptFiller(Game& game, int saves = 1)
{
    for (int i = 0; i < saves * 99; ++i)
        game.rnd.push(pick(Filler, 255));
}

// A running game resumed from a good pair with $100.
FrmMain& Resume(Game& game, QMap<int, QString> lines = {})
{
    game.writeFile(QStringLiteral("Zelmor.ini"), SavedSettings(QStringLiteral("100"), lines));
    game.writeFile(QStringLiteral("Zelmor.bin"), DataBytes("100"));
    FrmMain& f = game.start();
    game.prompts.messages.clear();
    ScriptFiller(game);
    return f;
}

struct Pair {
    QByteArray settings, data;
    bool operator==(const Pair&) const = default;
};

Pair OnDisk(const Game& game)
{
    return {game.readFile(QStringLiteral("Zelmor.ini")), game.readFile(QStringLiteral("Zelmor.bin"))};
}

// What a save of `money` writes for a game resumed by Resume().
Pair Expected(const Game& game, const QString& money)
{
    storage::SettingsLines lines;
    lines[1] = game.dir() + QLatin1Char('/');
    lines[2] = money;
    lines[4] = QString::number(money.size());
    return {storage::EncodeSettings(lines), DataBytes(money.toLatin1(), 'q', Filler)};
}

struct Killed {};

class StageHook {
public:
    explicit StageHook(std::function<void(const char*)> hook) { storage::saveStageHook = std::move(hook); }
    ~StageHook() { storage::saveStageHook = nullptr; }
};

} // namespace

class TestSaving : public QObject {
    Q_OBJECT
private slots:
    void blanksTrimmedLengthKept()
    {
        Game game;
        FrmMain& f = Resume(game);
        f.Label1.setCaption(QStringLiteral(" 100"));
        f.SaveData();
        const QStringList lines = SettingsLinesOf(game.readFile(QStringLiteral("Zelmor.ini")));
        QCOMPARE(lines.size(), 30);
        QCOMPARE(lines[0], game.dir() + QLatin1Char('/'));
        QCOMPARE(lines[1], QStringLiteral("100"));
        QCOMPARE(lines[3], QStringLiteral("4"));
        QCOMPARE(game.readFile(QStringLiteral("Zelmor.bin")), DataBytes("100", 'q', Filler));
        QVERIFY(game.prompts.messages.empty());
        QVERIFY(!QFile::exists(storage::PendingPath(game.path(QStringLiteral("Zelmor.ini")))));
        QVERIFY(!QFile::exists(storage::PendingPath(game.path(QStringLiteral("Zelmor.bin")))));
    }

    void everyLineWrittenBack()
    {
        Game game;
        FrmMain& f = Resume(game, {{3, QStringLiteral("1")}, {5, QStringLiteral("絶対解除する")}, {17, QStringLiteral("kept")},
                                   {30, QStringLiteral("6")}});
        f.Label1.setCaption(QStringLiteral("2500"));
        f.SaveData();
        const QStringList lines = SettingsLinesOf(game.readFile(QStringLiteral("Zelmor.ini")));
        QCOMPARE(lines[1], QStringLiteral("2500"));
        QCOMPARE(lines[2], QStringLiteral("1"));
        QCOMPARE(lines[4], QStringLiteral("絶対解除する"));
        QCOMPARE(lines[16], QStringLiteral("kept"));
        QCOMPARE(lines[29], QStringLiteral("6"));
        QVERIFY(game.readFile(QStringLiteral("Zelmor.ini")).contains("\x90\xE2\x91\xCE")); // Shift-JIS
    }

    void threeWaysOutSave_data()
    {
        QTest::addColumn<int>("way");
        QTest::newRow("quit command") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("close box") << 2;
    }
    void threeWaysOutSave()
    {
        QFETCH(int, way);
        Game game;
        FrmMain& f = Resume(game);
        f.show();
        f.Label1.setCaption(QStringLiteral("250"));
        switch (way) {
        case 0: f.mnuQuit.click(); break;
        case 1: QTest::keyClick(&f, Qt::Key_Escape); break;
        case 2: QVERIFY(f.close()); break; // accepted: closing cannot be cancelled
        }
        QVERIFY(game.host.endedFlag);
        QCOMPARE(game.host.endCount, 1);
        QCOMPARE(OnDisk(game), Expected(game, QStringLiteral("250")));
        // And the next start resumes from it.
        const storage::LoadOutcome next = storage::LoadFiles(game.path(QStringLiteral("Zelmor.ini")),
                                                             game.path(QStringLiteral("Zelmor.bin")));
        QCOMPARE(int(next.kind), int(storage::LoadOutcome::Passed));
        QCOMPARE(next.lines[2], QStringLiteral("250"));
    }

    void readOnlyTargetChangesNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("data file") << QStringLiteral("Zelmor.bin");
        QTest::newRow("settings file") << QStringLiteral("Zelmor.ini");
    }
    void readOnlyTargetChangesNothing()
    {
        QFETCH(QString, name);
        Game game;
        FrmMain& f = Resume(game);
        const Pair before = OnDisk(game);
        QFile::setPermissions(game.path(name), QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        f.Label1.setCaption(QStringLiteral("700"));
        f.mnuQuit_Click();
        QCOMPARE(game.prompts.texts(), QStringList{SaveFailure});
        QCOMPARE(game.prompts.messages[0].style, int(seams::vbCritical));
        QCOMPARE(game.prompts.messages[0].title, QStringLiteral("ゼルモア"));
        QVERIFY(game.host.endedFlag); // the program still ends
        QCOMPARE(OnDisk(game), before);
        QVERIFY(QDir(game.dir()).entryList({QStringLiteral("*.new")}).isEmpty()); // no temporaries left
    }

    void targetThatIsADirectoryFails()
    {
        Game game;
        FrmMain& f = Resume(game);
        game.removeFile(QStringLiteral("Zelmor.bin"));
        QDir(game.dir()).mkdir(QStringLiteral("Zelmor.bin"));
        const QByteArray settings = game.readFile(QStringLiteral("Zelmor.ini"));
        f.SaveData();
        QCOMPARE(game.prompts.texts(), QStringList{SaveFailure});
        QCOMPARE(game.readFile(QStringLiteral("Zelmor.ini")), settings);
    }

    void moneyTooLongToStoreFails()
    {
        Game game;
        FrmMain& f = Resume(game);
        const Pair before = OnDisk(game);
        f.Label1.setCaption(QString(300, u'9'));
        f.SaveData();
        QCOMPARE(game.prompts.texts(), QStringList{SaveFailure});
        QCOMPARE(OnDisk(game), before);
    }

    void failureMidwayChangesNothing_data()
    {
        QTest::addColumn<QString>("stage");
        QTest::newRow("after the settings file") << QStringLiteral("settings written");
        QTest::newRow("after the data file") << QStringLiteral("data written");
    }
    void failureMidwayChangesNothing()
    {
        QFETCH(QString, stage);
        Game game;
        FrmMain& f = Resume(game);
        const Pair before = OnDisk(game);
        StageHook hook([&](const char* at) {
            if (stage == QLatin1String(at))
                throw storage::RuntimeError(storage::ErrDiskFull);
        });
        f.Label1.setCaption(QStringLiteral("900"));
        f.SaveData();
        QCOMPARE(game.prompts.texts(), QStringList{SaveFailure});
        QCOMPARE(OnDisk(game), before);
        QVERIFY(QDir(game.dir()).entryList({QStringLiteral("*.new")}).isEmpty());
    }

    // The program dies at each point of a save. The next load finds either the
    // old pair or the new one, and the check passes.
    void killedAtAnyPoint_data()
    {
        QTest::addColumn<QString>("stage");
        QTest::addColumn<bool>("newPair");
        QTest::newRow("settings written") << QStringLiteral("settings written") << false;
        QTest::newRow("data written") << QStringLiteral("data written") << false;
        QTest::newRow("settings renamed") << QStringLiteral("settings renamed") << true;
        QTest::newRow("data renamed") << QStringLiteral("data renamed") << true;
    }
    void killedAtAnyPoint()
    {
        QFETCH(QString, stage);
        QFETCH(bool, newPair);
        Game game;
        FrmMain& f = Resume(game);
        const Pair before = OnDisk(game);
        {
            StageHook hook([&](const char* at) {
                if (stage == QLatin1String(at))
                    throw Killed{};
            });
            f.Label1.setCaption(QStringLiteral("4321"));
            bool died = false;
            try {
                f.SaveData();
            } catch (const Killed&) {
                died = true;
            }
            QVERIFY(died);
        }
        const storage::LoadOutcome next = storage::LoadFiles(game.path(QStringLiteral("Zelmor.ini")),
                                                             game.path(QStringLiteral("Zelmor.bin")));
        QCOMPARE(int(next.kind), int(storage::LoadOutcome::Passed));
        QCOMPARE(OnDisk(game), newPair ? Expected(game, QStringLiteral("4321")) : before);
        QVERIFY(QDir(game.dir()).entryList({QStringLiteral("*.new")}).isEmpty());
    }

    // A save cut short is finished before the next one starts.
    void interruptedSaveFinishedByTheNextSave()
    {
        Game game;
        FrmMain& f = Resume(game);
        {
            StageHook hook([](const char* at) {
                if (QLatin1String(at) == QLatin1String("settings renamed"))
                    throw Killed{};
            });
            try {
                f.SaveData();
            } catch (const Killed&) {
            }
        }
        ScriptFiller(game);
        f.Label1.setCaption(QStringLiteral("55"));
        f.SaveData();
        QCOMPARE(OnDisk(game), Expected(game, QStringLiteral("55")));
        QVERIFY(QDir(game.dir()).entryList({QStringLiteral("*.new")}).isEmpty());
    }

    void firstSaveCreatesBothFiles()
    {
        Game game;
        FrmMain& f = game.start();
        ScriptFiller(game);
        f.mnuQuit_Click();
        QCOMPARE(OnDisk(game), Expected(game, QStringLiteral("100")));
    }

    void soundOnClosesBothChannelsFirst()
    {
        Game game;
        FrmMain& f = Resume(game, {{3, QStringLiteral("0")}});
        CueRecorder cues;
        bool savedYet = true;
        const QByteArray before = game.readFile(QStringLiteral("Zelmor.bin"));
        cues.fail = [&](const QString&, const QString&, const QString&) {
            savedYet = game.readFile(QStringLiteral("Zelmor.bin")) != before;
            return false; // the command succeeds
        };
        f.Label1.setCaption(QStringLiteral("30"));
        f.mnuQuit_Click();
        QCOMPARE(cues.log, (QStringList{QStringLiteral("music Close"), QStringLiteral("effect Close")}));
        QVERIFY(!savedYet);
        QVERIFY(game.host.endedFlag);
        QCOMPARE(OnDisk(game).data, DataBytes("30", 'q', Filler));
    }

    void soundOffSendsNoCommandAndStillSaves_data()
    {
        QTest::addColumn<QString>("line3");
        QTest::newRow("1") << QStringLiteral("1");
        QTest::newRow("empty") << QString();
    }
    void soundOffSendsNoCommandAndStillSaves()
    {
        QFETCH(QString, line3);
        Game game;
        FrmMain& f = Resume(game, {{3, line3}});
        CueRecorder cues;
        f.mnuQuit_Click();
        QVERIFY(cues.log.isEmpty());
        QVERIFY(game.host.endedFlag);
        QCOMPARE(SettingsLinesOf(game.readFile(QStringLiteral("Zelmor.ini"))).value(2), line3);
        QCOMPARE(game.readFile(QStringLiteral("Zelmor.bin")), DataBytes("100", 'q', Filler));
    }
};

QTEST_MAIN(TestSaving)
#include "test_saving.moc"
