// SPDX-License-Identifier: MIT
// The jackpot payout, the 10,000,000-dollar goal, and the slot chance after a
// jackpot: five spins stopped by the player, or left to their own counts.
#include "tests/support/Rig.h"

#include <QtTest>

using namespace testing;
using game::LampState;
using game::Reel;

namespace game {

// Reaches the payout directly: every reach action and the slot chance pay through it.
class MachineTest {
public:
    static void payJackpot(Machine& machine, int symbol) { machine.payJackpot(symbol); }
};

} // namespace game

namespace {

struct Pay {
    int symbol, bet, target; // target: the symbol bought, 0 for none
    qint64 before, win, after;
    QString heard = QStringLiteral("Jackpot Calm");
    int chanceLeft = 0;
    game::SoundSwitch sound = game::SoundSwitch::On;
    QString blinking = QString(); // the lamp groups blinking afterwards
    int noticeMs = 500;           // the notice lamps' pace afterwards
};

struct ChanceSpin {
    int start;      // the three reels' position before the spin
    int chanceLeft; // slot-chance spins left before it
    QString script; // see play()
    qint64 win;
    QString line;   // the pay line of a win
    int counter;    // the slot-chance counter afterwards
    QString heard;  // every cue, music stop and notice
    bool soundOn = true;
};

Reel reelOf(QChar c) { return c == QLatin1Char('L') ? Reel::Left : c == QLatin1Char('C') ? Reel::Centre : Reel::Right; }

int& countOf(MachineRig& rig, QChar c) { return rig.edit().reel(reelOf(c)).stopCount; }

// Plays a script: "4" ticks the reels four times, "L", "C", "R" and "LCR"
// press stop buttons, "C=1" sets the centre reel's count, "run" ticks until
// nothing turns.
void play(MachineRig& rig, const QString& script)
{
    for (const QString& step : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (step == QLatin1String("run"))
            runReels(rig.machine, 60000);
        else if (step.contains(QLatin1Char('=')))
            countOf(rig, step[0]) = step.mid(2).toInt();
        else if (step[0].isDigit())
            for (int i = 0; i < step.toInt(); ++i)
                rig.machine.clock().fire(game::TimerId::Reel);
        else
            for (QChar reel : step)
                rig.machine.pressStop(reelOf(reel));
    }
}

// A cover hit, then a slot-chance spin started; chanceLeft must be above 0.
void startSlotChanceSpin(MachineRig& rig)
{
    QVERIFY(rig.s().chanceLeft > 0);
    rig.hitAndStart(spinDraws(0, 0, 0, 0, 100));
    QCOMPARE(rig.s().actions.stopsLive, (std::array<bool, 3>{true, true, true}));
}

void checkSpinEnded(const MachineRig& rig)
{
    const auto& s = rig.s();
    QVERIFY(!rig.machine.spinning());
    QCOMPARE(actionsText(s.actions), QStringLiteral("covers"));
    QCOMPARE(s.bet, 0);
}

// Both lamp groups blinking, the frame lamps lit, as a spin with a reach or
// a slot chance has them.
void blinkBothLamps(MachineRig& rig)
{
    game::Lamps& lamps = rig.edit().lamps;
    lamps.blinkNotice(false);
    lamps.blinkFrame();
    lamps.tickFrame();
}

// Puts the machine where a jackpot of `pay` is paid: mid-spin, with a reach's
// or the slot chance's lamps.
void setUpPayout(MachineRig& rig, const Pay& pay)
{
    auto& s = rig.edit();
    s.targetSymbol = pay.target;
    s.targetRate = pay.target ? 100 : 1;
    s.chanceLeft = pay.chanceLeft;
    blinkBothLamps(rig);
    s.noticePaceMs = 500;
    s.actions.coversLive = false;
    s.actions.busy = true;
    s.bet = pay.bet;
    s.money = pay.before;
    rig.machine.restore(s);
}

QString blinkingGroups(const game::Lamps& lamps)
{
    QStringList blinking;
    if (lamps.noticeBlinking())
        blinking << QStringLiteral("notice");
    if (lamps.frameBlinking())
        blinking << QStringLiteral("frame");
    return blinking.join(QLatin1Char(' '));
}

} // namespace

Q_DECLARE_METATYPE(Pay)
Q_DECLARE_METATYPE(ChanceSpin)

class TestPayout : public QObject {
    Q_OBJECT
private slots:
    // Symbol x 100 x BET, a bought target a hundredfold, symbol 0 10000 x BET,
    // 3, 5 and 7 $1000 more. Reaching $10,000,000: the fanfare, the notice,
    // then $100 and the probability command unlocked. Then, with sound, the
    // slot chance blinks and plays its tune, or normal play returns, dark
    // and calm; without sound the lamps stop only the frame's blinking.
    void payout_data()
    {
        QTest::addColumn<Pay>("pay");
        QTest::newRow("4, BET 3") << Pay{4, 3, 0, 1000, 1200, 2200};
        QTest::newRow("7, BET 2: 1400 + 1000") << Pay{7, 2, 0, 1000, 2400, 3400};
        QTest::newRow("0, BET 10") << Pay{0, 10, 0, 1000, 100000, 101000};
        QTest::newRow("0, BET 10, target 5 bought") << Pay{0, 10, 5, 1000, 100000, 101000};
        QTest::newRow("target 5 hit, BET 1") << Pay{5, 1, 5, 1000, 51000, 52000};
        QTest::newRow("target 5, 6 comes up") << Pay{6, 1, 5, 1000, 600, 1600};
        QTest::newRow("target 9 hit, BET 10") << Pay{9, 10, 9, 1000, 900000, 901000};
        QTest::newRow("target 3 hit, BET 2: 1000 added once") << Pay{3, 2, 3, 1000, 61000, 62000};
        QTest::newRow("1, BET 1") << Pay{1, 1, 0, 1000, 100, 1100};
        QTest::newRow("3, BET 1") << Pay{3, 1, 0, 1000, 1300, 2300};
        QTest::newRow("8, BET 10") << Pay{8, 10, 0, 1000, 8000, 9000};
        QTest::newRow("BET 0") << Pay{5, 0, 0, 1000, 1000, 2000};
        QTest::newRow("just below the goal") << Pay{9, 10, 0, 9990000, 9000, 9999000};
        QTest::newRow("exactly the goal")
            << Pay{1, 10, 0, 9999000, 1000, 100, "Jackpot Fever Goal at 10000000 Calm"};
        QTest::newRow("above the goal, target bought")
            << Pay{9, 10, 9, 9999999, 900000, 100, "Jackpot Fever Goal at 10899999 Calm"};
        QTest::newRow("slot chance follows")
            << Pay{2, 1, 0, 50, 200, 250, "Jackpot ChanceIntro", 5, game::SoundSwitch::On, "notice frame", 1000};
        QTest::newRow("sound off, slot chance follows")
            << Pay{2, 1, 0, 50, 200, 250, "", 5, game::SoundSwitch::Off, "notice"};
        QTest::newRow("sound off, slot chance over")
            << Pay{2, 1, 0, 50, 200, 250, "", 0, game::SoundSwitch::Off, "notice"};
    }
    void payout()
    {
        QFETCH(Pay, pay);
        MachineRig rig(pay.sound);
        const auto& s = rig.s();
        setUpPayout(rig, pay);
        rig.prompts.onNotice = [&](const game::Notice& n) {
            QCOMPARE(n.kind, game::Notice::Goal);
            rig.sound << QStringLiteral("Goal at %1").arg(rig.s().money);
        };
        game::MachineTest::payJackpot(rig.machine, pay.symbol);
        QCOMPARE(s.lastWin, pay.win);
        QCOMPARE(s.money, pay.after);
        QCOMPARE(rig.sound.join(QLatin1Char(' ')), pay.heard);
        QCOMPARE(s.unlocked, pay.heard.contains(QLatin1String("Fever")));
        QCOMPARE(blinkingGroups(s.lamps), pay.blinking);
        QCOMPARE(s.lamps.frame(), LampState::Dark);
        // The frame lamps' next blinking begins lit.
        game::Lamps next = s.lamps;
        next.blinkFrame();
        next.tickFrame();
        QCOMPARE(next.frame(), LampState::Lit);
        QCOMPARE(s.noticePaceMs, pay.noticeMs);
        QCOMPARE(rig.machine.clock().interval(game::TimerId::NoticeLamps), pay.noticeMs);
        QCOMPARE(s.chanceCounter, pay.chanceLeft);
        checkSpinEnded(rig);
    }

    // What a payout signals, each fact once with its new value: at the goal
    // the money twice, the win and then the new start.
    void payoutSignals_data()
    {
        QTest::addColumn<Pay>("pay");
        QTest::addColumn<QString>("expected");
        QTest::newRow("slot chance follows")
            << Pay{2, 1, 0, 50, 200, 250, "", 5}
            << "win 200 | money 250 | paid 2 200 | frame Dark | bet 0 | actions covers | spin ended | counter 5";
        QTest::newRow("the goal") << Pay{1, 10, 0, 9999000, 1000, 100}
                                  << "win 1000 | money 10000000 | paid 1 1000 | frame Dark | goal 10000000 | "
                                     "money 100 | unlocked on | bet 0 | actions covers | spin ended";
    }
    void payoutSignals()
    {
        QFETCH(Pay, pay);
        QFETCH(QString, expected);
        MachineRig rig(pay.sound);
        setUpPayout(rig, pay);
        SignalLog log(rig.machine);
        game::MachineTest::payJackpot(rig.machine, pay.symbol);
        QCOMPARE(log.byFact(), SignalLog::byFact(expected));
    }

    // A jackpot spin, then its five slot-chance spins: lose, lose, win, lose, lose.
    void wholeSlotChance()
    {
        MachineRig rig;
        const auto& s = rig.s();
        rig.hitAndStart(spinDraws(0, 0, 0, 0, 6), {pick(0, 20)}); // instant line-up on 7
        runReels(rig.machine);
        QCOMPARE(s.chanceCounter, 5);

        // Spin 1: only the stop that leaves no reel turning judges; a stopped
        // reel stays put.
        startSlotChanceSpin(rig);
        QCOMPARE(s.chanceLeft, 4);
        QCOMPARE(s.chanceCounter, 5); // follows at the end of the spin
        play(rig, "1 L");
        const QString leftColumn = reelFaces(s).left(3);
        play(rig, "1 C");
        QCOMPARE(reelFaces(s).left(3), leftColumn);
        QVERIFY(s.bet == 1 && !s.actions.coversLive);
        play(rig, "1 R");
        checkSpinEnded(rig);
        QCOMPARE(s.chanceCounter, 4);
        // Lamps and music go on through the slot chance.
        QCOMPARE(blinkingGroups(s.lamps), QStringLiteral("notice frame"));

        const struct {
            const char* script;
            qint64 win;
        } spins[] = {{"2 L 1 C 1 R", 0}, {"1 R 2 C 2 L", 400}, {"1 L 1 C 1 R", 0}, {"1 L 1 C 1 R", 0}};
        for (const auto& spin : spins) {
            startSlotChanceSpin(rig);
            rig.clearLogs();
            play(rig, spin.script);
            checkSpinEnded(rig);
            QCOMPARE(s.lastWin, spin.win);
            QCOMPARE(s.chanceCounter, s.chanceLeft);
        }
        QCOMPARE(s.chanceCounter, 0);
        QCOMPARE(rig.sound, QStringList({"Stop", "Stop", "Stop", "Calm"}));
        QCOMPARE(blinkingGroups(s.lamps), QString());

        // The next spin is an ordinary one again.
        rig.clearLogs();
        rig.hitAndStart(spinDraws(0, 0, 0, 0, 100));
        QCOMPARE(actionsText(s.actions), QStringLiteral("busy"));
        QCOMPARE(s.reels[0].stopCount, 50);
        QCOMPARE(rig.sound, QStringList{"Roll"});
    }

    // Slot-chance spins stopped by the buttons or by the reels' own counts
    // (left 50000, right 50001, centre 50002). A reel that runs out is judged
    // like a press of its button; the centre running out with spins to come
    // is the bust, which hides the counter.
    void slotChanceSpin_data()
    {
        QTest::addColumn<ChanceSpin>("spin");
        const QString paid = QStringLiteral("Stop Stop Stop Jackpot ChanceIntro");
        const QString lost = QStringLiteral("Stop Stop Stop");
        const QString bust = QStringLiteral("Stop Stop stop music Calm Bust");
        for (const char* order : {"LCR", "RCL", "CLR", "CRL", "LRC", "RLC"}) {
            QTest::addRow("%s together", order) << ChanceSpin{3, 3, QStringLiteral("4 ") + order, 600, "666", 2, paid};
            const QString apart = QStringLiteral("5 %1 1 %2 1 %3").arg(order[0]).arg(order[1]).arg(order[2]);
            QTest::addRow("%s one tick apart", order) << ChanceSpin{3, 3, apart, 0, "", 2, lost};
        }
        QTest::newRow("centre position 0 pays symbol 9") << ChanceSpin{6, 2, "4 RLC", 900, "999", 1, paid};
        QTest::newRow("last spin won")
            << ChanceSpin{1, 1, "2 LCR", 200, "222", 0, "Stop Stop Stop Jackpot Calm"};
        QTest::newRow("last spin lost") << ChanceSpin{1, 1, "3 L 1 C 1 R", 0, "", 0, "Stop Stop Stop Calm"};
        QTest::newRow("last spin lost, sound off") << ChanceSpin{1, 1, "3 L 1 C 1 R", 0, "", 0, "", false};
        QTest::newRow("left runs out onto the line") << ChanceSpin{3, 3, "4 CR L=10 run", 600, "666", 2, paid};
        QTest::newRow("left runs out off the line") << ChanceSpin{3, 3, "4 CR L=3 run", 0, "", 2, lost};
        QTest::newRow("right runs out") << ChanceSpin{3, 3, "5 L 1 C R=1 run", 0, "", 2, lost};
        QTest::newRow("centre runs out: bust") << ChanceSpin{3, 3, "5 L 1 R C=1 run", 0, "", 0, bust};
        QTest::newRow("all run out: bust") << ChanceSpin{3, 3, "run", 0, "", 0, bust};
        QTest::newRow("all run out in the last spin: a miss that hides the counter")
            << ChanceSpin{3, 1, "run", 0, "", 0, "Stop Stop stop music"};
    }
    void slotChanceSpin()
    {
        QFETCH(ChanceSpin, spin);
        MachineRig rig(spin.soundOn ? game::SoundSwitch::On : game::SoundSwitch::Off);
        const auto& s = rig.s();
        for (game::ReelState& reel : rig.edit().reels)
            reel.position = spin.start;
        rig.edit().chanceLeft = rig.edit().chanceCounter = spin.chanceLeft;
        blinkBothLamps(rig); // as the slot chance has them
        startSlotChanceSpin(rig);
        rig.clearLogs();
        rig.prompts.onNotice = [&](const game::Notice& n) { rig.sound << NoticeName(n.kind); };
        SignalLog log(rig.machine);
        play(rig, spin.script);
        QCOMPARE(log.repeats().join(QLatin1Char(',')), QString()); // each signal a change
        checkSpinEnded(rig);
        QCOMPARE(s.lastWin, spin.win);
        if (spin.win)
            QCOMPARE(payLine(s), spin.line);
        QCOMPARE(s.chanceCounter, spin.counter);
        QCOMPARE(rig.sound.join(QLatin1Char(' ')), spin.heard);
        // The lamps go dark where the calm tune starts, and only there.
        const bool calm = rig.sound.contains("Calm");
        QCOMPARE(blinkingGroups(s.lamps), calm ? QString() : QStringLiteral("notice frame"));
    }

    // A target symbol bought at the cover hit pays a hundredfold in the spin.
    void targetMultiplierThroughASpin()
    {
        MachineRig rig;
        rig.edit().money = 1000510;
        rig.prompts.targetAnswers.push_back(6);
        rig.hitAndStart(spinDraws(0, 0, 0, 0, 2), {pick(0, 20), pick(0, 10)});
        runReels(rig.machine);
        QCOMPARE(payLine(rig.s()), QStringLiteral("666"));
        QCOMPARE(rig.s().lastWin, 60000);
        QCOMPARE(rig.s().money, 1000400 + 60000);
    }
};

QTEST_GUILESS_MAIN(TestPayout)
#include "test_payout.moc"
