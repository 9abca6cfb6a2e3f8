// SPDX-License-Identifier: MIT
// The media channels, the cues on them, the music rotation, the
// failure notes, missing files and the no-sound switch, on a recording sound
// device.
#include "sound/CuePlayer.h"
#include "sound/FailureNotes.h"
#include "sound/MediaChannel.h"
#include "tests/support/FakeAudio.h"
#include "tests/support/SaveFiles.h"
#include "tests/support/SessionRig.h"
#include "ui/Pictures.h"
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

    // A file that is not there is told apart from a device that fails, even
    // when the device fails too.
    void failuresReturnFalseWithAReason_data()
    {
        using Failure = sound::MediaChannel::Failure;
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("noSoundCard");
        QTest::addColumn<bool>("playFails");
        QTest::addColumn<Failure>("failure");
        QTest::newRow("no file name") << "" << false << false << Failure::FileMissing;
        QTest::newRow("missing file") << "NONE.MID" << false << false << Failure::FileMissing;
        QTest::newRow("missing file, no sound card") << "NONE.MID" << true << false << Failure::FileMissing;
        QTest::newRow("no sound card") << "ROLL.MID" << true << false << Failure::Device;
        QTest::newRow("opened but not played") << "ROLL.MID" << false << true << Failure::Device;
    }
    void failuresReturnFalseWithAReason()
    {
        QFETCH(QString, file);
        QFETCH(bool, noSoundCard);
        QFETCH(bool, playFails);
        QFETCH(sound::MediaChannel::Failure, failure);
        Channels c;
        c.audio.deviceFails = noSoundCard;
        c.audio.playFails = playFails;
        sound::MediaChannel channel(Device::Sequencer);
        QVERIFY(!channel.play(file.isEmpty() ? QString() : c.dir.filePath(file)));
        QCOMPARE(channel.failure(), failure);
        QVERIFY(!channel.lastError().isEmpty());
        QVERIFY(!channel.isPlaying());
        c.audio.deviceFails = c.audio.playFails = false;
        QVERIFY(channel.play(c.dir.filePath(QStringLiteral("REACH.MID"))));
        QCOMPARE(channel.failure(), sound::MediaChannel::Failure::None);
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
    // when no message box is open, unless the sound has been switched off. A
    // missing file is no failure of the device: the cue is silent, and stderr
    // hears of the file once, however often it is cued.
    void failureIsNotedOnce_data()
    {
        QTest::addColumn<bool>("fileMissing");
        QTest::addColumn<bool>("soundStaysOn");
        QTest::addColumn<QString>("note");
        QTest::newRow("missing file") << true << true << "Zelmor: no sound: cannot open .*REACH.MID: no such file";
        QTest::newRow("no sound card") << false << true << "Zelmor: no sound: ALSA";
        QTest::newRow("sound switched off meanwhile") << false << false << "";
    }
    void failureIsNotedOnce()
    {
        QFETCH(bool, fileMissing);
        QFETCH(bool, soundStaysOn);
        QFETCH(QString, note);
        Channels c;
        if (fileMissing)
            QFile::remove(c.dir.filePath(QStringLiteral("REACH.MID")));
        c.audio.deviceFails = !fileMissing;
        if (!note.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(note));
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
        for (int cue = 0; cue < (fileMissing ? 2 : 1); ++cue)
            QCOMPARE(c.player.play(Cue::Reach), fileMissing);
        c.soundOn = soundStaysOn;
        QTRY_COMPARE(sound::PendingFailureNotes(), 0);
        QVERIFY(!c.player.musicCue());
        QVERIFY(!c.player.lastError().isEmpty());
    }

    // The files the start looks for are those the build writes beside the
    // program: neither list may gain a file the other lacks.
    void programFilesAreTheBuiltOnes()
    {
        QStringList looked = ui::ProgramPictures() + sound::CueFiles(), built = assetFiles();
        looked.sort();
        built.sort();
        QCOMPARE(looked, built);
    }

    // Missing program files are told once, at the start, by name; the game
    // plays on. A tune missing at the spin start is silence: no device
    // failure, and the sound switch stays on, in play and in the save.
    void missingFilesInTheGame_data()
    {
        QTest::addColumn<QStringList>("removed");
        QTest::addColumn<QStringList>("told"); // in the order the notice names them
        QTest::newRow("none") << QStringList{} << QStringList{};
        QTest::newRow("a picture") << QStringList{"COVER.BMP"} << QStringList{"COVER.BMP"};
        QTest::newRow("an effect and a tune") << QStringList{"ATARI.WAV", "ROLL.MID"}
                                              << QStringList{"ROLL.MID", "ATARI.WAV"};
    }
    void missingFilesInTheGame()
    {
        QFETCH(QStringList, removed);
        QFETCH(QStringList, told);
        SessionRig rig;
        rig.writeFile(QStringLiteral("Zelmor.ini"), SavedSettings(QStringLiteral("5000"), {{3, QStringLiteral("0")}}));
        rig.writeFile(QStringLiteral("Zelmor.bin"), DataBytes("5000"));
        for (const QString& name : removed)
            rig.removeFile(name);
        QVERIFY(rig.start());
        const QStringList atStart{QStringLiteral("CurrentProbability 300")};
        QCOMPARE(rig.prompts.shown, told.isEmpty() ? atStart : atStart + QStringList{QStringLiteral("FilesMissing")});
        if (!told.isEmpty()) {
            QCOMPARE(rig.prompts.notices.back().files, told);
            QCOMPARE(rig.prompts.notices.back().path, rig.dir());
        }
        rig.prompts.shown.clear();
        rig.rnd.push(pick(0, 4));
        rig.window().covers[0]->click();
        rig.rnd.script(spinDraws(0, 0, 0, 0, 100));
        rig.window().startButton->click();
        QVERIFY(rig.prompts.shown.isEmpty());
        QCOMPARE(rig.s().sound, game::SoundSwitch::On);
        QCOMPARE(rig.audio.played.contains(QStringLiteral("music ROLL.MID")), !removed.contains("ROLL.MID"));
        const qint64 money = rig.s().money;
        for (int draw = 0; draw < 99 - QByteArray::number(money).size(); ++draw)
            rig.rnd.push(0.5); // the save's filler
        rig.session().quit();
        QCOMPARE(SettingsLinesOf(rig.readFile(QStringLiteral("Zelmor.ini"))).value(2), QStringLiteral("0"));
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
