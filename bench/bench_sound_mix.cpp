// SPDX-License-Identifier: MIT
// The loudest stretch of the game as the player hears it: a jackpot spin and
// its slot chance, with the game's tunes and effects at the moments the game
// plays them (bench_sound_session's timings), rendered on SDL's disk driver
// faster than real time, then measured from the file:
//
//   SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=mix.raw SDL_DISKAUDIODELAY=0 build/bench/bench_sound_mix [music% effects%]
//
// ZELMOR_SOUNDFONT names the soundfont (a path). Prints the peak, the samples
// at full scale and the loudest second, from the first sound on (the device
// renders silence while the soundfont loads); the mix's peak before the
// limiter, and the samples clipped there; and the process's CPU time from
// the first cue to the last, the mixing's cost.
#include "sound/CuePlayer.h"
#include "sound/sdl/SdlAudio.h"

#include <QCoreApplication>
#include <QFile>

#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <functional>
#include <initializer_list>
#include <vector>

using game::Cue;
using sound::SdlAudio;

namespace {

constexpr int Second = SdlAudio::Rate;

bool RenderUntil(const std::function<bool()>& done)
{
    for (int spins = 0; spins < 10000000; ++spins) {
        if (done())
            return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
    }
    return false;
}

struct Stretch {
    float peak = 0;
    long long fullScale = 0;
    double rms = 0;
};

Stretch Measure(const std::vector<float>& mix, std::size_t from, std::size_t to)
{
    Stretch s;
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) {
        const float v = std::abs(mix[i]);
        s.peak = std::max(s.peak, v);
        s.fullScale += v >= 1.0f ? 1 : 0;
        sum += double(v) * v;
    }
    s.rms = to > from ? std::sqrt(sum / double(to - from)) : 0;
    return s;
}

double Db(double level)
{
    return 20 * std::log10(std::max(level, 1e-6));
}

double CpuSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// SDL_mixer's post effect sees the mix before the limiter (the post-mix).
std::atomic<float> peakBeforeLimiter{0};
void TapMix(int, void* stream, int len, void*)
{
    const auto* samples = static_cast<const float*>(stream);
    float peak = peakBeforeLimiter;
    for (int i = 0; i < len / int(sizeof(float)); ++i)
        peak = std::max(peak, std::abs(samples[i]));
    peakBeforeLimiter = peak;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QByteArray file = qgetenv("SDL_DISKAUDIOFILE");
    if (qgetenv("SDL_AUDIODRIVER") != "disk" || file.isEmpty()) {
        std::fprintf(stderr, "run on the disk driver: SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=mix.raw\n");
        return 2;
    }
    const double music = argc > 2 ? std::atof(argv[1]) / 100 : 1.0;
    const double effects = argc > 2 ? std::atof(argv[2]) / 100 : 1.0;
    long long clipped = 0;
    double cpu = 0;
    QString soundFont;
    {
        SdlAudio audio;
        sound::install(&audio);
        audio.setVolume(sound::Device::Sequencer, music);
        audio.setVolume(sound::Device::WaveAudio, effects);
        sound::CuePlayer game(QStringLiteral(ZELMOR_ASSET_DIR "/"), [] { return true; });
        const auto playAfter = [&](double seconds, std::initializer_list<Cue> cues) {
            const std::int64_t until = audio.renderedFrames() + std::int64_t(seconds * Second);
            if (!RenderUntil([&] { return audio.renderedFrames() >= until; }))
                return false;
            for (Cue cue : cues) {
                if (!game.play(cue))
                    return false;
            }
            return true;
        };
        // The first tune opens the device and loads the soundfont, before
        // the tap and the CPU clock start.
        const bool started = playAfter(0, {Cue::Roll});
        Mix_RegisterEffect(MIX_CHANNEL_POST, &TapMix, nullptr, nullptr);
        const double cpuBefore = CpuSeconds();
        const bool played = started && playAfter(0, {Cue::Notice}) && playAfter(6.4, {Cue::Reach})
            && playAfter(10.1, {Cue::Jackpot, Cue::ChanceIntro})
            && RenderUntil([&] { return game.musicCue() == Cue::ChanceLoop; })
            && playAfter(4, {}) && playAfter(0.9, {Cue::Stop}) && playAfter(0.9, {Cue::Stop})
            && playAfter(0.9, {Cue::Stop}) && playAfter(3, {});
        if (!played) {
            std::fprintf(stderr, "the device did not play: %s\n", qPrintable(game.lastError()));
            return 1;
        }
        game.stopAll();
        cpu = CpuSeconds() - cpuBefore;
        Mix_UnregisterEffect(MIX_CHANNEL_POST, &TapMix);
        clipped = audio.saturatedSamples();
        soundFont = audio.soundFont();
        sound::install(nullptr);
    }

    QFile raw(QString::fromLocal8Bit(file));
    if (!raw.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = raw.readAll();
    const auto* samples = reinterpret_cast<const float*>(bytes.constData());
    const std::size_t count = std::size_t(bytes.size()) / (2 * sizeof(float)) * 2;
    std::size_t first = 0;
    while (first < count && samples[first] == 0)
        ++first;
    const std::vector<float> mix(samples + first - first % 2, samples + count);
    const Stretch all = Measure(mix, 0, mix.size());
    Stretch loudest;
    std::size_t loudestAt = 0;
    for (std::size_t from = 0; from < mix.size(); from += 2 * Second) {
        const Stretch second = Measure(mix, from, std::min(mix.size(), from + 2 * Second));
        if (second.fullScale > loudest.fullScale || (second.fullScale == loudest.fullScale && second.peak > loudest.peak)) {
            loudest = second;
            loudestAt = from / (2 * Second);
        }
    }
    std::printf("%s, music %.0f%%, effects %.0f%%: %.1f s from the first sound\n", qPrintable(soundFont), music * 100,
                effects * 100, double(mix.size()) / 2 / Second);
    std::printf("peak %.4f (%.2f dBFS), RMS %.2f dBFS, %lld of %zu samples at full scale (%.3f%%)\n",
                double(all.peak), Db(all.peak), Db(all.rms), all.fullScale, mix.size(),
                100.0 * double(all.fullScale) / double(mix.size()));
    std::printf("loudest second: from %zu s, peak %.4f, %lld at full scale, RMS %.1f dBFS\n", loudestAt,
                double(loudest.peak), loudest.fullScale, Db(loudest.rms));
    std::printf("before the limiter: peak %.4f (%.2f dBFS), %lld samples clipped\n", double(peakBeforeLimiter.load()),
                Db(peakBeforeLimiter.load()), clipped);
    std::printf("CPU time, first cue to last: %.3f s for %.1f s of sound (%.2f%% of one core in real time)\n", cpu,
                double(mix.size()) / 2 / Second, 100.0 * cpu / (double(mix.size()) / 2 / Second));
    return 0;
}
