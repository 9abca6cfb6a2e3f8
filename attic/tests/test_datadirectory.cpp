// Where the settings and data files live: the program's directory for a
// portable copy, the player's data directory for an installed one.
#include "platform/DataDirectory.h"
#include "platform/Seams.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {

bool neverWritable(const QString&) { return false; }
bool alwaysWritable(const QString&) { return true; }

} // namespace

class TestDataDirectory : public QObject {
    Q_OBJECT
private:
    QTemporaryDir home_;
    QByteArray savedHome_, savedXdg_;

private slots:
    void initTestCase()
    {
        QVERIFY(home_.isValid());
        savedHome_ = qgetenv("HOME");
        savedXdg_ = qgetenv("XDG_DATA_HOME");
    }
    void init()
    {
        qputenv("HOME", home_.path().toLocal8Bit());
        qunsetenv("XDG_DATA_HOME");
    }
    void cleanup()
    {
        platform::installWritableProbe(nullptr);
        seams::install(static_cast<seams::Host*>(nullptr));
    }
    void cleanupTestCase()
    {
        qputenv("HOME", savedHome_);
        if (savedXdg_.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", savedXdg_);
    }

    void writableProgramDirectoryKeepsTheFiles()
    {
        QTemporaryDir program;
        platform::installWritableProbe(&alwaysWritable);
        QCOMPARE(platform::DataDirectoryFor(program.path()), program.path() + QLatin1Char('/'));
        QCOMPARE(platform::DataDirectoryFor(program.path() + QLatin1Char('/')), program.path() + QLatin1Char('/'));
        QVERIFY2(!QFileInfo::exists(home_.path() + QStringLiteral("/.local/share/zelmor")),
                 "a portable copy must not create the player's data directory");
    }

    void readOnlyProgramDirectoryMovesToXdgDataHome()
    {
        QTemporaryDir program, xdg;
        qputenv("XDG_DATA_HOME", xdg.path().toLocal8Bit());
        platform::installWritableProbe(&neverWritable);
        const QString expected = xdg.path() + QStringLiteral("/zelmor/");
        QCOMPARE(platform::DataDirectoryFor(program.path()), expected);
        QVERIFY2(QFileInfo(expected).isDir(), "the data directory is created on demand");
        // Asking again finds the directory already there.
        QCOMPARE(platform::DataDirectoryFor(program.path()), expected);
    }

    void withoutXdgDataHomeTheDefaultIsLocalShare()
    {
        QTemporaryDir program;
        platform::installWritableProbe(&neverWritable);
        const QString expected = home_.path() + QStringLiteral("/.local/share/zelmor/");
        QCOMPARE(platform::DataDirectoryFor(program.path()), expected);
        QVERIFY(QFileInfo(expected).isDir());
        QCOMPARE(platform::PlayerDataDirectory() + QLatin1Char('/'), expected);
    }

    void theRealProbeSeesAMissingDirectoryAsNotWritable()
    {
        // The real probe, in a way that holds even for root: a directory that
        // does not exist cannot hold the files, an ordinary temporary one can.
        QTemporaryDir program;
        QCOMPARE(platform::DataDirectoryFor(program.path()), program.path() + QLatin1Char('/'));
        const QString missing = program.path() + QStringLiteral("/not-there");
        QCOMPARE(platform::DataDirectoryFor(missing),
                 home_.path() + QStringLiteral("/.local/share/zelmor/"));
    }

    void followsTheProgramDirectorySeam()
    {
        testing::TestHost host;
        QTemporaryDir program;
        host.dir = program.path();
        seams::install(&host);
        platform::installWritableProbe(&alwaysWritable);
        QCOMPARE(platform::DataDirectory(), program.path() + QLatin1Char('/'));
        platform::installWritableProbe(&neverWritable);
        QCOMPARE(platform::DataDirectory(), home_.path() + QStringLiteral("/.local/share/zelmor/"));
    }

    // An installed game: the money is saved to, and found again in, the
    // player's data directory, and the program's directory stays untouched.
    void installedGameKeepsItsMoneyInTheDataDirectory()
    {
        QTemporaryDir xdg;
        qputenv("XDG_DATA_HOME", xdg.path().toLocal8Bit());
        platform::installWritableProbe(&neverWritable);
        const QString dataDir = xdg.path() + QStringLiteral("/zelmor/");
        {
            testing::Game game;
            FrmMain& f = game.start();
            for (int i = 0; i < 99; ++i)
                game.rnd.push(0.5);
            f.Label1.setCaption(QStringLiteral("1234"));
            f.mnuQuit_Click();
            QVERIFY(game.host.endedFlag);
            QVERIFY(game.prompts.dialogsShown.isEmpty());
            QVERIFY(!QFileInfo::exists(game.path(QStringLiteral("Zelmor.ini"))));
            QVERIFY(!QFileInfo::exists(game.path(QStringLiteral("Zelmor.bin"))));
        }
        QVERIFY(QFileInfo::exists(dataDir + QStringLiteral("Zelmor.ini")));
        QVERIFY(QFileInfo::exists(dataDir + QStringLiteral("Zelmor.bin")));
        {
            testing::Game game;
            FrmMain& f = game.start();
            QCOMPARE(f.Label1.caption(), QStringLiteral("1234"));
            QVERIFY2(game.prompts.dialogsShown.isEmpty(), "the saved pair passes the check");
            QVERIFY(!game.host.endedFlag);
            // The pictures still come from the program's directory.
            QVERIFY(f.Image10.picture().startsWith(game.dir()));
        }
    }
};

QTEST_MAIN(TestDataDirectory)
#include "test_datadirectory.moc"
