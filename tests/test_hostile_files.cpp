// SPDX-License-Identifier: MIT
// Hostile save directories and files: a second running copy, a lock left by a
// crash or holding anything at all, a full disk, a program directory the
// player cannot write, read-only files, symbolic links, FIFOs, bytes that are
// no settings file, cut records. Nothing may be lost, no start may hang, and
// every failure is reported.
#include "platform/DataDirectory.h"
#include "storage/SavedGame.h"
#include "tests/support/Rig.h"
#include "tests/support/SaveFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <functional>
#include <memory>
#include <sys/mount.h>
#include <sys/stat.h>
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

// Bytes from a fixed seed.
QByteArray RandomBytes(int count)
{
    quint32 x = 20;
    QByteArray bytes(count, '\0');
    for (char& byte : bytes) {
        x = x * 1664525u + 1013904223u;
        byte = char(x >> 24);
    }
    return bytes;
}

// A child process, killed outright and reaped at the latest when this goes.
struct ChildProcess {
    pid_t pid = 0;
    ~ChildProcess() { kill(); }
    void kill()
    {
        if (pid <= 0)
            return;
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);
        pid = 0;
    }
};

// The permission bits of a file (of a link's target).
mode_t ModeOf(const QString& path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// What a new file of this process gets for 0644.
mode_t PlayerMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0644 & ~mask;
}

void MakeFifo(const QString& path)
{
    QVERIFY(::mkfifo(QFile::encodeName(path).constData(), 0644) == 0);
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
    // A regular file's bytes; never opens a FIFO, which would wait for a writer.
    static QByteArray read(const QString& path)
    {
        struct stat status {};
        if (::stat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISREG(status.st_mode))
            return QByteArray("(no file)");
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
    SavedGame::SaveOutcome save(SavedGame& saved, SavedState state, qint64 money)
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
    QString save = u"saved"_s; // what a save of $777 does (SaveSummary)
    std::function<void(Site&, SavedGame&, const Claim&)> claimed = {}; // checks right after the claim
    std::function<void(Site&, SavedGame&)> saved = {};                 // checks after the save
};

} // namespace

Q_DECLARE_METATYPE(Hostile)
Q_DECLARE_METATYPE(Claim::Kind)

class TestHostileFiles : public QObject {
    Q_OBJECT
private slots:
    void hostile_data()
    {
        QTest::addColumn<Hostile>("c");
        const QDateTime old = QDateTime::currentDateTime().addDays(-3);
        const auto passed = SavedState::Check::Passed, damaged = SavedState::Check::Damaged;

        // The lock is flock() on Zelmor.lock: free once its owner has ended,
        // whatever the file says.
        QTest::newRow("a lock left by a copy that died") << Hostile{[](Site& s) {
            s.writePair(s.program.path(), u"5000"_s);
            Site::write(s.inProgram(u"Zelmor.lock"_s),
                        QByteArray::number(DeadPid()) + "\nzelmor\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        }, Claim::Owned, passed, 5000};
        QTest::newRow("an empty lock file") << Hostile{[](Site& s) {
            s.writePair(s.program.path(), u"5000"_s);
            Site::write(s.inProgram(u"Zelmor.lock"_s), {});
        }, Claim::Owned, passed, 5000};
        QTest::newRow("a lock file of garbage") << Hostile{[](Site& s) {
            s.writePair(s.program.path(), u"5000"_s);
            Site::write(s.inProgram(u"Zelmor.lock"_s), QByteArray("\xFF\x00\x81zz\n\n", 7).repeated(100));
        }, Claim::Owned, passed, 5000};
        QTest::newRow("a lock file naming a live process") << Hostile{[](Site& s) {
            s.writePair(s.program.path(), u"5000"_s);
            Site::write(s.inProgram(u"Zelmor.lock"_s), "1\nzelmor\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        }, Claim::Owned, passed, 5000};
        // No lock can be made: this copy must not touch the files.
        QTest::newRow("a directory in place of the lock file") << Hostile{[](Site& s) {
            s.writePair(s.program.path(), u"5000"_s);
            QDir(s.program.path()).mkdir(u"Zelmor.lock"_s);
        }, Claim::Unlockable, passed, 0, {}, [](Site& s, SavedGame&, const Claim& claim) {
            QCOMPARE(claim.path, s.inProgram(u"Zelmor.lock"_s));
        }};
        QTest::newRow("program directory read-only, no data directory can be made") << Hostile{[](Site& s) {
            s.writePair(s.program.path(), u"5000"_s);
            readOnlyDir = s.program.path();
            Site::write(s.home.filePath(u"zelmor"_s), "a file where the data directory should be");
        }, Claim::Unlockable};

        QTest::newRow("program directory read-only with a pair: moved, times kept") << Hostile{
            [old](Site& s) {
                s.writePair(s.program.path(), u"5000"_s, old);
                readOnlyDir = s.program.path();
            },
            Claim::PairMoved, passed, 5000, u"saved"_s,
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
            Claim::Owned, passed, 800};

        // The pair is read where it is, so the money is never taken for a first start.
        QTest::newRow("program directory read-only and the pair cannot be copied") << Hostile{
            [](Site& s) {
                s.writePair(s.program.path(), u"5000"_s);
                readOnlyDir = s.program.path();
                QDir().mkpath(s.data.filePath(Bin)); // a directory the copy cannot replace
                QFile::setPermissions(s.inProgram(Ini), QFileDevice::ReadOwner);
                QFile::setPermissions(s.inProgram(Bin), QFileDevice::ReadOwner);
            },
            Claim::PairNotMoved, passed, 5000, u"NotWritable Zelmor.ini"_s,
            [](Site& s, SavedGame&, const Claim& claim) {
                QCOMPARE(claim.path, s.program.path());
                QCOMPARE(claim.otherPath, s.data.path());
                QVERIFY(QDir(s.data.path()).entryList({u"*.new"_s}).isEmpty());
            },
            [](Site& s, SavedGame&) {
                QCOMPARE(Site::read(s.inProgram(Ini)), SavedSettings(u"5000"_s)); // the save failed, nothing lost
            }};

        // Anything but a regular file under a save file's name is error 75,
        // and no start waits on it.
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
        QTest::newRow("dangling settings link, program directory read-only") << Hostile{[](Site& s) {
            s.writePair(s.program.path(), u"5000"_s);
            QFile::remove(s.inProgram(Ini));
            QFile::link(s.inProgram(u"gone.ini"_s), s.inProgram(Ini));
            readOnlyDir = s.program.path();
        }, Claim::Owned, damaged, 75, {}, [](Site& s, SavedGame&, const Claim&) {
            QVERIFY(!QFileInfo::exists(s.data.filePath(Ini)) && !QFileInfo::exists(s.data.filePath(Bin)));
        }};
        QTest::newRow("dangling data link, program directory read-only") << Hostile{[](Site& s) {
            s.writePair(s.program.path(), u"5000"_s);
            QFile::remove(s.inProgram(Bin));
            QFile::link(s.inProgram(u"gone.bin"_s), s.inProgram(Bin));
            readOnlyDir = s.program.path();
        }, Claim::Owned, damaged, 75};
        QTest::newRow("a FIFO in place of the settings file") << Hostile{[](Site& s) {
            s.writePair(s.program.path(), u"5000"_s);
            QFile::remove(s.inProgram(Ini));
            MakeFifo(s.inProgram(Ini));
        }, Claim::Owned, damaged, 75};
        QTest::newRow("a FIFO in place of the data file") << Hostile{[](Site& s) {
            s.writePair(s.program.path(), u"5000"_s);
            QFile::remove(s.inProgram(Bin));
            MakeFifo(s.inProgram(Bin));
        }, Claim::Owned, damaged, 75};
        QTest::newRow("a FIFO in place of the data file, program directory read-only") << Hostile{[](Site& s) {
            s.writePair(s.program.path(), u"5000"_s);
            QFile::remove(s.inProgram(Bin));
            MakeFifo(s.inProgram(Bin));
            readOnlyDir = s.program.path();
        }, Claim::Owned, damaged, 75};
        QTest::newRow("settings file a link to a device") << Hostile{[](Site& s) {
            s.writePair(s.program.path(), u"5000"_s);
            QFile::remove(s.inProgram(Ini));
            QFile::link(u"/dev/zero"_s, s.inProgram(Ini));
        }, Claim::Owned, damaged, 75};

        QTest::newRow("links to files elsewhere: followed, kept") << Hostile{
            [](Site& s) {
                s.writePair(s.home.path(), u"5000"_s);
                QFile::link(s.home.filePath(Ini), s.inProgram(Ini));
                QFile::link(s.home.filePath(Bin), s.inProgram(Bin));
            },
            Claim::Owned, passed, 5000, u"saved"_s, {}, [](Site& s, SavedGame&) {
                QVERIFY(QFileInfo(s.inProgram(Ini)).isSymLink() && QFileInfo(s.inProgram(Bin)).isSymLink());
                QCOMPARE(SettingsLinesOf(Site::read(s.home.filePath(Ini))).value(1), u"777"_s);
            }};

        // Bytes that are no settings file are damage, as a damaged data file
        // is: told by number, both files left alone, no battle of wits.
        QTest::newRow("100 MB in the settings file") << Hostile{[](Site& s) {
            s.writePair(s.program.path(), u"5000"_s);
            QFile file(s.inProgram(Ini));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(RandomBytes(1 << 16));
            QVERIFY(file.resize(100 << 20)); // the rest a hole that takes no room
        }, Claim::Owned, damaged, 5};
        QTest::newRow("data record cut short") << Hostile{[](Site& s) {
            s.writePair(s.program.path(), u"100"_s);
            Site::write(s.inProgram(Bin), DataBytes("100").left(60));
        }, Claim::Owned, damaged, 5};

        // No play leaves money below zero; the game could not go on from it.
        QTest::newRow("a consistent pair at -$500") << Hostile{[](Site& s) {
            s.writePair(s.program.path(), u"-500"_s);
        }, Claim::Owned, passed, 0};
    }
    void hostile()
    {
        QFETCH(Hostile, c);
        Site site;
        c.setUp(site);
        const QByteArray settingsBefore = Site::read(site.inProgram(Ini));
        const QByteArray dataBefore = Site::read(site.inProgram(Bin));
        {
            SavedGame saved;
            const Claim claim = saved.claimDirectory(site.program.path());
            QCOMPARE(claim.kind, c.claim);
            if (c.claimed)
                c.claimed(site, saved, claim);
            if (claim.kind == Claim::Unlockable || claim.kind == Claim::AlreadyRunning) {
                QCOMPARE(Site::read(site.inProgram(Ini)), settingsBefore);
                QCOMPARE(Site::read(site.inProgram(Bin)), dataBefore);
                return;
            }
            const SavedState state = saved.load();
            QCOMPARE(state.check, c.check);
            QCOMPARE(Site::read(site.inProgram(Ini)), settingsBefore); // loading writes nothing
            if (c.check == SavedState::Check::Damaged) {
                QCOMPARE(state.errorNumber, int(c.money));
                QCOMPARE(Site::read(site.inProgram(Bin)), dataBefore);
                return;
            }
            QCOMPARE(state.money, c.money);
            QCOMPARE(SaveSummary(site.save(saved, state, 777), site.program.path()), c.save);
            if (c.saved)
                c.saved(site, saved);
        }
        // The next start finds the money of the save, or the pair as it was when the save failed.
        SavedGame next;
        next.claimDirectory(site.program.path());
        const SavedState again = next.load();
        QCOMPARE(again.check, SavedState::Check::Passed);
        QCOMPARE(again.money, c.save == u"saved"_s ? 777 : c.money);
    }

    // A second copy on the same directory is told so, and the files and the
    // lock stay as they are; once the first has ended, the next start plays.
    void secondCopy()
    {
        Site site;
        site.writePair(site.program.path(), u"5000"_s);
        const QString lock = site.inProgram(u"Zelmor.lock"_s);
        SavedGame first;
        QCOMPARE(first.claimDirectory(site.program.path()).kind, Claim::Owned);
        QCOMPARE(first.load().check, SavedState::Check::Passed);
        const QByteArray before = Site::read(site.inProgram(Bin));
        QCOMPARE(Site::read(lock), QByteArray::number(::getpid()) + '\n'); // for a human who looks
        {
            SavedGame second;
            const Claim claim = second.claimDirectory(site.program.path());
            QCOMPARE(claim.kind, Claim::AlreadyRunning);
            QCOMPARE(claim.path, site.program.path() + u"/"_s);
        }
        QCOMPARE(Site::read(site.inProgram(Bin)), before);
        QVERIFY(QFileInfo::exists(lock));
        first = SavedGame();
        QVERIFY(!QFileInfo::exists(lock));
        SavedGame third;
        QCOMPARE(third.claimDirectory(site.program.path()).kind, Claim::Owned);
    }

    // A copy killed outright holds its lock while it lives, and leaves no
    // lock behind: the kernel lets go of it with the process.
    void killedCopy()
    {
        Site site;
        site.writePair(site.program.path(), u"5000"_s);
        int ready[2];
        QVERIFY(::pipe(ready) == 0);
        const pid_t child = ::fork();
        if (child == 0) {
            SavedGame saved;
            const char owned = saved.claimDirectory(site.program.path()).kind == Claim::Owned ? 'y' : 'n';
            (void)!::write(ready[1], &owned, 1);
            for (;;)
                ::pause();
        }
        QVERIFY(child > 0);
        ChildProcess copy{child}; // killed outright, whether or not the checks below pass
        char owned = 0;
        QCOMPARE(::read(ready[0], &owned, 1), ssize_t(1));
        QCOMPARE(owned, 'y');
        {
            SavedGame second;
            QCOMPARE(second.claimDirectory(site.program.path()).kind, Claim::AlreadyRunning);
        }
        copy.kill();
        ::close(ready[0]);
        ::close(ready[1]);
        QVERIFY(QFileInfo::exists(site.inProgram(u"Zelmor.lock"_s))); // left behind, and free
        SavedGame next;
        QCOMPARE(next.claimDirectory(site.program.path()).kind, Claim::Owned);
        QCOMPARE(next.load().money, 5000);
    }

    // A read-only pair (0444) in a program directory the player cannot
    // write is moved with the player's own read-write mode and its file
    // times, and the saves go on. A copy keeping 0444 showed only for a
    // player who is not root, so as root the case runs in a child as nobody.
    void readOnlyPairMoved()
    {
        Site site;
        const QDateTime old = QDateTime::currentDateTime().addDays(-3);
        site.writePair(site.program.path(), u"5000"_s, old);
        readOnlyDir = site.program.path();
        for (const QString& name : {Ini, Bin})
            QVERIFY(::chmod(QFile::encodeName(site.inProgram(name)).constData(), 0444) == 0);
        // What the player finds: the claim, the copies' modes and times, the save.
        auto play = [&site, old] {
            QStringList found;
            SavedGame saved;
            found << (saved.claimDirectory(site.program.path()).kind == Claim::PairMoved ? u"moved"_s : u"not moved"_s);
            for (const QString& name : {Ini, Bin}) {
                const QFileInfo copy(site.data.filePath(name));
                found << QString::number(ModeOf(copy.filePath()), 8)
                      << (copy.lastModified().toSecsSinceEpoch() == old.toSecsSinceEpoch() ? u"timed"_s : u"retimed"_s);
            }
            found << SaveSummary(site.save(saved, saved.load(), 777), site.data.path());
            return found.join(u' ');
        };
        QString found;
        if (::geteuid() != 0) {
            found = play();
        } else {
            constexpr uid_t Nobody = 65534;
            for (const QString& path : {site.program.path(), site.inProgram(Ini), site.inProgram(Bin), site.home.path()})
                QVERIFY(::chown(QFile::encodeName(path).constData(), Nobody, Nobody) == 0);
            int result[2];
            QVERIFY(::pipe(result) == 0);
            const pid_t child = ::fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                const QByteArray text = ::setgid(Nobody) == 0 && ::setuid(Nobody) == 0 ? play().toUtf8() : "no setuid";
                (void)!::write(result[1], text.constData(), size_t(text.size()));
                ::_exit(0);
            }
            ::close(result[1]);
            char buffer[256];
            ssize_t got;
            while ((got = ::read(result[0], buffer, sizeof buffer)) > 0)
                found += QString::fromUtf8(buffer, got);
            ::close(result[0]);
            ::waitpid(child, nullptr, 0);
        }
        const QString mode = QString::number(PlayerMode(), 8);
        QCOMPARE(found, u"moved %1 timed %1 timed saved"_s.arg(mode));
        QCOMPARE(ModeOf(site.inProgram(Ini)), mode_t(0444));
        QCOMPARE(Site::read(site.inProgram(Ini)), SavedSettings(u"5000"_s));
    }

    // A full disk: the lock needs no free space, so the second copy is still
    // turned away. Only when not even an empty file can be made (no inode
    // left) and none is there does this copy refuse to run. A save then says
    // that the disk is full, and the pair stays. Needs a small memory file
    // system, mounted as root.
    void fullDisk_data()
    {
        QTest::addColumn<bool>("lockFileLeft"); // by a copy that was killed
        QTest::addColumn<bool>("noInodeLeft");
        QTest::addColumn<Claim::Kind>("first");
        QTest::newRow("no room, no lock file") << false << false << Claim::Owned;
        QTest::newRow("no room, a lock file left") << true << false << Claim::Owned;
        QTest::newRow("no room nor inode, a lock file left") << true << true << Claim::Owned;
        QTest::newRow("no room nor inode, no lock file") << false << true << Claim::Unlockable;
    }
    void fullDisk()
    {
        QFETCH(bool, lockFileLeft);
        QFETCH(bool, noInodeLeft);
        QFETCH(Claim::Kind, first);
        Site site;
        const QByteArray dir = QFile::encodeName(site.program.path());
        if (::mount("tmpfs", dir.constData(), "tmpfs", 0, "size=64k,nr_inodes=16") != 0)
            QSKIP("a memory file system cannot be mounted here (needs root)");
        const std::unique_ptr<const char, void (*)(const char*)> mounted(dir.constData(), [](const char* path) {
            ::umount2(path, MNT_DETACH);
        });
        site.writePair(site.program.path(), u"5000"_s);
        if (lockFileLeft)
            Site::write(site.inProgram(u"Zelmor.lock"_s), "4194305\n");
        // Fill the blocks, then the inodes.
        {
            QFile filler(site.inProgram(u"filler"_s));
            QVERIFY(filler.open(QIODevice::WriteOnly));
            while (filler.write(QByteArray(4096, 'x')) > 0 && filler.flush()) {
            }
        }
        for (int i = 0; noInodeLeft && QFile(site.inProgram(u"inode%1"_s.arg(i))).open(QIODevice::WriteOnly); ++i) {
        }
        const QByteArray settings = Site::read(site.inProgram(Ini)), data = Site::read(site.inProgram(Bin));
        SavedGame saved;
        const Claim claim = saved.claimDirectory(site.program.path());
        QCOMPARE(claim.kind, first);
        SavedGame second;
        QCOMPARE(second.claimDirectory(site.program.path()).kind,
                 first == Claim::Owned ? Claim::AlreadyRunning : Claim::Unlockable);
        QCOMPARE(Site::read(site.inProgram(Ini)), settings);
        QCOMPARE(Site::read(site.inProgram(Bin)), data);
        if (first != Claim::Owned)
            return;
        const SavedState state = saved.load();
        QCOMPARE(state.money, 5000);
        QCOMPARE(SaveSummary(site.save(saved, state, 777), site.program.path()), u"DiskFull ."_s);
        QCOMPARE(Site::read(site.inProgram(Ini)), settings);
        QCOMPARE(Site::read(site.inProgram(Bin)), data);
    }

    // The save directory turns read-only during play (a read-only mount):
    // the save names the directory, not a file, and the pair stays. The
    // directory's lock was opened for writing before, through the mount
    // beneath. Needs root to mount.
    void readOnlyFileSystem()
    {
        Site site;
        site.writePair(site.program.path(), u"5000"_s);
        SavedGame saved;
        QCOMPARE(saved.claimDirectory(site.program.path()).kind, Claim::Owned);
        const SavedState state = saved.load();
        const QByteArray dir = QFile::encodeName(site.program.path());
        if (::mount(dir.constData(), dir.constData(), nullptr, MS_BIND, nullptr) != 0)
            QSKIP("the directory cannot be mounted here (needs root)");
        const std::unique_ptr<const char, void (*)(const char*)> mounted(dir.constData(), [](const char* path) {
            ::umount2(path, MNT_DETACH);
        });
        QVERIFY(::mount(nullptr, dir.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0);
        const QByteArray settings = Site::read(site.inProgram(Ini)), data = Site::read(site.inProgram(Bin));
        QCOMPARE(SaveSummary(site.save(saved, state, 777), site.program.path()), u"NotWritable ."_s);
        QCOMPARE(Site::read(site.inProgram(Ini)), settings);
        QCOMPARE(Site::read(site.inProgram(Bin)), data);
    }
};

QTEST_GUILESS_MAIN(TestHostileFiles)
#include "test_hostile_files.moc"
