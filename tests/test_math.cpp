// SPDX-License-Identifier: MIT
// The machine's math: the walk that computes the tables, and table values
// against seeded runs of the real machine.
#include "tests/support/Rig.h"
#include "tools/math/DrawWalker.h"
#include "tools/math/MachineMath.h"
#include "game/Odds.h"

#include <QtTest>

#include <cmath>
#include <random>

using namespace testing;
using zmath::Fraction;

namespace {

// A count of n trials with chance p lies within 4 standard deviations.
bool countWithin(qint64 count, qint64 n, const Fraction& p)
{
    const double q = p.toDouble();
    const bool inside = std::abs(double(count) - double(n) * q) <= 4 * std::sqrt(double(n) * q * (1 - q));
    if (!inside)
        qWarning("%lld of %lld, expected %g", count, n, double(n) * q);
    return inside;
}

// A Start from `ready` with the seeded draws, then the reel ticks until the spin settles.
void playSpin(MachineRig& rig, const game::MachineState& ready)
{
    rig.machine.restore(ready);
    rig.clearLogs();
    rig.machine.startSpin();
    runReels(rig.machine, 100000);
}

} // namespace

class TestMath : public QObject {
    Q_OBJECT
private slots:
    // The walk learns each draw's size as the step makes it, and a branch
    // may make other draws than its neighbours.
    void walkVisitsEveryBranchOnce()
    {
        zmath::DrawWalker walker;
        QList<QList<qint64>> runs;
        Fraction total;
        walker.walk([&] {
            runs.append(QList<qint64>{game::Draw(3)});
            if (runs.last().front() == 1)
                runs.last().append(game::Draw(15, 5));
            runs.last().append(game::DrawLottery(300));
        }, [&](const Fraction& chance) {
            total += chance;
            if (runs.last() == QList<qint64>{1, 19, 7})
                QCOMPARE(chance, Fraction(1, 45) * Fraction(294, 300));
            if (runs.last() == QList<qint64>{2, 6})
                QCOMPARE(chance, Fraction(1, 3 * 300));
        });
        QCOMPARE(runs.size(), (2 + 15) * 7);
        QCOMPARE(runs.first(), (QList<qint64>{0, 1}));
        QCOMPARE(runs.last(), (QList<qint64>{2, 7}));
        QCOMPARE(total, Fraction(1));
    }

    void decimalsRoundHalfUp_data()
    {
        QTest::addColumn<qint64>("num");
        QTest::addColumn<qint64>("den");
        QTest::addColumn<int>("places");
        QTest::addColumn<QString>("text");
        QTest::newRow("half up") << qint64(1) << qint64(8) << 2 << "0.13";
        QTest::newRow("carries into the units") << qint64(9999) << qint64(10000) << 2 << "1.00";
        QTest::newRow("leading zeros") << qint64(1) << qint64(1000) << 6 << "0.001000";
        QTest::newRow("negative") << qint64(-245) << qint64(32) << 4 << "-7.6563";
    }
    void decimalsRoundHalfUp()
    {
        QFETCH(qint64, num);
        QFETCH(qint64, den);
        QFETCH(int, places);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(Fraction(num, den).decimal(places)), text);
    }

    // The odds of the spin start, exact, against seeded presses of Start.
    void spinStartOddsMatchSeededStarts_data()
    {
        QTest::addColumn<int>("denominator");
        QTest::addColumn<int>("spins");
        QTest::newRow("D = 300") << 300 << 100000;
        QTest::newRow("D = 7") << 7 << 20000;
    }
    void spinStartOddsMatchSeededStarts()
    {
        QFETCH(int, denominator);
        QFETCH(int, spins);
        const zmath::SpinOdds exact = zmath::EnumerateSpinStart(denominator);
        QCOMPARE(exact.jackpot, Fraction(6, denominator));

        MachineRig rig;
        const game::MachineState ready = zmath::ReadyToSpin(denominator);
        SeededRandom seeded(7300 + denominator);
        seams::install(&seeded);
        qint64 jackpot = 0, missedReach = 0, premium = 0, lamps = 0, chime = 0, any = 0;
        for (int i = 0; i < spins; ++i) {
            rig.machine.restore(ready);
            rig.clearLogs();
            rig.machine.startSpin();
            const auto& s = rig.s();
            const bool isJackpot = s.chanceLeft == game::ChanceSpins;
            const bool isPremium = s.noticeOn && s.noticePaceMs == game::PremiumNoticeMs;
            const bool hasLamps = s.noticeOn && s.noticePaceMs == 500;
            const bool hasChime = rig.cues().contains(QStringLiteral("Notice"));
            jackpot += isJackpot;
            missedReach += !isJackpot && s.showsReach;
            premium += isPremium;
            lamps += hasLamps;
            chime += hasChime;
            any += isPremium || hasLamps || hasChime;
        }
        seams::install(&rig.rnd);
        QVERIFY(countWithin(jackpot, spins, exact.jackpot));
        QVERIFY(countWithin(missedReach, spins, exact.missedReach));
        QVERIFY(countWithin(premium, spins, exact.premiumLamps));
        QVERIFY(countWithin(lamps, spins, exact.normalLamps));
        QVERIFY(countWithin(chime, spins, exact.noticeSound));
        QVERIFY(countWithin(any, spins, exact.anyNotice));
    }

    // The first spin of a run: the reels as start-up leaves them give the
    // jackpot symbols an uneven spread (5 comes up a third as often), which
    // whole seeded spins through every reach action must show.
    void firstSpinSymbolsMatchSeededSpins()
    {
        const game::MachineState ready = zmath::ReadyToSpin(6);
        const zmath::Distribution exact = zmath::JackpotSymbol(ready);
        QCOMPARE(exact[5], Fraction(19, 540));
        Fraction paid;
        for (const Fraction& p : exact)
            paid += p;
        QCOMPARE(paid, Fraction(1));

        MachineRig rig;
        SeededRandom seeded(606);
        seams::install(&seeded);
        const int spins = 20000;
        std::array<qint64, 10> symbols{};
        double wins = 0;
        for (int i = 0; i < spins; ++i) {
            playSpin(rig, ready);
            QVERIFY2(rig.s().lastWin > 0, "at D = 6 every spin pays");
            ++symbols[std::size_t(rig.s().centreMark)];
            wins += double(rig.s().lastWin);
        }
        seams::install(&rig.rnd);
        for (int k = 0; k < 10; ++k)
            QVERIFY2(countWithin(symbols[std::size_t(k)], spins, exact[std::size_t(k)]), qPrintable(QString::number(k)));
        // The mean payout at BET 1 (the ready state's BET), within 1%.
        const double mean = zmath::MeanWin(exact, 1).toDouble();
        QVERIFY2(std::abs(wins / spins - mean) < 0.01 * mean, qPrintable(QString::number(wins / spins)));
    }

    // The slot-chance player of the tables: three stop presses at random
    // moments leave the reels lined up one spin in a hundred.
    void slotChanceLineUpsMatchThePlayerModel()
    {
        MachineRig rig;
        game::MachineState ready = zmath::ReadyToSpin(300);
        ready.chanceLeft = game::ChanceSpins;
        SeededRandom seeded(1208);
        seams::install(&seeded);
        std::mt19937 hand(5);
        const int spins = 40000;
        qint64 lineUps = 0;
        for (int i = 0; i < spins; ++i) {
            rig.machine.restore(ready);
            rig.machine.startSpin();
            for (game::Reel reel : {game::Reel::Left, game::Reel::Centre, game::Reel::Right}) {
                for (int ticks = std::uniform_int_distribution<int>(0, 9)(hand); ticks > 0; --ticks)
                    rig.machine.clock().fire(game::TimerId::Reel);
                rig.machine.pressStop(reel);
            }
            QVERIFY(!rig.machine.spinning());
            lineUps += rig.s().lastWin > 0;
        }
        seams::install(&rig.rnd);
        QVERIFY(countWithin(lineUps, spins, zmath::MachineMath().slotChance().lineUp));
    }

    // The data counter's expected values use closed forms; they must be the
    // walk's exact figures.
    void closedFormOddsMatchTheWalk_data()
    {
        QTest::addColumn<int>("denominator");
        QTest::addColumn<int>("bet");
        QTest::addColumn<int>("target");
        QTest::newRow("D 300, BET 1") << 300 << 1 << 0;
        QTest::newRow("D 6, BET 10, target 9") << 6 << 10 << 9;
        QTest::newRow("D 5000, BET 3, target 5") << 5000 << 3 << 5;
    }
    void closedFormOddsMatchTheWalk()
    {
        QFETCH(int, denominator);
        QFETCH(int, bet);
        QFETCH(int, target);
        static zmath::MachineMath math;
        const auto close = [](double a, const Fraction& b) { return std::abs(a - b.toDouble()) < 1e-12 * (1 + std::abs(a)); };
        QVERIFY(close(game::JackpotSpinChance(denominator), math.spinOdds(denominator).jackpot));
        QVERIFY(close(game::CoverHitChance(), math.covers().hit));
        QVERIFY(close(game::SlotChanceLineUpChance(), math.slotChance().lineUp));
        const zmath::TargetPurchase bought = target ? math.target(target) : zmath::TargetPurchase{};
        QVERIFY(close(game::MeanJackpotWin(bet, bought.symbol, bought.rate),
                      zmath::MeanWin(math.jackpotSymbols().longRun, bet, bought)));
        // One spin outside the slot chance: the expected win and cost of its entry.
        game::PlayRecord spin;
        spin.bet = bet;
        spin.denominator = denominator;
        spin.targetSymbol = bought.symbol;
        spin.targetRate = bought.rate;
        const zmath::Return exact = math.normalSpin(denominator, bet, target);
        QVERIFY(close(game::ExpectedWin(spin), exact.win));
        QVERIFY(close(game::ExpectedCost(spin), exact.cost));
    }
};

QTEST_GUILESS_MAIN(TestMath)
#include "test_math.moc"
