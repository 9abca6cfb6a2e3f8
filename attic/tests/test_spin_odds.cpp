// The odds of a spin. First exactly: every value of every draw the Start
// button makes is enumerated through the real handler, each path weighted by
// its probability, and the outcome read from what the handler did. Then
// sampled: a long seeded run whose frequencies must fall inside 99.9% bounds.
#include "app/MdlZelmor.h"
#include "tests/support/TestSupport.h"

#include <QtTest>

#include <cmath>

using namespace testing;
using namespace MdlZelmor;

namespace {

// What one spin start turned out to be, read from the window.
struct Outcome {
    bool jackpot = false;     // five slot-chance spins armed
    bool allRotation = false; // DrawNumber 1
    bool reach = false;       // the reach flag is set
    bool premium = false;     // notice lamps at 100 ms
    bool lamps = false;       // notice lamps at 500 ms
    bool sound = false;       // the notice sound played
};

void resetForSpin(FrmMain& f, CueRecorder& cues)
{
    f.SpinL = f.SpinC = f.SpinR = 0;
    f.ChanceLeft = 0;
    f.NoticeBlink = f.NoticeOn = 0;
    f.Timer3.setInterval(1000);
    cues.clear();
}

Outcome readOutcome(const FrmMain& f, const CueRecorder& cues)
{
    Outcome o;
    o.jackpot = f.ChanceLeft == 5;
    o.allRotation = f.DrawNumber == 1;
    o.reach = f.ReachFlag == 1;
    o.premium = f.NoticeBlink == 1 && f.Timer3.interval() == 100;
    o.lamps = f.NoticeBlink == 1 && f.Timer3.interval() == 500;
    o.sound = cues.played().contains(QStringLiteral("effect YOKOKU.WAV"));
    return o;
}

// Weighted sums of outcomes; every weight is a whole number of the unit 1/total.
struct Tally {
    qint64 total = 0, jackpot = 0, allRotation = 0, reachNoJackpot = 0;
    qint64 jpPremium = 0, jpLampsSound = 0, jpSoundOnly = 0, jpNone = 0, jpOther = 0;
    qint64 rSound = 0, rLamps = 0, rBoth = 0, rPremium = 0;
    qint64 plainWithNotice = 0;

    void add(const Outcome& o, qint64 w)
    {
        total += w;
        if (o.jackpot) {
            jackpot += w;
            allRotation += o.allRotation ? w : 0;
            if (o.premium && !o.sound)
                jpPremium += w;
            else if (o.lamps && o.sound)
                jpLampsSound += w;
            else if (!o.premium && !o.lamps && o.sound)
                jpSoundOnly += w;
            else if (!o.premium && !o.lamps && !o.sound)
                jpNone += w;
            else
                jpOther += w;
        } else if (o.reach) {
            reachNoJackpot += w;
            rSound += o.sound ? w : 0;
            rLamps += o.lamps ? w : 0;
            rBoth += o.sound && o.lamps ? w : 0;
            rPremium += o.premium ? w : 0;
        } else if (o.premium || o.lamps || o.sound) {
            plainWithNotice += w;
        }
    }
};

// Runs the Start button with the given draws; false if it did not use exactly them.
bool runStart(Game& game, FrmMain& f, CueRecorder& cues, const std::vector<double>& draws)
{
    resetForSpin(f, cues);
    game.rnd.clear();
    game.rnd.script(draws);
    f.Command1_Click();
    return game.rnd.remaining() == 0 && !game.rnd.exhausted();
}

} // namespace

class TestSpinOdds : public QObject {
    Q_OBJECT
private slots:
    void exactOdds_data()
    {
        QTest::addColumn<int>("denominator");
        QTest::newRow("D=300") << 300;
        QTest::newRow("D=6") << 6;
    }
    void exactOdds()
    {
        QFETCH(int, denominator);
        Game game;
        FrmMain& f = game.play();
        f.ProbDenominator = denominator;
        SaveLines[3] = QStringLiteral("0");
        CueRecorder cues;

        // Unit: 1 / (3 * D * 1800). A reach draw and a lottery number weigh
        // 1800 together; a jackpot notice splits that into 20 paths of 90, a
        // false notice into 30 x 30 paths of 2.
        Tally t;
        int paths = 0;
        for (int r = 0; r < 3; ++r) {
            for (int d = 1; d <= denominator; ++d) {
                const std::vector<double> base = spinDraws(0, 0, 0, r, d, denominator);
                const bool jackpot = d <= 6;
                const bool reach = !jackpot && r == 1;
                if (jackpot) {
                    for (int x = 0; x < 20; ++x) {
                        auto draws = base;
                        draws.push_back(pick(x, 20));
                        QVERIFY2(runStart(game, f, cues, draws), "jackpot spin: one notice draw of 20");
                        t.add(readOutcome(f, cues), 90);
                        ++paths;
                    }
                } else if (reach) {
                    for (int y = 0; y < 30; ++y) {
                        for (int z = 0; z < 30; ++z) {
                            auto draws = base;
                            draws.push_back(pick(y, 30));
                            draws.push_back(pick(z, 30));
                            if (!runStart(game, f, cues, draws))
                                QFAIL("reach spin: two notice draws of 30");
                            t.add(readOutcome(f, cues), 2);
                            ++paths;
                        }
                    }
                } else {
                    QVERIFY2(runStart(game, f, cues, base), "plain spin: no notice draw");
                    t.add(readOutcome(f, cues), 1800);
                    ++paths;
                }
                QCOMPARE(f.DrawNumber, d);
            }
        }
        const qint64 D = denominator;
        const qint64 unit = 3 * D * 1800;
        QCOMPARE(t.total, unit); // the paths cover every possibility once
        QVERIFY(paths > 0);

        QCOMPARE(t.jackpot * D, 6 * unit);                   // 6/D
        QCOMPARE(t.allRotation * D, unit);                   // 1/D
        QCOMPARE(t.reachNoJackpot * D * 3, (D - 6) * unit);  // (D-6)/D x 1/3
        QCOMPARE(t.jpPremium * 20, t.jackpot * 1);            // premium 1/20
        QCOMPARE(t.jpLampsSound * 20, t.jackpot * 4);         // lamps and sound 4/20
        QCOMPARE(t.jpSoundOnly * 20, t.jackpot * 5);          // sound only 5/20
        QCOMPARE(t.jpNone * 20, t.jackpot * 10);              // none 10/20
        QCOMPARE(t.jpOther, qint64(0));
        QCOMPARE(t.rSound * 30, t.reachNoJackpot * 10);      // sound 10/30
        QCOMPARE(t.rLamps * 30, t.reachNoJackpot * 11);      // lamps 11/30
        QCOMPARE(t.rBoth * 900, t.reachNoJackpot * 110);     // independent of each other
        QCOMPARE(t.rPremium, qint64(0));                      // no premium without a jackpot
        QCOMPARE(t.plainWithNotice, qint64(0));               // no notice without a reach
    }

    // Slot-chance spins draw no jackpot and no reach, whatever the numbers.
    void slotChanceSpinsNeverDrawAJackpot()
    {
        Game game;
        FrmMain& f = game.play();
        f.ProbDenominator = 6;
        CueRecorder cues;
        for (int r = 0; r < 3; ++r) {
            for (int d = 1; d <= 6; ++d) {
                resetForSpin(f, cues);
                f.ChanceLeft = 4;
                game.rnd.clear();
                game.rnd.script(spinDraws(0, 0, 0, r, d, 6));
                f.Command1_Click();
                QCOMPARE(f.DrawNumber, 0);
                QCOMPARE(f.ReachFlag, 0);
                QCOMPARE(f.ChanceLeft, 3);
                QCOMPARE(game.rnd.remaining(), std::size_t(0));
            }
        }
    }

    // A long seeded run through the real handler: every frequency lies within
    // 3.29 standard deviations (99.9%) of its exact chance.
    void sampledOdds()
    {
        Game game;
        FrmMain& f = game.play();
        SaveLines[3] = QStringLiteral("0");
        SeededRandom seeded(20261208);
        seams::install(&seeded);
        CueRecorder cues;

        const int spins = 120000;
        int jackpot = 0, allRotation = 0, reach = 0, premium = 0, jpLampsSound = 0, jpSoundOnly = 0;
        int rSound = 0, rLamps = 0;
        int stopL[9] = {}, stopC[9] = {}, stopR[9] = {};
        for (int i = 0; i < spins; ++i) {
            resetForSpin(f, cues);
            f.Command1_Click();
            ++stopL[f.StopCountL - 50];
            ++stopC[f.StopCountC - 95];
            ++stopR[f.StopCountR - 75];
            const Outcome o = readOutcome(f, cues);
            if (o.jackpot) {
                ++jackpot;
                allRotation += o.allRotation;
                premium += o.premium;
                jpLampsSound += o.lamps && o.sound;
                jpSoundOnly += !o.lamps && !o.premium && o.sound;
            } else if (o.reach) {
                ++reach;
                rSound += o.sound;
                rLamps += o.lamps;
            }
        }
        seams::install(&game.rnd);

        auto within = [](int count, int n, double p) {
            const double mean = n * p;
            const double sd = std::sqrt(n * p * (1 - p));
            return std::abs(count - mean) <= 3.29 * sd;
        };
        QVERIFY2(within(jackpot, spins, 6.0 / 300), qPrintable(QString::number(jackpot)));
        QVERIFY2(within(allRotation, spins, 1.0 / 300), qPrintable(QString::number(allRotation)));
        QVERIFY2(within(reach, spins, 294.0 / 300 / 3), qPrintable(QString::number(reach)));
        QVERIFY(within(premium, jackpot, 1.0 / 20));
        QVERIFY(within(jpLampsSound, jackpot, 4.0 / 20));
        QVERIFY(within(jpSoundOnly, jackpot, 5.0 / 20));
        QVERIFY(within(rSound, reach, 10.0 / 30));
        QVERIFY(within(rLamps, reach, 11.0 / 30));
        for (int k = 0; k < 9; ++k) {
            QVERIFY(within(stopL[k], spins, 1.0 / 9));
            QVERIFY(within(stopC[k], spins, 1.0 / 9));
            QVERIFY(within(stopR[k], spins, 1.0 / 9));
        }
    }
};

QTEST_MAIN(TestSpinOdds)
#include "test_spin_odds.moc"
