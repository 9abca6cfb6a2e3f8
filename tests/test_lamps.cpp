// SPDX-License-Identifier: MIT
// The two lamp groups: the frame lamps and the notice lamps blink under
// their own timers while their flags are set; play starts and stops them.
#include "tests/support/Rig.h"

#include <QtTest>

#include <algorithm>

using namespace testing;
using game::FrameLampDark;
using game::FrameLampLit;
using game::NoticeLampDark;
using game::NoticeLampLit;
using game::NoticeLampPremium;

namespace {

// The window's three timers on a simulated clock: the reel timer at its
// interval while enabled, the frame-lamp timer every 250 ms and the
// notice-lamp timer at its interval; a new interval, or the reel timer
// switched on, restarts the period. Every 20 ms the lamps shown are sampled.
class LampClock {
public:
    explicit LampClock(game::Machine& m) : m_(m)
    {
        using game::Machine;
        QObject::connect(&m, &Machine::reelTimerIntervalSet, &context_, [this](int ms) { reelAt_ = now_ + ms; });
        QObject::connect(&m, &Machine::reelTimerEnabledSet, &context_,
                         [this](bool) { reelAt_ = now_ + m_.state().reelTimerMs; });
        QObject::connect(&m, &Machine::noticeTimerIntervalSet, &context_, [this](int ms) { noticeAt_ = now_ + ms; });
    }

    struct Sample {
        int ms;
        long frame, notice;           // shown
        bool frameQuiet, noticeQuiet; // not blinking, and the due colour as at the last sample
        long frameDue, noticeDue;
        int noticeMs;
    };
    std::vector<Sample> samples;
    QStringList reelTicks; // "time faces" of every reel tick

    void run(int ms)
    {
        const game::MachineState& s = m_.state();
        for (const int end = now_ + ms; now_ < end;) {
            ++now_;
            if (s.reelTimerEnabled && now_ >= reelAt_) {
                reelAt_ = now_ + s.reelTimerMs;
                m_.tickReels();
                reelTicks << QStringLiteral("%1 %2").arg(now_).arg(reelFaces(s));
            }
            if (now_ % game::FrameLampTickMs == 0)
                m_.tickFrameLamps();
            if (now_ >= noticeAt_) {
                noticeAt_ = now_ + s.noticeTimerMs;
                m_.tickNoticeLamps();
            }
            if (now_ % 20 == 0) {
                const bool first = samples.empty();
                samples.push_back({now_, s.frameLamps, s.noticeLamps,
                                   !s.frameBlink && (first || samples.back().frameDue == s.frameLampsDue),
                                   !s.noticeBlink && (first || samples.back().noticeDue == s.noticeLampsDue),
                                   s.frameLampsDue, s.noticeLampsDue, s.noticeTimerMs});
            }
        }
    }

    // The most changes of one group's colour within any one second.
    int mostChangesInASecond(long Sample::*group) const
    {
        std::vector<int> changes;
        for (std::size_t i = 1; i < samples.size(); ++i)
            if (samples[i].*group != samples[i - 1].*group)
                changes.push_back(samples[i].ms);
        int most = 0;
        for (std::size_t i = 0; i < changes.size(); ++i) {
            const auto end = std::lower_bound(changes.begin() + i, changes.end(), changes[i] + 1000);
            most = std::max(most, int(end - (changes.begin() + i)));
        }
        return most;
    }

private:
    game::Machine& m_;
    QObject context_;
    int now_ = 0;
    int reelAt_ = 0;
    int noticeAt_ = 1000;
};

struct LampRun {
    std::vector<LampClock::Sample> samples;
    int frameMost = 0, noticeMost = 0;
    QStringList reelTicks, sound;
    int draws = 0;
    bool played = false; // the jackpot paid and no scripted draw was missing
};

// A jackpot spin with the premium notice and a reach with its pause, then a
// slot-chance spin stopped by the player, with the sound on so that both
// lamp groups blink through the slot chance.
LampRun PlayReachAndSlotChance(bool calm)
{
    MachineRig rig;
    rig.machine.setCalmLamps(calm);
    LampClock clock(rig.machine);
    rig.hitAndStart(spinDraws(0, 0, 0, 0, 4), {pick(1, 20), pick(0, 10)});
    clock.run(20000);
    const bool paid = rig.s().chanceCounter == game::ChanceSpins;
    rig.hitAndStart(spinDraws(0, 0, 0, 0, 100));
    clock.run(2000);
    for (game::Reel reel : {game::Reel::Left, game::Reel::Centre, game::Reel::Right}) {
        rig.machine.pressStop(reel);
        clock.run(300);
    }
    clock.run(3000);
    return {clock.samples, clock.mostChangesInASecond(&LampClock::Sample::frame),
            clock.mostChangesInASecond(&LampClock::Sample::notice), clock.reelTicks, rig.sound, rig.rnd.draws(),
            paid && !rig.rnd.exhausted()};
}

} // namespace

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

    // Calm lamps: no group changes more than three times in any second of a
    // reach and a slot chance, while without them both do; the lamps still
    // blink and settle on the colour due, the premium notice shows in its own
    // colour, and the reels, the draws and the sound are the same.
    void calmLampsChangeSlowly()
    {
        const LampRun normal = PlayReachAndSlotChance(false);
        const LampRun calm = PlayReachAndSlotChance(true);
        QVERIFY(normal.played && calm.played);
        QVERIFY2(normal.frameMost > 3 && normal.noticeMost > 3,
                 qPrintable(QStringLiteral("%1 %2").arg(normal.frameMost).arg(normal.noticeMost)));
        QVERIFY2(calm.frameMost <= 3 && calm.noticeMost <= 3,
                 qPrintable(QStringLiteral("%1 %2").arg(calm.frameMost).arg(calm.noticeMost)));
        QCOMPARE(calm.reelTicks, normal.reelTicks);
        QCOMPARE(calm.sound, normal.sound);
        QCOMPARE(calm.draws, normal.draws);

        QSet<long> premiumShown, slotChanceShown;
        int frameLit = 0, quietFor = 0;
        for (const LampClock::Sample& sample : calm.samples) {
            if (sample.noticeMs != 500) // the premium notice, then the slot chance
                (sample.noticeMs == game::PremiumNoticeMs ? premiumShown : slotChanceShown) << sample.notice;
            frameLit += sample.frame == FrameLampLit;
            // A group that stopped blinking shows its colour within half a second.
            quietFor = sample.frameQuiet && sample.noticeQuiet ? quietFor + 20 : 0;
            if (quietFor > 540)
                QVERIFY(sample.frame == sample.frameDue && sample.notice == sample.noticeDue);
        }
        QCOMPARE(premiumShown, QSet<long>({NoticeLampDark, NoticeLampPremium}));
        QCOMPARE(slotChanceShown, QSet<long>({NoticeLampDark, NoticeLampLit}));
        QVERIFY(frameLit > 50); // at least a second in all
    }

    // Switching calm lamps off shows the colours due at once.
    void calmLampsOffShowsTheColoursDue()
    {
        MachineRig rig;
        auto& s = rig.edit();
        rig.machine.setCalmLamps(true);
        s.frameBlink = s.noticeBlink = true;
        rig.machine.tickFrameLamps();
        rig.machine.tickNoticeLamps();
        QVERIFY(s.frameLamps == FrameLampDark && s.noticeLamps == NoticeLampDark); // not yet
        rig.machine.setCalmLamps(false);
        QVERIFY(s.frameLamps == FrameLampLit && s.noticeLamps == NoticeLampLit);
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
