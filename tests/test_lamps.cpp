// The two lamp groups: the frame lamps and the notice lamps blink under
// their own timers while their flags are set; play starts and stops them.
#include "tests/support/Rig.h"

#include <QtTest>

using namespace testing;
using game::FrameLampDark;
using game::FrameLampLit;
using game::NoticeLampDark;
using game::NoticeLampLit;

class TestLamps : public QObject {
    Q_OBJECT
private slots:
    // Each group changes only while its flag is set, and leaves the other alone.
    void blinkingWhileTheFlagIsSet()
    {
        MachineRig rig;
        auto& s = rig.edit();
        auto tick = [&] {
            rig.machine.tickFrameLamps();
            rig.machine.tickNoticeLamps();
        };
        tick();
        QVERIFY(s.frameLamps == FrameLampDark && s.noticeLamps == NoticeLampDark); // idle: ticks ignored
        s.frameBlink = true;
        for (long lamps : {FrameLampLit, FrameLampDark, FrameLampLit}) {
            tick();
            QVERIFY(s.frameLamps == lamps && s.noticeLamps == NoticeLampDark);
        }
        s.frameBlink = false;
        s.noticeBlink = true;
        for (long lamps : {NoticeLampLit, NoticeLampDark, NoticeLampLit}) {
            tick();
            QVERIFY(s.noticeLamps == lamps && s.frameLamps == FrameLampLit);
        }
    }

    // The premium notice blinks every 100 ms from the spin start until the
    // left reel stops; then the notice lamps are dark.
    void premiumNoticeEndsWhenTheLeftReelStops()
    {
        MachineRig rig(game::SoundSwitch::Off); // no slot-chance blinking after the payout
        rig.hitAndStart(spinDraws(0, 0, 0, 0, 4), {pick(1, 20), pick(0, 10)});
        const auto& s = rig.s();
        QCOMPARE(s.noticeTimerMs, 100);
        QVERIFY(s.noticeOn);
        int lit = 0;
        runReels(rig.machine, 2000, [&](int n) {
            rig.machine.tickNoticeLamps();
            if (n < 50) {
                lit += s.noticeLamps == NoticeLampLit;
            } else {
                QVERIFY(!s.noticeBlink && !s.noticeOn);
                QCOMPARE(s.noticeLamps, NoticeLampDark);
            }
        });
        QCOMPARE(lit, 25); // every other change is lit
    }

    // Notice blinking that follows one stopped in its lit phase begins with
    // a dark change.
    void noticePhaseIsKeptBetweenNotices()
    {
        MachineRig rig;
        const auto& s = rig.s();
        const std::initializer_list<double> lampsOnly{pick(0, 30), pick(0, 30), pick(0, 10)};
        rig.hitAndStart(spinDraws(0, 0, 0, 1, 100), lampsOnly);
        QVERIFY(s.noticeBlink);
        rig.machine.tickNoticeLamps();
        QCOMPARE(s.noticeLamps, NoticeLampLit);
        runReels(rig.machine);
        QCOMPARE(s.noticeLamps, NoticeLampDark);
        QCOMPARE(s.noticePhase, 1);

        rig.hitAndStart(spinDraws(0, 0, 0, 1, 100), lampsOnly);
        rig.machine.tickNoticeLamps();
        QCOMPARE(s.noticeLamps, NoticeLampDark);
        rig.machine.tickNoticeLamps();
        QCOMPARE(s.noticeLamps, NoticeLampLit);
    }

    // A reach lights the frame lamps at the first lamp tick after the right
    // reel stops on the left reel's symbol; the reach pause darkens them, and
    // they blink again, lit first, from the step after it.
    void frameLampsThroughAReachWithPause()
    {
        MachineRig rig;
        const auto& s = rig.s();
        rig.hitAndStart(spinDraws(0, 0, 0, 0, 5), {pick(0, 20), pick(0, 10)}); // pause at 90, pays at 99
        runReels(rig.machine, 2000, [&](int n) {
            const bool litBefore = s.frameLamps == FrameLampLit;
            rig.machine.tickFrameLamps();
            if (n < 78) {
                QCOMPARE(s.frameLamps, FrameLampDark);
            } else if (n == 78 || n == 91) {
                QCOMPARE(s.frameLamps, FrameLampLit); // begins lit
            } else if (n == 90) {
                QVERIFY(!s.frameBlink && !litBefore);
                QCOMPARE(s.frameLamps, FrameLampDark); // dark through the pause
            } else if (n < 99) {
                QCOMPARE(s.frameLamps == FrameLampLit, !litBefore);
            }
        });
        QCOMPARE(s.chanceLeft, 5);
    }

    // After a jackpot both groups blink through the slot chance, slot-chance
    // spins included.
    void slotChanceBlinking()
    {
        MachineRig rig;
        const auto& s = rig.s();
        auto tickLamps = [&] {
            rig.machine.tickFrameLamps();
            rig.machine.tickNoticeLamps();
        };
        rig.hitAndStart(spinDraws(0, 0, 0, 0, 6), {pick(0, 20)});
        runReels(rig.machine);
        rig.hitAndStart(spinDraws(0, 0, 0, 0, 100));
        rig.machine.tickReels();
        for (bool lit : {true, false, true}) {
            tickLamps();
            QCOMPARE(s.frameLamps, lit ? FrameLampLit : FrameLampDark);
            QCOMPARE(s.noticeLamps, lit ? NoticeLampLit : NoticeLampDark);
        }
    }
};

QTEST_GUILESS_MAIN(TestLamps)
#include "test_lamps.moc"
