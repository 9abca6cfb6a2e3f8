// SPDX-License-Identifier: MIT
// The media channels, the cues on them, the music rotation, the
// failure notes and the no-sound switch, on a recording sound device.
#include "sound/CuePlayer.h"
#include "sound/FailureNotes.h"
#include "sound/MediaChannel.h"
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
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("noSoundCard");
        QTest::addColumn<bool>("playFails");
        QTest::newRow("no file name") << "" << false << false;
        QTest::newRow("missing file") << "NONE.MID" << false << false;
        QTest::newRow("no sound card") << "ROLL.MID" << true << false;
        QTest::newRow("opened but not played") << "ROLL.MID" << false << true;
    }
    void failuresReturnFalseWithAReason()
    {
        QFETCH(QString, file);
        QFETCH(bool, noSoundCard);
        QFETCH(bool, playFails);
        Channels c;
        c.audio.deviceFails = noSoundCard;
        c.audio.playFails = playFails;
        sound::MediaChannel channel(Device::Sequencer);
        QVERIFY(!channel.play(file.isEmpty() ? QString() : c.dir.filePath(file)));
        QVERIFY(!channel.lastError().isEmpty());
        QVERIFY(!channel.isPlaying());
        c.audio.deviceFails = c.audio.playFails = false;
        QVERIFY(channel.play(c.dir.filePath(QStringLiteral("REACH.MID"))));
        QVERIFY(channel.lastError().isEmpty());
        QCOMPARE(c.audio.playing(Device::Sequencer), c.dir.filePath(QStringLiteral("REACH.MID")));
    }

    // finished() comes for a file that played to its end, never for one that
    // was replaced or stopped first, however late the device reports it.
    void finishedOnlyForAFileThatPlayedToItsEnd_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("finished");
        QTest::newRow("played to its end") << "" << 1;
        QTest::newRow("replaced") << "play" << 0;
        QTest::newRow("stopped") << "stop" << 0;
    }
    void finishedOnlyForAFileThatPlayedToItsEnd()
    {
        QFETCH(QString, before);
        QFETCH(int, finished);
        LateBackend late;
        sound::install(&late);
        sound::MediaChannel channel(Device::Sequencer);
        QSignalSpy spy(&channel, &sound::MediaChannel::finished);
        QVERIFY(channel.play(QStringLiteral("/x/ROLL.MID")));
        if (before == QLatin1String("play"))
            QVERIFY(channel.play(QStringLiteral("/x/REACH.MID")));
        else if (before == QLatin1String("stop"))
            channel.stop();
        late.ends[0]();
        QCOMPARE(spy.size(), finished);
        QCOMPARE(channel.isPlaying(), before == QLatin1String("play"));
        // The file that replaced it reports its own end, once.
        if (before == QLatin1String("play")) {
            late.ends[1]();
            late.ends[1]();
            QCOMPARE(spy.size(), 1);
        }
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
        QCOMPARE(game::IsMusic(cue) ? c.player.musicCue() : c.player.effectCue(), cue);
        // A new cue cuts off what its channel played; the other channel plays on.
        const bool music = game::IsMusic(cue);
        QCOMPARE(c.audio.playing(Device::Sequencer).endsWith(music ? sound::CueFile(cue) : QStringLiteral("ROLL.MID")),
                 true);
        QCOMPARE(c.audio.playing(Device::WaveAudio).endsWith(music ? QStringLiteral("STOP.WAV") : sound::CueFile(cue)),
                 true);
        c.player.stopAll();
        QVERIFY(c.audio.playing(Device::Sequencer).isEmpty() && c.audio.playing(Device::WaveAudio).isEmpty());
        QVERIFY(!c.player.musicCue() && !c.player.effectCue());
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
        QTest::newRow("loop repeats") << Cue::ChanceLoop << true << QStringList{"Tvsa2.MID", "Tvsa2.MID"};
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
        QCOMPARE(c.player.musicCue().has_value(), !next.isEmpty());
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
        QVERIFY(!c.player.musicCue());
        QVERIFY(!c.player.lastError().isEmpty());
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
        rig.dialogs.dialogHandlers.push_back([&](QDialog& shown) {
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
        rig.window().volumeItem->trigger();
        QVERIFY(rig.dialogs.dialogHandlers.empty());
        QCOMPARE(heard(), kept ? std::pair(0.0, 0.25) : std::pair(0.4, 0.9));
        const ui::Preferences after = ui::Preferences::Load();
        QCOMPARE(std::pair(after.musicVolume, after.effectsVolume), kept ? std::pair(0, 25) : std::pair(40, 90));
        QVERIFY(after.calmLamps);
        QCOMPARE(rig.machine().soundOn(), soundOn);
    }
};

QTEST_MAIN(TestSound)
#include "test_sound.moc"
