// The real sound device: SDL2_mixer with FluidSynth, rendering on SDL's disk
// driver into /dev/null faster than real time. Waits pump events only.
#include "sound/MMControl.h"
#include "sound/ModuleAudio.h"
#include "sound/sdl/SdlAudio.h"
#include "tests/support/FakeAudio.h"

#include <QFile>
#include <SDL.h>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace testing;
using sound::SdlAudio;

namespace {

constexpr int Second = SdlAudio::Rate;
constexpr int Bound = 20000; // ms; the disk driver needs a fraction of this

// A media control on the real device, counting its Done reports.
struct Channel {
    MMControl control;
    QList<int> done;
    Channel(const QString& type, const QString& path)
    {
        control.setDeviceType(type);
        control.setFileName(path);
        control.onDone = [this](int code) { done << code; };
    }
    bool cue() { return control.setCommand("Close") && control.setCommand("Open") && control.setCommand("Play"); }
};

} // namespace

class TestSoundDevice : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    std::unique_ptr<SdlAudio> audio_;

    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile file(dir_.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        return file.fileName();
    }
    // Lets the device render `frames` more frames of music.
    bool renderOn(std::int64_t frames)
    {
        const std::int64_t until = audio_->renderedFrames() + frames;
        return QTest::qWaitFor([&] { return audio_->renderedFrames() >= until; }, Bound);
    }

private slots:
    void initTestCase()
    {
        // ctest sets these; the same when run by hand.
        if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) {
            qputenv("SDL_AUDIODRIVER", "disk");
            qputenv("SDL_DISKAUDIOFILE", "/dev/null");
            qputenv("SDL_DISKAUDIODELAY", "0");
        }
        QVERIFY(dir_.isValid());
        write("ONE.MID", MidiFile(960));      // one second
        write("QUARTER.MID", MidiFile(240));  // a quarter second
        write("BELL.WAV", WaveFile(0.2));
        write("NOISE.TXT", "not a sound at all");
        // The disk driver announces itself at every open.
        SDL_LogSetPriority(SDL_LOG_CATEGORY_AUDIO, SDL_NUM_LOG_PRIORITIES);
    }
    void init()
    {
        audio_ = std::make_unique<SdlAudio>();
        sound::install(audio_.get());
    }
    void cleanup()
    {
        sound::install(nullptr);
        audio_.reset();
    }

    void tuneReportsItsEndWithinOneBuffer()
    {
        Channel music("Sequencer", dir_.filePath("ONE.MID"));
        QVERIFY2(music.cue(), qPrintable(music.control.lastError()));
        QVERIFY(!audio_->soundFont().isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(music.done.size(), 1, Bound);
        QCOMPARE(music.done[0], MMControl::mciSuccessful);
        const std::int64_t late = audio_->lastTuneFrames() - Second;
        QVERIFY2(late >= -SdlAudio::BufferFrames && late <= SdlAudio::BufferFrames,
                 qPrintable(QStringLiteral("end seen %1 frames after the tune's length").arg(late)));
        // Played to its end once; nothing plays it again by itself.
        QVERIFY(renderOn(Second));
        QCOMPARE(music.done.size(), 1);
    }

    void effectLeavesTheMusicUndisturbed()
    {
        Channel music("Sequencer", dir_.filePath("ONE.MID"));
        Channel effect("WaveAudio", dir_.filePath("BELL.WAV"));
        QVERIFY(music.cue());
        QVERIFY2(effect.cue(), qPrintable(effect.control.lastError()));
        QTRY_COMPARE_WITH_TIMEOUT(effect.done.size(), 1, Bound);
        QVERIFY(effect.cue()); // a second bell cuts off nothing but the first
        QTRY_COMPARE_WITH_TIMEOUT(music.done.size(), 1, Bound);
        QVERIFY(qAbs(audio_->lastTuneFrames() - Second) <= SdlAudio::BufferFrames);
        QTRY_COMPARE_WITH_TIMEOUT(effect.done.size(), 2, Bound);
    }

    void cutOffTuneNeverReportsItsEnd()
    {
        Channel music("Sequencer", dir_.filePath("QUARTER.MID"));
        QVERIFY(music.cue());
        music.control.setFileName(dir_.filePath("ONE.MID"));
        QVERIFY(music.cue());
        QTRY_COMPARE_WITH_TIMEOUT(music.done.size(), 1, Bound);
        QVERIFY(qAbs(audio_->lastTuneFrames() - Second) <= SdlAudio::BufferFrames);

        // Closed before its end: silence, and no report.
        music.control.setFileName(dir_.filePath("QUARTER.MID"));
        QVERIFY(music.cue());
        QVERIFY(music.control.setCommand("Close"));
        QVERIFY(renderOn(Second));
        QCOMPARE(music.done.size(), 1);
    }

    void closedEffectNeverReportsItsEnd()
    {
        Channel effect("WaveAudio", dir_.filePath("BELL.WAV"));
        QVERIFY(effect.cue());
        QVERIFY(effect.control.setCommand("Close"));
        QVERIFY(effect.cue());
        QTRY_COMPARE_WITH_TIMEOUT(effect.done.size(), 1, Bound);
        QVERIFY(effect.cue());
        QVERIFY(effect.control.setCommand("Close"));
        QVERIFY(renderOn(Second));
        QCOMPARE(effect.done.size(), 1);
    }

    void unplayableFilesFailCleanly_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("file");
        QTest::newRow("missing tune") << "Sequencer" << "NONE.MID";
        QTest::newRow("wave as tune") << "Sequencer" << "BELL.WAV";
        QTest::newRow("missing effect") << "WaveAudio" << "NONE.WAV";
        QTest::newRow("not a sound") << "WaveAudio" << "NOISE.TXT";
    }
    void unplayableFilesFailCleanly()
    {
        QFETCH(QString, type);
        QFETCH(QString, file);
        Channel channel(type, dir_.filePath(file));
        QVERIFY(!channel.cue());
        QVERIFY(!channel.control.lastError().isEmpty());
        QVERIFY(!channel.control.isOpen());
    }

    // With no usable sound output the channel cannot open; the game goes on.
    void noSoundOutput()
    {
        cleanup();
        const QByteArray driver = qgetenv("SDL_AUDIODRIVER");
        qputenv("SDL_AUDIODRIVER", "no-such-driver");
        init();
        Channel music("Sequencer", dir_.filePath("ONE.MID"));
        QVERIFY(!music.cue());
        QVERIFY(!music.control.lastError().isEmpty());
        QVERIFY(!music.control.isOpen());
        qputenv("SDL_AUDIODRIVER", driver);
        // The device opens on a later cue once an output is there again.
        QVERIFY2(music.cue(), qPrintable(music.control.lastError()));
    }

    // The game reaches the device through the module beside its executable,
    // loaded on the first sound and not before.
    void moduleLoadsOnTheFirstSound()
    {
        cleanup();
        sound::ModuleAudio module(QStringLiteral(ZELMOR_AUDIO_MODULE_PATH));
        sound::install(&module);
        QVERIFY(!module.loaded());
        {
            Channel music("Sequencer", dir_.filePath("QUARTER.MID"));
            Channel effect("WaveAudio", dir_.filePath("BELL.WAV"));
            QVERIFY2(music.cue(), qPrintable(music.control.lastError()));
            QVERIFY(module.loaded());
            QVERIFY2(effect.cue(), qPrintable(effect.control.lastError()));
            QTRY_COMPARE_WITH_TIMEOUT(effect.done.size(), 1, Bound);
            QTRY_COMPARE_WITH_TIMEOUT(music.done, QList<int>{MMControl::mciSuccessful}, Bound);
        }
        sound::install(nullptr);
    }

    // A module that is missing or broken is a sound failure like a missing
    // card: every cue fails with the reason, and nothing else breaks.
    void missingModuleFailsEveryCue()
    {
        cleanup();
        write("libbroken.so", "not a shared object");
        for (const QString& path : {dir_.filePath("libnone.so"), dir_.filePath("libbroken.so")}) {
            sound::ModuleAudio module(path);
            sound::install(&module);
            module.prepare();
            for (int attempt = 0; attempt < 2; ++attempt) {
                Channel music("Sequencer", dir_.filePath("ONE.MID"));
                QVERIFY(!music.cue());
                QVERIFY2(music.control.lastError().startsWith("cannot load the sound module"),
                         qPrintable(music.control.lastError()));
                QVERIFY(!music.control.isOpen());
                QVERIFY(!music.control.setCommand("Play"));
            }
            QVERIFY(!module.loaded());
            sound::install(nullptr);
        }
    }
};

QTEST_MAIN(TestSoundDevice)
#include "test_sound_device.moc"
