// SPDX-License-Identifier: MIT
// The first sound of a game as the player meets it: the game loads the sound
// module (SDL2_mixer, FluidSynth and the libraries behind them) on its first
// cue, the device opens, and the first tune loads the soundfont and finds its
// level. Each run is a fresh process, since a module loads once per process;
// the program runs itself that many times and prints the medians. The runs
// share a cache folder of their own: the first measures the soundfont's level,
// the others read it from there.
//
//   SDL_AUDIODRIVER=dummy [ZELMOR_SOUNDFONT=file.sf2] build/bench/bench_first_sound [runs]   (default 9)
#include "sound/MediaChannel.h"
#include "sound/ModuleAudio.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

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
    QTemporaryDir cache;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), cache.path());
    std::vector<double> firsts, tunes;
    double measured = 0;
    for (int i = 0; i <= runs; ++i) {
        QProcess run;
        run.setProcessEnvironment(environment);
        run.start(app.applicationFilePath(), {QStringLiteral("--once")});
        if (!run.waitForFinished(60000) || run.exitCode() != 0) {
            std::fprintf(stderr, "run %d failed: %s\n", i + 1, run.readAllStandardError().constData());
            return 1;
        }
        const QList<QByteArray> figures = run.readAllStandardOutput().trimmed().split(' ');
        if (i == 0) {
            measured = figures.value(1).toDouble();
            continue;
        }
        firsts.push_back(figures.value(0).toDouble());
        tunes.push_back(figures.value(1).toDouble());
    }
    const QByteArray soundFont = qgetenv("ZELMOR_SOUNDFONT");
    std::printf("driver %s, soundfont %s, median of %d fresh processes (ms)\n", qgetenv("SDL_AUDIODRIVER").constData(),
                soundFont.isEmpty() ? "as found" : soundFont.constData(), runs);
    std::printf("first cue, an effect (loads the sound module, opens the device): %.1f\n", Median(firsts));
    std::printf("first tune (loads the soundfont, its level from the cache):     %.1f\n", Median(tunes));
    std::printf("first tune of the first run (measures the soundfont's level):   %.1f\n", measured);
    return 0;
}
