// SPDX-License-Identifier: MIT
// Hostile save directories and files: a second running copy, a lock left by a
// crash, a program directory the player cannot write, symbolic links, cut
// records. Nothing may be lost and every failure is reported.
#include "platform/DataDirectory.h"
#include "storage/SavedGame.h"
#include "tests/support/Rig.h"
#include "tests/support/SaveFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <sys/wait.h>
#include <unistd.h>

using namespace testing;
using namespace Qt::StringLiterals;
using game::SavedState;
using storage::SavedGame;
using Claim = SavedGame::Claim;

namespace {

const QString Ini = u"Zelmor.ini"_s;
const QString Bin = u"Zelmor.bin"_s;

QString readOnlyDir; // the program directory the probe calls read-only
bool ProbeReadOnly(const QString& dir)
{
    return QDir(dir) != QDir(readOnlyDir) && QFileInfo(dir).isWritable();
}

// A process id that no process has any longer.
qint64 DeadPid()
{
    const pid_t child = fork();
    if (child == 0)
        _exit(0);
    waitpid(child, nullptr, 0);
    return child;
}

struct Site : Seams {
    QTemporaryDir program, home;
    QDir data;
    Site() : data(home.filePath(u"zelmor"_s))
    {
        host.dir = program.path();
        qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
        readOnlyDir.clear();
        platform::installWritableProbe(&ProbeReadOnly);
    }
    ~Site() { platform::installWritableProbe(nullptr); }
    static void write(const QString& path, const QByteArray& bytes, const QDateTime& time = {})
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.flush();
        if (time.isValid())
            file.setFileTime(time, QFileDevice::FileModificationTime);
    }
    static QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }
    QString inProgram(const QString& name) const { return program.filePath(name); }
    void writePair(const QString& dir, const QString& money, const QDateTime& time = QDateTime::currentDateTime())
    {
        write(dir + u"/"_s + Ini, SavedSettings(money), time);
        write(dir + u"/"_s + Bin, DataBytes(money.toLatin1()), time);
    }
    // Saves the state with `money`, as the session does once the game plays.
    bool save(SavedGame& saved, SavedState state, qint64 money)
    {
        for (int i = 0; i < 99; ++i)
            rnd.push(0.5);
        state.money = money;
        return saved.save(state, program.path() + u'/');
    }
};

struct Hostile {
    std::function<void(Site&)> setUp;
    Claim::Kind claim = Claim::Owned;
    SavedState::Check check = SavedState::Check::Passed;
    qint64 money = 0;   // the money loaded, or the error number of a damaged pair
    bool saves = true;  // a save of $777 writes the files
    std::function<void(Site&, SavedGame&, const Claim&)> claimed = {}; // checks right after the claim
    std::function<void(Site&, SavedGame&)> saved = {};                 // checks after the save
};

} // namespace

Q_DECLARE_METATYPE(Hostile)

class TestHostileFiles : public QObject {
    Q_OBJECT
private slots:
    void hostile_data()
    {
        QTest::addColumn<Hostile>("c");
        const QDateTime old = QDateTime::currentDateTime().addDays(-3);
        const auto damaged = SavedState::Check::Damaged;

        QTest::newRow("a lock left by a copy that died") << Hostile{[](Site& s) {
            s.writePair(s.program.path(), u"5000"_s);
            Site::write(s.inProgram(u"Zelmor.lock"_s),
                        QByteArray::number(DeadPid()) + "\nzelmor\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        }, Claim::Owned, SavedState::Check::Passed, 5000};

        QTest::newRow("program directory read-only with a pair: moved, times kept") << Hostile{
            [old](Site& s) {
                s.writePair(s.program.path(), u"5000"_s, old);
                readOnlyDir = s.program.path();
            },
            Claim::PairMoved, SavedState::Check::Passed, 5000, true,
            [old](Site& s, SavedGame& saved, const Claim& claim) {
                QCOMPARE(claim.path, s.program.path());
                QCOMPARE(claim.otherPath, s.data.path() + u"/"_s);
                QCOMPARE(saved.directory().path(), s.data.path() + u"/"_s);
                for (const QString& name : {Ini, Bin})
                    QCOMPARE(QFileInfo(s.data.filePath(name)).lastModified().toSecsSinceEpoch(), old.toSecsSinceEpoch());
            },
            [](Site& s, SavedGame&) {
                QCOMPARE(Site::read(s.inProgram(Ini)), SavedSettings(u"5000"_s)); // left as it was
                QCOMPARE(SettingsLinesOf(Site::read(s.data.filePath(Ini))).value(1), u"777"_s); // saved there
            }};

        QTest::newRow("program directory read-only, data directory already holds the pair") << Hostile{
            [](Site& s) {
                s.writePair(s.program.path(), u"5000"_s);
                QDir().mkpath(s.data.path());
                s.writePair(s.data.path(), u"800"_s);
                readOnlyDir = s.program.path();
            },
            Claim::Owned, SavedState::Check::Passed, 800};

        // The pair is read where it is, so the money is never taken for a first start.
        QTest::newRow("program directory read-only and the pair cannot be copied") << Hostile{
            [](Site& s) {
                s.writePair(s.program.path(), u"5000"_s);
                readOnlyDir = s.program.path();
                Site::write(s.home.filePath(u"zelmor"_s), "a file where the data directory should be");
                QFile::setPermissions(s.inProgram(Ini), QFileDevice::ReadOwner);
                QFile::setPermissions(s.inProgram(Bin), QFileDevice::ReadOwner);
            },
            Claim::PairNotMoved, SavedState::Check::Passed, 5000, false,
            [](Site& s, SavedGame&, const Claim& claim) {
                QCOMPARE(claim.path, s.program.path());
                QCOMPARE(claim.otherPath, s.data.path());
            },
            [](Site& s, SavedGame&) {
                QCOMPARE(Site::read(s.inProgram(Ini)), SavedSettings(u"5000"_s)); // the save failed, nothing lost
            }};

        QTest::newRow("dangling settings link") << Hostile{[](Site& s) {
            s.writePair(s.program.path(), u"5000"_s);
            QFile::remove(s.inProgram(Ini));
            QFile::link(s.inProgram(u"gone.ini"_s), s.inProgram(Ini));
        }, Claim::Owned, damaged, 75};

        QTest::newRow("dangling data link") << Hostile{[](Site& s) {
            s.writePair(s.program.path(), u"5000"_s);
            QFile::remove(s.inProgram(Bin));
            QFile::link(s.inProgram(u"gone.bin"_s), s.inProgram(Bin));
        }, Claim::Owned, damaged, 75};

        QTest::newRow("links to files elsewhere: followed, kept") << Hostile{
            [](Site& s) {
                s.writePair(s.home.path(), u"5000"_s);
                QFile::link(s.home.filePath(Ini), s.inProgram(Ini));
                QFile::link(s.home.filePath(Bin), s.inProgram(Bin));
            },
            Claim::Owned, SavedState::Check::Passed, 5000, true, {}, [](Site& s, SavedGame&) {
                QVERIFY(QFileInfo(s.inProgram(Ini)).isSymLink() && QFileInfo(s.inProgram(Bin)).isSymLink());
                QCOMPARE(SettingsLinesOf(Site::read(s.home.filePath(Ini))).value(1), u"777"_s);
            }};

        QTest::newRow("data record cut short") << Hostile{[](Site& s) {
            s.writePair(s.program.path(), u"100"_s);
            Site::write(s.inProgram(Bin), DataBytes("100").left(60));
        }, Claim::Owned, damaged, 5};
    }
    void hostile()
    {
        QFETCH(Hostile, c);
        Site site;
        c.setUp(site);
        const QByteArray settingsBefore = Site::read(site.inProgram(Ini));
        {
            SavedGame saved;
            const Claim claim = saved.claimDirectory(site.program.path());
            QCOMPARE(claim.kind, c.claim);
            if (c.claimed)
                c.claimed(site, saved, claim);
            const SavedState state = saved.load();
            QCOMPARE(state.check, c.check);
            QCOMPARE(Site::read(site.inProgram(Ini)), settingsBefore); // loading writes nothing
            if (c.check == SavedState::Check::Damaged) {
                QCOMPARE(state.errorNumber, int(c.money));
                return;
            }
            QCOMPARE(state.money, c.money);
            QCOMPARE(site.save(saved, state, 777), c.saves);
            if (c.saved)
                c.saved(site, saved);
        }
        // The next start finds the money of the save, or the pair as it was when the save failed.
        SavedGame next;
        next.claimDirectory(site.program.path());
        const SavedState again = next.load();
        QCOMPARE(again.check, SavedState::Check::Passed);
        QCOMPARE(again.money, c.saves ? 777 : c.money);
    }

    // A second copy on the same directory is told so, and the files stay as
    // they are; once the first has ended, the next start plays.
    void secondCopy()
    {
        Site site;
        site.writePair(site.program.path(), u"5000"_s);
        SavedGame first;
        QCOMPARE(first.claimDirectory(site.program.path()).kind, Claim::Owned);
        QCOMPARE(first.load().check, SavedState::Check::Passed);
        const QByteArray before = Site::read(site.inProgram(Bin));
        {
            SavedGame second;
            const Claim claim = second.claimDirectory(site.program.path());
            QCOMPARE(claim.kind, Claim::AlreadyRunning);
            QCOMPARE(claim.path, site.program.path() + u"/"_s);
        }
        QCOMPARE(Site::read(site.inProgram(Bin)), before);
        first = SavedGame();
        SavedGame third;
        QCOMPARE(third.claimDirectory(site.program.path()).kind, Claim::Owned);
    }
};

QTEST_GUILESS_MAIN(TestHostileFiles)
#include "test_hostile_files.moc"
