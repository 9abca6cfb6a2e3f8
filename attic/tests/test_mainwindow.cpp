// The main window as a player first meets it, and the four-cover pick.
#include "app/MdlZelmor.h"
#include "platform/Runtime.h"
#include "tests/support/TestSupport.h"

#include <QBuffer>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

using namespace testing;
using namespace MdlZelmor;

class TestMainWindow : public QObject {
    Q_OBJECT
private slots:
    void freshStart()
    {
        Game game;
        FrmMain& f = game.start();
        QCOMPARE(f.windowTitle(), QStringLiteral("ゼルモア"));
        QCOMPARE(f.centralWidget()->size(), QSize(494, 285));
        QCOMPARE(f.Label1.caption(), QStringLiteral("100"));
        QCOMPARE(f.Label11.caption(), QStringLiteral("0"));
        QCOMPARE(f.Label12.caption(), QStringLiteral("0"));
        QCOMPARE(f.Label8.caption(), QStringLiteral("ＺＥＬＭＯＲ"));
        QCOMPARE(f.Label13.caption(), QStringLiteral("獲得＄"));
        QCOMPARE(f.Label2.caption(), QStringLiteral("持ち金（＄）"));
        QCOMPARE(f.Label9.caption(), QStringLiteral("狙い出目"));
        QCOMPARE(f.Label7.caption(), QStringLiteral("10$"));
        QCOMPARE(f.Label10.caption(), QStringLiteral("BET"));
        QCOMPARE(f.Label3.caption() + f.Label4.caption() + f.Label5.caption() + f.Label6.caption(),
                 QStringLiteral("ABCD"));
        QVERIFY(!f.Command1.visible());
        QVERIFY(!f.ImgLStop.visible());
        QVERIFY(!f.ImgCStop.visible());
        QVERIFY(!f.ImgRStop.visible());
        QVERIFY(!f.Label14.visible());
        for (auto* cover : {&f.Image10, &f.Image11, &f.Image12, &f.Image13}) {
            QCOMPARE(cover->picture(), game.path(QStringLiteral("COVER.BMP")));
            QVERIFY(cover->enabled());
        }
        QCOMPARE(f.Image14.picture(), game.path(QStringLiteral("BAI01.BMP")));
        QCOMPARE(f.Image10.toolTip(), QStringLiteral("当たるかな？"));
        QCOMPARE(f.Image13.toolTip(), QStringLiteral("ん～"));
        // Reels at start-up: 6, 7 and 8 on the pay line.
        QCOMPARE(f.Image2.picture(), game.path(QStringLiteral("R06.BMP")));
        QCOMPARE(f.Image5.picture(), game.path(QStringLiteral("R07.BMP")));
        QCOMPARE(f.Image8.picture(), game.path(QStringLiteral("R08.BMP")));
        QCOMPARE(f.Image1.picture(), game.path(QStringLiteral("R07.BMP")));
        QCOMPARE(f.Image3.picture(), game.path(QStringLiteral("R05.BMP")));
        QCOMPARE(f.ChanceLeft, 0);
        QCOMPARE(f.Timer1.interval(), 75);
        QVERIFY(!f.Timer1.enabled());
        QVERIFY(f.Timer2.enabled());
        QCOMPARE(f.Timer2.interval(), 250);
        QVERIFY(f.Timer3.enabled());
        QCOMPARE(f.Timer3.interval(), 1000);
        QCOMPARE(TargetRate, 1);
        QCOMPARE(TargetSymbol, 0);
        QCOMPARE(f.Shape2.fillColor(), rt::RGB(0, 128, 128));
        QCOMPARE(f.Shape8.fillColor(), rt::RGB(192, 64, 0));
        QCOMPARE(f.mousePointer(), ui::MousePointer::Default);
        QVERIFY(AppDir.endsWith(QLatin1Char('/')));
    }

    void menus()
    {
        Game game;
        FrmMain& f = game.start();
        const QList<QAction*> top = f.menuBar()->actions();
        QCOMPARE(top.size(), 2);
        QCOMPARE(top[0]->text(), QStringLiteral("ファイル(&F)"));
        QCOMPARE(top[1]->text(), QStringLiteral("ヘルプ(&H)"));
        QStringList file;
        for (QAction* a : f.mnuFile.menu()->actions())
            file << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(file, QStringList({QStringLiteral("お願い100$借して(&1)"), QStringLiteral("お願い1000$借して(&2)"),
                                    QStringLiteral("-"), QStringLiteral("音はいらない(&S)"),
                                    QStringLiteral("確率変動(&K)"), QStringLiteral("-"),
                                    QStringLiteral("ゼルモアの終了(&Q)")}));
        QCOMPARE(f.mnuVer.caption(), QStringLiteral("バージョン情報(&V)"));
        QCOMPARE(f.mnuMes.caption(), QStringLiteral("ヘルプ(&M)"));
        QVERIFY(f.mnuMusic.action()->isCheckable());
        QVERIFY(!f.mnuMusic.checked());
    }

    void controlPositionsInTwips()
    {
        Game game;
        FrmMain& f = game.start();
        QCOMPARE(f.Image10.widget()->geometry(), rt::TwipsRect(600, 720, 540, 540));
        QCOMPARE(f.Image13.widget()->geometry(), rt::TwipsRect(600, 2880, 540, 540));
        QCOMPARE(f.Image5.widget()->geometry(), rt::TwipsRect(3120, 1560, 855, 855));
        QCOMPARE(f.Label1.widget()->geometry(), rt::TwipsRect(5760, 1440, 1575, 375));
        QCOMPARE(f.Command1.widget()->geometry(), rt::TwipsRect(400, 3600, 750, 495));
        QCOMPARE(f.ImgRStop.widget()->geometry(), rt::TwipsRect(4280, 3600, 480, 480));
        QCOMPARE(f.Shape8.widget()->geometry(), rt::TwipsRect(1515, 520, 270, 2920));
    }

    // A hit: $10 charged, the hit card shown, BET up and the Start button visible.
    void coverHit()
    {
        Game game;
        FrmMain& f = game.start();
        game.rnd.script({pick(1, 4)});
        f.Image11.click();
        QCOMPARE(f.Label1.caption(), QStringLiteral("90"));
        QCOMPARE(f.Image11.picture(), game.path(QStringLiteral("ATARI.BMP")));
        QCOMPARE(f.Image10.picture(), game.path(QStringLiteral("COVER.BMP")));
        QCOMPARE(f.Label11.caption(), QStringLiteral("1"));
        QVERIFY(f.Command1.visible());
        QVERIFY(!game.rnd.exhausted());
    }

    // Each cover has its own hit value; everything else is a miss.
    void eachCoverHitsOnOneDraw()
    {
        Game game;
        FrmMain& f = game.start();
        ui::Image* covers[4] = {&f.Image10, &f.Image11, &f.Image12, &f.Image13};
        for (int c = 0; c < 4; ++c) {
            for (int d = 0; d < 4; ++d) {
                f.Label1.setCaption(QStringLiteral("1000"));
                f.Label11.setCaption(QStringLiteral("0"));
                game.rnd.script({pick(d, 4)});
                covers[c]->click();
                const bool hit = f.Label11.caption() == QStringLiteral("1");
                QCOMPARE(hit, c == d);
                QCOMPARE(covers[c]->picture(),
                         game.path(hit ? QStringLiteral("ATARI.BMP") : QStringLiteral("HAZURE.BMP")));
            }
        }
    }

    void missFlipsOtherCoverBack()
    {
        Game game;
        FrmMain& f = game.start();
        game.rnd.script({pick(0, 4), pick(0, 4)});
        f.Image10.click();
        QCOMPARE(f.Image10.picture(), game.path(QStringLiteral("ATARI.BMP")));
        f.Image11.click(); // cover B misses on draw 0
        QCOMPARE(f.Image10.picture(), game.path(QStringLiteral("COVER.BMP")));
        QCOMPARE(f.Image11.picture(), game.path(QStringLiteral("HAZURE.BMP")));
        QCOMPARE(f.Label11.caption(), QStringLiteral("1"));
        QVERIFY(f.Command1.visible()); // a miss leaves the Start button as it was
        QCOMPARE(f.Label1.caption(), QStringLiteral("80"));
    }

    void exactlyTenDollars()
    {
        Game game;
        FrmMain& f = game.start();
        game.prompts.messages.clear(); // the start-up's welcome and probability messages
        f.Label1.setCaption(QStringLiteral("10"));
        game.rnd.script({pick(0, 4)});
        f.Image10.click();
        QCOMPARE(f.Label1.caption(), QStringLiteral("0"));
        QCOMPARE(f.Label11.caption(), QStringLiteral("1"));
        // With $0 nothing more happens, silently.
        f.Image10.click();
        QCOMPARE(f.Label1.caption(), QStringLiteral("0"));
        QCOMPARE(f.Image10.picture(), game.path(QStringLiteral("COVER.BMP")));
        QCOMPARE(game.rnd.draws(), 1);
        QVERIFY(game.prompts.messages.empty());
    }

    void betTenIsTheLimit()
    {
        Game game;
        FrmMain& f = game.start();
        game.prompts.messages.clear(); // the start-up's welcome and probability messages
        f.Label11.setCaption(QStringLiteral("9"));
        game.rnd.script({pick(2, 4)});
        f.Image12.click();
        QCOMPARE(f.Label11.caption(), QStringLiteral("10"));
        QCOMPARE(f.Label1.caption(), QStringLiteral("90"));
        f.Label12.setCaption(QStringLiteral("500"));
        TargetRate = 100;
        TargetSymbol = 5;
        f.Image14.setPicture(AppDir + QStringLiteral("R05.BMP"));
        f.Image12.click();
        QCOMPARE(game.prompts.texts(), QStringList{QStringLiteral("ＢＥＴは１０倍迄です。")});
        QCOMPARE(game.prompts.messages[0].style, int(seams::vbInformation));
        QCOMPARE(game.prompts.messages[0].title, QStringLiteral("ゼルモア"));
        QCOMPARE(f.Label1.caption(), QStringLiteral("90")); // nothing charged
        QCOMPARE(f.Label11.caption(), QStringLiteral("10"));
        QCOMPARE(f.Label12.caption(), QStringLiteral("0"));
        QCOMPARE(f.Image12.picture(), game.path(QStringLiteral("COVER.BMP")));
        QCOMPARE(f.Image14.picture(), game.path(QStringLiteral("BAI01.BMP")));
        // The bought target still counts for the next spin.
        QCOMPARE(TargetRate, 100);
        QCOMPARE(TargetSymbol, 5);
        QCOMPARE(game.rnd.draws(), 1);
    }

    void missAfterTargetChosenCancelsIt()
    {
        Game game;
        FrmMain& f = game.start();
        TargetRate = 100;
        TargetSymbol = 7;
        f.Image14.setPicture(AppDir + QStringLiteral("R07.BMP"));
        game.rnd.script({pick(3, 4)});
        f.Image10.click();
        QCOMPARE(TargetRate, 1);
        QCOMPARE(TargetSymbol, 0);
        QCOMPARE(f.Image14.picture(), game.path(QStringLiteral("BAI01.BMP")));
        QCOMPARE(f.Image10.picture(), game.path(QStringLiteral("HAZURE.BMP")));
    }

    void millionThresholdOffersTheTargetDialog_data()
    {
        QTest::addColumn<QString>("money");
        QTest::addColumn<int>("chanceLeft");
        QTest::addColumn<bool>("offered");
        QTest::newRow("exactly a million after the charge") << "1000010" << 0 << false;
        QTest::newRow("above a million after the charge") << "1000020" << 0 << true;
        QTest::newRow("slot chance pending") << "2000000" << 3 << false;
    }
    void millionThresholdOffersTheTargetDialog()
    {
        QFETCH(QString, money);
        QFETCH(int, chanceLeft);
        QFETCH(bool, offered);
        Game game;
        FrmMain& f = game.start();
        f.Label1.setCaption(money);
        f.ChanceLeft = chanceLeft;
        game.rnd.script({pick(0, 4)});
        f.Image10.click();
        const int shown = game.prompts.dialogsShown.count(QStringLiteral("FrmSelect"));
        if (!offered)
            QCOMPARE(shown, 0);
        QCOMPARE(f.Label11.caption(), QStringLiteral("1"));
        QVERIFY(f.Command1.visible());
        QCOMPARE(f.mousePointer(), ui::MousePointer::Default);
    }

    void missingPictureLeavesTheBoxEmpty()
    {
        Game game;
        game.removeFile(QStringLiteral("COVER.BMP"));
        game.removeFile(QStringLiteral("ATARI.BMP"));
        game.writeFile(QStringLiteral("HAZURE.BMP"), QByteArray("not a bitmap"));
        FrmMain& f = game.start();
        QVERIFY(!f.Image10.hasPicture());
        game.rnd.script({pick(0, 4), pick(1, 4)});
        f.Image10.click();
        QVERIFY(!f.Image10.hasPicture());
        QCOMPARE(f.Label11.caption(), QStringLiteral("1"));
        QVERIFY(f.Command1.visible());
        f.Image10.click();
        QVERIFY(!f.Image10.hasPicture()); // unreadable miss card
        QCOMPARE(f.Label1.caption(), QStringLiteral("80"));
    }

    // Pictures are decoded by the format their name gives; a player's own
    // picture saved in another format under the game's name still shows.
    void pictureInAnotherFormatStillShows()
    {
        Game game;
        QImage card(72, 72, QImage::Format_RGB32);
        card.fill(Qt::magenta);
        QByteArray png;
        QBuffer buffer(&png);
        QVERIFY(buffer.open(QIODevice::WriteOnly) && card.save(&buffer, "PNG"));
        game.writeFile(QStringLiteral("COVER.BMP"), png);
        FrmMain& f = game.start();
        QVERIFY(f.Image10.hasPicture());
        const QImage shown = f.Image10.widget()->grab().toImage();
        QCOMPARE(shown.pixelColor(shown.width() / 2, shown.height() / 2), QColor(Qt::magenta));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
