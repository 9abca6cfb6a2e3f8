// SPDX-License-Identifier: MIT
// The two lamp groups: the frame lamps and the notice lamps blink under
// their own timers while they are set blinking; play starts and stops them.
// Calm lamps keep every change to a slower grid.
#include "tests/support/Rig.h"

#include <QtTest>

#include <algorithm>

using namespace testing;
using game::LampState;
using game::TimerId;

namespace {

QChar letter(LampState state)
{
    return QLatin1Char(state == LampState::Dark ? 'D' : state == LampState::Lit ? 'L' : 'P');
}

// The two groups as shown: frame, then notice, e.g. "LD".
QString shown(const game::Lamps& lamps) { return QString(letter(lamps.frame())) + letter(lamps.notice()); }

// Plays a script on the lamps: "bf" blinks the frame, "bn" the notice, "bp"
// the premium notice; "tf" and "tn" tick them; "sf" and "sn" stop them;
// "c1" and "c0" switch calm lamps on and off. Returns shown() after each step.
QString playLamps(const QString& script)
{
    game::Lamps lamps;
    QStringList after;
    for (const QString& step : script.split(QLatin1Char(' '))) {
        if (step == QLatin1String("bf"))
            lamps.blinkFrame();
        else if (step == QLatin1String("bn") || step == QLatin1String("bp"))
            lamps.blinkNotice(step == QLatin1String("bp"));
        else if (step == QLatin1String("tf"))
            lamps.tickFrame();
        else if (step == QLatin1String("tn"))
            lamps.tickNotice();
        else if (step == QLatin1String("sf"))
            lamps.stopFrame();
        else if (step == QLatin1String("sn"))
            lamps.stopNotice();
        else if (step == QLatin1String("c1") || step == QLatin1String("c0"))
            lamps.setCalm(step == QLatin1String("c1"));
        else
            qFatal("unknown lamp step %s", qPrintable(step));
        after << shown(lamps);
    }
    return after.join(QLatin1Char(' '));
}

// The most changes within any one second, from the times of the changes.
int mostInASecond(const QList<qint64>& changes)
{
    int most = 0;
    for (auto first = changes.begin(); first != changes.end(); ++first) {
        const auto end = std::lower_bound(first, changes.end(), *first + 1000);
        most = std::max(most, int(end - first));
    }
    return most;
}

// The machine's lamps as its signals report them on its own clock. Every
// 20 ms of simulated time a sample notes what shows.
class LampWatch {
public:
    explicit LampWatch(game::Machine& machine) : m_(machine)
    {
        using game::Machine;
        QObject::connect(&m_, &Machine::frameLampsChanged, &context_, [this](LampState state) {
            changed(frameChanges, frameLast, state, m_.state().lamps.frame());
        });
        QObject::connect(&m_, &Machine::noticeLampsChanged, &context_, [this](LampState state) {
            changed(noticeChanges, noticeLast, state, m_.state().lamps.notice());
            (m_.state().noticePaceMs == game::PremiumNoticeMs ? premiumShown : otherNoticeShown) << state;
        });
        QObject::connect(&m_.clock(), &game::Clock::ticked, &context_, [this](TimerId timer) {
            if (timer == TimerId::Reel)
                reelTicks << QStringLiteral("%1 %2").arg(m_.clock().now()).arg(reelFaces(m_.state()));
        });
    }

    QList<qint64> frameChanges, noticeChanges; // when each group's state changed
    QSet<LampState> premiumShown, otherNoticeShown;
    QStringList reelTicks;      // "time faces" of every reel tick
    bool falseChanges = false;  // a signal that changed nothing, or disagreed with the state
    bool settled = true;        // groups that stopped blinking showed dark within half a second
    int frameLitMs = 0;

    void run(qint64 ms)
    {
        const game::Lamps& lamps = m_.state().lamps;
        for (const qint64 end = m_.clock().now() + ms; m_.clock().now() < end;) {
            m_.clock().advance(20);
            const bool quiet = !lamps.frameBlinking() && !lamps.noticeBlinking();
            quietMs_ = quiet ? quietMs_ + 20 : 0;
            if (quietMs_ > 540 && (lamps.frame() != LampState::Dark || lamps.notice() != LampState::Dark))
                settled = false;
            frameLitMs += lamps.frame() == LampState::Lit ? 20 : 0;
        }
    }

private:
    void changed(QList<qint64>& changes, LampState& last, LampState state, LampState inState)
    {
        if (state == last || state != inState)
            falseChanges = true;
        last = state;
        changes << m_.clock().now();
    }

    game::Machine& m_;
    QObject context_;
    LampState frameLast = LampState::Dark;
    LampState noticeLast = LampState::Dark;
    int quietMs_ = 0;
};

struct LampRun {
    int frameMost = 0, noticeMost = 0;
    QSet<LampState> premiumShown, slotChanceShown;
    QStringList reelTicks, sound;
    int draws = 0;
    bool paid = false;       // the jackpot paid and no scripted draw was missing
    bool falseChanges = false;
    bool settled = false;
    int frameLitMs = 0;
};

// A jackpot spin with the premium notice and a reach with its pause, then a
// slot-chance spin stopped by the player, with the sound on so that both
// lamp groups blink through the slot chance.
LampRun PlayReachAndSlotChance(bool calm)
{
    MachineRig rig;
    rig.machine.setCalmLamps(calm);
    LampWatch watch(rig.machine);
    rig.hitAndStart(spinDraws(0, 0, 0, 0, 4), {pick(1, 20), pick(0, 10)});
    watch.run(20000);
    const bool paid = rig.s().chanceCounter == game::ChanceSpins;
    rig.hitAndStart(spinDraws(0, 0, 0, 0, 100));
    watch.run(2000);
    for (game::Reel reel : game::AllReels) {
        rig.machine.pressStop(reel);
        watch.run(300);
    }
    watch.run(3000);
    return {mostInASecond(watch.frameChanges),
            mostInASecond(watch.noticeChanges),
            watch.premiumShown,
            watch.otherNoticeShown,
            watch.reelTicks,
            rig.sound,
            rig.rnd.draws(),
            paid && !rig.rnd.exhausted(),
            watch.falseChanges,
            watch.settled,
            watch.frameLitMs};
}

void fireLamps(game::Machine& machine)
{
    machine.clock().fire(TimerId::FrameLamps);
    machine.clock().fire(TimerId::NoticeLamps);
}

} // namespace

class TestLamps : public QObject {
    Q_OBJECT
private slots:
    // ------------------------------------------------------------ the lamps on their own
    void lampScript_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("shown");
        QTest::newRow("idle: ticks change nothing") << "tf tn" << "DD DD";
        QTest::newRow("frame blinks lit first, the notice stays") << "bf tf tf tf tn" << "DD LD DD LD LD";
        QTest::newRow("notice blinks lit first, the frame stays") << "bn tn tn tn tf" << "DD DL DD DL DL";
        QTest::newRow("frame stopped lit: dark, and lit first again") << "bf tf sf bf tf" << "DD LD DD DD LD";
        QTest::newRow("frame stopped dark: lit first again") << "bf tf tf sf bf tf" << "DD LD DD DD DD LD";
        QTest::newRow("notice stopped lit: the next begins with a dark change")
            << "bn tn sn bn tn tn" << "DD DL DD DD DD DL";
        QTest::newRow("premium without calm shows plain lit") << "bp tn tn" << "DD DL DD";
        QTest::newRow("calm: a blinking group turns at every second frame tick")
            << "c1 bf tf tf tf tf" << "DD DD DD LD LD DD";
        QTest::newRow("calm: the premium notice shows as premium") << "c1 bp tn tf tf" << "DD DD DD DD DP";
        QTest::newRow("calm on leaves what shows; a stopped group goes dark on the grid")
            << "bf tf c1 sf tf tf" << "DD LD LD LD LD DD";
        QTest::newRow("calm off shows the states due") << "c1 bf bn tf tn c0" << "DD DD DD DD DD LL";
        QTest::newRow("calm off shows the premium notice plain lit") << "c1 bp tn c0" << "DD DD DD DL";
    }
    void lampScript()
    {
        QFETCH(QString, script);
        QFETCH(QString, shown);
        QCOMPARE(playLamps(script), shown);
    }

    // The frame lamps at their 250 ms and the premium notice at its 100 ms,
    // for ten seconds: calm lamps change at most twice in any second, at
    // fast play too.
    void calmGridPace_data()
    {
        QTest::addColumn<bool>("calm");
        QTest::addColumn<int>("pace");
        QTest::addColumn<int>("frameMost");
        QTest::addColumn<int>("noticeMost");
        QTest::newRow("plain") << false << 1 << 4 << 10;
        QTest::newRow("calm") << true << 1 << 2 << 2;
        QTest::newRow("plain at 4x") << false << 4 << 16 << 40;
        QTest::newRow("calm at 4x") << true << 4 << 2 << 2;
    }
    void calmGridPace()
    {
        QFETCH(bool, calm);
        QFETCH(int, pace);
        QFETCH(int, frameMost);
        QFETCH(int, noticeMost);
        game::Lamps lamps;
        lamps.setCalm(calm);
        lamps.blinkFrame();
        lamps.blinkNotice(true);
        game::Clock clock(game::Clock::Drive::ByHand);
        clock.setInterval(TimerId::FrameLamps, game::FrameLampTickMs);
        clock.setInterval(TimerId::NoticeLamps, game::PremiumNoticeMs);
        clock.setRunning(TimerId::FrameLamps, true);
        clock.setRunning(TimerId::NoticeLamps, true);
        clock.setPace(pace);
        QList<qint64> frameChanges, noticeChanges;
        QObject::connect(&clock, &game::Clock::ticked, [&](TimerId timer) {
            const game::Lamps before = lamps;
            timer == TimerId::FrameLamps ? lamps.tickFrame(clock.pace()) : lamps.tickNotice();
            if (lamps.frame() != before.frame())
                frameChanges << clock.now();
            if (lamps.notice() != before.notice())
                noticeChanges << clock.now();
        });
        clock.advance(10000);
        QCOMPARE(mostInASecond(frameChanges), frameMost);
        QCOMPARE(mostInASecond(noticeChanges), noticeMost);
    }

    // ------------------------------------------------------------ the lamps in play
    // The premium notice blinks every 100 ms from the spin start until the
    // left reel stops; then the notice lamps are dark.
    void premiumNoticeEndsWhenTheLeftReelStops()
    {
        MachineRig rig(game::SoundSwitch::Off); // no slot-chance blinking after the payout
        rig.hitAndStart(spinDraws(0, 0, 0, 0, 4), {pick(1, 20), pick(0, 10)});
        const auto& s = rig.s();
        QCOMPARE(s.noticePaceMs, game::PremiumNoticeMs);
        QCOMPARE(rig.machine.clock().interval(TimerId::NoticeLamps), game::PremiumNoticeMs);
        QVERIFY(s.noticeOn);
        int lit = 0;
        runReels(rig.machine, 2000, [&](int n) {
            rig.machine.clock().fire(TimerId::NoticeLamps);
            if (n < 50) {
                lit += s.lamps.notice() == LampState::Lit;
            } else {
                QVERIFY(!s.lamps.noticeBlinking() && !s.noticeOn);
                QCOMPARE(s.lamps.notice(), LampState::Dark);
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
        QVERIFY(s.lamps.noticeBlinking());
        rig.machine.clock().fire(TimerId::NoticeLamps);
        QCOMPARE(s.lamps.notice(), LampState::Lit);
        runReels(rig.machine);
        QCOMPARE(s.lamps.notice(), LampState::Dark);

        rig.hitAndStart(spinDraws(0, 0, 0, 1, 100), lampsOnly);
        rig.machine.clock().fire(TimerId::NoticeLamps);
        QCOMPARE(s.lamps.notice(), LampState::Dark);
        rig.machine.clock().fire(TimerId::NoticeLamps);
        QCOMPARE(s.lamps.notice(), LampState::Lit);
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
            const bool litBefore = s.lamps.frame() == LampState::Lit;
            rig.machine.clock().fire(TimerId::FrameLamps);
            if (n < 78) {
                QCOMPARE(s.lamps.frame(), LampState::Dark);
            } else if (n == 78 || n == 91) {
                QCOMPARE(s.lamps.frame(), LampState::Lit); // begins lit
            } else if (n == 90) {
                QVERIFY(!s.lamps.frameBlinking() && !litBefore);
                QCOMPARE(s.lamps.frame(), LampState::Dark); // dark through the pause
            } else if (n < 99) {
                QCOMPARE(s.lamps.frame() == LampState::Lit, !litBefore);
            }
        });
        QCOMPARE(s.chanceLeft, 5);
    }

    // Calm lamps: no group changes more than twice in any second of a reach
    // and a slot chance, while without them both do; the lamps still blink
    // and settle dark, the premium notice shows as its own state, each
    // change is signalled once, and the reels, the draws and the sound are
    // the same.
    void calmLampsChangeSlowly()
    {
        const LampRun normal = PlayReachAndSlotChance(false);
        const LampRun calm = PlayReachAndSlotChance(true);
        QVERIFY(normal.paid && calm.paid);
        QVERIFY2(normal.frameMost > 3 && normal.noticeMost > 3,
                 qPrintable(QStringLiteral("%1 %2").arg(normal.frameMost).arg(normal.noticeMost)));
        QVERIFY2(calm.frameMost <= 2 && calm.noticeMost <= 2,
                 qPrintable(QStringLiteral("%1 %2").arg(calm.frameMost).arg(calm.noticeMost)));
        QCOMPARE(calm.reelTicks, normal.reelTicks);
        QCOMPARE(calm.sound, normal.sound);
        QCOMPARE(calm.draws, normal.draws);
        QVERIFY(!normal.falseChanges && !calm.falseChanges);
        QVERIFY(normal.settled && calm.settled);

        QCOMPARE(normal.premiumShown, QSet<LampState>({LampState::Dark, LampState::Lit}));
        QCOMPARE(calm.premiumShown, QSet<LampState>({LampState::Dark, LampState::Premium}));
        QCOMPARE(calm.slotChanceShown, QSet<LampState>({LampState::Dark, LampState::Lit}));
        QVERIFY(calm.frameLitMs > 1000);
    }

    // Switching calm lamps off shows the states due at once, and signals them.
    void calmLampsOffShowsTheStatesDue()
    {
        MachineRig rig;
        rig.machine.setCalmLamps(true);
        rig.edit().lamps.blinkFrame();
        rig.edit().lamps.blinkNotice(false);
        SignalLog log(rig.machine);
        fireLamps(rig.machine);
        QCOMPARE(shown(rig.s().lamps), QStringLiteral("DD")); // not yet
        rig.machine.setCalmLamps(false);
        QCOMPARE(shown(rig.s().lamps), QStringLiteral("LL"));
        QCOMPARE(log.byFact(), SignalLog::byFact("frame Lit | notice Lit | calm off"));
    }

    // After a jackpot both groups blink through the slot chance, slot-chance
    // spins included.
    void slotChanceBlinking()
    {
        MachineRig rig;
        const auto& s = rig.s();
        rig.hitAndStart(spinDraws(0, 0, 0, 0, 6), {pick(0, 20)});
        runReels(rig.machine);
        rig.hitAndStart(spinDraws(0, 0, 0, 0, 100));
        rig.machine.clock().fire(TimerId::Reel);
        for (const char* lit : {"LL", "DD", "LL"}) {
            fireLamps(rig.machine);
            QCOMPARE(shown(s.lamps), QLatin1String(lit));
        }
    }
};

QTEST_GUILESS_MAIN(TestLamps)
#include "test_lamps.moc"
