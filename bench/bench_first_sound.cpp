// SPDX-License-Identifier: MIT
// The first sound of a game as the player meets it: the game loads the sound
// module (SDL2_mixer, FluidSynth and the libraries behind them) on its first
// cue, the device opens, and the first tune loads the soundfont. Each run is
// a fresh process, since a module loads once per process; the program runs
// itself that many times and prints the medians.
//
//   SDL_AUDIODRIVER=dummy build/bench/bench_first_sound [runs]   (default 9)
#include "sound/MediaChannel.h"
#include "sound/ModuleAudio.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

double MsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

bool Cue(sound::MediaChannel& channel, const char* file)
{
    return channel.play(QStringLiteral(ZELMOR_ASSET_DIR "/") + QString::fromLatin1(file));
}

// One run: prints "<effect ms> <tune ms>".
int Once()
{
    sound::ModuleAudio module(QStringLiteral(ZELMOR_AUDIO_MODULE_PATH));
    sound::install(&module);
    sound::MediaChannel effect(sound::Device::WaveAudio);
    sound::MediaChannel music(sound::Device::Sequencer);
    auto start = std::chrono::steady_clock::now();
    if (!Cue(effect, "STOP.WAV")) {
        std::fprintf(stderr, "no sound: %s\n", qPrintable(effect.lastError()));
        return 1;
    }
    const double first = MsSince(start);
    start = std::chrono::steady_clock::now();
    if (!Cue(music, "ROLL.MID")) {
        std::fprintf(stderr, "no music: %s\n", qPrintable(music.lastError()));
        return 1;
    }
    std::printf("%.2f %.2f\n", first, MsSince(start));
    effect.stop();
    music.stop();
    sound::install(nullptr);
    return 0;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.contains(QStringLiteral("--once")))
        return Once();

    const int runs = args.size() > 1 ? std::max(1, args[1].toInt()) : 9;
    std::vector<double> firsts, tunes;
    for (int i = 0; i < runs; ++i) {
        QProcess run;
        run.start(app.applicationFilePath(), {QStringLiteral("--once")});
        if (!run.waitForFinished(60000) || run.exitCode() != 0) {
            std::fprintf(stderr, "run %d failed: %s\n", i + 1, run.readAllStandardError().constData());
            return 1;
        }
        const QList<QByteArray> figures = run.readAllStandardOutput().trimmed().split(' ');
        firsts.push_back(figures.value(0).toDouble());
        tunes.push_back(figures.value(1).toDouble());
    }
    std::printf("driver %s, median of %d fresh processes (ms)\n", qgetenv("SDL_AUDIODRIVER").constData(), runs);
    std::printf("first cue, an effect (loads the sound module, opens the device): %.1f\n", Median(firsts));
    std::printf("first tune (loads the soundfont):                               %.1f\n", Median(tunes));
    return 0;
}
