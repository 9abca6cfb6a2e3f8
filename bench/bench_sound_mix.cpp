// SPDX-License-Identifier: MIT
// The loudest stretch of the game as the player hears it: a jackpot spin and
// its slot chance, with the game's tunes and effects at the moments the game
// plays them (bench_sound_session's timings), rendered on SDL's disk driver
// faster than real time, then measured from the file:
//
//   SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=mix.raw SDL_DISKAUDIODELAY=0 build/bench/bench_sound_mix [music% effects%]
//
// Prints the peak, the samples at full scale and the loudest second, from the
// first sound on (the device renders silence while the soundfont loads), and
// the samples the mixer clipped before the limiter.
#include "sound/CuePlayer.h"
#include "sound/sdl/SdlAudio.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <cmath>
#include <cstdio>
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
    int peak = 0;
    long long fullScale = 0;
    double rms = 0;
};

Stretch Measure(const std::vector<qint16>& mix, std::size_t from, std::size_t to)
{
    Stretch s;
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) {
        const int v = mix[i];
        s.peak = std::max(s.peak, std::abs(v));
        s.fullScale += v == 32767 || v == -32768 ? 1 : 0;
        sum += double(v) * v;
    }
    s.rms = to > from ? std::sqrt(sum / double(to - from)) : 0;
    return s;
}

double Db(double level)
{
    return 20 * std::log10(std::max(level, 1.0) / 32768.0);
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
        const bool played = playAfter(0, {Cue::Roll, Cue::Notice}) && playAfter(6.4, {Cue::Reach})
            && playAfter(10.1, {Cue::Jackpot, Cue::ChanceIntro})
            && RenderUntil([&] { return game.musicCue() == Cue::ChanceLoop; })
            && playAfter(4, {}) && playAfter(0.9, {Cue::Stop}) && playAfter(0.9, {Cue::Stop})
            && playAfter(0.9, {Cue::Stop}) && playAfter(3, {});
        if (!played) {
            std::fprintf(stderr, "the device did not play: %s\n", qPrintable(game.lastError()));
            return 1;
        }
        game.stopAll();
        clipped = audio.saturatedSamples();
        sound::install(nullptr);
    }

    QFile raw(QString::fromLocal8Bit(file));
    if (!raw.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = raw.readAll();
    const auto* samples = reinterpret_cast<const qint16*>(bytes.constData());
    const std::size_t count = std::size_t(bytes.size()) / 4 * 2;
    std::size_t first = 0;
    while (first < count && samples[first] == 0)
        ++first;
    const std::vector<qint16> mix(samples + first - first % 2, samples + count);
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
    std::printf("music %.0f%%, effects %.0f%%: %.1f s from the first sound\n", music * 100, effects * 100,
                double(mix.size()) / 2 / Second);
    std::printf("peak %d (%.2f dBFS), RMS %.1f dBFS, %lld of %zu samples at full scale (%.3f%%)\n", all.peak,
                Db(all.peak), Db(all.rms), all.fullScale, mix.size(), 100.0 * double(all.fullScale) / double(mix.size()));
    std::printf("loudest second: from %zu s, peak %d, %lld at full scale, RMS %.1f dBFS\n", loudestAt, loudest.peak,
                loudest.fullScale, Db(loudest.rms));
    std::printf("clipped in the mixer, before the limiter: %lld\n", clipped);
    return 0;
}
