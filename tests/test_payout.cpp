// The jackpot payout, the 10,000,000-dollar goal, and the slot chance after a
// jackpot: five spins stopped by the player, or left to their own counts.
#include "tests/support/Rig.h"

#include <QtTest>

using namespace testing;
using game::Reel;

Q_DECLARE_METATYPE(game::SoundSwitch)

namespace {

const QString GoalMessage = QStringLiteral("達成おめでとうございます。\r\n今後確率を自由に変更できます。\r\n"
                                           "１００＄から再スタートとなります。");

void pay(MachineRig& rig, int symbol, int bet, qint64 money)
{
    rig.edit().hitSymbol = symbol;
    rig.edit().bet = bet;
    rig.edit().money = money;
    rig.machine.PayJackpot();
}

Reel reelOf(QChar c) { return c == QLatin1Char('L') ? Reel::Left : c == QLatin1Char('C') ? Reel::Centre : Reel::Right; }

int position(const MachineRig& rig, QChar reel)
{
    const Reel r = reelOf(reel);
    return r == Reel::Left ? rig.s().posL : r == Reel::Centre ? rig.s().posC : rig.s().posR;
}

// Ticks until the reel is at the position, then presses its stop button.
void stopAt(MachineRig& rig, QChar reel, int target)
{
    for (int guard = 0; position(rig, reel) != target && guard < 20; ++guard)
        rig.machine.tickReels();
    QCOMPARE(position(rig, reel), target);
    rig.machine.pressStop(reelOf(reel));
}

// A cover hit, then a slot-chance spin started; chanceLeft must be above 0.
void startSlotChanceSpin(MachineRig& rig)
{
    QVERIFY(rig.s().chanceLeft > 0);
    rig.hitAndStart(spinDraws(0, 0, 0, 0, 100));
    QCOMPARE(rig.s().stopShown, (std::array<bool, 3>{true, true, true}));
}

// A slot-chance spin stopped in the given order ("LCR"), each stop at least a
// tick after the one before, the last one off the line.
void loseSlotChanceSpin(MachineRig& rig, const QString& order)
{
    startSlotChanceSpin(rig);
    for (int i = 0; i < 3; ++i) {
        rig.machine.tickReels();
        if (i == 2 && position(rig, order[0]) == position(rig, order[1])
            && position(rig, order[2]) == position(rig, order[0]))
            rig.machine.tickReels();
        rig.machine.pressStop(reelOf(order[i]));
    }
    QVERIFY(!(rig.s().posL == rig.s().posC && rig.s().posC == rig.s().posR));
}

void checkSpinEnded(const MachineRig& rig)
{
    const auto& s = rig.s();
    QVERIFY(!rig.machine.spinning());
    QVERIFY(s.coversEnabled && s.menusEnabled && !s.startShown);
    QCOMPARE(s.pointer, game::Pointer::Default);
    QCOMPARE(s.bet, 0);
    QCOMPARE(s.stopShown, (std::array<bool, 3>{false, false, false}));
}

} // namespace

class TestPayout : public QObject {
    Q_OBJECT
private slots:
    void payoutTable_data()
    {
        QTest::addColumn<int>("symbol");
        QTest::addColumn<int>("bet");
        QTest::addColumn<int>("target"); // 0: none bought
        QTest::addColumn<qint64>("win");
        QTest::newRow("4, BET 3") << 4 << 3 << 0 << qint64(1200);
        QTest::newRow("7, BET 2: 1400 + 1000") << 7 << 2 << 0 << qint64(2400);
        QTest::newRow("0, BET 10") << 0 << 10 << 0 << qint64(100000);
        QTest::newRow("0, BET 10, target 5 bought") << 0 << 10 << 5 << qint64(100000);
        QTest::newRow("target 5 hit, BET 1") << 5 << 1 << 5 << qint64(51000);
        QTest::newRow("target 5, 6 comes up") << 6 << 1 << 5 << qint64(600);
        QTest::newRow("target 9 hit, BET 10") << 9 << 10 << 9 << qint64(900000);
        QTest::newRow("target 3 hit, BET 2: 1000 added once") << 3 << 2 << 3 << qint64(61000);
        QTest::newRow("1, BET 1") << 1 << 1 << 0 << qint64(100);
        QTest::newRow("3, BET 1") << 3 << 1 << 0 << qint64(1300);
        QTest::newRow("5, BET 10") << 5 << 10 << 0 << qint64(6000);
        QTest::newRow("8, BET 10") << 8 << 10 << 0 << qint64(8000);
        QTest::newRow("BET 0") << 5 << 0 << 0 << qint64(1000);
    }
    void payoutTable()
    {
        QFETCH(int, symbol);
        QFETCH(int, bet);
        QFETCH(int, target);
        QFETCH(qint64, win);
        MachineRig rig;
        rig.edit().targetSymbol = target;
        rig.edit().targetRate = target ? 100 : 1;
        pay(rig, symbol, bet, 1000);
        QCOMPARE(rig.s().lastWin, win);
        QCOMPARE(rig.s().money, 1000 + win);
        QCOMPARE(rig.s().bet, 0);
        QVERIFY(rig.prompts.messages.empty());
    }

    // 10,000,000 or more: the fanfare, the message, then $100 and the
    // probability command unlocked.
    void goal_data()
    {
        QTest::addColumn<int>("symbol");
        QTest::addColumn<int>("target");
        QTest::addColumn<qint64>("before");
        QTest::addColumn<qint64>("atMessage"); // 0: not reached
        QTest::newRow("just below") << 9 << 0 << qint64(9990000) << qint64(0);
        QTest::newRow("exactly the goal") << 1 << 0 << qint64(9999000) << qint64(10000000);
        QTest::newRow("above it, target bought") << 9 << 9 << qint64(9999999) << qint64(10899999);
    }
    void goal()
    {
        QFETCH(int, symbol);
        QFETCH(int, target);
        QFETCH(qint64, before);
        QFETCH(qint64, atMessage);
        MachineRig rig;
        rig.edit().targetSymbol = target;
        rig.edit().targetRate = target ? 100 : 1;
        qint64 moneyAtMessage = 0;
        QStringList heardAtMessage;
        rig.prompts.onMessage = [&](const Message&) {
            moneyAtMessage = rig.s().money;
            heardAtMessage = rig.sound;
        };
        pay(rig, symbol, 10, before);
        QCOMPARE(rig.s().unlocked, atMessage != 0);
        if (!atMessage) {
            QVERIFY(rig.prompts.messages.empty());
            QCOMPARE(rig.s().money, before + symbol * 1000);
            return;
        }
        QCOMPARE(rig.prompts.texts(), QStringList{GoalMessage});
        QCOMPARE(rig.prompts.messages[0].style, int(seams::vbInformation));
        QCOMPARE(rig.prompts.messages[0].title, QStringLiteral("ゼルモア"));
        QCOMPARE(moneyAtMessage, atMessage);
        QCOMPARE(heardAtMessage, QStringList({"Jackpot", "Fever"}));
        QCOMPARE(rig.s().money, 100);
        QCOMPARE(rig.s().lastWin, atMessage - before);
        QCOMPARE(rig.sound.last(), QStringLiteral("Calm")); // no slot chance: the calm tune follows
    }

    // Lamps, music and the counter after a payout, with and without sound,
    // with slot-chance spins to come or none.
    void afterThePayout_data()
    {
        QTest::addColumn<game::SoundSwitch>("sound");
        QTest::addColumn<int>("chanceLeft");
        QTest::addColumn<QStringList>("heard");
        QTest::addColumn<bool>("noticeBlink");
        QTest::addColumn<bool>("frameBlink");
        QTest::addColumn<int>("noticeMs");
        using game::SoundSwitch;
        QTest::newRow("sound on, slot chance follows")
            << SoundSwitch::On << 5 << QStringList{"Jackpot", "ChanceIntro"} << true << true << 1000;
        QTest::newRow("sound on, slot chance over")
            << SoundSwitch::On << 0 << QStringList{"Jackpot", "Calm"} << false << false << 500;
        QTest::newRow("sound off, slot chance follows") << SoundSwitch::Off << 5 << QStringList{} << true << false << 500;
        QTest::newRow("sound off, slot chance over") << SoundSwitch::Off << 0 << QStringList{} << true << false << 500;
    }
    void afterThePayout()
    {
        QFETCH(game::SoundSwitch, sound);
        QFETCH(int, chanceLeft);
        QFETCH(QStringList, heard);
        QFETCH(bool, noticeBlink);
        QFETCH(bool, frameBlink);
        QFETCH(int, noticeMs);
        MachineRig rig(sound);
        auto& s = rig.edit();
        s.chanceLeft = chanceLeft;
        s.noticeBlink = s.frameBlink = true; // as a slot chance in progress has them
        s.framePhase = 1;
        s.coversEnabled = s.menusEnabled = false;
        s.pointer = game::Pointer::ArrowHourglass;
        s.noticeTimerMs = 500;
        pay(rig, 2, 1, 50);
        QCOMPARE(rig.sound, heard);
        QCOMPARE(s.noticeBlink, noticeBlink);
        QCOMPARE(s.frameBlink, frameBlink);
        QCOMPARE(s.framePhase, 0);
        QCOMPARE(s.frameLamps, game::FrameLampDark);
        QCOMPARE(s.noticeTimerMs, noticeMs);
        QCOMPARE(s.chanceCounter, chanceLeft);
        checkSpinEnded(rig);
    }

    // A jackpot spin, then its five slot-chance spins: lose, lose, win, lose, lose.
    void wholeSlotChance()
    {
        MachineRig rig;
        const auto& s = rig.s();
        rig.hitAndStart(spinDraws(0, 0, 0, 0, 6), {pick(0, 20)}); // instant line-up on 7
        runReels(rig.machine);
        QCOMPARE(s.money, 1790);
        QCOMPARE(s.chanceCounter, 5);

        // Spin 1: stopped left, centre, right. Only the third stop judges.
        startSlotChanceSpin(rig);
        QCOMPARE(s.chanceLeft, 4);
        QCOMPARE(s.chanceCounter, 5); // follows at the end of the spin
        rig.clearLogs();
        rig.machine.tickReels();
        rig.machine.pressStop(Reel::Left);
        QVERIFY(!s.spinL && !s.stopShown[0]);
        const QString leftColumn = reelFaces(s).left(3);
        rig.machine.tickReels();
        QCOMPARE(reelFaces(s).left(3), leftColumn); // a stopped reel stays put
        rig.machine.pressStop(Reel::Centre);
        QCOMPARE(s.bet, 1); // not judged yet
        QVERIFY(!s.coversEnabled);
        rig.machine.tickReels();
        rig.machine.pressStop(Reel::Right);
        QCOMPARE(rig.sound, QStringList({"Stop", "Stop", "Stop"}));
        checkSpinEnded(rig);
        QCOMPARE(s.chanceCounter, 4);
        QVERIFY(s.noticeBlink && s.frameBlink); // lamps and music go on through the slot chance
        QCOMPARE(s.lastWin, 0);

        // Spin 2: stopped right, centre, left.
        loseSlotChanceSpin(rig, QStringLiteral("RCL"));
        QCOMPARE(s.chanceCounter, 3);

        // Spin 3: the player lines them up, centre first.
        startSlotChanceSpin(rig);
        const int target = (s.posC + 4) % 10;
        rig.clearLogs();
        stopAt(rig, QLatin1Char('C'), target);
        stopAt(rig, QLatin1Char('L'), target);
        stopAt(rig, QLatin1Char('R'), target);
        const int symbol = (target + 9) % 10;
        QCOMPARE(s.hitSymbol, symbol);
        QCOMPARE(payLine(s), QString(3, QLatin1Char(char('0' + symbol))));
        QCOMPARE(s.lastWin, symbol == 0 ? 10000 : symbol * 100 + (symbol == 3 || symbol == 5 || symbol == 7 ? 1000 : 0));
        QCOMPARE(s.chanceCounter, 2);
        QCOMPARE(rig.sound, QStringList({"Stop", "Stop", "Stop", "Jackpot", "ChanceIntro"}));
        QVERIFY(s.noticeBlink && s.frameBlink);

        // Spins 4 and 5; the last one ends the slot chance.
        loseSlotChanceSpin(rig, QStringLiteral("CRL"));
        QCOMPARE(s.chanceCounter, 1);
        rig.clearLogs();
        loseSlotChanceSpin(rig, QStringLiteral("LRC"));
        QCOMPARE(s.chanceLeft, 0);
        QCOMPARE(s.chanceCounter, 0);
        QVERIFY(!s.noticeBlink && !s.frameBlink);
        QCOMPARE(s.noticeLamps, game::NoticeLampDark);
        QCOMPARE(s.frameLamps, game::FrameLampDark);
        QCOMPARE(rig.sound.last(), QStringLiteral("Calm"));

        // The next spin is an ordinary one again.
        rig.clearLogs();
        rig.hitAndStart(spinDraws(0, 0, 0, 0, 100));
        QVERIFY(!s.stopShown[0]);
        QCOMPARE(s.stopCountL, 50);
        QCOMPARE(rig.sound, QStringList{"Roll"});
    }

    // The judgement does not depend on the order of the stops.
    void stopOrder_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<bool>("together");
        for (const char* order : {"LCR", "RCL", "CLR", "CRL", "LRC", "RLC"}) {
            QTest::addRow("%s together", order) << QString::fromLatin1(order) << true;
            QTest::addRow("%s one tick apart", order) << QString::fromLatin1(order) << false;
        }
    }
    void stopOrder()
    {
        QFETCH(QString, order);
        QFETCH(bool, together);
        MachineRig rig;
        rig.edit().posL = rig.edit().posC = rig.edit().posR = 3;
        rig.edit().chanceLeft = 3;
        startSlotChanceSpin(rig);
        for (int i = 0; i < 4; ++i)
            rig.machine.tickReels();
        for (QChar reel : order) {
            if (!together)
                rig.machine.tickReels();
            rig.machine.pressStop(reelOf(reel));
        }
        if (together)
            QCOMPARE(payLine(rig.s()), QStringLiteral("666"));
        QCOMPARE(rig.s().lastWin, together ? 600 : 0);
        QCOMPARE(rig.s().money, together ? 690 : 90);
        QCOMPARE(rig.s().chanceCounter, 2);
        checkSpinEnded(rig);
    }

    // Equal positions at 0: the centre position 0 steps back to symbol 9.
    void lineUpOnNine()
    {
        MachineRig rig;
        rig.edit().posL = rig.edit().posC = rig.edit().posR = 6;
        rig.edit().chanceLeft = 2;
        startSlotChanceSpin(rig);
        for (int i = 0; i < 4; ++i)
            rig.machine.tickReels();
        QCOMPARE(rig.s().hitSymbol, 0);
        for (Reel reel : {Reel::Right, Reel::Left, Reel::Centre})
            rig.machine.pressStop(reel);
        QCOMPARE(rig.s().hitSymbol, 9);
        QCOMPARE(payLine(rig.s()), QStringLiteral("999"));
        QCOMPARE(rig.s().lastWin, 900);
    }

    // The last slot-chance spin, won or lost: with sound on the lamps go dark
    // and the calm tune plays; with sound off the lamps are left as they were.
    void lastSlotChanceSpin_data()
    {
        QTest::addColumn<game::SoundSwitch>("sound");
        QTest::addColumn<bool>("together");
        QTest::addColumn<QStringList>("heard");
        using game::SoundSwitch;
        QTest::newRow("won") << SoundSwitch::On << true << QStringList({"Stop", "Stop", "Stop", "Jackpot", "Calm"});
        QTest::newRow("lost") << SoundSwitch::On << false << QStringList({"Stop", "Stop", "Stop", "Calm"});
        QTest::newRow("lost, sound off") << SoundSwitch::Off << false << QStringList{};
    }
    void lastSlotChanceSpin()
    {
        QFETCH(game::SoundSwitch, sound);
        QFETCH(bool, together);
        QFETCH(QStringList, heard);
        MachineRig rig(sound);
        auto& s = rig.edit();
        s.posL = s.posC = s.posR = 1;
        s.chanceLeft = 1;
        s.chanceCounter = 1;
        s.noticeBlink = s.frameBlink = true;
        s.noticeLamps = game::NoticeLampLit;
        startSlotChanceSpin(rig);
        rig.machine.tickReels();
        rig.machine.tickReels();
        for (Reel reel : {Reel::Left, Reel::Centre, Reel::Right}) {
            if (!together)
                rig.machine.tickReels();
            rig.machine.pressStop(reel);
        }
        QCOMPARE(s.lastWin, together ? 200 : 0);
        QCOMPARE(s.chanceCounter, 0);
        QCOMPARE(rig.sound, heard);
        const bool calm = sound == game::SoundSwitch::On;
        QCOMPARE(s.noticeBlink, !calm);
        QCOMPARE(s.frameBlink, !calm);
        QCOMPARE(s.noticeLamps, calm ? game::NoticeLampDark : game::NoticeLampLit);
        checkSpinEnded(rig);
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

    // A slot-chance spin left to the reels' own counts (left 50000, right
    // 50001, centre 50002): each reel that runs out is judged like a press of
    // its button; the centre running out with spins to come is the bust,
    // which hides the counter.
    void slotChanceSpinLeftRunning_data()
    {
        QTest::addColumn<int>("chanceBefore");
        QTest::addColumn<bool>("bust");
        QTest::newRow("spins to come: bust") << 3 << true;
        QTest::newRow("last slot-chance spin: plain miss") << 1 << false;
    }
    void slotChanceSpinLeftRunning()
    {
        QFETCH(int, chanceBefore);
        QFETCH(bool, bust);
        MachineRig rig;
        auto& s = rig.edit();
        s.chanceLeft = s.chanceCounter = chanceBefore;
        s.frameBlink = s.noticeBlink = true;
        rig.hitAndStart(spinDraws(0, 0, 0, 0, 50));
        QStringList heardAtMessage;
        rig.prompts.onMessage = [&](const Message&) { heardAtMessage = rig.sound; };
        const auto ticks = runReels(rig.machine, 60000, [&](int n) {
            if (n == 50000)
                QCOMPARE(s.stopShown, (std::array<bool, 3>{false, true, true}));
        });
        QCOMPARE(int(ticks.size()), 50002);
        QCOMPARE(payLine(s), QStringLiteral("699"));
        QCOMPARE(s.chanceLeft, 0);
        QVERIFY(!s.reelTimerEnabled);
        checkSpinEnded(rig);
        if (bust) {
            QCOMPARE(rig.prompts.texts(), QStringList{QStringLiteral("パンクしました。")});
            QCOMPARE(rig.prompts.messages[0].style, int(seams::vbInformation));
            QCOMPARE(rig.prompts.messages[0].title, QStringLiteral("ゼルモア"));
            QCOMPARE(heardAtMessage, QStringList({"Stop", "Stop", "stop music", "Calm"}));
            QCOMPARE(s.chanceCounter, 0);
            QVERIFY(!s.noticeBlink && !s.frameBlink);
            QCOMPARE(s.noticeLamps, game::NoticeLampDark);
        } else {
            QVERIFY(rig.prompts.messages.empty());
            QCOMPARE(rig.sound, QStringList({"Stop", "Stop", "stop music"}));
            QCOMPARE(s.chanceCounter, chanceBefore); // left as it was
            QVERIFY(s.noticeBlink && s.frameBlink);
        }
    }

    // The last reel turning stops by its own count after the player stopped
    // the others: the spin is judged and ends, never left locked.
    void lastReelRunsOutAfterStops_data()
    {
        QTest::addColumn<QString>("pressed");
        QTest::addColumn<bool>("apart");
        QTest::addColumn<int>("count");
        QTest::addColumn<qint64>("win");
        QTest::addColumn<bool>("bust");
        QTest::newRow("left runs out onto the line: pays") << "CR" << false << 10 << qint64(600) << false;
        QTest::newRow("left runs out off the line") << "CR" << false << 3 << qint64(0) << false;
        QTest::newRow("right runs out") << "LC" << true << 1 << qint64(0) << false;
        QTest::newRow("centre runs out: bust") << "LR" << true << 1 << qint64(0) << true;
    }
    void lastReelRunsOutAfterStops()
    {
        QFETCH(QString, pressed);
        QFETCH(bool, apart);
        QFETCH(int, count);
        QFETCH(qint64, win);
        QFETCH(bool, bust);
        MachineRig rig;
        auto& s = rig.edit();
        s.posL = s.posC = s.posR = 3;
        s.chanceLeft = s.chanceCounter = 3;
        startSlotChanceSpin(rig);
        for (int i = 0; i < 4; ++i)
            rig.machine.tickReels();
        for (QChar reel : pressed) {
            if (apart)
                rig.machine.tickReels();
            rig.machine.pressStop(reelOf(reel));
        }
        rig.clearLogs();
        (!pressed.contains(QLatin1Char('L'))   ? s.stopCountL
         : !pressed.contains(QLatin1Char('C')) ? s.stopCountC
                                               : s.stopCountR) = count;
        runReels(rig.machine, 100);
        checkSpinEnded(rig);
        QCOMPARE(s.lastWin, win);
        QCOMPARE(s.chanceCounter, bust ? 0 : 2);
        if (win)
            QCOMPARE(payLine(s), QStringLiteral("666"));
        QCOMPARE(rig.prompts.texts(), bust ? QStringList{QStringLiteral("パンクしました。")} : QStringList{});
        QCOMPARE(rig.sound.first(), bust ? QStringLiteral("stop music") : QStringLiteral("Stop"));
    }
};

QTEST_GUILESS_MAIN(TestPayout)
#include "test_payout.moc"
