// The Start button: what one press sets up, the notices it draws, the slot
// chance, the sound-device fallback and the Escape key.
#include "app/MdlZelmor.h"
#include "platform/Runtime.h"
#include "tests/support/TestSupport.h"

#include <QtTest>

using namespace testing;
using namespace MdlZelmor;

namespace {

// A started game with sound on and the Start button shown by a cover hit.
FrmMain& readyGame(Game& game, const QString& soundLine = QStringLiteral("0"))
{
    FrmMain& f = game.play();
    SaveLines[3] = soundLine;
    game.rnd.script({pick(0, 4)});
    f.Image10.click();
    Q_ASSERT(f.Command1.visible());
    return f;
}

const QString DeviceError = QStringLiteral("音源デバイスエラーです。<音はいらない> に自動設定します。");

} // namespace

class TestSpinStart : public QObject {
    Q_OBJECT
private slots:
    void pressSetsUpTheSpin_data()
    {
        QTest::addColumn<int>("run");
        QTest::newRow("shortest runs") << 0;
        QTest::newRow("longest runs") << 8;
    }
    void pressSetsUpTheSpin()
    {
        QFETCH(int, run);
        Game game;
        FrmMain& f = readyGame(game);
        CueRecorder cues;
        game.rnd.script(spinDraws(run, run, run, 0, 100));
        f.Command1.click();

        QVERIFY(!f.Command1.visible());
        for (auto* cover : {&f.Image10, &f.Image11, &f.Image12, &f.Image13}) {
            QCOMPARE(cover->picture(), game.path(QStringLiteral("COVER.BMP")));
            QVERIFY(!cover->enabled());
        }
        QVERIFY(!f.mnuFile.enabled());
        QVERIFY(!f.mnuHelp.enabled());
        QCOMPARE(f.mousePointer(), ui::MousePointer::ArrowHourglass);
        QCOMPARE(f.SpinL + f.SpinC + f.SpinR, 3);
        QCOMPARE(f.StopCountL, 50 + run);
        QCOMPARE(f.StopCountC, 95 + run);
        QCOMPARE(f.StopCountR, 75 + run);
        QCOMPARE(f.ReachFlag, 0);
        QCOMPARE(f.DrawNumber, 100);
        QCOMPARE(f.ReachShown, 0);
        QVERIFY(f.Timer1.enabled());
        QCOMPARE(f.Timer1.interval(), 75);
        QCOMPARE(f.ChanceLeft, 0);
        QCOMPARE(f.NoticeBlink, 0);
        QVERIFY(!f.ImgLStop.visible());
        QCOMPARE(cues.log, QStringList({"music Close", "music Open ROLL.MID", "music Play ROLL.MID"}));
        QCOMPARE(game.rnd.remaining(), std::size_t(0));
        QVERIFY(!game.rnd.exhausted());
        QVERIFY(game.prompts.messages.empty());

        // Covers take no clicks while the reels turn.
        f.Image11.click();
        QCOMPARE(f.Label1.caption(), QStringLiteral("90"));
    }

    // A press while a reel is still marked as turning only clears the marks.
    void pressWhileAReelTurnsOnlyClearsTheFlags()
    {
        Game game;
        FrmMain& f = readyGame(game);
        CueRecorder cues;
        f.SpinR = 1;
        f.Command1_Click();
        QCOMPARE(f.SpinL + f.SpinC + f.SpinR, 0);
        QVERIFY(f.Command1.visible());
        QVERIFY(f.Image10.enabled());
        QVERIFY(!f.Timer1.enabled());
        QCOMPARE(game.rnd.draws(), 1); // only the cover's draw
        QVERIFY(cues.log.isEmpty());
    }

    // The rows an instant line-up hid come back with the next spin.
    void pressShowsTheHiddenRows()
    {
        Game game;
        FrmMain& f = readyGame(game);
        for (auto* row : {&f.Image1, &f.Image3, &f.Image4, &f.Image6, &f.Image7, &f.Image9})
            row->setVisible(false);
        game.rnd.script(spinDraws(0, 0, 0, 0, 100));
        f.Command1.click();
        QVERIFY(!reelFaces(f).contains(QLatin1Char('.')));
    }

    void jackpotNotice_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("timer3");
        QTest::addColumn<bool>("lamps");
        QTest::addColumn<bool>("sound");
        QTest::newRow("x=0 none") << 0 << 1000 << false << false;
        QTest::newRow("x=1 premium") << 1 << 100 << true << false;
        QTest::newRow("x=2 none") << 2 << 1000 << false << false;
        QTest::newRow("x=10 none") << 10 << 1000 << false << false;
        QTest::newRow("x=11 sound") << 11 << 1000 << false << true;
        QTest::newRow("x=15 sound") << 15 << 1000 << false << true;
        QTest::newRow("x=16 lamps and sound") << 16 << 500 << true << true;
        QTest::newRow("x=19 lamps and sound") << 19 << 500 << true << true;
    }
    void jackpotNotice()
    {
        QFETCH(int, x);
        QFETCH(int, timer3);
        QFETCH(bool, lamps);
        QFETCH(bool, sound);
        for (int drawNumber = 1; drawNumber <= 6; ++drawNumber) {
            Game game;
            FrmMain& f = readyGame(game);
            CueRecorder cues;
            game.rnd.script(spinDraws(0, 0, 0, 2, drawNumber));
            game.rnd.push(pick(x, 20));
            f.Command1.click();
            QCOMPARE(f.DrawNumber, drawNumber);
            QCOMPARE(f.ReachFlag, drawNumber == 1 ? 2 : 1); // draw 1 keeps the reach draw
            QCOMPARE(f.ChanceLeft, 5);
            QCOMPARE(f.Timer3.interval(), timer3);
            QCOMPARE(f.NoticeBlink, lamps ? 1 : 0);
            QCOMPARE(f.NoticeOn, lamps ? 1 : 0);
            QCOMPARE(cues.played().contains(QStringLiteral("effect YOKOKU.WAV")), sound);
            QCOMPARE(game.rnd.remaining(), std::size_t(0));
            QVERIFY(!game.rnd.exhausted());
        }
    }

    void falseNoticeOfAReach_data()
    {
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("z");
        QTest::addColumn<bool>("sound");
        QTest::addColumn<bool>("lamps");
        QTest::newRow("neither") << 19 << 11 << false << false;
        QTest::newRow("sound") << 20 << 29 << true << false;
        QTest::newRow("lamps") << 0 << 10 << false << true;
        QTest::newRow("both") << 29 << 0 << true << true;
    }
    void falseNoticeOfAReach()
    {
        QFETCH(int, y);
        QFETCH(int, z);
        QFETCH(bool, sound);
        QFETCH(bool, lamps);
        Game game;
        FrmMain& f = readyGame(game);
        CueRecorder cues;
        game.rnd.script(spinDraws(0, 0, 0, 1, 7));
        game.rnd.script({pick(y, 30), pick(z, 30)});
        f.Command1.click();
        QCOMPARE(f.ReachFlag, 1);
        QCOMPARE(f.ChanceLeft, 0);
        QCOMPARE(cues.played().contains(QStringLiteral("effect YOKOKU.WAV")), sound);
        QCOMPARE(f.NoticeBlink, lamps ? 1 : 0);
        QCOMPARE(f.Timer3.interval(), lamps ? 500 : 1000);
        QCOMPARE(game.rnd.remaining(), std::size_t(0));
    }

    // Without a reach nothing more is drawn after the lottery.
    void plainSpinDrawsNoNotice()
    {
        Game game;
        FrmMain& f = readyGame(game);
        game.rnd.script(spinDraws(0, 0, 0, 0, 300));
        f.Command1.click();
        QCOMPARE(f.DrawNumber, 300);
        QCOMPARE(game.rnd.remaining(), std::size_t(0));
        QVERIFY(!game.rnd.exhausted());
        QCOMPARE(f.NoticeBlink, 0);
    }

    void slotChanceSpin()
    {
        Game game;
        FrmMain& f = readyGame(game);
        f.ChanceLeft = 3;
        CueRecorder cues;
        game.rnd.script(spinDraws(0, 0, 0, 1, 3)); // a jackpot number, but no lottery counts now
        f.Command1.click();
        QCOMPARE(f.ChanceLeft, 2);
        QCOMPARE(f.DrawNumber, 0);
        QCOMPARE(f.ReachFlag, 0);
        QCOMPARE(f.StopCountL, 50000);
        QCOMPARE(f.StopCountC, 50002);
        QCOMPARE(f.StopCountR, 50001);
        QVERIFY(f.ImgLStop.visible() && f.ImgCStop.visible() && f.ImgRStop.visible());
        QVERIFY(cues.log.isEmpty()); // ROLL.MID is not restarted
        QCOMPARE(game.rnd.remaining(), std::size_t(0));
        QVERIFY(!game.rnd.exhausted());
        QVERIFY(f.Timer1.enabled());
    }

    // Sound off: exactly the same draws, no cue.
    void soundOffDrawsTheSame_data()
    {
        QTest::addColumn<QString>("line3");
        QTest::newRow("no sound") << "1";
        QTest::newRow("first start") << "";
    }
    void soundOffDrawsTheSame()
    {
        QFETCH(QString, line3);
        Game game;
        FrmMain& f = readyGame(game, line3);
        CueRecorder cues;
        game.rnd.script(spinDraws(1, 2, 3, 0, 4));
        game.rnd.push(pick(17, 20));
        f.Command1.click();
        QVERIFY(cues.log.isEmpty());
        QCOMPARE(f.ChanceLeft, 5);
        QCOMPARE(f.NoticeBlink, 1);
        QCOMPARE(game.rnd.remaining(), std::size_t(0));
        QVERIFY(game.prompts.messages.empty());
    }

    // A failing device at ROLL.MID: the message, sound switched off, and the
    // spin still starts in full; the notice sound is then not tried.
    void failingMusicSwitchesSoundOffAndTheSpinStarts()
    {
        Game game;
        FrmMain& f = readyGame(game);
        CueRecorder cues;
        cues.fail = [](const QString&, const QString& command, const QString&) {
            return command == QStringLiteral("Open");
        };
        game.rnd.script(spinDraws(0, 0, 0, 0, 5));
        game.rnd.push(pick(17, 20));
        f.Command1.click();

        QCOMPARE(game.prompts.messages.size(), std::size_t(1));
        QCOMPARE(game.prompts.messages[0].text, DeviceError);
        QCOMPARE(game.prompts.messages[0].style, int(seams::vbInformation));
        QCOMPARE(game.prompts.messages[0].title, QStringLiteral("ゼルモア"));
        QCOMPARE(SaveLines[3], QStringLiteral("1"));
        QVERIFY(f.mnuMusic.checked());
        QVERIFY(!cues.log.join(QLatin1Char('|')).contains(QStringLiteral("YOKOKU")));
        // Every later step ran.
        QVERIFY(!f.Command1.visible());
        QVERIFY(!f.Image10.enabled());
        QVERIFY(!f.mnuFile.enabled());
        QCOMPARE(f.mousePointer(), ui::MousePointer::ArrowHourglass);
        QCOMPARE(f.SpinL + f.SpinC + f.SpinR, 3);
        QVERIFY(f.Timer1.enabled());
        QCOMPARE(f.DrawNumber, 5);
        QCOMPARE(f.ChanceLeft, 5);
        QCOMPARE(f.NoticeBlink, 1);
        QCOMPARE(f.Timer3.interval(), 500);
        QCOMPARE(game.rnd.remaining(), std::size_t(0));
    }

    // A failing device at the notice sound of a jackpot spin still arms the
    // five slot-chance spins.
    void failingNoticeSoundStillArmsTheSlotChance()
    {
        Game game;
        FrmMain& f = readyGame(game);
        CueRecorder cues;
        cues.fail = [](const QString& channel, const QString& command, const QString&) {
            return channel == QStringLiteral("effect") && command == QStringLiteral("Play");
        };
        game.rnd.script(spinDraws(0, 0, 0, 0, 2));
        game.rnd.push(pick(12, 20));
        game.rnd.push(pick(0, 10)); // the reach's centre run
        f.Command1.click();
        QCOMPARE(game.prompts.texts(), QStringList{DeviceError});
        QCOMPARE(SaveLines[3], QStringLiteral("1"));
        QVERIFY(f.mnuMusic.checked());
        QCOMPARE(f.ChanceLeft, 5);
        QVERIFY(f.Timer1.enabled());

        // The spin plays out silently and the slot chance follows.
        runReels(f);
        QCOMPARE(f.Label14.caption(), QStringLiteral("5"));
        QVERIFY(f.Label14.visible());
        QCOMPARE(cues.played(), QStringList({"music ROLL.MID"}));
    }

    // A failing device in a reach spin's false notice: same fallback.
    void failingFalseNoticeSound()
    {
        Game game;
        FrmMain& f = readyGame(game);
        CueRecorder cues;
        cues.fail = [](const QString& channel, const QString&, const QString&) {
            return channel == QStringLiteral("effect");
        };
        game.rnd.script(spinDraws(0, 0, 0, 1, 200));
        game.rnd.script({pick(25, 30), pick(3, 30)});
        f.Command1.click();
        QCOMPARE(game.prompts.texts(), QStringList{DeviceError});
        QCOMPARE(f.NoticeBlink, 1);
        QCOMPARE(game.rnd.remaining(), std::size_t(0));
    }

    // A picture that cannot be loaded is not a sound-device error.
    void missingCoverPictureIsNotASoundError()
    {
        Game game;
        FrmMain& f = readyGame(game);
        game.removeFile(QStringLiteral("COVER.BMP"));
        CueRecorder cues;
        game.rnd.script(spinDraws(0, 0, 0, 0, 100));
        f.Command1.click();
        QVERIFY(game.prompts.messages.empty());
        QCOMPARE(SaveLines[3], QStringLiteral("0"));
        QVERIFY(!f.mnuMusic.checked());
        QVERIFY(!f.Image10.hasPicture());
        QVERIFY(f.Timer1.enabled());
        QCOMPARE(f.SpinL + f.SpinC + f.SpinR, 3);
    }

    void escapeQuits()
    {
        Game game;
        FrmMain& f = readyGame(game);
        game.rnd.script(spinDraws(0, 0, 0, 0, 100));
        f.Command1.click();
        f.Form_KeyDown(13, 0);
        f.Form_KeyDown(81, 2);
        QVERIFY(!game.host.endedFlag);
        for (int i = 0; i < 99; ++i)
            game.rnd.push(pick(0x41, 255)); // the save's filler bytes
        // Escape reaches the window whichever control has the focus.
        QTest::keyClick(f.Image5.widget(), Qt::Key_Escape, Qt::ShiftModifier);
        QVERIFY(game.host.endedFlag);
        QVERIFY(!game.rnd.exhausted());
        QVERIFY(game.readFile(QStringLiteral("Zelmor.ini")).size() > 0); // saved on the way out
    }
};

QTEST_MAIN(TestSpinStart)
#include "test_spin_start.moc"
