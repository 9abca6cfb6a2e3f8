// SPDX-License-Identifier: MIT
// How many spins a minute auto play plays, counted in the machine's own
// simulated time: the clock is stepped by hand, so every reel step, pause,
// reach action and auto play's own pauses before each cover, Start and STOP
// take exactly their intervals at the pace, and nothing waits for the
// computer. The game plays at the normal denominator with money enough never
// to run out; the slot chances it meets are played with their STOP buttons.
//
//   bench_autoplay [spins]
#include "BenchSupport.h"
#include "game/AutoPlay.h"
#include "game/Machine.h"
#include "game/Prompts.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

struct Run {
    int spins = 0;
    int chanceSpins = 0;
    qint64 simulatedMs = 0;
};

Run PlayAuto(int pace, int spins, quint64 seed)
{
    bench::SeededRandom draws(seed);
    seams::install(&draws);
    game::Machine machine(game::Clock::Drive::ByHand);
    game::Machine::StartValues values;
    values.money = 1000000; // below the target offer, above anything the spins can lose
    values.sound = game::SoundSwitch::Off;
    machine.startUp(values);
    machine.clock().setPace(pace);
    game::AutoPlay autoPlay(machine, quint32(seed));
    Run run;
    QObject::connect(&machine, &game::Machine::spinEnded, [&] {
        ++run.spins;
        run.chanceSpins += machine.state().slotChanceSpin;
    });
    game::AutoPlayLimits limits;
    limits.spins = spins;
    autoPlay.start(limits);
    while (autoPlay.running())
        machine.clock().advance(1000);
    run.simulatedMs = machine.clock().now();
    seams::install(static_cast<seams::RandomSource*>(nullptr));
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int spins = argc > 1 ? QByteArray(argv[1]).toInt() : 3000;
    for (int pace : {1, 4}) {
        for (quint64 seed : {1ULL, 2ULL, 3ULL}) {
            const Run run = PlayAuto(pace, spins, seed);
            const double minutes = double(run.simulatedMs) / 60000.0;
            std::printf("pace %d, seed %llu: %d spins (%d in slot chances) in %.1f simulated minutes: "
                        "%.1f spins per minute\n",
                        pace, static_cast<unsigned long long>(seed), run.spins, run.chanceSpins, minutes,
                        run.spins / minutes);
        }
    }
    return 0;
}
