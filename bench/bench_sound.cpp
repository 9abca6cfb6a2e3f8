// Sound figures on SDL's dummy driver, which plays in real time:
//  - effect latency: from the PlayEffect call to the first non-silent sample
//    the mixer renders. A post-mix tap sees every buffer as it is mixed; the
//    latency is the tap's clock at that buffer plus the sample's offset in it.
//  - the user-interface thread's time for a music cue and an effect cue;
//  - the gap when a tune repeats: the mixed frames between the buffer in which
//    a tune's end was seen and the first buffer of its next run.
#include "app/MdlZelmor.h"
#include "sound/sdl/SdlAudio.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>
#include <vector>

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

std::int64_t NowNs() { return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count(); }

// Watches the mixed stream on the audio thread.
struct Tap {
    std::atomic<bool> armed{false};
    std::atomic<std::int64_t> soundAtNs{0};
    std::atomic<std::int64_t> lastSilentNs{0};
};

void PostMix(void* data, Uint8* stream, int len)
{
    auto* tap = static_cast<Tap*>(data);
    const std::int64_t now = NowNs();
    const auto* samples = reinterpret_cast<const std::int16_t*>(stream);
    const int count = len / 2;
    int first = -1;
    for (int i = 0; i < count && first < 0; ++i) {
        if (std::abs(int(samples[i])) > 16)
            first = i;
    }
    if (first < 0) {
        tap->lastSilentNs = now;
        return;
    }
    if (tap->armed.exchange(false))
        tap->soundAtNs = now + std::int64_t(first / 2) * 1000000000LL / sound::SdlAudio::Rate;
}

struct Summary {
    double p50, p99, max;
};

Summary Summarise(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    auto at = [&](double q) { return values[std::min(values.size() - 1, size_t(q * double(values.size())))]; };
    return {at(0.5), at(0.99), values.back()};
}

double Ms(std::int64_t ns) { return double(ns) / 1e6; }

template <typename Cond>
bool WaitFor(Cond cond, int ms = 2000)
{
    const auto until = Clock::now() + std::chrono::milliseconds(ms);
    while (!cond()) {
        if (Clock::now() > until)
            return false;
        std::this_thread::sleep_for(100us);
    }
    return true;
}

// The game's sound files, or stand-ins when the build has none.
void EnsureSounds(testing::Game& game)
{
    for (const char* tune : {"ROLL.MID", "REACH.MID", "ALLR.MID", "FEVER.MID", "Tvsa1.MID", "Tvsa2.MID", "Tvsa3.MID"}) {
        if (!QFile::exists(game.path(QString::fromLatin1(tune)))) {
            std::printf("(no %s in the build: using a one-note stand-in)\n", tune);
            game.writeFile(QString::fromLatin1(tune), testing::MidiFile(960 * 10));
        }
    }
    for (const char* effect : {"YOKOKU.WAV", "STOP.WAV", "ATARI.WAV"}) {
        if (!QFile::exists(game.path(QString::fromLatin1(effect)))) {
            std::printf("(no %s in the build: using a sine stand-in)\n", effect);
            game.writeFile(QString::fromLatin1(effect), testing::WaveFile(0.3));
        }
    }
    game.writeFile(QStringLiteral("GAP.MID"), testing::MidiFile(240));
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::Game game;
    EnsureSounds(game);
    FrmMain& form = game.start();
    MdlZelmor::SaveLines[3] = QStringLiteral("0");
    std::mt19937 rng(7);

    std::printf("driver %s, %d frames a buffer at %d Hz (%.1f ms)\n", qgetenv("SDL_AUDIODRIVER").constData(),
                sound::SdlAudio::BufferFrames, sound::SdlAudio::Rate,
                1000.0 * sound::SdlAudio::BufferFrames / sound::SdlAudio::Rate);

    // Cold start without preparation: the device opens on the first sound,
    // the soundfont loads on the first tune.
    {
        sound::SdlAudio cold;
        sound::install(&cold);
        auto t = NowNs();
        if (!form.PlayEffect(QStringLiteral("STOP.WAV"))) {
            std::printf("no sound device: %s\n", qPrintable(form.MMControl2.lastError()));
            return 1;
        }
        std::printf("first effect cue (opens the device): %.2f ms\n", Ms(NowNs() - t));
        t = NowNs();
        form.PlayMusic(QStringLiteral("ROLL.MID"));
        std::printf("first music cue, unprepared (loads %s): %.2f ms\n", qPrintable(cold.soundFont()),
                    Ms(NowNs() - t));
        form.MMControl1.setCommand(QStringLiteral("Close"));
        form.MMControl2.setCommand(QStringLiteral("Close"));
    }
    // As the game does it: start-up prepares, the first spin comes later.
    sound::SdlAudio audio;
    sound::install(&audio);
    form.ConfigureSound();
    std::this_thread::sleep_for(1s);
    auto t = NowNs();
    form.PlayMusic(QStringLiteral("ROLL.MID"));
    form.PlayEffect(QStringLiteral("YOKOKU.WAV"));
    std::printf("first spin's cues (device opens, soundfont ready): %.2f ms\n", Ms(NowNs() - t));
    form.CloseMusic();

    Tap tap;
    Mix_SetPostMix(&PostMix, &tap);

    // Effect latency, from a random phase of the buffer clock each time.
    std::vector<double> latency, effectCue;
    const QString effects[] = {QStringLiteral("YOKOKU.WAV"), QStringLiteral("STOP.WAV"), QStringLiteral("ATARI.WAV")};
    for (int i = 0; i < 150; ++i) {
        form.MMControl2.setCommand(QStringLiteral("Close"));
        const std::int64_t closed = NowNs();
        WaitFor([&] { return tap.lastSilentNs > closed; });
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % 12000));
        tap.armed = true;
        const std::int64_t t0 = NowNs();
        form.PlayEffect(effects[i % 3]);
        effectCue.push_back(Ms(NowNs() - t0));
        if (WaitFor([&] { return !tap.armed; }))
            latency.push_back(Ms(tap.soundAtNs - t0));
    }
    Mix_SetPostMix(nullptr, nullptr);

    // Cue cost with the music rendering on the audio thread at the same time.
    std::vector<double> musicCue;
    const QString tunes[] = {QStringLiteral("ROLL.MID"),  QStringLiteral("REACH.MID"), QStringLiteral("ALLR.MID"),
                             QStringLiteral("FEVER.MID"), QStringLiteral("Tvsa1.MID"), QStringLiteral("Tvsa3.MID")};
    for (int i = 0; i < 300; ++i) {
        std::this_thread::sleep_for(std::chrono::microseconds(2000 + rng() % 18000));
        const std::int64_t t0 = NowNs();
        form.PlayMusic(tunes[i % 6]);
        musicCue.push_back(Ms(NowNs() - t0));
        if (i % 3 == 0) {
            const std::int64_t t1 = NowNs();
            form.PlayEffect(effects[i % 3]);
            effectCue.push_back(Ms(NowNs() - t1));
        }
    }

    // Repeats of a quarter-second tune through the music rotation.
    std::vector<double> gaps;
    form.PlayMusic(QStringLiteral("GAP.MID"));
    QElapsedTimer clock;
    clock.start();
    std::int64_t seenEnd = 0;
    while (clock.elapsed() < 6000 && gaps.size() < 20) {
        QCoreApplication::processEvents();
        std::this_thread::sleep_for(200us);
        const std::int64_t end = audio.tuneEndedAt();
        if (end != seenEnd && audio.tuneStartedAt() >= end) {
            gaps.push_back(double(audio.tuneStartedAt() - end));
            seenEnd = end;
        }
    }
    form.CloseMusic();

    const Summary l = Summarise(latency), m = Summarise(musicCue), e = Summarise(effectCue), g = Summarise(gaps);
    std::printf("effect latency, call to first sound rendered (%zu cues): p50 %.2f ms, p99 %.2f ms, max %.2f ms\n",
                latency.size(), l.p50, l.p99, l.max);
    std::printf("UI thread, music cue (%zu): p50 %.3f ms, p99 %.3f ms, max %.3f ms\n", musicCue.size(), m.p50, m.p99,
                m.max);
    std::printf("UI thread, effect cue (%zu): p50 %.3f ms, p99 %.3f ms, max %.3f ms\n", effectCue.size(), e.p50, e.p99,
                e.max);
    std::printf("repeat gap (%zu repeats), in frames between the end's buffer and the next run: p50 %.0f, max %.0f\n",
                gaps.size(), g.p50, g.max);
    return 0;
}
