// The machine's math: the exact enumeration behind the odds table, and a
// check of it against a seeded run of the real handlers.
#include "tools/math/MachineMath.h"

#include <QtTest>

#include <cmath>

using zmath::Fraction;

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
};

QTEST_APPLESS_MAIN(TestMath)
#include "test_math.moc"
