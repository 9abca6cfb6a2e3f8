// The media controls, the cues, the music rotation and the no-sound switch,
// on a recording sound device.
#include "app/MdlZelmor.h"
#include "sound/FailureNotes.h"
#include "tests/support/TestSupport.h"

#include <QSignalSpy>
#include <QtTest>

using namespace testing;
using namespace MdlZelmor;
using sound::Device;

namespace {

const QStringList Tunes = {QStringLiteral("ROLL.MID"),  QStringLiteral("REACH.MID"), QStringLiteral("ALLR.MID"),
                           QStringLiteral("FEVER.MID"), QStringLiteral("Tvsa1.MID"), QStringLiteral("Tvsa2.MID"),
                           QStringLiteral("Tvsa3.MID")};
const QStringList Effects = {QStringLiteral("YOKOKU.WAV"), QStringLiteral("STOP.WAV"), QStringLiteral("ATARI.WAV")};

// A started game with every tune and effect in its directory and sound on.
FrmMain& StartWithSound(Game& game, const QString& line3 = QStringLiteral("0"))
{
    for (const QString& tune : Tunes)
        game.writeFile(tune, MidiFile(960));
    for (const QString& effect : Effects)
        game.writeFile(effect, WaveFile(0.1));
    FrmMain& form = game.start();
    SaveLines[3] = line3;
    game.audio.log.clear();
    game.audio.played.clear();
    return form;
}

// Keeps every completion it was given, so a test can deliver a stale one.
class LateBackend : public sound::AudioBackend {
public:
    int open(Device, const QString&, QString&) override { return 1; }
    bool play(int, std::function<void()> onEnd, QString&) override
    {
        ends.push_back(std::move(onEnd));
        return true;
    }
    void close(int) override {}
    std::vector<std::function<void()>> ends;
};

} // namespace

class TestSound : public QObject {
    Q_OBJECT
private slots:
    void commandsInAnyCase_data()
    {
        QTest::addColumn<QString>("open");
        QTest::addColumn<QString>("play");
        QTest::addColumn<QString>("close");
        QTest::newRow("mixed") << "Open" << "Play" << "Close";
        QTest::newRow("upper") << "OPEN" << "PLAY" << "CLOSE";
        QTest::newRow("lower") << "open" << "play" << "close";
    }
    void commandsInAnyCase()
    {
        QFETCH(QString, open);
        QFETCH(QString, play);
        QFETCH(QString, close);
        Game game;
        game.writeFile(QStringLiteral("ROLL.MID"), MidiFile(960));
        MMControl control;
        control.setDeviceType(QStringLiteral("Sequencer"));
        control.setFileName(game.path(QStringLiteral("ROLL.MID")));
        QCOMPARE(control.fileName(), game.path(QStringLiteral("ROLL.MID")));
        QVERIFY(control.setCommand(open));
        QVERIFY(control.isOpen());
        QVERIFY(control.setCommand(play));
        QCOMPARE(game.audio.playing(Device::Sequencer), game.path(QStringLiteral("ROLL.MID")));
        QVERIFY(control.setCommand(close));
        QVERIFY(!control.isOpen());
        QCOMPARE(game.audio.log,
                 QStringList({"open Sequencer ROLL.MID", "play ROLL.MID", "close ROLL.MID"}));
        QVERIFY(control.lastError().isEmpty());
    }

    void closeIsHarmlessAndOpenWorksAfterIt()
    {
        Game game;
        game.writeFile(QStringLiteral("STOP.WAV"), WaveFile(0.1));
        MMControl control;
        QVERIFY(control.setCommand(QStringLiteral("Close")));
        QVERIFY(control.setCommand(QStringLiteral("Close")));
        QVERIFY(game.audio.log.isEmpty());
        control.setDeviceType(QStringLiteral("WaveAudio"));
        control.setFileName(game.path(QStringLiteral("STOP.WAV")));
        QVERIFY(control.setCommand(QStringLiteral("Open")));
        QVERIFY(control.setCommand(QStringLiteral("Play")));
        QCOMPARE(game.audio.played, QStringList{"effect STOP.WAV"});
    }

    void failuresReturnFalseWithAReason_data()
    {
        QTest::addColumn<QString>("deviceType");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("deviceFails");
        QTest::addColumn<QString>("command");
        QTest::newRow("no device type") << "" << "ROLL.MID" << false << "Open";
        QTest::newRow("unknown device type") << "CDAudio" << "ROLL.MID" << false << "Open";
        QTest::newRow("no file name") << "Sequencer" << "" << false << "Open";
        QTest::newRow("missing file") << "Sequencer" << "NONE.MID" << false << "Open";
        QTest::newRow("no sound card") << "Sequencer" << "ROLL.MID" << true << "Open";
        QTest::newRow("play before open") << "Sequencer" << "ROLL.MID" << false << "Play";
        QTest::newRow("unknown command") << "Sequencer" << "ROLL.MID" << false << "Eject";
    }
    void failuresReturnFalseWithAReason()
    {
        QFETCH(QString, deviceType);
        QFETCH(QString, file);
        QFETCH(bool, deviceFails);
        QFETCH(QString, command);
        Game game;
        game.writeFile(QStringLiteral("ROLL.MID"), MidiFile(960));
        game.audio.deviceFails = deviceFails;
        MMControl control;
        control.setDeviceType(deviceType);
        control.setFileName(file.isEmpty() ? QString() : game.path(file));
        QVERIFY(!control.setCommand(command));
        QVERIFY(!control.lastError().isEmpty());
        QVERIFY(!control.isOpen());
        QVERIFY(!control.setCommand(QStringLiteral("Play")));
        QVERIFY(game.audio.played.isEmpty());
        // A later command that works clears the reason.
        QVERIFY(control.setCommand(QStringLiteral("Close")));
        QVERIFY(control.lastError().isEmpty());
    }

    // Done comes once, with code 1, for a file that played to its end; never
    // for one that was closed or played again, nor while Notify is off.
    void doneOnlyForAFileThatPlayedToItsEnd()
    {
        LateBackend late;
        sound::install(&late);
        MMControl control;
        QList<int> codes;
        control.onDone = [&](int code) { codes << code; };
        control.setDeviceType(QStringLiteral("Sequencer"));
        control.setFileName(QStringLiteral("/x/ROLL.MID"));
        QVERIFY(control.setCommand(QStringLiteral("Open")) && control.setCommand(QStringLiteral("Play")));
        QVERIFY(control.setCommand(QStringLiteral("Play"))); // played again from the start
        late.ends[0]();
        QVERIFY(codes.isEmpty());
        late.ends[1]();
        QCOMPARE(codes, QList<int>{MMControl::mciSuccessful});

        QVERIFY(control.setCommand(QStringLiteral("Play")));
        QVERIFY(control.setCommand(QStringLiteral("Close")));
        late.ends[2]();
        QCOMPARE(codes.size(), 1);

        QVERIFY(control.setCommand(QStringLiteral("Open")) && control.setCommand(QStringLiteral("Play")));
        control.setNotify(false);
        late.ends[3]();
        QCOMPARE(codes.size(), 1);
        sound::install(nullptr);
    }

    void startUpConfiguresBothChannelsSilently()
    {
        Game game;
        SaveLines[3] = QStringLiteral("0");
        FrmMain& f = game.start();
        QCOMPARE(f.MMControl1.deviceType(), QStringLiteral("Sequencer"));
        QCOMPARE(f.MMControl2.deviceType(), QStringLiteral("WaveAudio"));
        QVERIFY(!f.MMControl2.notify());
        QVERIFY(f.MMControl2.wait());
        QVERIFY(!f.MMControl2.shareable());
        QVERIFY(f.MMControl1.notify());
        QVERIFY(!f.MMControl1.isOpen());
        QVERIFY(!f.MMControl2.isOpen());
        QVERIFY(game.audio.log.isEmpty());
    }

    // Start-up never loads the synthesizer, whatever the switch says: it loads
    // with the first tune, or in the background when the player switches sound on.
    void soundIsPreparedOnlyWhenWanted()
    {
        for (const QString line3 : {QString(), QStringLiteral("1"), QStringLiteral("0")}) {
            Game game;
            SaveLines[3] = line3;
            FrmMain& f = game.start();
            QCOMPARE(game.audio.prepared, 0);
            if (line3 == QStringLiteral("1")) {
                f.mnuMusic.click();
                QCOMPARE(game.audio.prepared, 1);
            }
            QVERIFY(game.audio.log.isEmpty());
        }
    }

    void cuesPlayTheirFileOnTheirChannel()
    {
        Game game;
        FrmMain& f = StartWithSound(game);
        QVERIFY(f.PlayMusic(QStringLiteral("ROLL.MID")));
        QVERIFY(f.PlayEffect(QStringLiteral("YOKOKU.WAV")));
        QCOMPARE(f.MMControl1.fileName(), AppDir + QStringLiteral("ROLL.MID"));
        QCOMPARE(f.MMControl2.fileName(), AppDir + QStringLiteral("YOKOKU.WAV"));
        QCOMPARE(game.audio.log, QStringList({"open Sequencer ROLL.MID", "play ROLL.MID",
                                              "open WaveAudio YOKOKU.WAV", "play YOKOKU.WAV"}));
        // The effect leaves the music playing.
        QCOMPARE(game.audio.playing(Device::Sequencer), AppDir + QStringLiteral("ROLL.MID"));
    }

    void aNewCueCutsOffTheOldOne()
    {
        Game game;
        FrmMain& f = StartWithSound(game);
        f.PlayMusic(QStringLiteral("ROLL.MID"));
        f.PlayMusic(QStringLiteral("REACH.MID"));
        f.PlayEffect(QStringLiteral("STOP.WAV"));
        f.PlayEffect(QStringLiteral("STOP.WAV"));
        QCOMPARE(game.audio.log.mid(2, 3), QStringList({"close ROLL.MID", "open Sequencer REACH.MID", "play REACH.MID"}));
        QCOMPARE(game.audio.log.mid(7, 3), QStringList({"close STOP.WAV", "open WaveAudio STOP.WAV", "play STOP.WAV"}));
        QCOMPARE(game.audio.playing(Device::Sequencer), AppDir + QStringLiteral("REACH.MID"));
        f.CloseMusic();
        QVERIFY(game.audio.playing(Device::Sequencer).isEmpty());
        QVERIFY(!game.audio.finish(Device::Sequencer));
        QCOMPARE(game.audio.played.count(QStringLiteral("music REACH.MID")), 1);
    }

    void rotation_data()
    {
        QTest::addColumn<QString>("tune");
        QTest::addColumn<QStringList>("then");
        QTest::newRow("spin music repeats") << "ROLL.MID" << QStringList{"ROLL.MID", "ROLL.MID", "ROLL.MID"};
        QTest::newRow("reach repeats") << "REACH.MID" << QStringList{"REACH.MID", "REACH.MID", "REACH.MID"};
        QTest::newRow("all-rotation repeats") << "ALLR.MID" << QStringList{"ALLR.MID", "ALLR.MID", "ALLR.MID"};
        QTest::newRow("goal repeats") << "FEVER.MID" << QStringList{"FEVER.MID", "FEVER.MID", "FEVER.MID"};
        QTest::newRow("slot chance hands over") << "Tvsa1.MID" << QStringList{"Tvsa2.MID", "Tvsa2.MID", "Tvsa2.MID"};
        QTest::newRow("slot-chance loop") << "Tvsa2.MID" << QStringList{"Tvsa2.MID", "Tvsa2.MID", "Tvsa2.MID"};
        QTest::newRow("normal play once") << "Tvsa3.MID" << QStringList{};
    }
    void rotation()
    {
        QFETCH(QString, tune);
        QFETCH(QStringList, then);
        Game game;
        FrmMain& f = StartWithSound(game);
        QVERIFY(f.PlayMusic(tune));
        QStringList followed;
        for (int i = 0; i < 3 && game.audio.finish(Device::Sequencer); ++i)
            followed << QFileInfo(game.audio.playing(Device::Sequencer)).fileName();
        followed.removeAll(QString());
        QCOMPARE(followed, then);
        if (then.isEmpty()) {
            QCOMPARE(f.MMControl1.fileName(), AppDir + tune);
            QCOMPARE(game.audio.played, QStringList{"music " + tune});
        }
    }

    void rotationIgnoresOtherCodesAndSoundOff_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("line3");
        QTest::newRow("superseded") << 2 << "0";
        QTest::newRow("aborted") << 4 << "0";
        QTest::newRow("failure") << 8 << "0";
        QTest::newRow("sound off") << 1 << "1";
        QTest::newRow("first start") << 1 << "";
    }
    void rotationIgnoresOtherCodesAndSoundOff()
    {
        QFETCH(int, code);
        QFETCH(QString, line3);
        Game game;
        FrmMain& f = StartWithSound(game);
        f.PlayMusic(QStringLiteral("Tvsa1.MID"));
        SaveLines[3] = line3;
        game.audio.log.clear();
        f.MMControl1_Done(code);
        QVERIFY(game.audio.log.isEmpty());
        QCOMPARE(f.MMControl1.fileName(), AppDir + QStringLiteral("Tvsa1.MID"));
    }

    void noSoundSwitch_data()
    {
        QTest::addColumn<QString>("line3");
        QTest::addColumn<bool>("checkedAtStart");
        QTest::newRow("first start") << "" << false;
        QTest::newRow("sound on") << "0" << false;
        QTest::newRow("sound off") << "1" << true;
        QTest::newRow("other value") << "2" << false;
    }
    void noSoundSwitch()
    {
        QFETCH(QString, line3);
        QFETCH(bool, checkedAtStart);
        Game game;
        SaveLines[3] = line3;
        FrmMain& f = game.start();
        QCOMPARE(f.mnuMusic.checked(), checkedAtStart);
        game.writeFile(QStringLiteral("Tvsa2.MID"), MidiFile(960));
        game.writeFile(QStringLiteral("ATARI.WAV"), WaveFile(0.1));
        f.PlayMusic(QStringLiteral("Tvsa2.MID"));
        f.PlayEffect(QStringLiteral("ATARI.WAV"));
        game.audio.log.clear();

        f.mnuMusic.click();
        if (line3 == QStringLiteral("1")) {
            // Switching on leaves the channels as they are and starts nothing.
            QCOMPARE(SaveLines[3], QStringLiteral("0"));
            QVERIFY(!f.mnuMusic.checked());
            QVERIFY(game.audio.log.isEmpty());
            return;
        }
        // Switching off closes the music and then the effects.
        QCOMPARE(SaveLines[3], QStringLiteral("1"));
        QVERIFY(f.mnuMusic.checked());
        QCOMPARE(game.audio.log, QStringList({"close Tvsa2.MID", "close ATARI.WAV"}));
        // Switching on again plays nothing until the next cue.
        f.mnuMusic.click();
        QCOMPARE(SaveLines[3], QStringLiteral("0"));
        QVERIFY(!f.mnuMusic.checked());
        QVERIFY(!game.audio.finish(Device::Sequencer));
        QCOMPARE(game.audio.log.size(), 2);
    }

    // With no sound card the cue fails and says so to its caller. The spin
    // start tells the player and switches the sound off: nothing goes to stderr.
    void failingDeviceIsReportedToTheCaller()
    {
        Game game;
        FrmMain& f = StartWithSound(game);
        game.audio.deviceFails = true;
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        QVERIFY(!f.PlayMusic(QStringLiteral("ROLL.MID")));
        QVERIFY(!f.PlayEffect(QStringLiteral("YOKOKU.WAV")));
        QVERIFY(f.MMControl1.lastError().contains(QStringLiteral("ALSA")));
        SaveLines[3] = QStringLiteral("1");
        QTRY_COMPARE(sound::PendingFailureNotes(), 0);
        QVERIFY(game.audio.played.isEmpty());
    }

    // Elsewhere a failure is not reported to the player: the game goes on
    // silently and notes it once on stderr.
    void failureElsewhereIsNotedOnce_data()
    {
        QTest::addColumn<bool>("deviceFails");
        QTest::addColumn<QString>("note");
        QTest::newRow("missing file") << false << "Zelmor: no sound: cannot open .*REACH.MID";
        QTest::newRow("no sound card") << true << "Zelmor: no sound: ALSA";
    }
    void failureElsewhereIsNotedOnce()
    {
        QFETCH(bool, deviceFails);
        QFETCH(QString, note);
        Game game;
        FrmMain& f = StartWithSound(game);
        game.removeFile(QStringLiteral("REACH.MID"));
        game.audio.deviceFails = deviceFails;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(note));
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        QVERIFY(!f.PlayMusic(QStringLiteral("REACH.MID")));
        QTRY_COMPARE(sound::PendingFailureNotes(), 0);
        QVERIFY(!f.MMControl1.isOpen());
    }

    // Headless: the first spin with sound on meets the failing device, tells
    // the player once, switches the sound off and spins all the same.
    void firstSpinWithoutASoundCard()
    {
        Game game;
        FrmMain& f = StartWithSound(game);
        game.audio.deviceFails = true;
        game.prompts.messages.clear();
        // The message box runs its own event loop, as a real one does.
        game.prompts.onMessage = [](const Message&) {
            QEventLoop modal;
            QTimer::singleShot(0, &modal, &QEventLoop::quit);
            modal.exec();
        };
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        hitAndStart(game, f, spinDraws(0, 0, 0, 0, 100));
        QTRY_COMPARE(sound::PendingFailureNotes(), 0);
        QCOMPARE(game.prompts.texts(),
                 QStringList{QStringLiteral("音源デバイスエラーです。<音はいらない> に自動設定します。")});
        QCOMPARE(SaveLines[3], QStringLiteral("1"));
        QVERIFY(f.mnuMusic.checked());
        QCOMPARE(f.SpinL + f.SpinC + f.SpinR, 3);
        // From now on no cue even tries the device.
        game.audio.log.clear();
        runReels(f);
        QVERIFY(game.audio.log.isEmpty());
    }

    void quittingClosesBothChannelsWhileSoundIsOn_data()
    {
        QTest::addColumn<QString>("line3");
        QTest::newRow("sound on") << "0";
        QTest::newRow("sound off") << "1";
    }
    void quittingClosesBothChannelsWhileSoundIsOn()
    {
        QFETCH(QString, line3);
        Game game;
        FrmMain& f = StartWithSound(game);
        f.PlayMusic(QStringLiteral("Tvsa2.MID"));
        f.PlayEffect(QStringLiteral("ATARI.WAV"));
        SaveLines[3] = line3;
        game.audio.log.clear();
        for (int i = 0; i < 1000; ++i) // the data file's filler
            game.rnd.push(0.5);
        f.mnuQuit_Click();
        QVERIFY(game.host.endedFlag);
        QCOMPARE(game.audio.log, line3 == QStringLiteral("0") ? QStringList({"close Tvsa2.MID", "close ATARI.WAV"})
                                                             : QStringList());
    }

    void missingNextTuneStopsTheRotationQuietly()
    {
        Game game;
        FrmMain& f = StartWithSound(game);
        game.removeFile(QStringLiteral("Tvsa2.MID"));
        QVERIFY(f.PlayMusic(QStringLiteral("Tvsa1.MID")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("Tvsa2.MID")));
        QVERIFY(game.audio.finish(Device::Sequencer));
        QTRY_COMPARE(sound::PendingFailureNotes(), 0);
        QVERIFY(game.audio.playing(Device::Sequencer).isEmpty());
        QCOMPARE(f.MMControl1.fileName(), AppDir + QStringLiteral("Tvsa2.MID"));
        // The next cue plays as usual.
        QVERIFY(f.PlayMusic(QStringLiteral("ROLL.MID")));
    }
};

QTEST_MAIN(TestSound)
#include "test_sound.moc"
