// SPDX-License-Identifier: MIT
// The real sound device: SDL2_mixer with FluidSynth, rendering on SDL's disk
// driver faster than real time, into /dev/null or, where a case measures the
// mix, into a file. Waits pump events only. The suite runs once with each
// soundfont the game is checked with, named in ZELMOR_SOUNDFONT (TimGM6mb
// when run by hand without it); the soundfonts' levels are kept in a cache
// folder of the suite's own.
#include "sound/CuePlayer.h"
#include "sound/MediaChannel.h"
#include "sound/ModuleAudio.h"
#include "sound/sdl/MixLimiter.h"
#include "sound/sdl/SdlAudio.h"
#include "tests/support/FakeAudio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <SDL.h>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>

using namespace testing;
using game::Cue;
using sound::Device;
using sound::SdlAudio;

namespace {

constexpr int Second = SdlAudio::Rate;
constexpr int Bound = 20000; // ms; the disk driver needs a fraction of this
// The largest sample magnitude under -1 dBFS.
constexpr float BelowMinus1dB = 0.891f;
// One step of a 16-bit output: anything quieter is silence. (The synthesizer's
// reverb leaves traces far below it even at gain 0.)
constexpr float Audible = 1.0f / 32768;
constexpr const char* TimGM6mb = "/usr/share/sounds/sf2/TimGM6mb.sf2";
// The jackpot spin's loudness from its first sound, with TimGM6mb (dBFS RMS).
constexpr double MadeForRms = -18.6;

QString Asset(const QString& name)
{
    return QStringLiteral(ZELMOR_ASSET_DIR "/") + name;
}

// Mixed output: interleaved stereo float frames, full scale 1.
using Samples = std::vector<float>;

struct Levels {
    float peak = 0;       // the largest magnitude
    qint64 fullScale = 0; // samples at full scale or over it
    double rms = 0;       // in dBFS
};

// The levels of frames [from, to) of the output.
Levels Measure(const Samples& mix, qint64 from = 0, qint64 to = -1)
{
    Levels levels;
    const qint64 end = to < 0 ? qint64(mix.size()) : std::min(2 * to, qint64(mix.size()));
    double sum = 0;
    for (qint64 i = 2 * from; i < end; ++i) {
        const float sample = std::abs(mix[std::size_t(i)]);
        levels.peak = std::max(levels.peak, sample);
        levels.fullScale += sample >= 1.0f ? 1 : 0;
        sum += double(sample) * sample;
    }
    levels.rms = 10 * std::log10(sum / double(std::max<qint64>(1, end - 2 * from)));
    return levels;
}

// A stereo tone at `amplitude` for the limiter; clipped at full scale, as a
// mix that clamped would be.
Samples Tone(double amplitude, int frames, bool clipped = false)
{
    Samples tone;
    for (int i = 0; i < frames; ++i) {
        auto sample = float(amplitude * std::sin(2 * M_PI * 440.0 * i / Second));
        if (clipped)
            sample = std::clamp(sample, -1.0f, 1.0f);
        tone.insert(tone.end(), {sample, sample});
    }
    return tone;
}

// From the first sound on: the device renders silence while the soundfont
// loads, longer for a bigger one.
Samples FromFirstSound(const Samples& mix)
{
    const auto first = std::find_if(mix.begin(), mix.end(), [](float sample) { return std::abs(sample) >= Audible; });
    return Samples(first - (first - mix.begin()) % 2, mix.end());
}

// A media channel on the real device, counting the ends it reports.
struct Channel {
    sound::MediaChannel media;
    QString file;
    int finished = 0;
    Channel(Device device, const QString& path)
        : media(device)
        , file(path)
    {
        QObject::connect(&media, &sound::MediaChannel::finished, [this] { ++finished; });
    }
    bool cue() { return media.play(file); }
};

} // namespace

class TestSoundDevice : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    QString soundFont_; // the one this run checks
    std::unique_ptr<SdlAudio> audio_;
    QByteArray output_; // where the disk driver writes when no case records

    // The device opened after this writes its output into a file.
    QString record()
    {
        const QString path = dir_.filePath(QStringLiteral("mix.raw"));
        QFile::remove(path);
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(path));
        return path;
    }
    // The recorded output, once the device that wrote it has closed.
    Samples recorded(const QString& path)
    {
        qputenv("SDL_DISKAUDIOFILE", output_);
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QByteArray bytes = file.readAll();
        Samples mix(std::size_t(bytes.size()) / sizeof(float));
        std::memcpy(mix.data(), bytes.constData(), mix.size() * sizeof(float));
        return mix;
    }
    static qint64 FramesIn(const QString& path) { return QFileInfo(path).size() / qint64(2 * sizeof(float)); }
    // Lets the device write `frames` more frames into the recording.
    static bool recordOn(const QString& path, qint64 frames)
    {
        const qint64 until = FramesIn(path) + frames;
        return QTest::qWaitFor([&] { return FramesIn(path) >= until; }, Bound);
    }

    QString write(const QString& name, const QByteArray& bytes)
    {
        QFile file(dir_.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(file.fileName()));
        return file.fileName();
    }
    // The music's gain at full volume on a new device, once a tune opened.
    float gainOnNewDevice()
    {
        cleanup();
        init();
        Channel music(Device::Sequencer, dir_.filePath("QUARTER.MID"));
        return music.cue() ? audio_->musicGain() : 0.0f;
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
        output_ = qgetenv("SDL_DISKAUDIOFILE");
        QVERIFY(dir_.isValid());
        qputenv("XDG_CACHE_HOME", QFile::encodeName(dir_.filePath("cache")));
        if (qEnvironmentVariableIsEmpty("ZELMOR_SOUNDFONT"))
            qputenv("ZELMOR_SOUNDFONT", TimGM6mb);
        soundFont_ = qEnvironmentVariable("ZELMOR_SOUNDFONT");
        QVERIFY2(QFileInfo(soundFont_).isFile(),
                 qPrintable(soundFont_ + " is not installed: scripts/install-deps.sh installs the soundfonts"));
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
        qputenv("SDL_DISKAUDIOFILE", output_);
    }

    void tuneReportsItsEndWithinOneBuffer()
    {
        Channel music(Device::Sequencer, dir_.filePath("ONE.MID"));
        QVERIFY2(music.cue(), qPrintable(music.media.lastError()));
        QVERIFY(!audio_->soundFont().isEmpty());
        QTRY_COMPARE_WITH_TIMEOUT(music.finished, 1, Bound);
        const std::int64_t late = audio_->lastTuneFrames() - Second;
        QVERIFY2(late >= -SdlAudio::BufferFrames && late <= SdlAudio::BufferFrames,
                 qPrintable(QStringLiteral("end seen %1 frames after the tune's length").arg(late)));
        // Played to its end once; nothing plays it again by itself.
        QVERIFY(renderOn(Second));
        QCOMPARE(music.finished, 1);
    }

    void effectLeavesTheMusicUndisturbed()
    {
        Channel music(Device::Sequencer, dir_.filePath("ONE.MID"));
        Channel effect(Device::WaveAudio, dir_.filePath("BELL.WAV"));
        QVERIFY(music.cue());
        QVERIFY2(effect.cue(), qPrintable(effect.media.lastError()));
        QTRY_COMPARE_WITH_TIMEOUT(effect.finished, 1, Bound);
        QVERIFY(effect.cue()); // a second bell cuts off nothing but the first
        QTRY_COMPARE_WITH_TIMEOUT(music.finished, 1, Bound);
        QVERIFY(qAbs(audio_->lastTuneFrames() - Second) <= SdlAudio::BufferFrames);
        QTRY_COMPARE_WITH_TIMEOUT(effect.finished, 2, Bound);
    }

    void cutOffTuneNeverReportsItsEnd()
    {
        Channel music(Device::Sequencer, dir_.filePath("QUARTER.MID"));
        QVERIFY(music.cue());
        music.file = dir_.filePath("ONE.MID");
        QVERIFY(music.cue());
        QTRY_COMPARE_WITH_TIMEOUT(music.finished, 1, Bound);
        QVERIFY(qAbs(audio_->lastTuneFrames() - Second) <= SdlAudio::BufferFrames);

        // Closed before its end: silence, and no report.
        music.file = dir_.filePath("QUARTER.MID");
        QVERIFY(music.cue());
        music.media.stop();
        QVERIFY(renderOn(Second));
        QCOMPARE(music.finished, 1);
    }

    void closedEffectNeverReportsItsEnd()
    {
        Channel effect(Device::WaveAudio, dir_.filePath("BELL.WAV"));
        QVERIFY(effect.cue());
        effect.media.stop();
        QVERIFY(effect.cue());
        QTRY_COMPARE_WITH_TIMEOUT(effect.finished, 1, Bound);
        QVERIFY(effect.cue());
        effect.media.stop();
        QVERIFY(renderOn(Second));
        QCOMPARE(effect.finished, 1);
    }

    void unplayableFilesFailCleanly_data()
    {
        QTest::addColumn<Device>("device");
        QTest::addColumn<QString>("file");
        QTest::newRow("missing tune") << Device::Sequencer << "NONE.MID";
        QTest::newRow("wave as tune") << Device::Sequencer << "BELL.WAV";
        QTest::newRow("missing effect") << Device::WaveAudio << "NONE.WAV";
        QTest::newRow("not a sound") << Device::WaveAudio << "NOISE.TXT";
    }
    void unplayableFilesFailCleanly()
    {
        QFETCH(Device, device);
        QFETCH(QString, file);
        Channel channel(device, dir_.filePath(file));
        QVERIFY(!channel.cue());
        QVERIFY(!channel.media.lastError().isEmpty());
        QVERIFY(!channel.media.isPlaying());
    }

    // With no usable sound output the channel cannot open; the game goes on.
    void noSoundOutput()
    {
        cleanup();
        const QByteArray driver = qgetenv("SDL_AUDIODRIVER");
        qputenv("SDL_AUDIODRIVER", "no-such-driver");
        init();
        Channel music(Device::Sequencer, dir_.filePath("ONE.MID"));
        QVERIFY(!music.cue());
        QVERIFY(!music.media.lastError().isEmpty());
        QVERIFY(!music.media.isPlaying());
        qputenv("SDL_AUDIODRIVER", driver);
        // The device opens on a later cue once an output is there again.
        QVERIFY2(music.cue(), qPrintable(music.media.lastError()));
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
            Channel music(Device::Sequencer, dir_.filePath("QUARTER.MID"));
            Channel effect(Device::WaveAudio, dir_.filePath("BELL.WAV"));
            QVERIFY2(music.cue(), qPrintable(music.media.lastError()));
            QVERIFY(module.loaded());
            QVERIFY2(effect.cue(), qPrintable(effect.media.lastError()));
            QTRY_COMPARE_WITH_TIMEOUT(effect.finished, 1, Bound);
            QTRY_COMPARE_WITH_TIMEOUT(music.finished, 1, Bound);
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
                Channel music(Device::Sequencer, dir_.filePath("ONE.MID"));
                QVERIFY(!music.cue());
                QVERIFY2(music.media.lastError().startsWith("cannot load the sound module"),
                         qPrintable(music.media.lastError()));
                QVERIFY(!music.media.isPlaying());
            }
            QVERIFY(!module.loaded());
            sound::install(nullptr);
        }
    }

    // ------------------------------------------------------- the soundfont
    // The soundfont named in ZELMOR_SOUNDFONT, or else Debian's General MIDI
    // one; a named one that is missing fails the tune, and the error names it.
    void soundFontChoice_data()
    {
        QTest::addColumn<QString>("named");
        QTest::addColumn<bool>("plays");
        QTest::newRow("this run's") << soundFont_ << true;
        QTest::newRow("missing") << dir_.filePath("none.sf2") << false;
        QTest::newRow("none named") << QString() << true;
    }
    void soundFontChoice()
    {
        QFETCH(QString, named);
        QFETCH(bool, plays);
        qputenv("ZELMOR_SOUNDFONT", QFile::encodeName(named));
        Channel music(Device::Sequencer, dir_.filePath("QUARTER.MID"));
        const bool played = music.cue();
        qputenv("ZELMOR_SOUNDFONT", QFile::encodeName(soundFont_));
        QCOMPARE(played, plays);
        if (!plays)
            QVERIFY2(music.media.lastError().contains(named), qPrintable(music.media.lastError()));
        else if (!named.isEmpty())
            QCOMPARE(audio_->soundFont(), named);
        else
            QVERIFY2(audio_->soundFont().startsWith("/usr/share/sounds/"), qPrintable(audio_->soundFont()));
    }

    // The soundfont's level is measured once and kept in the cache; a damaged
    // cache, or one that cannot be written, costs a measurement, never the
    // music.
    void levelCache_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<double>("share"); // the gain then, of the measured one
        QTest::newRow("kept, level doubled") << "double" << 0.5;
        QTest::newRow("damaged") << "garbage" << 1.0;
        QTest::newRow("unwritable") << "blocked" << 1.0;
    }
    void levelCache()
    {
        QFETCH(QString, damage);
        QFETCH(double, share);
        const QString cache = dir_.filePath(QStringLiteral("cache-") + damage);
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache));
        if (damage == "blocked" && QDir().mkpath(cache))
            write(QStringLiteral("cache-blocked/zelmor"), "a file where the folder goes");
        const float measured = gainOnNewDevice();
        QVERIFY(measured > 0);
        const QDir kept(cache + QStringLiteral("/zelmor/soundfonts"));
        const QStringList files = kept.entryList(QDir::Files);
        QCOMPARE(files.size(), damage == "blocked" ? 0 : 1);
        QByteArray before;
        if (!files.isEmpty()) {
            QFile file(kept.filePath(files.first()));
            QVERIFY(file.open(QIODevice::ReadWrite));
            before = file.readAll();
            QList<QByteArray> lines = before.split('\n');
            lines[1] = damage == "double" ? QByteArray::number(2 * lines[1].toDouble(), 'g', 9) : "garbage";
            file.resize(0);
            file.write(lines.join('\n'));
        }
        const float again = gainOnNewDevice();
        qputenv("XDG_CACHE_HOME", QFile::encodeName(dir_.filePath("cache")));
        QCOMPARE(again, float(measured * share));
        if (damage == "garbage") {
            QFile repaired(kept.filePath(files.first()));
            QVERIFY(repaired.open(QIODevice::ReadOnly));
            QCOMPARE(repaired.readAll(), before);
        }
    }

    // ------------------------------------------------------------ the mix
    // The last stage of the mix: a sum under the knee passes sample for
    // sample; a louder one is held under -1 dBFS, and the gain comes back
    // once it has passed. A clamp before it leaves its mark, which it counts.
    void limiter_data()
    {
        QTest::addColumn<double>("amplitude"); // of the mixed tone
        QTest::addColumn<bool>("clipped");     // at full scale, before the limiter
        QTest::addColumn<double>("lowest");    // the output's peak, at least; 0: unchanged
        QTest::newRow("quiet") << 0.37 << false << 0.0;
        QTest::newRow("at the knee") << 0.7 << false << 0.0;
        QTest::newRow("full scale") << 1.0 << false << 0.84;
        QTest::newRow("twice full scale") << 2.0 << false << 0.85;
        QTest::newRow("clipped before") << 2.0 << true << 0.85;
    }
    void limiter()
    {
        QFETCH(double, amplitude);
        QFETCH(bool, clipped);
        QFETCH(double, lowest);
        sound::MixLimiter limiter;
        const Samples tone = Tone(amplitude, Second / 2, clipped);
        Samples mix = tone;
        limiter.process(mix.data(), Second / 2);
        if (lowest == 0)
            QVERIFY(mix == tone);
        const float peak = Measure(mix).peak;
        QVERIFY2(peak >= lowest && peak <= sound::MixLimiter::Ceiling, qPrintable(QString::number(peak)));
        QCOMPARE(limiter.saturatedSamples() > 0, clipped);
        // A quiet tone a second later: back at its level.
        const Samples quiet = Tone(0.12, 2 * Second);
        Samples after = quiet;
        limiter.process(after.data(), 2 * Second);
        QCOMPARE(Measure(after, Second).peak, Measure(quiet, Second).peak);
    }

    // A jackpot spin and its slot chance at full volume on both channels,
    // with the game's tunes and effects at the moments the game plays them
    // (the jackpot's bell over the slot-chance music is the loudest): nothing
    // clips, in the mixer or after it, the peak stays under -1 dBFS, and the
    // stretch is as loud as with TimGM6mb, whichever soundfont plays it.
    void jackpotSpinNeverClips()
    {
        const QString mix = record();
        sound::CuePlayer game(Asset(QString()), [] { return true; });
        const auto playAfter = [&](double seconds, std::initializer_list<Cue> cues) {
            if (!renderOn(std::int64_t(seconds * Second)))
                return false;
            for (Cue cue : cues) {
                if (!game.play(cue))
                    return false;
            }
            return true;
        };
        QVERIFY(playAfter(0, {Cue::Roll, Cue::Notice}));
        QVERIFY(playAfter(6.4, {Cue::Reach}));
        QVERIFY(playAfter(10.1, {Cue::Jackpot, Cue::ChanceIntro}));
        QTRY_VERIFY_WITH_TIMEOUT(game.musicCue() == Cue::ChanceLoop, Bound);
        QVERIFY(playAfter(4, {}));
        for (int reel = 0; reel < 3; ++reel)
            QVERIFY(playAfter(0.9, {Cue::Stop}));
        QVERIFY(playAfter(3, {}));
        game.stopAll();
        QCOMPARE(audio_->saturatedSamples(), 0);
        cleanup();
        const Levels levels = Measure(FromFirstSound(recorded(mix)));
        qInfo("jackpot spin with %s: peak %.4f, RMS %.2f dBFS, %lld samples at full scale", qPrintable(soundFont_),
              double(levels.peak), levels.rms, levels.fullScale);
        QCOMPARE(levels.fullScale, 0);
        QVERIFY(levels.peak <= BelowMinus1dB);
        // Still as loud as it was made to be (FluidR3_GM: some 1.3 dB louder).
        QVERIFY(levels.peak > 0.73f);
        QVERIFY2(std::abs(levels.rms - MadeForRms) <= 2.0, qPrintable(QString::number(levels.rms)));
    }

    // Music at 0 % and effects at 100 %, chosen before the first sound: the
    // module, loaded by the first cue and not before, takes them. A spin's
    // chime sounds and its music does not, until the music is turned up
    // while it plays.
    void mutedMusicLeavesTheEffects()
    {
        cleanup();
        const QString mix = record();
        qint64 mutedUntil = 0;
        {
            sound::ModuleAudio module(QStringLiteral(ZELMOR_AUDIO_MODULE_PATH));
            sound::install(&module);
            module.setVolume(Device::Sequencer, 0.0);
            module.setVolume(Device::WaveAudio, 1.0);
            QVERIFY(!module.loaded());
            Channel music(Device::Sequencer, Asset(QStringLiteral("ROLL.MID")));
            Channel chime(Device::WaveAudio, Asset(QStringLiteral("YOKOKU.WAV")));
            QVERIFY2(music.cue() && chime.cue(), qPrintable(music.media.lastError()));
            QTRY_COMPARE_WITH_TIMEOUT(chime.finished, 1, Bound);
            QVERIFY(recordOn(mix, Second / 2));
            mutedUntil = FramesIn(mix);
            module.setVolume(Device::Sequencer, 1.0);
            QVERIFY(recordOn(mix, Second / 2));
            QCOMPARE(music.finished, 0);
            sound::install(nullptr);
        }
        const Samples heard = recorded(mix);
        const qint64 chimeFrom = qint64(heard.size() - FromFirstSound(heard).size()) / 2;
        const qint64 chimeTo = chimeFrom + qint64(0.9 * Second) + SdlAudio::BufferFrames;
        // The chime at the level it is made for: its -1 dBFS peak, 4 dB down.
        const float chimePeak = Measure(heard, chimeFrom, chimeTo).peak;
        QVERIFY2(chimePeak > 0.52f && chimePeak < 0.6f, qPrintable(QString::number(chimePeak)));
        QVERIFY(mutedUntil - chimeTo > Second / 4);
        QVERIFY(Measure(heard, chimeTo, mutedUntil).peak < Audible);
        QVERIFY(Measure(heard, mutedUntil + 2 * SdlAudio::BufferFrames).peak > 0.03f);
    }
};

QTEST_MAIN(TestSoundDevice)
#include "test_sound_device.moc"
