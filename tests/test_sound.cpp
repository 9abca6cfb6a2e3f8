// SPDX-License-Identifier: MIT
// The media controls, the cues on their channels, the music rotation, the
// failure notes and the no-sound switch, on a recording sound device.
#include "sound/CuePlayer.h"
#include "sound/FailureNotes.h"
#include "tests/support/FakeAudio.h"
#include "tests/support/SessionRig.h"
#include "ui/Preferences.h"
#include "ui/VolumeDialog.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QtTest>

using namespace testing;
using game::Cue;
using sound::Device;



namespace {

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

// A cue player on a directory holding every tune and effect, with the
// recording device installed.
struct Channels {
    QTemporaryDir dir;
    FakeAudio audio;
    bool soundOn = true;
    sound::CuePlayer player{dir.path() + QLatin1Char('/'), [this] { return soundOn; }};
    Channels()
    {
        sound::install(&audio);
        for (int c = int(Cue::Roll); c <= int(Cue::Jackpot); ++c) {
            const QString name = sound::CueFile(Cue(c));
            QFile file(dir.filePath(name));
            if (file.open(QIODevice::WriteOnly))
                file.write(name.endsWith(QLatin1String(".MID")) ? MidiFile(960) : WaveFile(0.1));
        }
    }
    ~Channels() { sound::install(nullptr); }
};

} // namespace

class TestSound : public QObject {
    Q_OBJECT
    QTemporaryDir config_; // the preferences of this run

private slots:
    void initTestCase() { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config_.path()); }

    void failuresReturnFalseWithAReason_data()
    {
        QTest::addColumn<QString>("deviceType");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("noSoundCard");
        QTest::addColumn<QString>("failingCommand");
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
        QFETCH(bool, noSoundCard);
        QFETCH(QString, failingCommand);
        Channels c;
        c.audio.deviceFails = noSoundCard;
        MMControl control;
        control.setDeviceType(deviceType);
        control.setFileName(file.isEmpty() ? QString() : c.dir.filePath(file));
        if (failingCommand != QLatin1String("Open") && failingCommand != QLatin1String("Play"))
            QVERIFY(control.setCommand(QStringLiteral("open")));
        QVERIFY(!control.setCommand(failingCommand));
        QVERIFY(!control.lastError().isEmpty());
        QVERIFY(control.setCommand(QStringLiteral("CLOSE"))); // closing is always harmless
    }

    // Done is reported for a file that played to its end, never for one that
    // was played again, closed, or played with Notify off.
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
        QVERIFY(control.setCommand(QStringLiteral("Play")));
        late.ends[0]();
        QVERIFY(codes.isEmpty());
        late.ends[1]();
        QCOMPARE(codes, QList<int>{MMControl::mciSuccessful});
        QVERIFY(control.setCommand(QStringLiteral("Play")) && control.setCommand(QStringLiteral("Close")));
        late.ends[2]();
        QVERIFY(control.setCommand(QStringLiteral("Open")) && control.setCommand(QStringLiteral("Play")));
        control.setNotify(false);
        late.ends[3]();
        QCOMPARE(codes.size(), 1);
        sound::install(nullptr);
    }

    void cuesPlayTheirFileOnTheirChannel_data()
    {
        QTest::addColumn<Cue>("cue");
        QTest::addColumn<QString>("played");
        QTest::newRow("spin") << Cue::Roll << "music ROLL.MID";
        QTest::newRow("reach") << Cue::Reach << "music REACH.MID";
        QTest::newRow("all-rotation") << Cue::AllRotation << "music ALLR.MID";
        QTest::newRow("goal") << Cue::Fever << "music FEVER.MID";
        QTest::newRow("slot chance") << Cue::ChanceIntro << "music Tvsa1.MID";
        QTest::newRow("slot-chance loop") << Cue::ChanceLoop << "music Tvsa2.MID";
        QTest::newRow("normal play") << Cue::Calm << "music Tvsa3.MID";
        QTest::newRow("notice") << Cue::Notice << "effect YOKOKU.WAV";
        QTest::newRow("stop") << Cue::Stop << "effect STOP.WAV";
        QTest::newRow("jackpot") << Cue::Jackpot << "effect ATARI.WAV";
    }
    void cuesPlayTheirFileOnTheirChannel()
    {
        QFETCH(Cue, cue);
        QFETCH(QString, played);
        Channels c;
        QVERIFY(c.player.play(Cue::Roll) && c.player.play(Cue::Stop));
        c.audio.played.clear();
        QVERIFY(c.player.play(cue));
        QCOMPARE(c.audio.played, QStringList{played});
        // A new cue cuts off what its channel played; the other channel plays on.
        const bool music = game::IsMusic(cue);
        QCOMPARE(c.audio.playing(Device::Sequencer).endsWith(music ? sound::CueFile(cue) : QStringLiteral("ROLL.MID")),
                 true);
        QCOMPARE(c.audio.playing(Device::WaveAudio).endsWith(music ? QStringLiteral("STOP.WAV") : sound::CueFile(cue)),
                 true);
        c.player.stopAll();
        QVERIFY(c.audio.playing(Device::Sequencer).isEmpty() && c.audio.playing(Device::WaveAudio).isEmpty());
    }

    // A tune that played to its end: the slot chance's intro hands over to its
    // loop, the calm tune ends in silence, every other tune starts over; with
    // the sound switched off nothing follows.
    void rotation_data()
    {
        QTest::addColumn<Cue>("cue");
        QTest::addColumn<bool>("soundOn");
        QTest::addColumn<QStringList>("next");
        QTest::newRow("spin music repeats") << Cue::Roll << true << QStringList{"ROLL.MID", "ROLL.MID"};
        QTest::newRow("reach repeats") << Cue::Reach << true << QStringList{"REACH.MID", "REACH.MID"};
        QTest::newRow("intro hands over") << Cue::ChanceIntro << true << QStringList{"Tvsa2.MID", "Tvsa2.MID"};
        QTest::newRow("normal play once") << Cue::Calm << true << QStringList{};
        QTest::newRow("sound switched off") << Cue::Roll << false << QStringList{};
    }
    void rotation()
    {
        QFETCH(Cue, cue);
        QFETCH(bool, soundOn);
        QFETCH(QStringList, next);
        Channels c;
        QVERIFY(c.player.play(cue));
        c.soundOn = soundOn;
        c.audio.played.clear();
        QStringList heard;
        while (heard.size() < 2 && c.audio.finish(Device::Sequencer))
            heard << c.audio.playing(Device::Sequencer).section(QLatin1Char('/'), -1);
        heard.removeAll(QString());
        QCOMPARE(heard, next);
    }

    // A cue the device cannot play returns false and is noted once on stderr,
    // when no message box is open, unless the sound has been switched off.
    void failureIsNotedOnce_data()
    {
        QTest::addColumn<bool>("noSoundCard");
        QTest::addColumn<bool>("soundStaysOn");
        QTest::addColumn<QString>("note");
        QTest::newRow("missing file") << false << true << "Zelmor: no sound: cannot open .*REACH.MID";
        QTest::newRow("no sound card") << true << true << "Zelmor: no sound: ";
        QTest::newRow("sound switched off meanwhile") << true << false << "";
    }
    void failureIsNotedOnce()
    {
        QFETCH(bool, noSoundCard);
        QFETCH(bool, soundStaysOn);
        QFETCH(QString, note);
        Channels c;
        QFile::remove(c.dir.filePath(QStringLiteral("REACH.MID")));
        c.audio.deviceFails = noSoundCard;
        if (!note.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(note));
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        QVERIFY(!c.player.play(Cue::Reach));
        c.soundOn = soundStaysOn;
        QTRY_COMPARE(sound::PendingFailureNotes(), 0);
        QVERIFY(!c.player.music.isOpen());
    }

    // In the game: switching the sound on readies the device, the start-up
    // does not; switching it off closes both channels; quitting with sound on
    // closes them too.
    void theSwitchInTheGame()
    {
        SessionRig rig;
        rig.play();
        QCOMPARE(rig.audio.prepared, 0);
        rig.machine().toggleSound(); // first start: unset -> off
        rig.machine().toggleSound(); // -> on
        QCOMPARE(rig.audio.prepared, 1);
        QVERIFY(rig.session().cuePlayer().play(Cue::Roll) && rig.session().cuePlayer().play(Cue::Stop));
        rig.machine().toggleSound(); // -> off
        QVERIFY(rig.audio.playing(Device::Sequencer).isEmpty() && rig.audio.playing(Device::WaveAudio).isEmpty());
        rig.machine().toggleSound();
        QVERIFY(rig.session().cuePlayer().play(Cue::Roll));
        rig.session().quit();
        QVERIFY(rig.audio.playing(Device::Sequencer).isEmpty());
        QCOMPARE(rig.host.endCount, 1);
    }

    // The volumes from the menu: the start hands the remembered ones to the
    // device; the dialog's sliders reach it while they move; OK remembers the
    // new ones, and Cancel, Escape or the close box put back those from
    // before. The sound switch stays as it was.
    void volumesFromTheMenu_data()
    {
        QTest::addColumn<QString>("close");
        QTest::addColumn<bool>("kept");
        QTest::newRow("OK") << "OK" << true;
        QTest::newRow("Cancel") << "Cancel" << false;
        QTest::newRow("Escape") << "Escape" << false;
        QTest::newRow("close box") << "close box" << false;
    }
    void volumesFromTheMenu()
    {
        QFETCH(QString, close);
        QFETCH(bool, kept);
        ui::Preferences before;
        before.musicVolume = 40;
        before.effectsVolume = 90;
        before.calmLamps = true;
        before.save();
        SessionRig rig;
        rig.play();
        const auto heard = [&rig] {
            return std::pair(rig.audio.volumes.at(Device::Sequencer), rig.audio.volumes.at(Device::WaveAudio));
        };
        QCOMPARE(heard(), std::pair(0.4, 0.9));
        const bool soundOn = rig.machine().soundOn();
        rig.prompts.dialogHandlers.push_back([&](QDialog& shown) {
            auto& dialog = dynamic_cast<ui::VolumeDialog&>(shown);
            dialog.show();
            dialog.musicSlider->setValue(0);
            dialog.effectsSlider->setValue(25);
            QCOMPARE(heard(), std::pair(0.0, 0.25));
            if (close == QLatin1String("OK"))
                dialog.okButton->click();
            else if (close == QLatin1String("Cancel"))
                dialog.cancelButton->click();
            else if (close == QLatin1String("Escape"))
                QTest::keyClick(&dialog, Qt::Key_Escape);
            else
                dialog.close();
        });
        rig.window().volumeItem.click();
        QVERIFY(rig.prompts.dialogHandlers.empty());
        QCOMPARE(heard(), kept ? std::pair(0.0, 0.25) : std::pair(0.4, 0.9));
        const ui::Preferences after = ui::Preferences::Load();
        QCOMPARE(std::pair(after.musicVolume, after.effectsVolume), kept ? std::pair(0, 25) : std::pair(40, 90));
        QVERIFY(after.calmLamps);
        QCOMPARE(rig.machine().soundOn(), soundOn);
    }
};

QTEST_MAIN(TestSound)
#include "test_sound.moc"
