// SPDX-License-Identifier: MIT
// Hostile save directories and files: a second running copy, a lock left by a
// crash, a program directory the player cannot write, symbolic links, cut
// records. Nothing may be lost and every failure is said.
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
using storage::SavedGame;
using Opened = SavedGame::Opened;

Q_DECLARE_METATYPE(storage::SavedGame::Opened)

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
    QString lastMessage() const { return prompts.messages.empty() ? QString() : prompts.messages.back().text; }
    void save(SavedGame& saved, qint64 money)
    {
        for (int i = 0; i < 99; ++i)
            rnd.push(0.5);
        saved.save(money);
    }
};

struct Hostile {
    std::function<void(Site&)> setUp;
    Opened opened = Opened::Play;
    qint64 money = 0;         // the money the game plays on with
    QString message;          // a text the start-up says (part of it), or empty for none
    std::function<void(Site&, SavedGame&)> saved = {};   // checks after a save of $777
    std::function<void(Site&, SavedGame&)> started = {}; // checks right after the start
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

        QTest::newRow("a lock left by a copy that died") << Hostile{[](Site& s) {
            s.writePair(s.program.path(), u"5000"_s);
            Site::write(s.inProgram(u"Zelmor.lock"_s),
                        QByteArray::number(DeadPid()) + "\nzelmor\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        }, Opened::Play, 5000, {}};

        QTest::newRow("program directory read-only with a pair: moved, times kept") << Hostile{
            [old](Site& s) {
                s.writePair(s.program.path(), u"5000"_s, old);
                readOnlyDir = s.program.path();
            },
            Opened::Play, 5000, u"には保存できないため"_s,
            [](Site& s, SavedGame& saved) {
                QCOMPARE(saved.directory().path(), s.data.path() + u"/"_s);
                QCOMPARE(Site::read(s.inProgram(Ini)), SavedSettings(u"5000"_s)); // left as it was
                QCOMPARE(SettingsLinesOf(Site::read(s.data.filePath(Ini))).value(1), u"777"_s); // saved there
            },
            [old](Site& s, SavedGame&) {
                for (const QString& name : {Ini, Bin})
                    QCOMPARE(QFileInfo(s.data.filePath(name)).lastModified().toSecsSinceEpoch(), old.toSecsSinceEpoch());
            }};

        QTest::newRow("program directory read-only, data directory already holds the pair") << Hostile{
            [](Site& s) {
                s.writePair(s.program.path(), u"5000"_s);
                QDir().mkpath(s.data.path());
                s.writePair(s.data.path(), u"800"_s);
                readOnlyDir = s.program.path();
            },
            Opened::Play, 800, {}};

        QTest::newRow("program directory read-only and the pair cannot be copied") << Hostile{
            [](Site& s) {
                s.writePair(s.program.path(), u"5000"_s);
                readOnlyDir = s.program.path();
                Site::write(s.home.filePath(u"zelmor"_s), "a file where the data directory should be");
                QFile::setPermissions(s.inProgram(Ini), QFileDevice::ReadOwner);
                QFile::setPermissions(s.inProgram(Bin), QFileDevice::ReadOwner);
            },
            Opened::Play, 5000, u"移すこともできませんでした"_s, [](Site& s, SavedGame&) {
                QCOMPARE(Site::read(s.inProgram(Ini)), SavedSettings(u"5000"_s)); // the save failed, nothing lost
                QVERIFY(s.lastMessage().startsWith(u"他のアプリケーションが"_s));
            }};

        QTest::newRow("dangling settings link") << Hostile{[](Site& s) {
            s.writePair(s.program.path(), u"5000"_s);
            QFile::remove(s.inProgram(Ini));
            QFile::link(s.inProgram(u"gone.ini"_s), s.inProgram(Ini));
        }, Opened::Fatal, 0, u"エラー番号  75"_s};

        QTest::newRow("dangling data link") << Hostile{[](Site& s) {
            s.writePair(s.program.path(), u"5000"_s);
            QFile::remove(s.inProgram(Bin));
            QFile::link(s.inProgram(u"gone.bin"_s), s.inProgram(Bin));
        }, Opened::Fatal, 0, u"エラー番号  75"_s};

        QTest::newRow("links to files elsewhere: followed, kept") << Hostile{
            [](Site& s) {
                s.writePair(s.home.path(), u"5000"_s);
                QFile::link(s.home.filePath(Ini), s.inProgram(Ini));
                QFile::link(s.home.filePath(Bin), s.inProgram(Bin));
            },
            Opened::Play, 5000, {}, [](Site& s, SavedGame&) {
                QVERIFY(QFileInfo(s.inProgram(Ini)).isSymLink() && QFileInfo(s.inProgram(Bin)).isSymLink());
                QCOMPARE(SettingsLinesOf(Site::read(s.home.filePath(Ini))).value(1), u"777"_s);
            }};

        QTest::newRow("data record cut short") << Hostile{[](Site& s) {
            s.writePair(s.program.path(), u"100"_s);
            Site::write(s.inProgram(Bin), DataBytes("100").left(60));
        }, Opened::Fatal, 0, u"エラー番号  5 "_s};
    }
    void hostile()
    {
        QFETCH(Hostile, c);
        Site site;
        c.setUp(site);
        const QByteArray settingsBefore = Site::read(site.inProgram(Ini));
        {
            SavedGame saved;
            QCOMPARE(saved.open(), c.opened);
            QCOMPARE(site.host.endedFlag, c.opened != Opened::Play);
            QCOMPARE(site.lastMessage().contains(c.message) && !c.message.isEmpty(), !c.message.isEmpty());
            if (c.opened != Opened::Play) {
                QCOMPARE(Site::read(site.inProgram(Ini)), settingsBefore); // untouched
                return;
            }
            QCOMPARE(saved.startValues().money, c.money);
            if (c.started)
                c.started(site, saved);
            site.prompts.messages.clear();
            site.save(saved, 777);
            if (c.saved)
                c.saved(site, saved);
        }
        // The next start finds the money of the save, or the pair as it was when the save failed.
        SavedGame next;
        QCOMPARE(next.open(), Opened::Play);
        QVERIFY(next.startValues().money == 777 || next.startValues().money == c.money);
        QCOMPARE(site.prompts.witsWelcomes, 0);
    }

    // A second copy on the same directory says so and ends without touching
    // the files; once the first has ended, the next start plays.
    void secondCopy()
    {
        Site site;
        site.writePair(site.program.path(), u"5000"_s);
        SavedGame first;
        QCOMPARE(first.open(), Opened::Play);
        const QByteArray before = Site::read(site.inProgram(Bin));
        {
            SavedGame second;
            QCOMPARE(second.open(), Opened::Running);
            QVERIFY(site.host.endedFlag);
            QVERIFY(site.lastMessage().startsWith(u"ゼルモアはすでに起動しています。"_s));
            QCOMPARE(site.prompts.messages.back().style, int(seams::vbExclamation));
        }
        QCOMPARE(Site::read(site.inProgram(Bin)), before);
        first = SavedGame();
        SavedGame third;
        QCOMPARE(third.open(), Opened::Play);
    }
};

QTEST_GUILESS_MAIN(TestHostileFiles)
#include "test_hostile_files.moc"
