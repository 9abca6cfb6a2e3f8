// How long one reel tick takes, and how many whole spins a second the game
// logic can play when nothing waits for the timers.
//
//   bench_tick [ticks] [games-seconds]
//
// 1. One Timer1 tick with all three reels turning, followed by repainting the
//    window's client area into an offscreen image (what the screen would show
//    after the tick): median and 99th percentile.
// 2. The same with every picture reloaded from disk (picture cache off).
// 3. The tick alone, without the repaint.
// 4. Whole games headless: cover clicks until Start shows, Start, the reel
//    ticks fired by calls until the spin has settled (slot-chance spins are
//    stopped with the stop buttons), repeated; spins per second.
#include "app/MdlZelmor.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <vector>

using namespace testing;

namespace {

struct Stats {
    double median = 0, p99 = 0, mean = 0;
};

// Wall time includes whatever else the machine runs; the thread's own CPU
// time shows what the tick itself costs.
double ThreadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

struct TickStats {
    Stats wall, cpu;
};

Stats Summarise(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    Stats s;
    s.median = ms[ms.size() / 2];
    s.p99 = ms[std::min(ms.size() - 1, ms.size() * 99 / 100)];
    for (double v : ms)
        s.mean += v;
    s.mean /= double(ms.size());
    return s;
}

// Keeps all three reels turning for as long as the benchmark needs.
void KeepTurning(FrmMain& f)
{
    f.SpinL = f.SpinC = f.SpinR = 1;
    f.StopCountL = f.StopCountC = f.StopCountR = 1 << 30;
    f.AllRotation = 0;
    f.Timer1.setEnabled(false); // ticks come from the benchmark, not the event loop
}

// The part of the client area a tick invalidates: the nine reel rows.
QRegion ReelRegion(const FrmMain& f)
{
    QRegion region;
    for (const ui::Image* row : {&f.Image1, &f.Image2, &f.Image3, &f.Image4, &f.Image5, &f.Image6, &f.Image7,
                                 &f.Image8, &f.Image9})
        region += row->widget()->geometry();
    return region;
}

TickStats MeasureTicks(FrmMain& f, int ticks, bool repaint)
{
    QWidget* client = f.centralWidget();
    QImage image(client->size(), QImage::Format_ARGB32_Premultiplied);
    const QRegion reels = ReelRegion(f);
    KeepTurning(f);
    std::vector<double> wall, cpu;
    wall.reserve(std::size_t(ticks));
    cpu.reserve(std::size_t(ticks));
    for (int i = 0; i < ticks + 50; ++i) {
        QElapsedTimer clock;
        clock.start();
        const double cpuStart = ThreadCpuMs();
        f.Timer1_Timer();
        if (repaint) // what the window repaints after a tick: the reel rows and what lies under them
            client->render(&image, QPoint(), reels);
        const double cpuMs = ThreadCpuMs() - cpuStart;
        const double elapsed = double(clock.nsecsElapsed()) / 1e6;
        if (i >= 50) { // the first ticks warm the caches up
            wall.push_back(elapsed);
            cpu.push_back(cpuMs);
        }
    }
    return {Summarise(wall), Summarise(cpu)};
}

// Plays whole games for about the given time; returns spins per second.
double MeasureGames(double seconds, long& spins, long& jackpots)
{
    Game game;
    SeededRandom seeded(1208);
    seams::install(&seeded);
    FrmMain& f = game.play();
    MdlZelmor::SaveLines[3] = QStringLiteral("1"); // no sound: the device is not what is measured
    QElapsedTimer clock;
    clock.start();
    spins = 0;
    jackpots = 0;
    while (clock.nsecsElapsed() < qint64(seconds * 1e9)) {
        // Keep the money where covers can be bought and no target dialog opens.
        const double money = f.Label1.caption().toDouble();
        if (money < 1000 || money > 900000)
            f.Label1.setCaption(QStringLiteral("100000"));
        while (!f.Command1.visible())
            f.Image10.click();
        const int chanceBefore = f.ChanceLeft;
        f.Command1.click();
        ++spins;
        int tick = 0;
        while (f.SpinL + f.SpinC + f.SpinR + f.AllRotation > 0) {
            f.Timer1_Timer();
            ++tick;
            // The player stops a slot-chance spin's reels, one every few ticks.
            if (chanceBefore > 0 && tick % 7 == 0) {
                for (ui::Image* stop : {&f.ImgLStop, &f.ImgCStop, &f.ImgRStop}) {
                    if (stop->visible()) {
                        stop->click();
                        break;
                    }
                }
            }
        }
        if (f.Label12.caption() != QStringLiteral("0"))
            ++jackpots;
    }
    const double elapsed = double(clock.nsecsElapsed()) / 1e9;
    seams::install(&game.rnd);
    return double(spins) / elapsed;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int ticks = argc > 1 ? std::max(100, atoi(argv[1])) : 5000;
    const double gameSeconds = argc > 2 ? std::max(0.5, atof(argv[2])) : 3.0;

    TickStats cached, uncached, logicOnly;
    {
        Game game;
        FrmMain& f = game.play();
        f.show();
        QApplication::processEvents();
        ui::PictureFiles::setCaching(true);
        cached = MeasureTicks(f, ticks, true);
        logicOnly = MeasureTicks(f, ticks, false);
        ui::PictureFiles::setCaching(false);
        uncached = MeasureTicks(f, ticks, true);
        ui::PictureFiles::setCaching(true);
    }
    long spins = 0, jackpots = 0;
    const double spinsPerSecond = MeasureGames(gameSeconds, spins, jackpots);

    std::printf("Timer1 tick, three reels turning (%d ticks each; ms)\n", ticks);
    std::printf("%-44s %9s %9s %9s %9s %9s\n", "case", "median", "p99", "mean", "cpu med", "cpu p99");
    auto row = [](const char* name, const TickStats& t) {
        std::printf("%-44s %9.4f %9.4f %9.4f %9.4f %9.4f\n", name, t.wall.median, t.wall.p99, t.wall.mean,
                    t.cpu.median, t.cpu.p99);
    };
    row("tick + repaint, pictures cached", cached);
    row("tick + repaint, every picture read from disk", uncached);
    row("tick alone, pictures cached", logicOnly);
    std::printf("%-44s %8.1fx %8.1fx %9s %8.1fx %8.1fx\n", "disk / cached (tick + repaint)",
                uncached.wall.median / cached.wall.median, uncached.wall.p99 / cached.wall.p99, "",
                uncached.cpu.median / cached.cpu.median, uncached.cpu.p99 / cached.cpu.p99);
    std::printf("targets: median < 0.2 ms, p99 < 1 ms (the tick period is 75 ms)\n\n");
    std::printf("Whole games, headless, timers driven by calls, sound off\n");
    std::printf("%-44s %9ld\n", "spins played", spins);
    std::printf("%-44s %9ld\n", "spins that paid", jackpots);
    std::printf("%-44s %9.0f\n", "spins per second", spinsPerSecond);
    return 0;
}
