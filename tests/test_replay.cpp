// SPDX-License-Identifier: MIT
// The replay: ten spins at each of three probabilities from fixed random
// numbers, every reel tick's interval, faces and lamps, every draw, cue and
// notice, and the money after each spin, compared line by line with the
// trace kept in tests/data/replay.txt. The trace was taken from the machine
// as it played before its rules were last reorganised; any change to the
// draws, their order or number, the reels, the lamps or the money shows here.
#include "tests/support/Rig.h"

#include <QFile>
#include <QtTest>

using namespace testing;

namespace {

QString LampLetter(game::LampState state)
{
    switch (state) {
    case game::LampState::Dark: return QStringLiteral("D");
    case game::LampState::Lit: return QStringLiteral("L");
    case game::LampState::Premium: return QStringLiteral("P");
    }
    return QStringLiteral("?");
}

// Counts the draws of the random numbers it hands on.
class CountingRandom : public seams::RandomSource {
public:
    explicit CountingRandom(std::uint64_t seed) : seeded_(seed) {}
    double next() override
    {
        ++draws;
        return seeded_.next();
    }
    int draws = 0;

private:
    SeededRandom seeded_;
};

// One reel tick with both lamp timers after it, as the trace has it:
// the interval waited, the nine rows, the frame and notice lamps.
QString Tick(MachineRig& rig)
{
    game::Clock& clock = rig.machine.clock();
    QString step = QString::number(clock.interval(game::TimerId::Reel)) + QLatin1Char(':');
    clock.fire(game::TimerId::Reel);
    clock.fire(game::TimerId::FrameLamps);
    clock.fire(game::TimerId::NoticeLamps);
    return step + reelFaces(rig.s()) + LampLetter(rig.s().lamps.frame()) + LampLetter(rig.s().lamps.notice())
        + QLatin1Char(' ');
}

// Borrows when broke, hits covers up to BET 3 (buying the 7 on every third spin when offered),
// starts, stops a slot-chance spin's reels after a few ticks each, and
// ticks until the spin settles.
QStringList PlaySpin(MachineRig& rig, CountingRandom& random, int spin)
{
    rig.clearLogs();
    random.draws = 0;
    rig.prompts.targetAnswers.assign(spin % 3 == 0 ? 10 : 0, 7);
    for (int tries = 0; tries < 5 && rig.s().money < game::CoverPrice && rig.s().bet == 0; ++tries)
        rig.machine.borrow100();
    for (int guard = 0; (!rig.s().actions.startLive || rig.s().bet < 3) && rig.s().money >= game::CoverPrice
         && ++guard < 50;)
        rig.machine.pickCover(spin % 4);
    if (!rig.s().actions.startLive)
        return {QStringLiteral("no start")};
    rig.machine.startSpin();
    QString trace;
    int ticks = 0;
    if (rig.s().slotChanceSpin) {
        for (game::Reel reel : game::AllReels) {
            for (int k = 0; k < 3 + spin % 5; ++k, ++ticks)
                trace += Tick(rig);
            rig.machine.pressStop(reel);
            trace += QStringLiteral("stop ");
        }
    }
    for (; rig.s().reelsRunning && rig.machine.spinning() && ticks < 5000; ++ticks)
        trace += Tick(rig);
    QStringList notices;
    for (const game::Notice& notice : rig.prompts.notices)
        notices << NoticeName(notice.kind);
    const game::MachineState& s = rig.s();
    return {QStringLiteral("spin %1 draws %2 money %3 bet %4 win %5 counter %6 left %7 payline %8 cues %9 notices %10")
                .arg(spin)
                .arg(random.draws)
                .arg(s.money)
                .arg(s.bet)
                .arg(s.lastWin)
                .arg(s.chanceCounter)
                .arg(s.chanceLeft)
                .arg(payLine(s), rig.cues().join(QLatin1Char(',')), notices.join(QLatin1Char(','))),
            QStringLiteral("  ") + trace};
}

} // namespace

class TestReplay : public QObject {
    Q_OBJECT
private slots:
    void tenSpinsPlayAsTheTraceSays()
    {
        QStringList lines;
        for (int denominator : {6, 30, 300}) {
            MachineRig rig;
            CountingRandom random(4242 + denominator);
            seams::install(&random);
            rig.edit().denominator = denominator;
            rig.edit().money = denominator == 6 ? 9999000 : 2000;
            lines << QStringLiteral("D %1").arg(denominator);
            for (int spin = 1; spin <= 10; ++spin)
                lines << PlaySpin(rig, random, spin);
            seams::install(&rig.rnd);
        }
        QFile file(QStringLiteral(ZELMOR_TEST_DATA "/replay.txt"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QStringList expected = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), expected.size());
        for (int i = 0; i < lines.size(); ++i)
            QCOMPARE(lines[i].trimmed(), expected[i].trimmed());
    }
};

QTEST_GUILESS_MAIN(TestReplay)
#include "test_replay.moc"
