// SPDX-License-Identifier: MIT
// How long one reel tick takes, and how many whole spins a second the game
// can play when nothing waits for the timers.
//
//   bench_tick [ticks] [games-seconds]
//
// 1. One reel tick of the machine's clock, stepped by hand, with all three
//    reels turning, followed by repainting the window's client area into an
//    offscreen image (what the screen would show after the tick): median and
//    99th percentile.
// 2. The same with every picture reloaded from disk (picture cache off).
// 3. The same in a window zoomed to 3x, its pictures from the 3x set.
// 3b. The same in a window of 1920 x 1050, as maximized on a 1920 x 1080
//    screen under a 30-pixel panel (the machine at about 3.6x, its pictures
//    from the 4x set), the machine at fast play's 4x pace.
// 4. The tick alone, on the machine without a window.
// 5. Whole games on the machine without a window: cover clicks until Start
//    shows, Start, the reel ticks fired by hand until the spin has settled
//    (slot-chance spins are stopped with the stop buttons), repeated; spins
//    per second.
#include "BenchSupport.h"
#include "game/Machine.h"
#include "ui/MainWindow.h"
#include "ui/Pictures.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

using bench::Stats;
using game::TimerId;

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

// A machine started as a fresh game with the sound off: the sound device is
// not what is measured.
void StartUp(game::Machine& machine, qint64 money = 100)
{
    game::Machine::StartValues values;
    values.money = money;
    values.sound = game::SoundSwitch::Off;
    machine.startUp(values);
}

// Keeps all three reels turning, and their timer ticking, for as long as
// the benchmark needs.
void KeepTurning(game::Machine& machine)
{
    game::MachineState& s = machine.editState();
    for (game::Reel reel : game::AllReels) {
        s.reel(reel).turning = true;
        s.reel(reel).stopCount = 1 << 30;
    }
    s.allRotation = false;
    machine.clock().setInterval(TimerId::Reel, game::ReelTickMs);
    machine.clock().setRunning(TimerId::Reel, true);
}

// Times `tick` (the first 50 warm the caches up and are left out).
TickStats MeasureTicks(int ticks, const std::function<void()>& tick)
{
    std::vector<double> wall, cpu;
    wall.reserve(std::size_t(ticks));
    cpu.reserve(std::size_t(ticks));
    for (int i = 0; i < ticks + 50; ++i) {
        QElapsedTimer clock;
        clock.start();
        const double cpuStart = ThreadCpuMs();
        tick();
        const double cpuMs = ThreadCpuMs() - cpuStart;
        const double elapsed = double(clock.nsecsElapsed()) / 1e6;
        if (i >= 50) {
            wall.push_back(elapsed);
            cpu.push_back(cpuMs);
        }
    }
    return {bench::Summarise(wall), bench::Summarise(cpu)};
}

// The part of the client area a tick invalidates: the nine reel rows.
QRegion ReelRegion(const ui::MainWindow& window)
{
    QRegion region;
    for (const ui::PictureBox* row : window.reelRows)
        region += row->geometry();
    return region;
}

// A tick as the machine's clock gives it, then what the window repaints
// after it: the reel rows and what lies under them.
TickStats MeasureWindowTicks(ui::MainWindow& window, game::Machine& machine, int ticks)
{
    QWidget* client = window.centralWidget();
    QImage image(client->size(), QImage::Format_ARGB32_Premultiplied);
    const QRegion reels = ReelRegion(window);
    KeepTurning(machine);
    return MeasureTicks(ticks, [&] {
        machine.clock().fire(TimerId::Reel);
        client->render(&image, QPoint(), reels);
    });
}

// The first stop button still showing, pressed.
void PressNextStop(game::Machine& machine)
{
    for (game::Reel reel : game::AllReels) {
        if (machine.state().actions.stopsLive[std::size_t(reel)]) {
            machine.pressStop(reel);
            return;
        }
    }
}

// Plays whole games for about the given time; returns spins per second.
double MeasureGames(double seconds, long& spins, long& jackpots)
{
    bench::SeededRandom seeded(1208);
    seams::install(&seeded);
    game::Machine machine(game::Clock::Drive::ByHand);
    StartUp(machine, 100000);
    const game::MachineState& s = machine.state();
    QElapsedTimer clock;
    clock.start();
    spins = 0;
    jackpots = 0;
    while (clock.nsecsElapsed() < qint64(seconds * 1e9)) {
        // Keep the money where covers can be bought and no target dialog opens.
        if (s.money < 1000 || s.money > 900000)
            machine.editState().money = 100000;
        while (!s.actions.startLive)
            machine.pickCover(0);
        const bool slotChance = s.chanceLeft > 0;
        machine.startSpin();
        ++spins;
        // The reel timer ticks while it runs and something turns.
        for (int tick = 1; machine.clock().ticking(TimerId::Reel) && machine.spinning(); ++tick) {
            machine.clock().fire(TimerId::Reel);
            // The player stops a slot-chance spin's reels, one every few ticks.
            if (slotChance && tick % 7 == 0)
                PressNextStop(machine);
        }
        if (s.lastWin != 0)
            ++jackpots;
    }
    const double elapsed = double(clock.nsecsElapsed()) / 1e9;
    seams::install(static_cast<seams::RandomSource*>(nullptr));
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

    TickStats cached, uncached, zoomed, maximized, machineOnly;
    {
        game::Machine machine(game::Clock::Drive::ByHand);
        StartUp(machine);
        KeepTurning(machine);
        machineOnly = MeasureTicks(ticks, [&] { machine.clock().fire(TimerId::Reel); });
    }
    {
        game::Machine machine(game::Clock::Drive::ByHand);
        StartUp(machine);
        ui::MainWindow window(machine, QStringLiteral(ZELMOR_ASSET_DIR "/"));
        window.show();
        QApplication::processEvents();
        ui::PictureFiles::setCaching(true);
        cached = MeasureWindowTicks(window, machine, ticks);
        ui::PictureFiles::setCaching(false);
        uncached = MeasureWindowTicks(window, machine, ticks);
        ui::PictureFiles::setCaching(true);
        window.setZoom(3.0);
        QApplication::processEvents();
        zoomed = MeasureWindowTicks(window, machine, ticks);
        machine.clock().setPace(4);
        window.resize(1920, 1050);
        QApplication::processEvents();
        maximized = MeasureWindowTicks(window, machine, ticks);
        std::printf("maximized-equivalent window: client area %dx%d, machine at %.3fx\n",
                    window.centralWidget()->width(), window.centralWidget()->height(), window.zoom());
    }
    long spins = 0, jackpots = 0;
    const double spinsPerSecond = MeasureGames(gameSeconds, spins, jackpots);

    std::printf("Reel tick, three reels turning (%d ticks each; ms)\n", ticks);
    std::printf("%-44s %9s %9s %9s %9s %9s\n", "case", "median", "p99", "mean", "cpu med", "cpu p99");
    auto row = [](const char* name, const TickStats& t) {
        std::printf("%-44s %9.4f %9.4f %9.4f %9.4f %9.4f\n", name, t.wall.median, t.wall.p99, t.wall.mean,
                    t.cpu.median, t.cpu.p99);
    };
    row("tick + repaint, pictures cached", cached);
    row("tick + repaint, every picture read from disk", uncached);
    row("tick + repaint at 3x zoom, pictures cached", zoomed);
    row("tick + repaint, 1920x1050 window, pace 4", maximized);
    row("tick alone, the machine without a window", machineOnly);
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
