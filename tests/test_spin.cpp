// SPDX-License-Identifier: MIT
// The Start button: what one press decides (run lengths, reach, lottery,
// notices, slot chance) and what it signals, the sound-device fallback,
// lottery denominators beyond any whole number, and the odds of a long
// seeded run.
#include "tests/support/Rig.h"

#include <QtTest>

#include <cmath>

using namespace testing;
using game::SoundSwitch;
using game::TimerId;

namespace {

bool drewExactly(const ScriptedRandom& rnd) { return rnd.remaining() == 0 && !rnd.exhausted(); }

struct SpinNotice {
    SoundSwitch sound;
    int reach;                 // the reach draw, 0..2
    int drawNumber;            // the lottery
    std::vector<double> draws; // the notice draws
    QString heard;
    int lampsMs;               // the notice lamps' pace; 0: they stay dark
    bool chime = false;        // the chime was drawn, heard or not
};

QList<int> counts(const game::MachineState& s)
{
    return {s.reels[0].stopCount, s.reels[1].stopCount, s.reels[2].stopCount};
}

bool allTurning(const game::MachineState& s)
{
    return s.reels[0].turning && s.reels[1].turning && s.reels[2].turning;
}

std::vector<double> drawsOf(const SpinNotice& notice)
{
    std::vector<double> draws = spinDraws(0, 0, 0, notice.reach, notice.drawNumber);
    draws.insert(draws.end(), notice.draws.begin(), notice.draws.end());
    return draws;
}

} // namespace

Q_DECLARE_METATYPE(SpinNotice)

class TestSpin : public QObject {
    Q_OBJECT
private slots:
    void pressSetsUpTheSpin_data()
    {
        QTest::addColumn<int>("run");
        QTest::addColumn<int>("drawNumber");
        QTest::newRow("shortest runs") << 0 << 100;
        QTest::newRow("longest runs, last lottery value") << 8 << 300;
    }
    void pressSetsUpTheSpin()
    {
        QFETCH(int, run);
        QFETCH(int, drawNumber);
        MachineRig rig;
        rig.edit().reels[1].faces[0].visible = false; // as an instant line-up left it
        rig.machine.clock().advance(30);
        rig.hitAndStart(spinDraws(run, run, run, 0, drawNumber));
        const auto& s = rig.s();
        QCOMPARE(actionsText(s.actions), QStringLiteral("busy"));
        QCOMPARE(s.covers[0], game::CoverFace::Down); // the hit card turned back
        QVERIFY(allTurning(s));
        QCOMPARE(counts(s), QList<int>({50 + run, 95 + run, 75 + run}));
        QVERIFY(!s.showsReach);
        QCOMPARE(s.drawNumber, drawNumber);
        QVERIFY(!s.reachShown && !s.lamps.noticeBlinking() && !s.noticeOn && s.chanceLeft == 0);
        QVERIFY(!reelFaces(s).contains(QLatin1Char('.')));
        QCOMPARE(rig.sound, QStringList{"Roll"});
        // The reel timer runs at 75 ms, its period started by the press.
        QVERIFY(s.reelsRunning && s.reelPaceMs == game::ReelTickMs);
        QVERIFY(rig.machine.clock().ticking(TimerId::Reel));
        QCOMPARE(rig.machine.clock().interval(TimerId::Reel), game::ReelTickMs);
        QCOMPARE(rig.machine.clock().untilNext(TimerId::Reel), qint64(game::ReelTickMs));
        QVERIFY(drewExactly(rig.rnd)); // no notice is drawn without a reach
        QVERIFY(rig.prompts.notices.empty());
    }

    // What a press signals, each fact once with its new value: the controls
    // busy, the hit card turned back, each reel with all its rows showing,
    // and the decided spin for the history.
    void pressSignals()
    {
        MachineRig rig;
        for (game::ReelState& reel : rig.edit().reels)
            reel.faces[0].visible = reel.faces[2].visible = false; // as an instant line-up left them
        rig.rnd.push(pick(0, 4));
        rig.machine.pickCover(0);
        SignalLog log(rig.machine);
        rig.rnd.script(spinDraws(0, 0, 0, 0, 100));
        rig.machine.startSpin();
        QCOMPARE(log.byFact(), SignalLog::byFact("actions busy | cover 0 Down | reel L 765 | reel C 876 | "
                                                 "reel R 987 | spin started"));
    }

    // A jackpot spin (lottery 1..6) draws one notice of 20 and arms five
    // slot-chance spins; lottery 1 keeps the reach draw. A reach that will not
    // pay draws two notices of 30: the chime, then the lamps. Without sound
    // the draws are the same and nothing is heard.
    void notice_data()
    {
        QTest::addColumn<SpinNotice>("notice");
        auto jackpot = [](int x, int drawNumber, const char* heard, int lampsMs) {
            QTest::addRow("x=%d, lottery %d", x, drawNumber)
                << SpinNotice{SoundSwitch::On, 2, drawNumber, {pick(x, 20)}, heard, lampsMs, x > 10};
        };
        jackpot(0, 1, "Roll", 0);
        jackpot(1, 2, "Roll", 100);
        jackpot(2, 3, "Roll", 0);
        jackpot(10, 4, "Roll", 0);
        jackpot(11, 5, "Roll Notice", 0);
        jackpot(15, 6, "Roll Notice", 0);
        jackpot(16, 1, "Roll Notice", 500);
        jackpot(19, 6, "Roll Notice", 500);
        auto reach = [](int y, int z, const char* heard, int lampsMs) {
            QTest::addRow("reach, y=%d z=%d", y, z)
                << SpinNotice{SoundSwitch::On, 1, 7, {pick(y, 30), pick(z, 30)}, heard, lampsMs, y >= 20};
        };
        reach(19, 11, "Roll", 0);
        reach(20, 29, "Roll Notice", 0);
        reach(0, 10, "Roll", 500);
        reach(29, 0, "Roll Notice", 500);
        QTest::newRow("sound off") << SpinNotice{SoundSwitch::Off, 0, 4, {pick(17, 20)}, "", 500, true};
        QTest::newRow("sound never chosen")
            << SpinNotice{SoundSwitch::Unset, 1, 7, {pick(29, 30), pick(0, 30)}, "", 500, true};
    }
    void notice()
    {
        QFETCH(SpinNotice, notice);
        MachineRig rig(notice.sound);
        rig.hitAndStart(drawsOf(notice));
        const auto& s = rig.s();
        const bool jackpot = notice.drawNumber <= 6;
        QCOMPARE(s.drawNumber, notice.drawNumber);
        QCOMPARE(s.showsReach, notice.drawNumber == 1 ? notice.reach == 1 : true);
        QCOMPARE(s.chanceLeft, jackpot ? 5 : 0);
        QCOMPARE(rig.sound.join(QLatin1Char(' ')), notice.heard);
        QCOMPARE(s.noticeChime, notice.chime);
        const int pace = notice.lampsMs ? notice.lampsMs : 1000;
        QCOMPARE(s.noticePaceMs, pace);
        QCOMPARE(rig.machine.clock().interval(TimerId::NoticeLamps), pace);
        QCOMPARE(s.lamps.noticePremium(), pace == game::PremiumNoticeMs);
        QCOMPARE(s.lamps.noticeBlinking(), notice.lampsMs != 0);
        QCOMPARE(s.noticeOn, notice.lampsMs != 0);
        QVERIFY(drewExactly(rig.rnd));
        QVERIFY(rig.prompts.notices.empty());
    }

    // A slot-chance spin draws as usual but has no lottery, no reach and no
    // music start; the player's stop buttons show.
    void slotChanceSpin()
    {
        for (int drawNumber = 1; drawNumber <= 6; ++drawNumber) {
            MachineRig rig;
            rig.edit().chanceLeft = 3;
            rig.hitAndStart(spinDraws(0, 0, 0, 1, drawNumber));
            const auto& s = rig.s();
            QCOMPARE(s.chanceLeft, 2);
            QCOMPARE(s.drawNumber, 0);
            QVERIFY(!s.showsReach);
            QCOMPARE(counts(s), QList<int>({50000, 50002, 50001}));
            QCOMPARE(actionsText(s.actions), QStringLiteral("stopL stopC stopR busy"));
            QVERIFY(s.reelsRunning && rig.machine.clock().ticking(TimerId::Reel));
            QVERIFY(rig.sound.isEmpty());
            QVERIFY(drewExactly(rig.rnd));
        }
    }

    // A quit the player did not choose plays the spin out at once: it ends
    // as the same spin left alone would, with the same draws, paid in full.
    void finishSpin_data()
    {
        QTest::addColumn<int>("reach");
        QTest::addColumn<int>("drawNumber");
        QTest::newRow("instant line-up") << 0 << 6;
        QTest::newRow("all-rotation reach") << 0 << 1;
        QTest::newRow("reach that pays") << 1 << 2;
        QTest::newRow("reach that pauses, then pays") << 1 << 3;
        QTest::newRow("reach that misses") << 1 << 100;
    }
    void finishSpin()
    {
        QFETCH(int, reach);
        QFETCH(int, drawNumber);
        std::vector<double> draws = spinDraws(3, 4, 5, reach, drawNumber);
        draws.insert(draws.end(), 12, 0.1); // notices, reach lengths, no re-lottery
        const auto outcome = [&](bool leftAlone) {
            MachineRig rig; // one at a time: each installs its own seams
            rig.hitAndStart(draws);
            if (leftAlone) {
                runReels(rig.machine);
            } else {
                for (int tick = 0; tick < 20; ++tick)
                    rig.machine.clock().fire(TimerId::Reel);
                rig.machine.finishSpin();
            }
            const auto& s = rig.s();
            return QStringList{actionsText(s.actions), QString::number(s.money), reelFaces(s),
                               QString::number(s.chanceLeft), QString::number(rig.rnd.draws())};
        };
        QCOMPARE(outcome(false), outcome(true));
    }

    // A slot-chance spin's turning reels stop where they stand, as if the
    // player pressed their STOP buttons at that moment.
    void finishSpinStopsTheSlotChanceReels()
    {
        MachineRig rig;
        rig.edit().chanceLeft = 3;
        rig.hitAndStart(spinDraws(0, 0, 0, 1, 1));
        for (int tick = 0; tick < 7; ++tick)
            rig.machine.clock().fire(TimerId::Reel);
        const QString shown = reelFaces(rig.s());
        rig.machine.finishSpin();
        QCOMPARE(reelFaces(rig.s()), shown);
        QCOMPARE(actionsText(rig.s().actions), QStringLiteral("covers"));
        QCOMPARE(rig.s().chanceLeft, 2);
    }

    // A cue failing at the spin start: the whole spin is decided first, sound
    // is switched off, and only then the player is told. Reel ticks while the
    // notice is open play out the whole spin, silently; a jackpot still arms
    // its slot chance.
    void failingSoundAtTheSpinStart_data()
    {
        QTest::addColumn<SpinNotice>("spin"); // the cue in `heard` that fails is the last one
        QTest::newRow("music, jackpot spin") << SpinNotice{SoundSwitch::On, 0, 5, {pick(17, 20)}, "Roll", 500};
        QTest::newRow("chime, jackpot spin") << SpinNotice{SoundSwitch::On, 0, 2, {pick(12, 20)}, "Roll Notice", 0};
        QTest::newRow("chime, reach that misses")
            << SpinNotice{SoundSwitch::On, 1, 200, {pick(25, 30), pick(3, 30)}, "Roll Notice", 500};
    }
    void failingSoundAtTheSpinStart()
    {
        QFETCH(SpinNotice, spin);
        const bool jackpot = spin.drawNumber <= 6;
        MachineRig rig;
        const auto& s = rig.s();
        SignalLog log(rig.machine);
        rig.failCue = [&](game::Cue c) { return spin.heard.endsWith(CueName(c)); };
        rig.prompts.onNotice = [&](const game::Notice& n) {
            QCOMPARE(n.kind, game::Notice::SoundDeviceFailed);
            // The spin was decided in full before the notice: all but the
            // reach's centre run, which comes at the right reel's stop.
            QVERIFY(s.sound == SoundSwitch::Off && rig.machine.spinning());
            QVERIFY(log.lines.contains(QStringLiteral("spin started")));
            QCOMPARE(s.chanceLeft, jackpot ? 5 : 0);
            QCOMPARE(s.lamps.noticeBlinking(), spin.lampsMs != 0);
            QCOMPARE(rig.rnd.remaining(), std::size_t(1));
            runReels(rig.machine); // the spin plays out while the notice is open
        };
        rig.hitAndStart(drawsOf(spin), {pick(0, 10)});
        QCOMPARE(rig.prompts.shown, QStringList{"SoundDeviceFailed"});
        QVERIFY(!rig.machine.spinning() && s.actions.coversLive && !s.lamps.frameBlinking());
        QCOMPARE(s.lastWin, jackpot ? 600 : 0);
        QCOMPARE(s.chanceCounter, jackpot ? 5 : 0);
        QCOMPARE(rig.sound.join(QLatin1Char(' ')), spin.heard); // no reach, jackpot or slot-chance tune
        QCOMPARE(log.lines.filter(QStringLiteral("sound ")), QStringList{"sound Off"});
        QVERIFY(drewExactly(rig.rnd));
    }

    // A denominator beyond any whole number draws a large miss; only the
    // lottery values 1..6 make a jackpot.
    void hugeDenominator_data()
    {
        QTest::addColumn<double>("denominator");
        QTest::addColumn<double>("lot");
        QTest::addColumn<qint64>("drawNumber"); // 0: some large miss
        QTest::newRow("1e30, middle") << 1e30 << 0.5 << qint64(0);
        QTest::newRow("1e30, jackpot 6") << 1e30 << 5.5e-30 << qint64(6);
        QTest::newRow("above int") << 4e9 << 0.5 << qint64(2000000001);
    }
    void hugeDenominator()
    {
        QFETCH(double, denominator);
        QFETCH(double, lot);
        QFETCH(qint64, drawNumber);
        MachineRig rig;
        rig.edit().denominator = denominator;
        const bool jackpot = drawNumber >= 1 && drawNumber <= 6;
        std::vector<double> draws = spinDraws(0, 0, 0, 0, 1);
        draws.back() = lot;
        rig.hitAndStart(draws, {pick(0, 20)});
        if (drawNumber)
            QCOMPARE(rig.s().drawNumber, drawNumber);
        else
            QVERIFY(rig.s().drawNumber > 1000000000);
        QCOMPARE(rig.s().chanceLeft, jackpot ? 5 : 0);
        runReels(rig.machine);
        QVERIFY(!rig.machine.spinning() && rig.s().actions.coversLive);
        QCOMPARE(rig.s().chanceCounter, jackpot ? 5 : 0);
    }

    // A long seeded run: every frequency lies within 3.29 standard deviations
    // (99.9%) of its exact chance.
    void sampledOdds()
    {
        MachineRig rig;
        rig.rnd.push(pick(0, 4));
        rig.machine.pickCover(0);
        const game::MachineState idle = rig.s();
        SeededRandom seeded(20261208);
        seams::install(&seeded);
        const int spins = 120000;
        int jackpot = 0, allRotation = 0, reach = 0, premium = 0, jpLampsChime = 0, jpChimeOnly = 0;
        int reachChime = 0, reachLamps = 0;
        const auto& s = rig.s();
        for (int i = 0; i < spins; ++i) {
            rig.machine.restore(idle);
            rig.clearLogs();
            rig.machine.startSpin();
            const bool chime = rig.sound.contains("Notice");
            const bool blinking = s.lamps.noticeBlinking();
            const bool lamps = blinking && s.noticePaceMs == 500;
            if (s.chanceLeft == 5) {
                ++jackpot;
                allRotation += s.drawNumber == 1;
                premium += blinking && s.noticePaceMs == game::PremiumNoticeMs;
                jpLampsChime += lamps && chime;
                jpChimeOnly += !blinking && chime;
            } else if (s.showsReach) {
                ++reach;
                reachChime += chime;
                reachLamps += lamps;
            } else {
                QVERIFY(!chime && !blinking);
            }
        }
        seams::install(&rig.rnd);

        auto within = [](int count, int n, double p) {
            const bool inside = std::abs(count - n * p) <= 3.29 * std::sqrt(n * p * (1 - p));
            if (!inside)
                qWarning("%d of %d, expected %g", count, n, n * p);
            return inside;
        };
        QVERIFY(within(jackpot, spins, 6.0 / 300));
        QVERIFY(within(allRotation, spins, 1.0 / 300));
        QVERIFY(within(reach, spins, 294.0 / 300 / 3));
        QVERIFY(within(premium, jackpot, 1.0 / 20));
        QVERIFY(within(jpLampsChime, jackpot, 4.0 / 20));
        QVERIFY(within(jpChimeOnly, jackpot, 5.0 / 20));
        QVERIFY(within(reachChime, reach, 10.0 / 30));
        QVERIFY(within(reachLamps, reach, 11.0 / 30));
    }
};

QTEST_GUILESS_MAIN(TestSpin)
#include "test_spin.moc"
