// The six reach actions of a jackpot spin, played tick by tick through the
// real Start button and Timer1, and the bust of a slot-chance spin left running.
#include "app/MdlZelmor.h"
#include "platform/Runtime.h"
#include "tests/support/TestSupport.h"

#include <QtTest>

using namespace testing;
using namespace MdlZelmor;

namespace {

const long Teal = rt::RGB(0, 128, 128);
const long DarkOrange = rt::RGB(192, 64, 0);

// What the machine looked like after one tick.
struct After {
    int drawNumber = 0;
    int interval = 0;
    bool timerOn = false;
    int frameBlink = 0;
    int musicStops = 0;
    QStringList played;
    QString line;
};

struct Played {
    std::vector<Tick> ticks;
    std::vector<After> after; // after[n - 1] = after tick n
};

Played play(FrmMain& f, CueRecorder& cues, int maxTicks = 2000)
{
    Played p;
    p.ticks = runReels(f, maxTicks, [&](int) {
        p.after.push_back({f.DrawNumber, f.Timer1.interval(), f.Timer1.enabled(), f.FrameBlink, cues.musicStops(),
                           cues.played(), payLine(f)});
    });
    return p;
}

// A started game with sound on, BET 1 and $90 after the cover hit.
FrmMain& soundOnGame(Game& game)
{
    FrmMain& f = game.play();
    SaveLines[3] = QStringLiteral("0");
    return f;
}

// The payout of a jackpot spin that opens the slot chance, with sound on.
void checkJackpotSpinPaid(const FrmMain& f, const QString& symbol)
{
    QCOMPARE(payLine(f), symbol + symbol + symbol);
    QCOMPARE(f.HitSymbol, symbol.toInt());
    QCOMPARE(f.ChanceLeft, 5);
    QCOMPARE(f.Label14.caption(), QStringLiteral("5"));
    QVERIFY(f.Label14.visible());
    QCOMPARE(f.Label11.caption(), QStringLiteral("0"));
    QVERIFY(f.Image10.enabled());
    QVERIFY(f.mnuFile.enabled() && f.mnuHelp.enabled());
    QCOMPARE(f.mousePointer(), ui::MousePointer::Default);
    QCOMPARE(f.FrameBlink, 1); // slot-chance blinking
    QCOMPARE(f.NoticeBlink, 1);
    QCOMPARE(f.Timer3.interval(), 1000);
}

} // namespace

class TestReelsReach : public QObject {
    Q_OBJECT
private slots:
    // DrawNumber 2..5, decided at the centre countdown. The reach is reached
    // at tick 78 with 6 on the left and right pay line; the centre countdown
    // then runs 10 + extra steps.
    void centreReachActions_data()
    {
        QTest::addColumn<int>("drawNumber");
        QTest::addColumn<int>("extra");
        QTest::addColumn<int>("pauseTick"); // 0: no reach pause
        QTest::addColumn<int>("payTick");
        QTest::newRow("2 normal stop") << 2 << 0 << 0 << 89;
        QTest::newRow("2 countdown ends lined up: pays at once") << 2 << 1 << 0 << 89;
        QTest::newRow("3 two-stage stop") << 3 << 0 << 88 << 89;
        QTest::newRow("3 pauses even when lined up") << 3 << 1 << 89 << 99;
        QTest::newRow("4 one-short: top row matches at once") << 4 << 0 << 88 << 89;
        QTest::newRow("4 one-short after a search") << 4 << 1 << 98 << 99;
        QTest::newRow("5 one-past stop") << 5 << 0 << 90 << 99;
        QTest::newRow("5 one-past after a longer search") << 5 << 3 << 100 << 109;
    }
    void centreReachActions()
    {
        QFETCH(int, drawNumber);
        QFETCH(int, extra);
        QFETCH(int, pauseTick);
        QFETCH(int, payTick);
        Game game;
        FrmMain& f = soundOnGame(game);
        CueRecorder cues;
        hitAndStart(game, f, spinDraws(0, 0, 0, 0, drawNumber), {pick(0, 20), pick(extra, 10)});
        QCOMPARE(f.ReachFlag, 1);
        const Played p = play(f, cues);

        QCOMPARE(int(p.ticks.size()), payTick);
        QCOMPARE(p.after[77].line.left(1), QStringLiteral("6"));
        QCOMPARE(p.after[77].line.right(1), QStringLiteral("6"));
        QVERIFY(!p.after[77].played.contains(QStringLiteral("music REACH.MID")));
        QVERIFY(p.after[78].played.contains(QStringLiteral("music REACH.MID")));
        for (int n = 1; n <= payTick; ++n) {
            const int expected = n <= 78 ? 75 : (pauseTick && n == pauseTick + 1 ? 1500 : 500);
            QCOMPARE(p.ticks[n - 1].waitedMs, expected);
        }
        if (pauseTick) {
            const After& pause = p.after[pauseTick - 1];
            QCOMPARE(pause.drawNumber, 2);
            QCOMPARE(pause.interval, 1500);
            QCOMPARE(pause.frameBlink, 0);
            QCOMPARE(pause.musicStops, 1);
            QCOMPARE(p.after[pauseTick - 2].drawNumber, drawNumber);
            QCOMPARE(p.after[pauseTick - 2].musicStops, 0);
            const QString faces = p.ticks[pauseTick - 1].faces;
            if (drawNumber == 4) // the matching symbol waits in the centre's top row
                QCOMPARE(faces.mid(3, 1), faces.mid(1, 1));
            if (drawNumber == 5) // it has just gone into the bottom row
                QCOMPARE(faces.mid(5, 1), faces.mid(1, 1));
            QCOMPARE(p.after[pauseTick].frameBlink, 1); // blinking again from the next step
        } else {
            QCOMPARE(p.after.back().musicStops, 0);
        }
        if (drawNumber == 3 && extra == 1)
            QCOMPARE(p.after[88].line, QStringLiteral("666")); // lined up at the pause, yet no payout
        QVERIFY(p.after[payTick - 2].line != QStringLiteral("666"));
        QVERIFY(!f.Timer1.enabled());
        QCOMPARE(f.SpinC, 0);
        checkJackpotSpinPaid(f, QStringLiteral("6"));
        QCOMPARE(f.Label12.caption(), QStringLiteral("600"));
        QCOMPARE(f.Label1.caption(), QStringLiteral("690"));
        QCOMPARE(cues.played(), QStringList({"music ROLL.MID", "music REACH.MID", "effect ATARI.WAV", "music Tvsa1.MID"}));
        QCOMPARE(game.rnd.remaining(), std::size_t(0));
        QVERIFY(!game.rnd.exhausted());
    }

    // DrawNumber 6: at the left reel's stop the pay line lines up at once and
    // the six other rows vanish until the next spin.
    void instantLineUp()
    {
        Game game;
        FrmMain& f = soundOnGame(game);
        CueRecorder cues;
        hitAndStart(game, f, spinDraws(0, 0, 0, 0, 6), {pick(0, 20)});
        const auto ticks = runReels(f);
        QCOMPARE(int(ticks.size()), 50);
        QCOMPARE(reelFaces(f), QStringLiteral(".7..7..7."));
        QCOMPARE(f.ReachFlag, 0);
        checkJackpotSpinPaid(f, QStringLiteral("7"));
        QCOMPARE(f.Label12.caption(), QStringLiteral("1700"));
        QCOMPARE(f.Label1.caption(), QStringLiteral("1790"));
        QCOMPARE(cues.played(), QStringList({"music ROLL.MID", "effect ATARI.WAV", "music Tvsa1.MID"}));
        // Timer1 stays on; its ticks find nothing to do.
        QVERIFY(f.Timer1.enabled());
        f.Timer1.fire();
        QCOMPARE(reelFaces(f), QStringLiteral(".7..7..7."));
        // The next spin (a slot-chance spin) shows the rows again.
        hitAndStart(game, f, spinDraws(0, 0, 0, 0, 100));
        QVERIFY(!reelFaces(f).contains(QLatin1Char('.')));
        f.Timer1.fire();
        QCOMPARE(reelFaces(f), QStringLiteral("876876876"));
    }

    // DrawNumber 1: at the left reel's stop all three reels turn together at
    // 500 ms; after the count, two chances in three of a payout, else a 3 s
    // pause and more steps without music.
    void allRotation_data()
    {
        QTest::addColumn<int>("reach");       // the reach draw, kept by draw 1
        QTest::addColumn<int>("relotteries"); // how many re-lotteries before the payout
        QTest::addColumn<int>("payTick");
        QTest::addColumn<QString>("symbol");
        QTest::newRow("no reach draw, pays after 10 steps") << 0 << 0 << 59 << "6";
        QTest::newRow("reach draw, pays after 10 steps") << 1 << 0 << 59 << "6";
        QTest::newRow("one re-lottery") << 2 << 1 << 64 << "1";
        QTest::newRow("two re-lotteries") << 0 << 2 << 69 << "6";
    }
    void allRotation()
    {
        QFETCH(int, reach);
        QFETCH(int, relotteries);
        QFETCH(int, payTick);
        QFETCH(QString, symbol);
        Game game;
        FrmMain& f = soundOnGame(game);
        CueRecorder cues;
        std::vector<double> draws = spinDraws(0, 0, 0, reach, 1);
        draws.insert(draws.begin(), pick(0, 4)); // the cover hit
        draws.push_back(pick(0, 20)); // no notice
        draws.push_back(pick(0, 20)); // 10 steps
        for (int i = 0; i < relotteries; ++i) {
            draws.push_back(pick(1, 3));  // re-lottery
            draws.push_back(pick(0, 15)); // 5 more steps
        }
        draws.push_back(pick(0, 3)); // the payout
        game.rnd.script(draws);
        f.Image10.click();
        f.Command1.click();
        QCOMPARE(f.ReachFlag, reach);
        const Played p = play(f, cues);

        QCOMPARE(int(p.ticks.size()), payTick);
        // Tick 50: the left reel stops on 6 and the first all-rotation step
        // follows at once, one symbol on; the centre and right steps are skipped.
        QCOMPARE(p.ticks[49].faces, QStringLiteral("876876876"));
        QVERIFY(p.after[49].played.contains(QStringLiteral("music ALLR.MID")));
        QVERIFY(!p.after[48].played.contains(QStringLiteral("music ALLR.MID")));
        for (int n = 50; n <= payTick; ++n) {
            const QString faces = p.ticks[n - 1].faces;
            QCOMPARE(faces.mid(3, 3), faces.left(3));
            QCOMPARE(faces.mid(6, 3), faces.left(3));
            QCOMPARE(p.after[n - 1].frameBlink, 1);
        }
        for (int n = 1; n <= payTick; ++n) {
            int expected = n <= 50 ? 75 : 500;
            if (n == 60 && relotteries >= 1)
                expected = 3000;
            if (n == 65 && relotteries >= 2)
                expected = 3000;
            QCOMPARE(p.ticks[n - 1].waitedMs, expected);
        }
        QCOMPARE(cues.musicStops(), relotteries + 1);
        QCOMPARE(cues.played(), QStringList({"music ROLL.MID", "music ALLR.MID", "effect ATARI.WAV", "music Tvsa1.MID"}));
        checkJackpotSpinPaid(f, symbol);
        QCOMPARE(f.AllRotation, 0);
        QVERIFY(f.Timer1.enabled()); // stays on, idle
        QCOMPARE(game.rnd.remaining(), std::size_t(0));
        QVERIFY(!game.rnd.exhausted());
    }

    // A slot-chance spin whose reels are left to their own countdowns: the
    // left stops after 50000 steps, the right after 50001, the centre after
    // 50002; with spins to come that is the bust.
    void bustOfASlotChanceSpinLeftRunning_data()
    {
        QTest::addColumn<int>("chanceBefore");
        QTest::addColumn<bool>("bust");
        QTest::newRow("spins to come: bust") << 3 << true;
        QTest::newRow("last slot-chance spin: plain miss") << 1 << false;
    }
    void bustOfASlotChanceSpinLeftRunning()
    {
        QFETCH(int, chanceBefore);
        QFETCH(bool, bust);
        Game game;
        FrmMain& f = soundOnGame(game);
        f.ChanceLeft = chanceBefore;
        f.FrameBlink = 1;
        f.NoticeBlink = 1;
        f.Label14.setCaption(QString::number(chanceBefore));
        f.Label14.setVisible(true);
        hitAndStart(game, f, spinDraws(0, 0, 0, 0, 50));
        QCOMPARE(f.ChanceLeft, chanceBefore - 1);
        CueRecorder cues;
        QStringList playedAtMessage;
        game.prompts.onMessage = [&](const Message&) { playedAtMessage = cues.played(); };
        const auto ticks = runReels(f, 60000, [&](int n) {
            if (n == 50000)
                QVERIFY(!f.ImgLStop.visible() && f.ImgCStop.visible() && f.ImgRStop.visible());
        });
        QCOMPARE(int(ticks.size()), 50002);
        QVERIFY(!f.ImgLStop.visible() && !f.ImgCStop.visible() && !f.ImgRStop.visible());
        QCOMPARE(payLine(f), QStringLiteral("699"));
        QCOMPARE(f.ChanceLeft, 0);
        QCOMPARE(f.Label11.caption(), QStringLiteral("0"));
        QVERIFY(f.Image10.enabled() && f.mnuFile.enabled());
        QVERIFY(!f.Timer1.enabled());
        QCOMPARE(f.Label14.caption(), QString::number(chanceBefore)); // not changed here
        if (bust) {
            QCOMPARE(game.prompts.texts(), QStringList{QStringLiteral("パンクしました。")});
            QCOMPARE(game.prompts.messages[0].style, int(seams::vbInformation));
            QCOMPARE(game.prompts.messages[0].title, QStringLiteral("ゼルモア"));
            QCOMPARE(playedAtMessage, QStringList{"music Tvsa3.MID"});
            QCOMPARE(f.NoticeBlink, 0);
            QCOMPARE(f.FrameBlink, 0);
            QCOMPARE(f.Shape8.fillColor(), DarkOrange);
            QCOMPARE(f.Shape10.borderColor(), DarkOrange);
            QCOMPARE(f.Shape7.fillColor(), Teal);
        } else {
            QVERIFY(game.prompts.messages.empty());
            QVERIFY(cues.played().isEmpty());
            QCOMPARE(f.NoticeBlink, 1);
            QCOMPARE(f.FrameBlink, 1);
        }
        QCOMPARE(cues.log.first(), QStringLiteral("music Close"));
    }

    // With sound off a jackpot spin plays the same but silently, and both
    // lamp groups stay dark after the payout.
    void soundOffJackpotSpin()
    {
        Game game;
        FrmMain& f = game.play();
        SaveLines[3] = QStringLiteral("1");
        CueRecorder cues;
        hitAndStart(game, f, spinDraws(0, 0, 0, 0, 3), {pick(0, 20), pick(0, 10)});
        const auto ticks = runReels(f);
        QCOMPARE(int(ticks.size()), 89);
        QCOMPARE(payLine(f), QStringLiteral("666"));
        QVERIFY(cues.log.isEmpty());
        QCOMPARE(f.ChanceLeft, 5);
        QCOMPARE(f.Label14.caption(), QStringLiteral("5"));
        QCOMPARE(f.FrameBlink, 0);
        QCOMPARE(f.NoticeBlink, 0);
        QCOMPARE(f.Shape2.fillColor(), Teal);
    }
};

QTEST_MAIN(TestReelsReach)
#include "test_reels_reach.moc"
