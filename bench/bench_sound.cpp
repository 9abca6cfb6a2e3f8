// SPDX-License-Identifier: MIT
// Sound figures on SDL's dummy driver, which plays in real time:
//  - effect latency: from the effect cue to the first non-silent sample the
//    mixer renders. A tap on the mixed stream sees every buffer as it is
//    mixed; the latency is the tap's clock at that buffer plus the sample's
//    offset in it.
//  - the user-interface thread's time for a music cue and an effect cue;
//  - the gap when a tune repeats: the mixed frames between the buffer in which
//    a tune's end was seen and the first buffer of its next run.
#include "BenchSupport.h"
#include "Smf.h"
#include "sound/CuePlayer.h"
#include "sound/sdl/SdlAudio.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <chrono>
#include <cstdio>
#include <random>
#include <thread>
#include <vector>

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using game::Cue;

namespace {

std::int64_t NowNs() { return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count(); }

// Watches the mixed stream (float) on the audio thread, as SDL_mixer's post
// effect: it sees the sum before the game's limiter. A sample above 16 in 16
// bits is the first sound.
struct Tap {
    std::atomic<bool> armed{false};
    std::atomic<std::int64_t> soundAtNs{0};
    std::atomic<std::int64_t> lastSilentNs{0};
};

void PostMix(int, void* stream, int len, void* data)
{
    auto* tap = static_cast<Tap*>(data);
    const std::int64_t now = NowNs();
    const auto* samples = static_cast<const float*>(stream);
    const int count = len / int(sizeof(float));
    int first = -1;
    for (int i = 0; i < count && first < 0; ++i) {
        if (std::abs(samples[i]) > 16.0f / 32768.0f)
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

// A quarter-second tune: one note at 120 beats a minute.
bool WriteShortTune(const QString& path)
{
    smf::Song song(480);
    song.conductor().tempo(0, 120);
    smf::Track& piano = song.add("Piano", 0);
    piano.program(0, 0);
    piano.note(0, 240, 72, 100);
    return song.write(path.toStdString(), 240);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    QCoreApplication app(argc, argv);
    bench::ProgramCopy program;
    for (Cue cue : {Cue::Roll, Cue::Notice, Cue::Stop, Cue::Jackpot}) {
        if (!QFile::exists(program.file(sound::CueFile(cue)))) {
            std::printf("no %s in %s: build the assets first\n", qPrintable(sound::CueFile(cue)), ZELMOR_ASSET_DIR);
            return 1;
        }
    }
    sound::CuePlayer player(program.path(), [] { return true; });
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
        if (!player.play(Cue::Stop)) {
            std::printf("no sound device: %s\n", qPrintable(player.lastError()));
            return 1;
        }
        std::printf("first effect cue (opens the device): %.2f ms\n", Ms(NowNs() - t));
        t = NowNs();
        player.play(Cue::Roll);
        std::printf("first music cue, unprepared (loads %s): %.2f ms\n", qPrintable(cold.soundFont()),
                    Ms(NowNs() - t));
        player.stopAll();
    }
    // As the game does it: switching the sound on prepares, the first spin
    // comes later.
    sound::SdlAudio audio;
    sound::install(&audio);
    player.prepare();
    std::this_thread::sleep_for(1s);
    auto t = NowNs();
    player.play(Cue::Roll);
    player.play(Cue::Notice);
    std::printf("first spin's cues (device opens, soundfont ready): %.2f ms\n", Ms(NowNs() - t));
    player.stopMusic();

    Tap tap;
    Mix_RegisterEffect(MIX_CHANNEL_POST, &PostMix, nullptr, &tap);

    // Effect latency, from a random phase of the buffer clock each time.
    std::vector<double> latency, effectCue;
    const Cue effects[] = {Cue::Notice, Cue::Stop, Cue::Jackpot};
    for (int i = 0; i < 150; ++i) {
        player.stopAll(); // no music plays here: only the effect channel closes
        const std::int64_t closed = NowNs();
        WaitFor([&] { return tap.lastSilentNs > closed; });
        std::this_thread::sleep_for(std::chrono::microseconds(rng() % 12000));
        tap.armed = true;
        const std::int64_t t0 = NowNs();
        player.play(effects[i % 3]);
        effectCue.push_back(Ms(NowNs() - t0));
        if (WaitFor([&] { return !tap.armed; }))
            latency.push_back(Ms(tap.soundAtNs - t0));
    }
    Mix_UnregisterEffect(MIX_CHANNEL_POST, &PostMix);

    // Cue cost with the music rendering on the audio thread at the same time.
    std::vector<double> musicCue;
    const Cue tunes[] = {Cue::Roll, Cue::Reach, Cue::AllRotation, Cue::Fever, Cue::ChanceIntro, Cue::Calm};
    for (int i = 0; i < 300; ++i) {
        std::this_thread::sleep_for(std::chrono::microseconds(2000 + rng() % 18000));
        const std::int64_t t0 = NowNs();
        player.play(tunes[i % 6]);
        musicCue.push_back(Ms(NowNs() - t0));
        if (i % 3 == 0) {
            const std::int64_t t1 = NowNs();
            player.play(effects[i % 3]);
            effectCue.push_back(Ms(NowNs() - t1));
        }
    }
    player.stopAll();

    // Repeats of a quarter-second tune through the music rotation: a second
    // program directory whose spin tune is that short one.
    std::vector<double> gaps;
    bench::ProgramCopy shortTunes;
    QFile::remove(shortTunes.file(sound::CueFile(Cue::Roll)));
    if (!WriteShortTune(shortTunes.file(sound::CueFile(Cue::Roll)))) {
        std::printf("cannot write the short tune\n");
        return 1;
    }
    sound::CuePlayer repeater(shortTunes.path(), [] { return true; });
    repeater.play(Cue::Roll);
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
    repeater.stopMusic();

    const Summary l = Summarise(latency), m = Summarise(musicCue), e = Summarise(effectCue);
    std::printf("effect latency, cue to first sound rendered (%zu cues): p50 %.2f ms, p99 %.2f ms, max %.2f ms\n",
                latency.size(), l.p50, l.p99, l.max);
    std::printf("UI thread, music cue (%zu): p50 %.3f ms, p99 %.3f ms, max %.3f ms\n", musicCue.size(), m.p50, m.p99,
                m.max);
    std::printf("UI thread, effect cue (%zu): p50 %.3f ms, p99 %.3f ms, max %.3f ms\n", effectCue.size(), e.p50, e.p99,
                e.max);
    if (gaps.empty()) {
        std::printf("repeat gap: the short tune did not repeat\n");
        return 1;
    }
    const Summary g = Summarise(gaps);
    std::printf("repeat gap (%zu repeats), in frames between the end's buffer and the next run: p50 %.0f, max %.0f\n",
                gaps.size(), g.p50, g.max);
    return 0;
}
