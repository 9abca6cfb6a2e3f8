// The reel steps under Timer1: faces, positions, the stop rules of the left
// and right reels, and the spins that end without a win.
#include "app/MdlZelmor.h"
#include "platform/Runtime.h"
#include "tests/support/SavedGame.h"
#include "tests/support/TestSupport.h"

#include <QtTest>

using namespace testing;
using namespace MdlZelmor;

namespace {

const long Teal = rt::RGB(0, 128, 128);

// The tick (1-based) after which a reel's column last changed; 0 if never.
int lastChange(const std::vector<Tick>& ticks, int reel, const QString& before)
{
    int last = 0;
    QString previous = before.mid(reel * 3, 3);
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const QString column = ticks[i].faces.mid(reel * 3, 3);
        if (column != previous)
            last = int(i) + 1;
        previous = column;
    }
    return last;
}

void checkEndOfSpin(const FrmMain& f)
{
    for (auto* cover : {&f.Image10, &f.Image11, &f.Image12, &f.Image13})
        QVERIFY(cover->enabled());
    QCOMPARE(f.Label11.caption(), QStringLiteral("0"));
    QVERIFY(f.mnuFile.enabled());
    QVERIFY(f.mnuHelp.enabled());
    QCOMPARE(f.mousePointer(), ui::MousePointer::Default);
    QVERIFY(!f.Timer1.enabled());
    QVERIFY(!f.Command1.visible());
}

} // namespace

class TestReels : public QObject {
    Q_OBJECT
private slots:
    // Start-up steps each reel once from 6, 7 and 8 with the countdowns at 0:
    // the first faces, then the centre's stop logic ends it as a miss.
    void startUpDrawsTheFirstFacesAndMisses_data()
    {
        QTest::addColumn<QString>("line3");
        QTest::addColumn<QStringList>("commands");
        QTest::newRow("sound on") << "0" << QStringList{"music Close"};
        QTest::newRow("sound off") << "1" << QStringList{};
    }
    void startUpDrawsTheFirstFacesAndMisses()
    {
        QFETCH(QString, line3);
        QFETCH(QStringList, commands);
        Game game;
        game.writeFile(QStringLiteral("Zelmor.ini"), SavedSettings(QStringLiteral("100"), {{3, line3}}));
        game.writeFile(QStringLiteral("Zelmor.bin"), DataBytes("100"));
        CueRecorder cues;
        FrmMain& f = game.start();
        QCOMPARE(SaveLines[3], line3);
        QCOMPARE(reelFaces(f), QStringLiteral("765876987"));
        QCOMPARE(f.PosL, 7);
        QCOMPARE(f.PosC, 8);
        QCOMPARE(f.PosR, 9);
        QCOMPARE(f.HitSymbol, 8);
        QCOMPARE(f.SpinL + f.SpinC + f.SpinR, 0);
        QVERIFY(!f.ImgLStop.visible() && !f.ImgCStop.visible() && !f.ImgRStop.visible());
        QCOMPARE(cues.log, commands); // the miss path closed the music
        QCOMPARE(game.rnd.draws(), 0);
        QCOMPARE(f.ChanceLeft, 0);
        QCOMPARE(f.FrameBlink, 0);
    }

    void faceOfAReel_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("next");
        QTest::newRow("0") << 0 << "109" << 1;
        QTest::newRow("1") << 1 << "210" << 2;
        QTest::newRow("5") << 5 << "654" << 6;
        QTest::newRow("8") << 8 << "987" << 9;
        QTest::newRow("9") << 9 << "098" << 0;
    }
    void faceOfAReel()
    {
        QFETCH(int, position);
        QFETCH(QString, column);
        QFETCH(int, next);
        Game game;
        FrmMain& f = game.play();
        f.PosL = f.PosC = f.PosR = position;
        f.StopCountL = f.StopCountC = f.StopCountR = 10;
        f.TickLeftReel();
        f.TickCentreReel();
        f.TickRightReel();
        QCOMPARE(reelFaces(f), column + column + column);
        QCOMPARE(f.PosL, next);
        QCOMPARE(f.PosC, next);
        QCOMPARE(f.PosR, next);
        QCOMPARE(f.HitSymbol, next);
        QCOMPARE(f.StopCountL, 9);
        QCOMPARE(f.Image5.picture(), game.path(QStringLiteral("R0%1.BMP").arg(position)));
    }

    // No reach, no jackpot: left stops after 50, right after 75, centre after 95.
    void plainMiss()
    {
        Game game;
        FrmMain& f = game.play();
        SaveLines[3] = QStringLiteral("0");
        CueRecorder cues;
        hitAndStart(game, f, spinDraws(0, 0, 0, 0, 100));
        const QString before = reelFaces(f);
        const auto ticks = runReels(f);
        QCOMPARE(int(ticks.size()), 95);
        QCOMPARE(lastChange(ticks, 0, before), 50);
        QCOMPARE(lastChange(ticks, 2, before), 75);
        QCOMPARE(lastChange(ticks, 1, before), 95);
        QCOMPARE(payLine(f), QStringLiteral("623"));
        QCOMPARE(ticks.back().faces, QStringLiteral("765321432"));
        for (const Tick& t : ticks)
            QCOMPARE(t.waitedMs, 75);
        checkEndOfSpin(f);
        QCOMPARE(f.Timer1.interval(), 75);
        QCOMPARE(cues.played(), QStringList{"music ROLL.MID"});
        QCOMPARE(cues.log.last(), QStringLiteral("music Close"));
        QCOMPARE(cues.musicStops(), 1);
        QCOMPARE(f.Label1.caption(), QStringLiteral("90"));
        QCOMPARE(f.Label12.caption(), QStringLiteral("0"));
        QCOMPARE(f.FrameBlink, 0);
        QCOMPARE(f.ChanceLeft, 0);
        QCOMPARE(game.rnd.remaining(), std::size_t(0));
        QVERIFY(!game.rnd.exhausted());
        QVERIFY(game.prompts.messages.empty());

        // Later ticks find nothing turning and change nothing.
        const QString faces = reelFaces(f);
        f.Timer1.fire();
        QCOMPARE(reelFaces(f), faces);
    }

    // Without a reach neither the right nor the centre reel rests on the
    // left reel's symbol: a countdown ending on it turns one more step.
    void noReachNeverRestsOnTheLeftSymbol()
    {
        Game game;
        FrmMain& f = game.play();
        hitAndStart(game, f, spinDraws(0, 4, 3, 2, 150)); // right ends on 7 at 78, centre on 7 at 99
        const QString before = reelFaces(f);
        const auto ticks = runReels(f);
        QCOMPARE(lastChange(ticks, 2, before), 79);
        QCOMPARE(int(ticks.size()), 100);
        QCOMPARE(payLine(f), QStringLiteral("677"));
        QCOMPARE(f.FrameBlink, 0);
        checkEndOfSpin(f);
    }

    // A reach that does not pay: the right reel finds the left symbol, the
    // pace drops to 500 ms, the reach music starts one step later, and the
    // centre reel stops off the line; a countdown ending on the line goes one more.
    void reachThatMisses_data()
    {
        QTest::addColumn<int>("extra");
        QTest::addColumn<int>("endTick");
        QTest::addColumn<QString>("line");
        QTest::newRow("countdown ends off the line") << 0 << 88 << "656";
        QTest::newRow("countdown ends on the line") << 1 << 90 << "676";
    }
    void reachThatMisses()
    {
        QFETCH(int, extra);
        QFETCH(int, endTick);
        QFETCH(QString, line);
        Game game;
        FrmMain& f = game.play();
        SaveLines[3] = QStringLiteral("0");
        CueRecorder cues;
        // No notice; the reach's centre run is 10 + extra.
        hitAndStart(game, f, spinDraws(0, 0, 0, 1, 100), {pick(0, 30), pick(29, 30), pick(extra, 10)});
        const QString before = reelFaces(f);
        int reachMusicTick = 0;
        std::vector<int> frameBlink;
        const auto ticks = runReels(f, 2000, [&](int n) {
            frameBlink.push_back(f.FrameBlink);
            if (!reachMusicTick && cues.played().contains(QStringLiteral("music REACH.MID")))
                reachMusicTick = n;
        });
        QCOMPARE(lastChange(ticks, 2, before), 78);
        QCOMPARE(ticks[77].faces.mid(7, 1), ticks[77].faces.mid(1, 1)); // the reach: 6 and 6
        QCOMPARE(reachMusicTick, 79);
        QCOMPARE(int(ticks.size()), endTick);
        for (int i = 0; i < endTick; ++i)
            QCOMPARE(ticks[i].waitedMs, i < 78 ? 75 : 500);
        QCOMPARE(frameBlink[76], 0);
        QCOMPARE(frameBlink[77], 1);
        QCOMPARE(frameBlink[endTick - 2], 1);
        QCOMPARE(payLine(f), line);
        // The end: lamps dark, music stopped, covers open.
        QCOMPARE(f.FrameBlink, 0);
        QCOMPARE(f.FramePhase, 0);
        QCOMPARE(f.Shape2.fillColor(), Teal);
        QCOMPARE(f.Shape1.borderColor(), Teal);
        QCOMPARE(cues.log.last(), QStringLiteral("music Close"));
        QCOMPARE(cues.played(), QStringList({"music ROLL.MID", "music REACH.MID"}));
        checkEndOfSpin(f);
        QCOMPARE(f.ChanceLeft, 0);
        QCOMPARE(f.Label1.caption(), QStringLiteral("90"));
        QVERIFY(game.prompts.messages.empty());
        QCOMPARE(game.rnd.remaining(), std::size_t(0));
    }

    // With a reach the right reel searches up to nine more steps at 75 ms.
    void rightReelSearchesForTheLeftSymbol_data()
    {
        QTest::addColumn<int>("right");
        QTest::addColumn<int>("stopTick");
        QTest::newRow("lands on it at once") << 3 << 78;
        QTest::newRow("one step past it: nine more") << 4 << 88;
        QTest::newRow("five more") << 8 << 88;
    }
    void rightReelSearchesForTheLeftSymbol()
    {
        QFETCH(int, right);
        QFETCH(int, stopTick);
        Game game;
        FrmMain& f = game.play();
        hitAndStart(game, f, spinDraws(0, 8, right, 1, 250), {pick(0, 30), pick(29, 30), pick(9, 10)});
        const QString before = reelFaces(f);
        const auto ticks = runReels(f);
        QCOMPARE(lastChange(ticks, 2, before), stopTick);
        QCOMPARE(ticks[stopTick - 1].waitedMs, 75);
        QCOMPARE(ticks[stopTick].waitedMs, 500);
        QCOMPARE(ticks.back().faces.mid(7, 1), ticks.back().faces.mid(1, 1));
        QVERIFY(payLine(f)[1] != payLine(f)[0]);
        checkEndOfSpin(f);
    }

    // A reel stopped by its rule keeps its face for the rest of the spin.
    void stoppedReelsKeepTheirFaces()
    {
        Game game;
        FrmMain& f = game.play();
        hitAndStart(game, f, spinDraws(5, 5, 5, 0, 300));
        const auto ticks = runReels(f);
        QCOMPARE(int(ticks.size()), 100);
        for (int i = 55; i < 100; ++i)
            QCOMPARE(ticks[i].faces.left(3), ticks[54].faces.left(3));
        for (int i = 80; i < 100; ++i)
            QCOMPARE(ticks[i].faces.right(3), ticks[79].faces.right(3));
    }

    // The next spin continues from where the reels stopped.
    void nextSpinContinuesFromTheStoppedPositions()
    {
        Game game;
        FrmMain& f = game.play();
        hitAndStart(game, f, spinDraws(0, 0, 0, 0, 100));
        runReels(f);
        const int l = f.PosL, c = f.PosC, r = f.PosR;
        hitAndStart(game, f, spinDraws(0, 0, 0, 0, 100));
        f.Timer1.fire();
        QCOMPARE(f.PosL, (l + 1) % 10);
        QCOMPARE(f.PosC, (c + 1) % 10);
        QCOMPARE(f.PosR, (r + 1) % 10);
        QCOMPARE(symbolShown(f.Image2), l);
    }

    // A reel row paints its symbol stretched to the box; an empty box is
    // transparent, so the window beneath it shows through.
    void rowsPaintTheirSymbols()
    {
        Game game;
        FrmMain& f = game.play();
        QWidget* box = f.Image5.widget();
        const QImage shown = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
        // Once painted, the box covers what lies beneath, which then need
        // not be repainted at every tick.
        QVERIFY(box->testAttribute(Qt::WA_OpaquePaintEvent));
        const QImage expected = QImage(game.path(QStringLiteral("R07.BMP")))
                                    .scaled(box->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                    .convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), expected.size());
        qint64 difference = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x) {
                const QRgb a = shown.pixel(x, y), b = expected.pixel(x, y);
                difference += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
            }
        QVERIFY2(difference / (shown.width() * shown.height() * 3) < 4, qPrintable(QString::number(difference)));

        f.Image5.setPicture(game.path(QStringLiteral("NOSUCH.BMP")));
        QVERIFY(!f.Image5.hasPicture());
        QVERIFY(!box->testAttribute(Qt::WA_OpaquePaintEvent));
    }

    // A missing symbol picture leaves its box empty; the reels go on.
    void missingSymbolPicture()
    {
        Game game;
        FrmMain& f = game.play();
        game.removeFile(QStringLiteral("R03.BMP"));
        hitAndStart(game, f, spinDraws(0, 0, 0, 0, 100));
        const auto ticks = runReels(f);
        QCOMPARE(int(ticks.size()), 95);
        QCOMPARE(reelFaces(f), QStringLiteral("765-214-2"));
        checkEndOfSpin(f);
    }
};

QTEST_MAIN(TestReels)
#include "test_reels.moc"
