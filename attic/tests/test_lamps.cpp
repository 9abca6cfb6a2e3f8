// The two lamp groups: the frame lamps under Timer2 and the notice lamps
// under Timer3, and who starts and stops their blinking during play.
#include "app/MdlZelmor.h"
#include "platform/Runtime.h"
#include "tests/support/TestSupport.h"

#include <QtTest>

using namespace testing;
using namespace MdlZelmor;

namespace {

const long Cyan = rt::RGB(0, 255, 255);
const long Teal = rt::RGB(0, 128, 128);
const long LightOrange = rt::RGB(255, 192, 128);
const long DarkOrange = rt::RGB(192, 64, 0);

// Every shape of the group has this fill and border colour.
bool frameLampsAre(const FrmMain& f, long bgr)
{
    for (const ui::Shape* s : {&f.Shape1, &f.Shape2, &f.Shape3, &f.Shape4, &f.Shape6, &f.Shape7})
        if (s->fillColor() != bgr || s->borderColor() != bgr)
            return false;
    return true;
}

bool noticeLampsAre(const FrmMain& f, long bgr)
{
    for (const ui::Shape* s : {&f.Shape8, &f.Shape10})
        if (s->fillColor() != bgr || s->borderColor() != bgr)
            return false;
    return true;
}

} // namespace

class TestLamps : public QObject {
    Q_OBJECT
private slots:
    void coloursOfTheNoticeLamps()
    {
        QCOMPARE(rt::ColorFromHexText(QStringLiteral("&H0080C0FF")), LightOrange);
        QCOMPARE(rt::ColorFromHexText(QStringLiteral("&H000040C0")), DarkOrange);
    }

    void frameLampsToggleWhileTheirFlagIsSet()
    {
        Game game;
        FrmMain& f = game.play();
        QVERIFY(frameLampsAre(f, Teal));
        QVERIFY(f.Timer2.enabled());
        QCOMPARE(f.Timer2.interval(), 250);
        f.Timer2.fire();
        QVERIFY(frameLampsAre(f, Teal)); // idle: ticks ignored
        f.FrameBlink = 1;
        f.Timer2.fire();
        QVERIFY(frameLampsAre(f, Cyan));
        QCOMPARE(f.FramePhase, 1);
        f.Timer2.fire();
        QVERIFY(frameLampsAre(f, Teal));
        QCOMPARE(f.FramePhase, 0);
        QVERIFY(noticeLampsAre(f, DarkOrange));
        QCOMPARE(f.Shape5.borderColor(), rt::RGB(255, 128, 0)); // the reel frame is no lamp
    }

    void noticeLampsToggleWhileTheirFlagIsSet()
    {
        Game game;
        FrmMain& f = game.play();
        QVERIFY(f.Timer3.enabled());
        f.Timer3.fire();
        QVERIFY(noticeLampsAre(f, DarkOrange));
        f.NoticeBlink = 1;
        f.Timer3.fire();
        QVERIFY(noticeLampsAre(f, LightOrange));
        QCOMPARE(f.NoticePhase, 1);
        f.Timer3.fire();
        QVERIFY(noticeLampsAre(f, DarkOrange));
        QCOMPARE(f.NoticePhase, 0);
        QVERIFY(frameLampsAre(f, Teal));
    }

    // The premium notice blinks every 100 ms from the spin start until the
    // left reel stops, then the notice lamps are dark.
    void premiumNoticeEndsWhenTheLeftReelStops()
    {
        Game game;
        FrmMain& f = game.play();
        hitAndStart(game, f, spinDraws(0, 0, 0, 0, 4), {pick(1, 20), pick(0, 10)});
        QCOMPARE(f.Timer3.interval(), 100);
        QCOMPARE(f.NoticeOn, 1);
        int lit = 0;
        runReels(f, 2000, [&](int n) {
            f.Timer3.fire();
            if (n < 50) {
                lit += noticeLampsAre(f, LightOrange) ? 1 : 0;
            } else {
                QCOMPARE(f.NoticeBlink, 0);
                QCOMPARE(f.NoticeOn, 0);
                QVERIFY(noticeLampsAre(f, DarkOrange));
            }
        });
        QCOMPARE(lit, 25); // every other change is lit
    }

    // Notice blinking that follows one stopped in its lit phase begins with
    // a dark change.
    void noticePhaseIsKeptBetweenNotices()
    {
        Game game;
        FrmMain& f = game.play();
        hitAndStart(game, f, spinDraws(0, 0, 0, 1, 100), {pick(0, 30), pick(0, 30), pick(0, 10)});
        QCOMPARE(f.NoticeBlink, 1);
        f.Timer3.fire();
        QVERIFY(noticeLampsAre(f, LightOrange));
        runReels(f);
        QVERIFY(noticeLampsAre(f, DarkOrange));
        QCOMPARE(f.NoticePhase, 1);

        hitAndStart(game, f, spinDraws(0, 0, 0, 1, 100), {pick(0, 30), pick(0, 30), pick(0, 10)});
        f.Timer3.fire();
        QVERIFY(noticeLampsAre(f, DarkOrange));
        f.Timer3.fire();
        QVERIFY(noticeLampsAre(f, LightOrange));
    }

    // A reach lights the frame lamps at the first Timer2 tick after the right
    // reel stops on the left reel's symbol; the reach pause darkens them, and
    // they blink again, lit first, from the step after it.
    void frameLampsThroughAReachWithPause()
    {
        Game game;
        FrmMain& f = game.play();
        hitAndStart(game, f, spinDraws(0, 0, 0, 0, 5), {pick(0, 20), pick(0, 10)}); // pause at 90, pays at 99
        runReels(f, 2000, [&](int n) {
            const bool litBefore = frameLampsAre(f, Cyan);
            f.Timer2.fire();
            if (n < 78) {
                QVERIFY(frameLampsAre(f, Teal));
            } else if (n == 78 || n == 91) {
                QVERIFY(frameLampsAre(f, Cyan)); // begins lit
            } else if (n == 90) {
                QCOMPARE(f.FrameBlink, 0);
                QVERIFY(!litBefore);
                QVERIFY(frameLampsAre(f, Teal)); // dark through the pause
            } else if (n < 99) {
                QCOMPARE(frameLampsAre(f, Cyan), !litBefore);
            }
        });
        QCOMPARE(f.ChanceLeft, 5);
    }

    // After a jackpot with sound on both groups blink through the slot chance;
    // with sound off both stay dark.
    void slotChanceBlinking_data()
    {
        QTest::addColumn<QString>("line3");
        QTest::addColumn<bool>("blinks");
        QTest::newRow("sound on") << "0" << true;
        QTest::newRow("sound off") << "1" << false;
    }
    void slotChanceBlinking()
    {
        QFETCH(QString, line3);
        QFETCH(bool, blinks);
        Game game;
        FrmMain& f = game.play();
        SaveLines[3] = line3;
        CueRecorder cues;
        hitAndStart(game, f, spinDraws(0, 0, 0, 0, 6), {pick(0, 20)});
        runReels(f);
        QCOMPARE(f.ChanceLeft, 5);
        f.Timer2.fire();
        f.Timer3.fire();
        QCOMPARE(frameLampsAre(f, Cyan), blinks);
        QCOMPARE(noticeLampsAre(f, LightOrange), blinks);
        // Through a slot-chance spin as well.
        hitAndStart(game, f, spinDraws(0, 0, 0, 0, 100));
        f.Timer1.fire();
        f.Timer2.fire();
        f.Timer3.fire();
        QVERIFY(frameLampsAre(f, Teal));
        QVERIFY(noticeLampsAre(f, DarkOrange));
        f.Timer2.fire();
        f.Timer3.fire();
        QCOMPARE(frameLampsAre(f, Cyan), blinks);
        QCOMPARE(noticeLampsAre(f, LightOrange), blinks);
    }
};

QTEST_MAIN(TestLamps)
#include "test_lamps.moc"
