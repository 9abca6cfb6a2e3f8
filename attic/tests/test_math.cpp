// The machine's math: the exact enumeration behind the odds table, and a
// check of it against a seeded run of the real handlers.
#include "app/MdlZelmor.h"
#include "platform/Runtime.h"
#include "tests/support/TestSupport.h"
#include "tools/math/MachineMath.h"

#include <QtTest>

#include <cmath>
#include <random>

using namespace testing;
using zmath::Fraction;

namespace {

// |observed - expected| within `z` standard errors of a mean of n samples
// with standard deviation sd.
bool withinSe(double observed, double expected, double sd, double n, double z = 4.0)
{
    return std::abs(observed - expected) <= z * sd / std::sqrt(n);
}

// A count of n Bernoulli trials with chance p.
bool countWithin(qint64 count, qint64 n, const Fraction& p, double z = 4.0)
{
    const double q = p.toDouble();
    return withinSe(double(count) / n, q, std::sqrt(q * (1 - q)), double(n), z);
}

QString describe(const char* what, double observed, const Fraction& exact)
{
    return QStringLiteral("%1: observed %2, exact %3").arg(QLatin1String(what)).arg(observed, 0, 'f', 6)
        .arg(exact.toDouble(), 0, 'f', 6);
}

// A player at the real window: buys the BET at the covers, presses Start,
// lets the reels run by calling the reel timer's tick handler, and in the
// slot chance presses the three stop buttons after a random number of ticks
// each, so that every reel comes to rest on a uniformly random symbol.
class Player {
public:
    Player(FrmMain& form, std::uint64_t seed) : f_(form), hand_(seed) {}

    qint64 clicks = 0, hits = 0;

    // Clicks cover A until the BET reaches `bet`. Money is topped up like a
    // loan when it runs low, below the $1,000,000 that would offer a target.
    void buyBet(int bet)
    {
        while (rt::Val(f_.Label11.caption()) < bet) {
            if (rt::Val(f_.Label1.caption()) < 10)
                f_.Label1.setCaption(QStringLiteral("100000"));
            const double before = rt::Val(f_.Label11.caption());
            f_.Image10_Click();
            ++clicks;
            hits += rt::Val(f_.Label11.caption()) > before;
        }
    }

    // Plays one spin to its end; returns the win it paid (0 for none).
    double spin()
    {
        const bool slotChance = f_.ChanceLeft != 0;
        f_.Command1_Click();
        if (slotChance) {
            stopAfterRandomTicks(&FrmMain::ImgLStop_Click);
            stopAfterRandomTicks(&FrmMain::ImgCStop_Click);
            stopAfterRandomTicks(&FrmMain::ImgRStop_Click);
        }
        for (int guard = 0; f_.SpinL + f_.SpinC + f_.SpinR + f_.AllRotation != 0; ++guard) {
            if (guard > 100000)
                qFatal("a spin did not settle");
            f_.Timer1_Timer();
        }
        return rt::Val(f_.Label12.caption());
    }

private:
    void stopAfterRandomTicks(void (FrmMain::*stop)())
    {
        for (int t = std::uniform_int_distribution<int>(0, 9)(hand_); t > 0; --t)
            f_.Timer1_Timer();
        (f_.*stop)();
    }

    FrmMain& f_;
    std::mt19937_64 hand_;
};

} // namespace

class TestMath : public QObject {
    Q_OBJECT
private slots:
    // ---------------------------------------------------------------- exact side

    void fractionArithmetic()
    {
        QCOMPARE(Fraction(2, 4).text(), std::string("1/2"));
        QCOMPARE(Fraction(-3, -9).text(), std::string("1/3"));
        QCOMPARE(Fraction(3, -9).text(), std::string("-1/3"));
        QCOMPARE((Fraction(1, 6) + Fraction(1, 3)).text(), std::string("1/2"));
        QCOMPARE((Fraction(1, 6) - Fraction(1, 3)).text(), std::string("-1/6"));
        QCOMPARE((Fraction(2, 3) * Fraction(9, 4)).text(), std::string("3/2"));
        QCOMPARE((Fraction(2, 3) / Fraction(4, 9)).text(), std::string("3/2"));
        QCOMPARE(Fraction(40).text(), std::string("40"));
        QVERIFY_THROWS_EXCEPTION(std::domain_error, Fraction(1, 0));
        QVERIFY_THROWS_EXCEPTION(std::overflow_error,
                                 Fraction(Fraction::Int(1) << 100) * Fraction(Fraction::Int(1) << 100));
    }

    void fractionDecimal_data()
    {
        QTest::addColumn<qint64>("num");
        QTest::addColumn<qint64>("den");
        QTest::addColumn<int>("places");
        QTest::addColumn<QString>("text");
        QTest::newRow("exact") << qint64(7) << qint64(8) << 4 << "0.8750";
        QTest::newRow("rounds half up") << qint64(1) << qint64(8) << 2 << "0.13";
        QTest::newRow("rounds down") << qint64(1) << qint64(3) << 6 << "0.333333";
        QTest::newRow("rounds up") << qint64(2) << qint64(3) << 6 << "0.666667";
        QTest::newRow("carries into the units") << qint64(9999) << qint64(10000) << 2 << "1.00";
        QTest::newRow("small") << qint64(1) << qint64(1000) << 6 << "0.001000";
        QTest::newRow("negative") << qint64(-245) << qint64(32) << 4 << "-7.6563";
        QTest::newRow("no places") << qint64(14800) << qint64(1) << 0 << "14800";
    }
    void fractionDecimal()
    {
        QFETCH(qint64, num);
        QFETCH(qint64, den);
        QFETCH(int, places);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(Fraction(num, den).decimal(places)), text);
    }

    void spinOddsFollowTheDenominator_data()
    {
        QTest::addColumn<int>("denominator");
        for (int d : {6, 7, 50, 300, 5000})
            QTest::newRow(qPrintable(QString::number(d))) << d;
    }
    void spinOddsFollowTheDenominator()
    {
        QFETCH(int, denominator);
        const auto o = zmath::EnumerateSpinStart(denominator);
        QCOMPARE(o.jackpot, Fraction(6, denominator));
        for (int a = 1; a <= 6; ++a)
            QCOMPARE(o.action[a], Fraction(1, denominator));
        // Draws 7 and above show a reach one time in three.
        QCOMPARE(o.missedReach, Fraction(denominator - 6, 3 * denominator));
        // The premium notice belongs to jackpot spins alone.
        QCOMPARE(o.premiumLamps, o.jackpot * Fraction(1, 20));
        QCOMPARE(o.normalLamps, o.jackpot * Fraction(4, 20) + o.missedReach * Fraction(11, 30));
        QCOMPARE(o.noticeSound, o.jackpot * Fraction(9, 20) + o.missedReach * Fraction(10, 30));
        // The breakdowns within a kind of spin are complete.
        QCOMPARE(o.jpPremium + o.jpLampsAndSound + o.jpSoundOnly + o.jpNone, Fraction(1));
        if (denominator > 6)
            QCOMPARE(o.mrSound + o.mrLamps + o.mrBoth + o.mrNone, Fraction(1));
    }

    void coversCostFortyDollarsPerBetPoint()
    {
        for (int hit = 0; hit < 4; ++hit)
            QCOMPARE(zmath::CoverHitChance(hit), Fraction(1, 4));
        QCOMPARE(zmath::CostPerBetPoint(), Fraction(40));
    }

    void winFollowsThePayoutTable_data()
    {
        QTest::addColumn<int>("symbol");
        QTest::addColumn<int>("bet");
        QTest::addColumn<int>("target");
        QTest::addColumn<int>("win");
        QTest::newRow("4 at BET 3") << 4 << 3 << 0 << 1200;
        QTest::newRow("7 at BET 2 gets the flat 1000") << 7 << 2 << 0 << 2400;
        QTest::newRow("0 at BET 10") << 0 << 10 << 0 << 100000;
        QTest::newRow("0 ignores a target") << 0 << 10 << 5 << 100000;
        QTest::newRow("target 5 hit") << 5 << 1 << 5 << 51000;
        QTest::newRow("target 5 missed") << 6 << 1 << 5 << 600;
        QTest::newRow("target 9 at BET 10") << 9 << 10 << 9 << 900000;
    }
    void winFollowsThePayoutTable()
    {
        QFETCH(int, symbol);
        QFETCH(int, bet);
        QFETCH(int, target);
        QFETCH(int, win);
        QCOMPARE(zmath::Win(symbol, bet, target), Fraction(win));
    }

    void allRotationStepsMatchTheSeries()
    {
        // The exact solution against the re-lottery series summed numerically.
        const zmath::Distribution exact = zmath::AllRotationSteps();
        Fraction total;
        for (const auto& p : exact)
            total += p;
        QCOMPARE(total, Fraction(1));

        std::array<double, 10> series{}, block{};
        for (int n = 10; n <= 29; ++n)
            block[n % 10] += 1.0 / 20;
        double stillTurning = 1.0;
        std::array<double, 10> current = block;
        for (int k = 0; k < 80; ++k) {
            for (int i = 0; i < 10; ++i)
                series[i] += stillTurning * (2.0 / 3) * current[i];
            std::array<double, 10> next{};
            for (int i = 0; i < 10; ++i)
                for (int m = 5; m <= 19; ++m)
                    next[(i + m) % 10] += current[i] / 15;
            current = next;
            stillTurning /= 3;
        }
        for (int i = 0; i < 10; ++i)
            QVERIFY2(std::abs(exact[i].toDouble() - series[i]) < 1e-12, qPrintable(QString::number(i)));
    }

    void jackpotSymbolIsUniformInTheLongRun()
    {
        for (int a = 1; a <= 6; ++a)
            for (const auto& p : zmath::JackpotSymbol(a, zmath::SteadyLeftPosition()))
                QCOMPARE(p, Fraction(1, 10));
        // A fresh run starts with the left reel at 7: a normal stop after
        // 50..58 steps can show every symbol but 5.
        QCOMPARE(zmath::JackpotSymbol(2, zmath::FirstSpinLeftPosition())[5], Fraction(0));
        QCOMPARE(zmath::JackpotSymbol(6, zmath::FirstSpinLeftPosition())[6], Fraction(0));
    }

    void meanPayoutAndReturns()
    {
        const auto symbol = zmath::Uniform();
        for (int bet = 1; bet <= 10; ++bet) {
            QCOMPARE(zmath::MeanWin(symbol, bet, 0), Fraction(1450 * bet + 300));
            for (int k = 1; k <= 9; ++k)
                QCOMPARE(zmath::MeanWin(symbol, bet, k), Fraction(1450 * bet + 300 + 990 * k * bet));
        }
        const auto slot = zmath::EnumerateSlotChanceSpin();
        QCOMPARE(slot.lineUp, Fraction(1, 100));
        // Normal spins at 1 in 50: 1/50 x 1750 / 40.
        QCOMPARE(zmath::NormalSpinReturn(300, 1).perDollar(), Fraction(7, 8));
        QCOMPARE(zmath::NormalSpinReturn(300, 10).perDollar(), Fraction(37, 50));
        // With the slot chance: p M (1 + 5/100) / (40 b (1 + 5 p)).
        for (int d : {6, 300}) {
            for (int bet : {1, 10}) {
                const Fraction p(6, d);
                const Fraction expected = p * Fraction(1450 * bet + 300) * Fraction(105, 100)
                    / (Fraction(40 * bet) * (Fraction(1) + Fraction(5) * p));
                QCOMPARE(zmath::WholeGameReturn(d, bet).perDollar(), expected);
            }
        }
    }

    // ---------------------------------------------------------------- simulated side

    // 1,000,000 spin starts at D = 300 through the real Start button, sound
    // on (recorded, not played) so that the notice sound can be seen.
    void millionSpinStartsMatchTheOdds()
    {
        Game game;
        FrmMain& f = game.start();
        MdlZelmor::SaveLines[3] = QStringLiteral("0");
        f.ProbDenominator = 300;
        SeededRandom seeded(7300300);
        seams::install(&seeded);
        CueRecorder cues;
        const auto exact = zmath::EnumerateSpinStart(300);

        const qint64 spins = 1000000;
        qint64 jackpot = 0, reach = 0, missed = 0, premium = 0, lamps = 0, sound = 0, any = 0;
        std::array<qint64, 7> action{};
        for (qint64 i = 0; i < spins; ++i) {
            f.SpinL = f.SpinC = f.SpinR = 0;
            f.ChanceLeft = 0;
            f.NoticeOn = 0;
            cues.clear();
            f.Command1_Click();
            const bool isJackpot = f.ChanceLeft == 5;
            const bool hasSound = cues.played().contains(QStringLiteral("effect YOKOKU.WAV"));
            const bool hasLamps = f.NoticeOn == 1 && f.Timer3.interval() == 500;
            const bool hasPremium = f.NoticeOn == 1 && f.Timer3.interval() == 100;
            jackpot += isJackpot;
            if (isJackpot)
                ++action[f.DrawNumber];
            missed += !isJackpot && f.ReachFlag == 1;
            reach += isJackpot || f.ReachFlag == 1;
            premium += hasPremium;
            lamps += hasLamps;
            sound += hasSound;
            any += hasPremium || hasLamps || hasSound;
        }
        seams::install(&game.rnd);

        QVERIFY2(countWithin(jackpot, spins, exact.jackpot), qPrintable(describe("jackpot", double(jackpot) / spins, exact.jackpot)));
        QVERIFY2(countWithin(reach, spins, exact.reachShown()), qPrintable(describe("reach", double(reach) / spins, exact.reachShown())));
        QVERIFY2(countWithin(missed, spins, exact.missedReach), qPrintable(describe("missed reach", double(missed) / spins, exact.missedReach)));
        QVERIFY2(countWithin(premium, spins, exact.premiumLamps), qPrintable(describe("premium", double(premium) / spins, exact.premiumLamps)));
        QVERIFY2(countWithin(lamps, spins, exact.normalLamps), qPrintable(describe("lamps", double(lamps) / spins, exact.normalLamps)));
        QVERIFY2(countWithin(sound, spins, exact.noticeSound), qPrintable(describe("sound", double(sound) / spins, exact.noticeSound)));
        QVERIFY2(countWithin(any, spins, exact.anyNotice), qPrintable(describe("any notice", double(any) / spins, exact.anyNotice)));
        for (int a = 1; a <= 6; ++a)
            QVERIFY2(countWithin(action[a], jackpot, Fraction(1, 6)), qPrintable(QString::number(a)));
    }

    // Whole spins through the covers, the Start button, the reel ticks and the
    // stop buttons (6 spins a cycle: 18,000 at BET 1 and 9,000 at BET 10), at D = 6,
    // where every spin outside the slot chance is a
    // jackpot: the payouts, the jackpot symbols, the slot-chance line-ups,
    // the cost of a BET point and the return per dollar.
    void fullSpinsPayAsComputed_data()
    {
        QTest::addColumn<int>("bet");
        QTest::addColumn<int>("cycles");
        QTest::newRow("BET 1") << 1 << 3000;
        QTest::newRow("BET 10") << 10 << 1500;
    }
    void fullSpinsPayAsComputed()
    {
        QFETCH(int, bet);
        QFETCH(int, cycles);
        Game game;
        FrmMain& f = game.start();
        MdlZelmor::SaveLines[3] = QStringLiteral("1");
        f.ProbDenominator = 6;
        SeededRandom seeded(606 + bet);
        seams::install(&seeded);
        Player player(f, 1234 + bet);

        qint64 jackpots = 0, slotSpins = 0, lineUps = 0;
        double jackpotWins = 0, jackpotWinSquares = 0, slotWins = 0, allWins = 0;
        std::array<qint64, 10> symbols{};
        for (int c = 0; c < cycles; ++c) {
            // One spin outside the slot chance, and the slot chance it opens.
            do {
                const bool slotChance = f.ChanceLeft != 0;
                player.buyBet(bet);
                const double win = player.spin();
                allWins += win;
                if (slotChance) {
                    ++slotSpins;
                    lineUps += win > 0;
                    slotWins += win;
                } else {
                    QVERIFY2(win > 0, "at D = 6 every spin outside the slot chance pays");
                    ++jackpots;
                    jackpotWins += win;
                    jackpotWinSquares += win * win;
                    ++symbols[f.HitSymbol];
                }
            } while (f.ChanceLeft != 0);
        }
        seams::install(&game.rnd);

        QCOMPARE(slotSpins, jackpots * zmath::SlotChanceSpins);
        // Cost of a BET point.
        QVERIFY2(countWithin(player.hits, player.clicks, zmath::CoverHitChance()),
                 qPrintable(describe("cover hit", double(player.hits) / player.clicks, zmath::CoverHitChance())));
        // Mean payout of a jackpot at this BET.
        const Fraction mean = zmath::MeanWin(zmath::JackpotSymbolAllActions(zmath::SteadyLeftPosition()), bet, 0);
        const double observedMean = jackpotWins / jackpots;
        const double sd = std::sqrt(jackpotWinSquares / jackpots - observedMean * observedMean);
        QVERIFY2(withinSe(observedMean, mean.toDouble(), sd, double(jackpots)),
                 qPrintable(describe("mean payout", observedMean, mean)));
        // The jackpot symbol is uniform.
        for (int k = 0; k < 10; ++k)
            QVERIFY2(countWithin(symbols[k], jackpots, Fraction(1, 10)), qPrintable(QString::number(k)));
        // Slot-chance line-ups.
        const auto slot = zmath::EnumerateSlotChanceSpin();
        QVERIFY2(countWithin(lineUps, slotSpins, slot.lineUp),
                 qPrintable(describe("slot line-up", double(lineUps) / slotSpins, slot.lineUp)));
        // Return per dollar over the whole game, within 4 standard errors of
        // the winnings (the spending varies far less).
        const Fraction exactReturn = zmath::WholeGameReturn(6, bet).perDollar();
        const double spent = 10.0 * player.clicks;
        const double perCycleSd = sd * std::sqrt(1.0 + zmath::SlotChanceSpins * 0.01);
        const double tolerance = 4 * perCycleSd * std::sqrt(double(cycles)) / spent + 0.01 * exactReturn.toDouble();
        QVERIFY2(std::abs(allWins / spent - exactReturn.toDouble()) <= tolerance,
                 qPrintable(describe("return per dollar", allWins / spent, exactReturn)));
        qInfo("BET %d: %lld jackpots, mean payout %.1f (exact %s), %lld slot line-ups in %lld, return %.4f (exact %s)",
              bet, jackpots, observedMean, mean.decimal(1).c_str(), lineUps, slotSpins, allWins / spent,
              exactReturn.decimal(4).c_str());
    }
};

QTEST_MAIN(TestMath)
#include "test_math.moc"
