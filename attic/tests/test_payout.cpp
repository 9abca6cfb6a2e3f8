// The jackpot payout, the 10,000,000-dollar goal, and the slot chance that
// follows a jackpot: five spins stopped by the player with the stop buttons.
#include "app/MdlZelmor.h"
#include "platform/Runtime.h"
#include "tests/support/TestSupport.h"

#include <QtTest>

using namespace testing;
using namespace MdlZelmor;

namespace {

const long Teal = rt::RGB(0, 128, 128);
const long DarkOrange = rt::RGB(192, 64, 0);
const QString GoalMessage = QStringLiteral("達成おめでとうございます。\r\n今後確率を自由に変更できます。\r\n"
                                           "１００＄から再スタートとなります。");

void pay(FrmMain& f, int symbol, int bet, const QString& money)
{
    f.HitSymbol = symbol;
    f.Label11.setCaption(QString::number(bet));
    f.Label1.setCaption(money);
    f.PayJackpot();
}

ui::Image& button(FrmMain& f, QChar reel)
{
    return reel == QLatin1Char('L') ? f.ImgLStop : reel == QLatin1Char('C') ? f.ImgCStop : f.ImgRStop;
}

int& position(FrmMain& f, QChar reel)
{
    return reel == QLatin1Char('L') ? f.PosL : reel == QLatin1Char('C') ? f.PosC : f.PosR;
}

// Ticks until the reel is at the position, then presses its stop button.
void stopAt(FrmMain& f, QChar reel, int target)
{
    for (int guard = 0; position(f, reel) != target && guard < 20; ++guard)
        f.Timer1.fire();
    QCOMPARE(position(f, reel), target);
    button(f, reel).click();
}

// A cover hit, then a slot-chance spin started; ChanceLeft must be above 0.
void startSlotChanceSpin(Game& game, FrmMain& f)
{
    QVERIFY(f.ChanceLeft > 0);
    hitAndStart(game, f, spinDraws(0, 0, 0, 0, 100));
    QVERIFY(f.ImgLStop.visible() && f.ImgCStop.visible() && f.ImgRStop.visible());
}

// A slot-chance spin the player loses: the reels stopped in the given order,
// each at least one tick after the one before, the last one off the line.
void loseSlotChanceSpin(Game& game, FrmMain& f, const QString& order)
{
    startSlotChanceSpin(game, f);
    for (int i = 0; i < 3; ++i) {
        f.Timer1.fire();
        if (i == 2) {
            const int a = position(f, order[0]), b = position(f, order[1]);
            if (a == b && position(f, order[2]) == a)
                f.Timer1.fire();
        }
        button(f, order[i]).click();
    }
    QVERIFY(!(f.PosL == f.PosC && f.PosC == f.PosR));
}

} // namespace

class TestPayout : public QObject {
    Q_OBJECT
private slots:
    void payoutTable_data()
    {
        QTest::addColumn<int>("symbol");
        QTest::addColumn<int>("bet");
        QTest::addColumn<int>("targetRate");
        QTest::addColumn<int>("targetSymbol");
        QTest::addColumn<QString>("win");
        QTest::newRow("4, BET 3") << 4 << 3 << 1 << 0 << "1200";
        QTest::newRow("7, BET 2: 1400 + 1000") << 7 << 2 << 1 << 0 << "2400";
        QTest::newRow("0, BET 10") << 0 << 10 << 1 << 0 << "100000";
        QTest::newRow("0, BET 10, target bought") << 0 << 10 << 100 << 5 << "100000";
        QTest::newRow("target 5 hit, BET 1") << 5 << 1 << 100 << 5 << "51000";
        QTest::newRow("target 5, 6 comes up") << 6 << 1 << 100 << 5 << "600";
        QTest::newRow("target 9 hit, BET 10") << 9 << 10 << 100 << 9 << "900000";
        QTest::newRow("target 3 hit, BET 2: 1000 added once") << 3 << 2 << 100 << 3 << "61000";
        QTest::newRow("1, BET 1") << 1 << 1 << 1 << 0 << "100";
        QTest::newRow("3, BET 1") << 3 << 1 << 1 << 0 << "1300";
        QTest::newRow("5, BET 10") << 5 << 10 << 1 << 0 << "6000";
        QTest::newRow("8, BET 10") << 8 << 10 << 1 << 0 << "8000";
        QTest::newRow("BET 0") << 5 << 0 << 1 << 0 << "1000";
    }
    void payoutTable()
    {
        QFETCH(int, symbol);
        QFETCH(int, bet);
        QFETCH(int, targetRate);
        QFETCH(int, targetSymbol);
        QFETCH(QString, win);
        Game game;
        FrmMain& f = game.play();
        TargetRate = targetRate;
        TargetSymbol = targetSymbol;
        pay(f, symbol, bet, QStringLiteral("1000"));
        QCOMPARE(f.Label12.caption(), win);
        QCOMPARE(f.Label1.caption(), rt::DecimalText(1000 + win.toDouble()));
        QCOMPARE(f.Label11.caption(), QStringLiteral("0"));
        QVERIFY(game.prompts.messages.empty());
    }

    // The goal: 10,000,000 or more resets the money to 100 and unlocks the
    // probability change.
    void goal()
    {
        Game game;
        FrmMain& f = game.play();
        SaveLines[3] = QStringLiteral("0");
        f.mnuKakuritu.setEnabled(false);
        CueRecorder cues;

        pay(f, 9, 10, QStringLiteral("9990000"));
        QCOMPARE(f.Label1.caption(), QStringLiteral("9999000"));
        QVERIFY(game.prompts.messages.empty());
        QVERIFY(!f.mnuKakuritu.enabled());
        QVERIFY(SaveLines[28].isEmpty() && SaveLines[29].isEmpty());

        QString moneyAtMessage;
        QStringList playedAtMessage;
        game.prompts.onMessage = [&](const Message&) {
            moneyAtMessage = f.Label1.caption();
            playedAtMessage = cues.played();
        };
        cues.clear();
        pay(f, 1, 10, f.Label1.caption()); // exactly 10,000,000
        QCOMPARE(game.prompts.messages.size(), std::size_t(1));
        QCOMPARE(game.prompts.messages[0].text, GoalMessage);
        QCOMPARE(game.prompts.messages[0].style, int(seams::vbInformation));
        QCOMPARE(game.prompts.messages[0].title, QStringLiteral("ゼルモア"));
        QCOMPARE(moneyAtMessage, QStringLiteral("10000000"));
        QCOMPARE(playedAtMessage, QStringList({"effect ATARI.WAV", "music FEVER.MID"}));
        QCOMPARE(f.Label1.caption(), QStringLiteral("100"));
        QCOMPARE(f.Label12.caption(), QStringLiteral("1000"));
        QCOMPARE(SaveLines[28], QStringLiteral("1"));
        QCOMPARE(SaveLines[29], QStringLiteral("ChosenGuest"));
        QVERIFY(f.mnuKakuritu.enabled());
        // No slot-chance spin left: the calm tune replaces the fanfare.
        QCOMPARE(cues.played().last(), QStringLiteral("music Tvsa3.MID"));
    }

    void goalAboveTheMark()
    {
        Game game;
        FrmMain& f = game.play();
        TargetRate = 100;
        TargetSymbol = 9;
        pay(f, 9, 10, QStringLiteral("9999999"));
        QCOMPARE(game.prompts.texts(), QStringList{GoalMessage});
        QCOMPARE(f.Label1.caption(), QStringLiteral("100"));
        QCOMPARE(f.Label12.caption(), QStringLiteral("900000"));
    }

    void justBelowTheGoal()
    {
        Game game;
        FrmMain& f = game.play();
        pay(f, 1, 1, QStringLiteral("9999899"));
        QCOMPARE(f.Label1.caption(), QStringLiteral("9999999"));
        QVERIFY(game.prompts.messages.empty());
    }

    // Lamps, music and the counter after a payout, with and without sound,
    // with slot-chance spins to come or none.
    void afterThePayout_data()
    {
        QTest::addColumn<QString>("line3");
        QTest::addColumn<int>("chanceLeft");
        QTest::addColumn<QStringList>("played");
        QTest::addColumn<int>("noticeBlink");
        QTest::addColumn<int>("frameBlink");
        QTest::addColumn<bool>("counter");
        QTest::newRow("sound on, slot chance follows")
            << "0" << 5 << QStringList{"effect ATARI.WAV", "music Tvsa1.MID"} << 1 << 1 << true;
        QTest::newRow("sound on, slot chance over")
            << "0" << 0 << QStringList{"effect ATARI.WAV", "music Tvsa3.MID"} << 0 << 0 << false;
        QTest::newRow("sound off, slot chance follows") << "1" << 5 << QStringList{} << 1 << 0 << true;
        QTest::newRow("sound off, slot chance over") << "1" << 0 << QStringList{} << 1 << 0 << false;
    }
    void afterThePayout()
    {
        QFETCH(QString, line3);
        QFETCH(int, chanceLeft);
        QFETCH(QStringList, played);
        QFETCH(int, noticeBlink);
        QFETCH(int, frameBlink);
        QFETCH(bool, counter);
        Game game;
        FrmMain& f = game.play();
        SaveLines[3] = line3;
        f.ChanceLeft = chanceLeft;
        f.NoticeBlink = 1; // as a slot chance in progress would have it
        f.FrameBlink = 1;
        f.FramePhase = 1;
        f.Image10.setEnabled(false);
        f.mnuFile.setEnabled(false);
        f.setMousePointer(ui::MousePointer::ArrowHourglass);
        f.Timer3.setInterval(500);
        CueRecorder cues;
        pay(f, 2, 1, QStringLiteral("50"));
        QCOMPARE(cues.played(), played);
        QCOMPARE(f.NoticeBlink, noticeBlink);
        QCOMPARE(f.FrameBlink, frameBlink);
        QCOMPARE(f.FramePhase, 0);
        QCOMPARE(f.Shape1.fillColor(), Teal);
        QCOMPARE(f.Timer3.interval(), line3 == QStringLiteral("0") && chanceLeft ? 1000 : 500);
        QCOMPARE(f.Label14.visible(), counter);
        if (counter)
            QCOMPARE(f.Label14.caption(), QStringLiteral("5"));
        QVERIFY(f.Image10.enabled());
        QVERIFY(f.mnuFile.enabled());
        QCOMPARE(f.mousePointer(), ui::MousePointer::Default);
        QVERIFY(!f.Command1.visible());
    }

    // A jackpot spin, then its five slot-chance spins: lose, lose, win, lose, lose.
    void wholeSlotChance()
    {
        Game game;
        FrmMain& f = game.play();
        SaveLines[3] = QStringLiteral("0");
        CueRecorder cues;
        hitAndStart(game, f, spinDraws(0, 0, 0, 0, 6), {pick(0, 20)}); // instant line-up on 7
        runReels(f);
        QCOMPARE(f.Label1.caption(), QStringLiteral("1790"));
        QCOMPARE(f.Label14.caption(), QStringLiteral("5"));

        // Spin 1: stopped left, centre, right. Only the third click judges.
        startSlotChanceSpin(game, f);
        QCOMPARE(f.ChanceLeft, 4);
        QVERIFY(!f.Command1.visible());
        cues.clear();
        f.Timer1.fire();
        f.ImgLStop.click();
        QVERIFY(!f.ImgLStop.visible());
        QCOMPARE(f.SpinL, 0);
        const QString leftColumn = reelFaces(f).left(3);
        f.Timer1.fire();
        QCOMPARE(reelFaces(f).left(3), leftColumn); // a stopped reel stays put
        f.ImgCStop.click();
        QCOMPARE(f.Label11.caption(), QStringLiteral("1")); // not judged yet
        QVERIFY(!f.Image10.enabled());
        QCOMPARE(cues.played(), QStringList({"effect STOP.WAV", "effect STOP.WAV"}));
        f.Timer1.fire();
        f.ImgRStop.click();
        QCOMPARE(cues.played(), QStringList({"effect STOP.WAV", "effect STOP.WAV", "effect STOP.WAV"}));
        QCOMPARE(f.Label11.caption(), QStringLiteral("0"));
        QVERIFY(f.Image10.enabled() && f.mnuFile.enabled() && f.mnuHelp.enabled());
        QCOMPARE(f.mousePointer(), ui::MousePointer::Default);
        QCOMPARE(f.Label14.caption(), QStringLiteral("4"));
        QVERIFY(f.Label14.visible());
        QCOMPARE(f.NoticeBlink, 1); // lamps and music go on through the slot chance
        QCOMPARE(f.FrameBlink, 1);
        QCOMPARE(f.Label12.caption(), QStringLiteral("0"));
        QVERIFY(!f.Command1.visible());

        // Spin 2: stopped right, centre, left.
        loseSlotChanceSpin(game, f, QStringLiteral("RCL"));
        QCOMPARE(f.Label14.caption(), QStringLiteral("3"));

        // Spin 3: the player lines them up, centre first.
        startSlotChanceSpin(game, f);
        const int target = (f.PosC + 4) % 10;
        cues.clear();
        stopAt(f, QLatin1Char('C'), target);
        stopAt(f, QLatin1Char('L'), target);
        stopAt(f, QLatin1Char('R'), target);
        const int symbol = (target + 9) % 10;
        QCOMPARE(f.HitSymbol, symbol);
        QCOMPARE(payLine(f), QString(3, QLatin1Char('0' + symbol)));
        const double win = symbol == 0 ? 10000 : symbol * 100 + (symbol == 3 || symbol == 5 || symbol == 7 ? 1000 : 0);
        QCOMPARE(f.Label12.caption(), rt::DecimalText(win));
        QCOMPARE(f.ChanceLeft, 2);
        QCOMPARE(f.Label14.caption(), QStringLiteral("2"));
        QCOMPARE(cues.played().mid(3), QStringList({"effect ATARI.WAV", "music Tvsa1.MID"}));
        QCOMPARE(f.NoticeBlink, 1);
        QCOMPARE(f.FrameBlink, 1);

        // Spins 4 and 5.
        loseSlotChanceSpin(game, f, QStringLiteral("CRL"));
        QCOMPARE(f.Label14.caption(), QStringLiteral("1"));
        cues.clear();
        loseSlotChanceSpin(game, f, QStringLiteral("LRC"));
        QCOMPARE(f.ChanceLeft, 0);
        QVERIFY(!f.Label14.visible());
        QCOMPARE(f.NoticeBlink, 0);
        QCOMPARE(f.FrameBlink, 0);
        QCOMPARE(f.Shape8.fillColor(), DarkOrange);
        QCOMPARE(f.Shape4.borderColor(), Teal);
        QCOMPARE(cues.played().last(), QStringLiteral("music Tvsa3.MID"));

        // The next spin is an ordinary one again.
        cues.clear();
        hitAndStart(game, f, spinDraws(0, 0, 0, 0, 100));
        QVERIFY(!f.ImgLStop.visible());
        QCOMPARE(f.StopCountL, 50);
        QCOMPARE(cues.played(), QStringList{"music ROLL.MID"});
    }

    // The judgement does not depend on the order of the stops.
    void stopOrder_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<bool>("together");
        for (const char* order : {"LCR", "RCL", "CLR", "CRL", "LRC", "RLC"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1 together").arg(QLatin1String(order))))
                << QString::fromLatin1(order) << true;
            QTest::newRow(qPrintable(QStringLiteral("%1 one tick apart").arg(QLatin1String(order))))
                << QString::fromLatin1(order) << false;
        }
    }
    void stopOrder()
    {
        QFETCH(QString, order);
        QFETCH(bool, together);
        Game game;
        FrmMain& f = game.play();
        f.PosL = f.PosC = f.PosR = 3;
        f.ChanceLeft = 3;
        f.Label14.setCaption(QStringLiteral("3"));
        f.Label14.setVisible(true);
        startSlotChanceSpin(game, f);
        for (int i = 0; i < 4; ++i)
            f.Timer1.fire();
        for (QChar reel : order) {
            if (!together)
                f.Timer1.fire();
            button(f, reel).click();
        }
        if (together) {
            QCOMPARE(payLine(f), QStringLiteral("666"));
            QCOMPARE(f.Label12.caption(), QStringLiteral("600"));
            QCOMPARE(f.Label1.caption(), QStringLiteral("690"));
        } else {
            QCOMPARE(f.Label12.caption(), QStringLiteral("0"));
            QCOMPARE(f.Label1.caption(), QStringLiteral("90"));
        }
        QCOMPARE(f.ChanceLeft, 2);
        QCOMPARE(f.Label14.caption(), QStringLiteral("2"));
        QCOMPARE(f.Label11.caption(), QStringLiteral("0"));
        QVERIFY(!f.ImgLStop.visible() && !f.ImgCStop.visible() && !f.ImgRStop.visible());
    }

    // Equal positions at 0: the centre position 0 steps back to symbol 9.
    void lineUpOnNine()
    {
        Game game;
        FrmMain& f = game.play();
        f.PosL = f.PosC = f.PosR = 6;
        f.ChanceLeft = 2;
        startSlotChanceSpin(game, f);
        for (int i = 0; i < 4; ++i)
            f.Timer1.fire();
        QCOMPARE(f.HitSymbol, 0);
        f.ImgRStop.click();
        f.ImgLStop.click();
        f.ImgCStop.click();
        QCOMPARE(f.HitSymbol, 9);
        QCOMPARE(payLine(f), QStringLiteral("999"));
        QCOMPARE(f.Label12.caption(), QStringLiteral("900"));
    }

    // A jackpot on the fifth slot-chance spin ends the slot chance.
    void jackpotOnTheLastSlotChanceSpin()
    {
        Game game;
        FrmMain& f = game.play();
        SaveLines[3] = QStringLiteral("0");
        f.PosL = f.PosC = f.PosR = 1;
        f.ChanceLeft = 1;
        f.NoticeBlink = f.FrameBlink = 1;
        f.Label14.setCaption(QStringLiteral("1"));
        f.Label14.setVisible(true);
        startSlotChanceSpin(game, f);
        CueRecorder cues;
        f.Timer1.fire();
        f.Timer1.fire();
        f.ImgLStop.click();
        f.ImgCStop.click();
        f.ImgRStop.click();
        QCOMPARE(payLine(f), QStringLiteral("222"));
        QCOMPARE(f.Label12.caption(), QStringLiteral("200"));
        QCOMPARE(f.ChanceLeft, 0);
        QVERIFY(!f.Label14.visible());
        QCOMPARE(f.NoticeBlink, 0);
        QCOMPARE(f.FrameBlink, 0);
        QCOMPARE(cues.played(),
                 QStringList({"effect STOP.WAV", "effect STOP.WAV", "effect STOP.WAV", "effect ATARI.WAV",
                              "music Tvsa3.MID"}));
    }

    // With sound off the last losing slot-chance spin leaves the lamps as they were.
    void soundOffLastSlotChanceSpin()
    {
        Game game;
        FrmMain& f = game.play();
        SaveLines[3] = QStringLiteral("1");
        f.ChanceLeft = 1;
        f.NoticeBlink = f.FrameBlink = 1;
        f.Shape8.setFillColor(rt::RGB(255, 192, 128));
        CueRecorder cues;
        loseSlotChanceSpin(game, f, QStringLiteral("LCR"));
        QVERIFY(cues.log.isEmpty());
        QCOMPARE(f.NoticeBlink, 1);
        QCOMPARE(f.FrameBlink, 1);
        QCOMPARE(f.Shape8.fillColor(), rt::RGB(255, 192, 128));
        QVERIFY(!f.Label14.visible());
        QCOMPARE(f.Label11.caption(), QStringLiteral("0"));
    }

    // A target symbol bought at the cover hit pays a hundredfold in the next spin.
    void targetMultiplierThroughASpin()
    {
        Game game;
        FrmMain& f = game.play();
        game.rnd.push(pick(0, 4));
        f.Image10.click(); // BET 1, $90
        TargetRate = 100;  // as the target dialog sets them
        TargetSymbol = 6;
        game.rnd.script(spinDraws(0, 0, 0, 0, 2));
        game.rnd.script({pick(0, 20), pick(0, 10)});
        f.Command1.click();
        runReels(f);
        QCOMPARE(payLine(f), QStringLiteral("666"));
        QCOMPARE(f.Label12.caption(), QStringLiteral("60000"));
        QCOMPARE(f.Label1.caption(), QStringLiteral("60090"));
    }
};

QTEST_MAIN(TestPayout)
#include "test_payout.moc"
