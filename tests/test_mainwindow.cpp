// SPDX-License-Identifier: MIT
// The main window as the machine's view: what it shows after the start-up,
// and that clicks, keys and menu items reach the machine and that the
// machine's signals, its clock's ticks among them, come back as what the
// window shows.
#include "platform/Runtime.h"
#include "tests/support/SessionRig.h"
#include "ui/AboutDialog.h"
#include "ui/Preferences.h"

#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace testing;
using game::LampState;
using game::Notice;
using game::TimerId;

// Whether the window shows one of its own pictures, in a session that is playing.
using ShowsPicture = std::function<bool(SessionRig&)>;
Q_DECLARE_METATYPE(ShowsPicture)

namespace {

// The lamps' colours, from the classic &HBBGGRR values.
constexpr QColor FrameLit(0, 255, 255);     // &HFFFF00
constexpr QColor FrameDark(0, 128, 128);    // &H808000
constexpr QColor NoticeLit(255, 192, 128);  // &H80C0FF
constexpr QColor NoticeDark(192, 64, 0);    // &H0040C0
constexpr QColor Premium(255, 0, 64);       // &H4000FF
constexpr QColor FrameCalmLit(0, 191, 191); // calm lamps: halfway from dark to lit

// The nine reel rows as the window shows them, in the form of reelFaces().
QString shownFaces(const ui::MainWindow& w)
{
    QString faces;
    for (const ui::PictureBox* row : w.reelRows) {
        const QString name = QFileInfo(row->picture()).fileName();
        const bool symbol = name.size() == 7 && name.startsWith(QStringLiteral("R0")) && name.at(2).isDigit();
        if (row->isHidden())
            faces += QLatin1Char('.');
        else
            faces += symbol ? name.at(2) : QLatin1Char('-');
    }
    return faces;
}

// Ticks the machine's reel timer by hand, as its period ending would, until it stops.
int tickReels(SessionRig& rig, int maxTicks = 2000)
{
    game::Clock& clock = rig.machine().clock();
    int ticks = 0;
    while (clock.ticking(TimerId::Reel) && ticks < maxTicks) {
        clock.fire(TimerId::Reel);
        ++ticks;
    }
    return ticks;
}

void fire(SessionRig& rig, TimerId timer)
{
    QVERIFY(rig.machine().clock().fire(timer));
}

// Chooses a menu item as the player would: only an enabled item of an
// enabled menu does anything.
void choose(QAction* item)
{
    for (QObject* holder : item->associatedObjects()) {
        if (const auto* menu = qobject_cast<QMenu*>(holder); menu && !menu->menuAction()->isEnabled())
            return;
    }
    item->trigger();
}

// The usual arrow, not the arrow with the hourglass of a spin nor the hourglass.
bool defaultPointer(const ui::MainWindow& w)
{
    return w.cursor().shape() == Qt::ArrowCursor;
}

void hitCoverA(SessionRig& rig)
{
    rig.rnd.push(pick(0, 4));
    rig.window().covers[0]->click();
}

// Start with a spin whose lottery number is 6: the left reel's stop lines the
// pay line up at once and pays. `notice` is the notice draw (0..19).
void startLineUp(SessionRig& rig, int notice = 0)
{
    rig.rnd.script(spinDraws(0, 0, 0, 0, 6));
    rig.rnd.push(pick(notice, 20));
    rig.window().startButton->click();
}

// A jackpot spin played out, then a slot-chance spin started: the STOP buttons show.
void startSlotChanceSpin(SessionRig& rig)
{
    hitCoverA(rig);
    startLineUp(rig);
    tickReels(rig);
    hitCoverA(rig);
    rig.rnd.script(spinDraws(0, 0, 0, 0, 100));
    rig.window().startButton->click();
}

// A key pressed on the window, as the keyboard sends it.
void pressKey(QWidget* widget, int key, bool autoRepeat = false, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(), autoRepeat);
    QApplication::sendEvent(widget, &press);
}

void pressKey(ui::MainWindow& w, int key, bool autoRepeat = false)
{
    pressKey(w.moneyLabel, key, autoRepeat);
}

// The random filler of the data file for the saves a test makes.
void scriptSaves(SessionRig& rig, int saves = 1)
{
    for (int i = 0; i < 100 * saves; ++i)
        rig.rnd.push(0.5);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
    QTemporaryDir config_; // the preferences of this run

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config_.path());
    }
    void init() { ui::Preferences().save(); }

    void freshLook()
    {
        SessionRig rig;
        QVERIFY(rig.start());
        const Notice& notice = rig.prompts.notices.back();
        QCOMPARE(notice.kind, Notice::CurrentProbability);
        QCOMPARE(notice.text, QStringLiteral("300"));

        ui::MainWindow& w = rig.window();
        QCOMPARE(w.windowTitle(), QStringLiteral("ゼルモア"));
        QCOMPARE(w.centralWidget()->size(), QSize(494, 285));
        QCOMPARE(w.moneyLabel->text(), QStringLiteral("100"));
        QCOMPARE(w.betLabel->text(), QStringLiteral("0"));
        QCOMPARE(w.winLabel->text(), QStringLiteral("0"));
        QCOMPARE(shownFaces(w), QStringLiteral("765876987")); // 6, 7 and 8 on the pay line
        for (const ui::PictureBox* cover : w.covers) {
            QCOMPARE(cover->picture(), rig.path(QStringLiteral("COVER.BMP")));
            QVERIFY(cover->isEnabled());
        }
        QCOMPARE(w.targetBox->picture(), rig.path(QStringLiteral("BAI01.BMP")));
        QVERIFY(w.startButton->isHidden());
        for (const ui::PictureBox* stop : w.stopButtons)
            QVERIFY(stop->isHidden());
        QVERIFY(w.chanceCounterLabel->isHidden());
        for (const ui::RectShape* lamp : w.frameLamps)
            QCOMPARE(lamp->fillColor(), FrameDark);
        QCOMPARE(w.noticeLamps[1]->borderColor(), NoticeDark);
        QVERIFY(w.fileMenu->menuAction()->isEnabled() && w.helpMenu->menuAction()->isEnabled());
        QVERIFY(!w.noSoundItem->isChecked());
        QVERIFY(!w.probabilityItem->isEnabled());
        QVERIFY(defaultPointer(w));

        QStringList menus;
        for (QAction* menu : w.menuBar()->actions()) {
            menus << menu->text();
            for (QAction* item : menu->menu()->actions())
                menus << (item->isSeparator() ? QStringLiteral("-") : item->text());
        }
        QCOMPARE(menus, QStringList({"ファイル(&F)", "お願い100$借して(&1)", "お願い1000$借して(&2)", "-",
                                     "音はいらない(&S)", "音量(&V)…", "確率変動(&K)", "-", "ゼルモアの終了(&Q)",
                                     "表示(&V)", "標準の大きさ(&1)", "1.5倍(&5)", "2倍(&2)", "3倍(&3)", "全画面表示(&U)", "-",
                                     "高速(&S)", "オートプレイ(&A)…", "点滅を控える(&F)", "-", "データカウンター(&D)",
                                     "言語(&L)", "ヘルプ(&H)",
                                     "バージョン情報(&V)", "ヘルプ(&M)"}));
    }

    // A window made for a machine already in play shows the machine as it
    // is, not as a fresh one would be.
    void showsTheMachineItIsMadeFor()
    {
        SessionRig rig;
        rig.play();
        hitCoverA(rig);
        startLineUp(rig);
        rig.machine().editState().lamps.blinkFrame();
        fire(rig, TimerId::FrameLamps);
        const game::MachineState& s = rig.s();
        QCOMPARE(s.lamps.frame(), LampState::Lit);
        ui::MainWindow w(rig.machine(), rig.dir() + QLatin1Char('/'));
        QCOMPARE(shownFaces(w), reelFaces(s));
        QCOMPARE(w.moneyLabel->text(), rt::DecimalText(double(s.money)));
        QCOMPARE(w.betLabel->text(), rt::DecimalText(s.bet));
        QVERIFY(!w.covers[0]->isEnabled());
        QVERIFY(w.startButton->isHidden());
        QVERIFY(!w.fileMenu->menuAction()->isEnabled());
        QCOMPARE(w.cursor().shape(), Qt::BusyCursor);
        QCOMPARE(w.frameLamps[0]->fillColor(), FrameLit);
    }

    void layoutInTwips_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<QRect>("twips");
        QTest::addColumn<double>("zoom");
        QTest::newRow("cover A") << "covers[0]" << QRect(600, 720, 540, 540) << 1.0;
        QTest::newRow("cover D") << "covers[3]" << QRect(600, 2880, 540, 540) << 1.0;
        QTest::newRow("pay line, centre reel") << "reelRows[4]" << QRect(3120, 1560, 855, 855) << 1.0;
        QTest::newRow("right reel, bottom row") << "reelRows[8]" << QRect(4080, 2400, 855, 855) << 1.0;
        QTest::newRow("money") << "moneyLabel" << QRect(5760, 1440, 1575, 375) << 1.0;
        QTest::newRow("Start") << "startButton" << QRect(400, 3600, 750, 495) << 1.0;
        QTest::newRow("right STOP") << "stopButtons[2]" << QRect(4280, 3600, 480, 480) << 1.0;
        QTest::newRow("top bar lamp") << "frameLamps[0]" << QRect(1800, 480, 3520, 255) << 1.0;
        QTest::newRow("left notice lamp") << "noticeLamps[0]" << QRect(1515, 520, 270, 2920) << 1.0;
        QTest::newRow("slot-chance counter") << "chanceCounterLabel" << QRect(5280, 3640, 375, 375) << 1.0;
        QTest::newRow("cover D at 1.5x") << "covers[3]" << QRect(600, 2880, 540, 540) << 1.5;
        QTest::newRow("pay line at 2x") << "reelRows[4]" << QRect(3120, 1560, 855, 855) << 2.0;
        QTest::newRow("money at 2x") << "moneyLabel" << QRect(5760, 1440, 1575, 375) << 2.0;
        QTest::newRow("Start at 2x") << "startButton" << QRect(400, 3600, 750, 495) << 2.0;
        QTest::newRow("right STOP at 3x") << "stopButtons[2]" << QRect(4280, 3600, 480, 480) << 3.0;
        QTest::newRow("left notice lamp at 3x") << "noticeLamps[0]" << QRect(1515, 520, 270, 2920) << 3.0;
        QTest::newRow("money at 3x") << "moneyLabel" << QRect(5760, 1440, 1575, 375) << 3.0;
    }
    // Every control lies at its twips times the zoom, the client area is
    // the window's size times the zoom, and the fonts grow with it.
    void layoutInTwips()
    {
        QFETCH(QString, control);
        QFETCH(QRect, twips);
        QFETCH(double, zoom);
        SessionRig rig;
        ui::MainWindow& w = rig.window();
        w.setZoom(zoom);
        QCOMPARE(w.centralWidget()->size(), QSize(rt::Px(7410, zoom), rt::Px(4275, zoom)));
        QCOMPARE(w.moneyLabel->font().pointSizeF(), 15.75 * zoom);
        const QHash<QString, QWidget*> widgets{
            {"covers[0]", w.covers[0]},         {"covers[3]", w.covers[3]},
            {"reelRows[4]", w.reelRows[4]},     {"reelRows[8]", w.reelRows[8]},
            {"moneyLabel", w.moneyLabel},       {"startButton", w.startButton},
            {"stopButtons[2]", w.stopButtons[2]}, {"frameLamps[0]", w.frameLamps[0]},
            {"noticeLamps[0]", w.noticeLamps[0]}, {"chanceCounterLabel", w.chanceCounterLabel},
        };
        QWidget* widget = widgets.value(control);
        QCOMPARE(widget->parentWidget(), w.centralWidget());
        QCOMPARE(widget->geometry(), rt::TwipsRect(twips.x(), twips.y(), twips.width(), twips.height(), zoom));
    }

    // At 2x and 3x the pictures come from the scaled sets, measuring their
    // size at 1x through their device pixel ratio; at 1x the classic files.
    void scaledPictures_data()
    {
        QTest::addColumn<double>("zoom");
        QTest::addColumn<int>("scale");
        QTest::newRow("1x") << 1.0 << 1;
        QTest::newRow("1.5x") << 1.5 << 2;
        QTest::newRow("2x") << 2.0 << 2;
        QTest::newRow("3x") << 3.0 << 3;
    }
    void scaledPictures()
    {
        QFETCH(double, zoom);
        QFETCH(int, scale);
        SessionRig rig;
        for (const QString& set : {QStringLiteral("@2x"), QStringLiteral("@3x")}) {
            QDir(rig.dir()).mkdir(set);
            const QDir built(QStringLiteral(ZELMOR_ASSET_DIR "/") + set);
            for (const QString& name : built.entryList(QDir::Files))
                QFile::copy(built.filePath(name), rig.path(set + QLatin1Char('/') + name));
        }
        rig.play();
        ui::MainWindow& w = rig.window();
        w.setZoom(zoom);
        const auto file = [&](const QString& name) {
            QImage image(scale == 1 ? rig.path(name + QStringLiteral(".BMP"))
                                    : rig.path(QStringLiteral("@%1x/%2.png").arg(scale).arg(name)));
            image.setDevicePixelRatio(scale);
            return image.convertToFormat(QImage::Format_RGB32);
        };
        const QPixmap symbol = w.reelRows[4]->shownPicture(); // 7 on the pay line
        QCOMPARE(symbol.devicePixelRatio(), qreal(scale));
        QCOMPARE(symbol.toImage().convertToFormat(QImage::Format_RGB32), file(QStringLiteral("R07")));
        const QPixmap cover = w.covers[0]->shownPicture();
        QCOMPARE(cover.devicePixelRatio(), qreal(scale));
        QCOMPARE(cover.size(), file(QStringLiteral("COVER")).size());
        const QPixmap stop = w.stopButtons[0]->shownPicture();
        QCOMPARE(stop.devicePixelRatio(), qreal(scale));
        QCOMPARE(stop.size(), QSize(32, 32) * scale);
        QCOMPARE(w.startButton->iconSize(), (QSizeF(48, 32) * zoom).toSize());
    }

    // The player's size survives a restart, and Ctrl+plus, Ctrl+= and
    // Ctrl+minus step through the sizes with one item checked at a time,
    // whichever item the player clicks.
    void zoomRemembered()
    {
        {
            SessionRig rig;
            rig.play();
            ui::MainWindow& w = rig.window();
            choose(w.zoomItems[1]);
            QCOMPARE(w.zoom(), 1.5);
        }
        SessionRig again;
        again.play();
        ui::MainWindow& w = again.window();
        QCOMPARE(w.zoom(), 1.5);
        QCOMPARE(w.centralWidget()->width(), rt::Px(7410, 1.5));
        w.show();
        QApplication::setActiveWindow(&w);
        const auto press = [&](int key) { QTest::keyClick(&w, Qt::Key(key), Qt::ControlModifier); };
        const auto checked = [&] {
            QList<bool> marks;
            for (const QAction* item : w.zoomItems)
                marks << item->isChecked();
            return marks;
        };
        QCOMPARE(checked(), QList<bool>({false, true, false, false}));
        choose(w.zoomItems[1]); // the size already shown stays checked
        QCOMPARE(checked(), QList<bool>({false, true, false, false}));
        press(Qt::Key_Minus);
        QCOMPARE(w.zoom(), 1.0);
        press(Qt::Key_Minus); // the smallest already
        QCOMPARE(w.zoom(), 1.0);
        press(Qt::Key_Equal);
        QCOMPARE(w.zoom(), 1.5);
        press(Qt::Key_Minus);
        press(Qt::Key_Plus);
        QCOMPARE(w.zoom(), 1.5);
        QCOMPARE(checked(), QList<bool>({false, true, false, false}));
        QCOMPARE(ui::Preferences::Load().zoom, 1.5);
        QCOMPARE(w.noticeLamps[0]->geometry(), rt::TwipsRect(1515, 520, 270, 2920, 1.5));
    }

    // A window resized by its edges shows the machine as large as its shape
    // allows, filling the client area's width or height, centred, every
    // control at its twips times that zoom; a menu size then gives the
    // window exactly that size again.
    void resizedWindow_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<bool>("fillsWidth");
        QTest::newRow("wide") << QSize(1200, 420) << false;
        QTest::newRow("tall") << QSize(600, 900) << true;
        QTest::newRow("maximized on 1920 x 1080") << QSize(1920, 1050) << false;
        QTest::newRow("a little larger than 1x") << QSize(500, 330) << true;
    }
    void resizedWindow()
    {
        QFETCH(QSize, window);
        QFETCH(bool, fillsWidth);
        SessionRig rig;
        rig.play();
        ui::MainWindow& w = rig.window();
        w.show();
        w.resize(window);
        QApplication::processEvents();
        const QSize client = w.centralWidget()->size();
        QCOMPARE(w.size(), window);
        const QSize machine(rt::Px(7410, w.zoom()), rt::Px(4275, w.zoom()));
        QCOMPARE(fillsWidth ? machine.width() : machine.height(), fillsWidth ? client.width() : client.height());
        QVERIFY(machine.width() <= client.width() && machine.height() <= client.height());
        const QPoint origin = w.machineOrigin();
        QVERIFY(qAbs(client.width() - machine.width() - 2 * origin.x()) <= 1);
        QVERIFY(qAbs(client.height() - machine.height() - 2 * origin.y()) <= 1);
        QCOMPARE(w.reelRows[8]->geometry(), rt::TwipsRect(4080, 2400, 855, 855, w.zoom()).translated(origin));
        QCOMPARE(w.moneyLabel->geometry(), rt::TwipsRect(5760, 1440, 1575, 375, w.zoom()).translated(origin));
        QCOMPARE(w.moneyLabel->font().pointSizeF(), 15.75 * w.zoom());
        for (const QAction* item : w.zoomItems)
            QVERIFY(!item->isChecked());

        choose(w.zoomItems[1]);
        QApplication::processEvents();
        QCOMPARE(w.centralWidget()->size(), QSize(rt::Px(7410, 1.5), rt::Px(4275, 1.5)));
        QCOMPARE(w.machineOrigin(), QPoint());
        QCOMPARE(w.reelRows[8]->geometry(), rt::TwipsRect(4080, 2400, 855, 855, 1.5));
        QVERIFY(w.zoomItems[1]->isChecked());
    }

    // F11, or the view menu's item, fills the screen, and again gives the window back.
    void fullScreen()
    {
        SessionRig rig;
        rig.play();
        ui::MainWindow& w = rig.window();
        w.show();
        QApplication::setActiveWindow(&w);
        QTest::keyClick(&w, Qt::Key_F11);
        QVERIFY(w.isFullScreen());
        QVERIFY(w.fullScreenItem->isChecked());
        choose(w.fullScreenItem);
        QVERIFY(!w.isFullScreen());
        QVERIFY(!w.fullScreenItem->isChecked());
    }

    // On a screen too small for the chosen size, the largest size that fits,
    // the window's frame and menu bar included.
    void fittingZoom_data()
    {
        QTest::addColumn<double>("wanted");
        QTest::addColumn<QSize>("available");
        QTest::addColumn<double>("fitting");
        const QSize chrome(16, 60);
        QTest::newRow("large screen") << 3.0 << QSize(2560, 1600) << 3.0;
        QTest::newRow("3x exactly") << 3.0 << QSize(rt::Px(7410, 3), rt::Px(4275, 3)) + chrome << 3.0;
        QTest::newRow("a pixel short of 3x") << 3.0 << QSize(rt::Px(7410, 3), rt::Px(4275, 3) - 1) + chrome
                                             << 2.0;
        QTest::newRow("laptop") << 3.0 << QSize(1280, 800) << 2.0;
        QTest::newRow("1024 x 600") << 2.0 << QSize(1024, 600) << 1.5;
        QTest::newRow("smaller wanted") << 1.5 << QSize(2560, 1600) << 1.5;
        QTest::newRow("nothing fits") << 2.0 << QSize(400, 300) << 1.0;
    }
    void fittingZoom()
    {
        QFETCH(double, wanted);
        QFETCH(QSize, available);
        QFETCH(double, fitting);
        QCOMPARE(ui::FittingZoom(wanted, QSize(16, 60), available), fitting);
    }

    // The background, Start, STOP and the window icon are built into the
    // program: without their files in the program's directory the window
    // shows each of them, and a slot chance still has STOP buttons.
    void ownPicturesWithoutFiles_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<ShowsPicture>("shows");
        QTest::newRow("background") << "BACK.BMP" << ShowsPicture([](SessionRig& rig) {
            const QRect corner(0, 0, 60, 30); // no control lies there
            const QImage shown = rig.window().centralWidget()->grab(corner).toImage();
            const QImage picture(ui::WindowPicture(QStringLiteral("BACK.BMP")));
            return shown.convertToFormat(QImage::Format_RGB32) ==
                   picture.copy(corner).convertToFormat(QImage::Format_RGB32);
        });
        QTest::newRow("Start") << "START.BMP" << ShowsPicture([](SessionRig& rig) {
            const QPushButton* start = rig.window().startButton;
            return !start->icon().isNull() && start->iconSize() == QSize(48, 32);
        });
        QTest::newRow("STOP") << "STOP.PNG" << ShowsPicture([](SessionRig& rig) {
            startSlotChanceSpin(rig);
            const QImage picture(ui::WindowPicture(QStringLiteral("STOP.PNG")));
            const QPoint middle(16, 16);
            for (ui::PictureBox* stop : rig.window().stopButtons) {
                if (stop->isHidden() || stop->grab().toImage().pixel(middle) != picture.pixel(middle))
                    return false;
                stop->click();
            }
            return !rig.machine().spinning();
        });
        QTest::newRow("window icon") << "ZELMOR.PNG" << ShowsPicture([](SessionRig& rig) {
            ui::AboutDialog version(&rig.window());
            return !rig.window().windowIcon().isNull() && version.icon->hasPicture();
        });
    }
    void ownPicturesWithoutFiles()
    {
        QFETCH(QString, file);
        QFETCH(ShowsPicture, shows);
        SessionRig rig;
        rig.removeFile(file);
        rig.play();
        QVERIFY(shows(rig));
    }

    // A mouse click on a cover reaches the machine, and the labels and
    // pictures follow: a hit, then a miss on another cover.
    void coverClicks()
    {
        SessionRig rig;
        rig.play();
        ui::MainWindow& w = rig.window();
        w.show();
        rig.rnd.push(pick(1, 4));
        QTest::mouseClick(w.covers[1], Qt::LeftButton);
        QCOMPARE(w.moneyLabel->text(), QStringLiteral("90"));
        QCOMPARE(w.betLabel->text(), QStringLiteral("1"));
        QCOMPARE(w.covers[1]->picture(), rig.path(QStringLiteral("ATARI.BMP")));
        QVERIFY(!w.startButton->isHidden());

        rig.rnd.push(pick(0, 4));
        QTest::mouseClick(w.covers[2], Qt::LeftButton);
        QCOMPARE(w.covers[1]->picture(), rig.path(QStringLiteral("COVER.BMP")));
        QCOMPARE(w.covers[2]->picture(), rig.path(QStringLiteral("HAZURE.BMP")));
        QCOMPARE(w.moneyLabel->text(), QStringLiteral("80"));
        QCOMPARE(w.betLabel->text(), QStringLiteral("1"));
        QVERIFY(!rig.rnd.exhausted());
    }

    // Start, then the reel timer's ticks play a missed spin to its end; the
    // window shows every step of the reels as the machine has them.
    void spinThroughTheView()
    {
        SessionRig rig;
        rig.play();
        ui::MainWindow& w = rig.window();
        hitCoverA(rig);
        rig.rnd.script(spinDraws(0, 0, 0, 0, 100));
        w.startButton->click();

        QVERIFY(w.startButton->isHidden());
        QVERIFY(!w.covers[0]->isEnabled());
        QVERIFY(!w.fileMenu->menuAction()->isEnabled() && !w.helpMenu->menuAction()->isEnabled());
        QVERIFY(w.viewMenu->menuAction()->isEnabled());
        QCOMPARE(w.cursor().shape(), Qt::BusyCursor);

        game::Clock& clock = rig.machine().clock();
        int ticks = 0;
        while (clock.ticking(TimerId::Reel) && ticks < 2000) {
            clock.fire(TimerId::Reel);
            ++ticks;
            QCOMPARE(shownFaces(w), reelFaces(rig.s()));
        }
        QVERIFY(ticks > 90);
        QVERIFY(!rig.machine().spinning());
        QVERIFY(w.covers[0]->isEnabled());
        QVERIFY(w.fileMenu->menuAction()->isEnabled() && w.helpMenu->menuAction()->isEnabled());
        QCOMPARE(w.betLabel->text(), QStringLiteral("0"));
        QVERIFY(defaultPointer(w));
        QVERIFY(!rig.rnd.exhausted());
    }

    // A jackpot spin: the notice lamps blink at their fast pace, the pay line
    // lines up with the other rows gone, the win shows and the slot-chance
    // counter appears. The next spin is stopped with the STOP buttons, and
    // the counter counts down when it ends.
    void jackpotAndSlotChance()
    {
        SessionRig rig;
        rig.play();
        ui::MainWindow& w = rig.window();
        hitCoverA(rig);
        startLineUp(rig, 1); // the fast notice
        QCOMPARE(rig.machine().clock().interval(TimerId::NoticeLamps), game::PremiumNoticeMs);
        fire(rig, TimerId::NoticeLamps);
        QCOMPARE(w.noticeLamps[0]->fillColor(), NoticeLit);
        QCOMPARE(w.noticeLamps[1]->borderColor(), NoticeLit);
        tickReels(rig);

        QCOMPARE(w.noticeLamps[0]->fillColor(), NoticeDark);
        const QString faces = shownFaces(w);
        QCOMPARE(faces, reelFaces(rig.s()));
        QCOMPARE(faces.count(QLatin1Char('.')), 6);
        QVERIFY(rig.s().lastWin > 0);
        QCOMPARE(w.winLabel->text(), rt::DecimalText(double(rig.s().lastWin)));
        QCOMPARE(w.moneyLabel->text(), rt::DecimalText(double(rig.s().money)));
        QVERIFY(!w.chanceCounterLabel->isHidden());
        QCOMPARE(w.chanceCounterLabel->text(), QStringLiteral("5"));

        hitCoverA(rig);
        rig.rnd.script(spinDraws(0, 0, 0, 0, 100));
        w.startButton->click();
        QCOMPARE(shownFaces(w).count(QLatin1Char('.')), 0);
        for (const ui::PictureBox* stop : w.stopButtons)
            QVERIFY(!stop->isHidden());
        QCOMPARE(w.chanceCounterLabel->text(), QStringLiteral("5")); // it follows at the end of the spin
        fire(rig, TimerId::Reel);
        for (ui::PictureBox* stop : w.stopButtons) {
            stop->click();
            QVERIFY(stop->isHidden());
        }
        QVERIFY(!rig.machine().spinning());
        QCOMPARE(w.chanceCounterLabel->text(), QStringLiteral("4"));
        QCOMPARE(w.winLabel->text(), rt::DecimalText(double(rig.s().lastWin)));
        QVERIFY(!rig.rnd.exhausted());
    }

    // The frame lamps follow their timer's blinking, every lamp of the group
    // filled and bordered in the colour of its state.
    void frameLampsFollowTheirTimer()
    {
        SessionRig rig;
        rig.play();
        ui::MainWindow& w = rig.window();
        fire(rig, TimerId::FrameLamps);
        QCOMPARE(w.frameLamps[0]->fillColor(), FrameDark); // not blinking
        rig.machine().editState().lamps.blinkFrame();
        fire(rig, TimerId::FrameLamps);
        for (const ui::RectShape* lamp : w.frameLamps) {
            QCOMPARE(lamp->fillColor(), FrameLit);
            QCOMPARE(lamp->borderColor(), FrameLit);
        }
        fire(rig, TimerId::FrameLamps);
        QCOMPARE(w.frameLamps[5]->fillColor(), FrameDark);
    }

    // With calm lamps the premium notice shows in its own colour, crimson.
    void premiumNoticeWithCalmLamps()
    {
        SessionRig rig;
        rig.play();
        ui::MainWindow& w = rig.window();
        choose(w.calmLampsItem);
        hitCoverA(rig);
        startLineUp(rig, 1); // the fast notice
        for (int i = 0; i < 8 && rig.s().lamps.notice() != LampState::Premium; ++i) {
            fire(rig, TimerId::NoticeLamps);
            fire(rig, TimerId::FrameLamps);
        }
        QCOMPARE(rig.s().lamps.notice(), LampState::Premium);
        for (const ui::RectShape* lamp : w.noticeLamps) {
            QCOMPARE(lamp->fillColor(), Premium);
            QCOMPARE(lamp->borderColor(), Premium);
        }
    }

    // Every way out asks once; the session saves once and ends the program.
    // The close box of a program that has ended saves nothing more.
    void quitSavesOnce_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Escape") << "Escape";
        QTest::newRow("quit item") << "quit item";
        QTest::newRow("close box") << "close box";
    }
    void quitSavesOnce()
    {
        QFETCH(QString, way);
        SessionRig rig;
        rig.play();
        ui::MainWindow& w = rig.window();
        QSignalSpy asked(&w, &ui::MainWindow::quitRequested);
        scriptSaves(rig, 2);
        if (way == QStringLiteral("Escape"))
            QTest::keyClick(w.moneyLabel, Qt::Key_Escape);
        else if (way == QStringLiteral("quit item"))
            choose(w.quitItem);
        else
            w.close();
        QCOMPARE(asked.count(), 1);
        QCOMPARE(rig.host.endCount, 1);
        QVERIFY(!rig.readFile(QStringLiteral("Zelmor.ini")).isEmpty());
        QVERIFY(!rig.readFile(QStringLiteral("Zelmor.bin")).isEmpty());

        rig.removeFile(QStringLiteral("Zelmor.ini"));
        rig.removeFile(QStringLiteral("Zelmor.bin"));
        w.close();
        QCOMPARE(asked.count(), 1);
        QCOMPARE(rig.host.endCount, 1);
        QVERIFY(!QFileInfo::exists(rig.path(QStringLiteral("Zelmor.ini"))));
    }

    // Other keys go on to the controls; only Escape quits.
    void otherKeysDoNotQuit()
    {
        SessionRig rig;
        rig.play();
        QTest::keyClick(rig.window().moneyLabel, Qt::Key_Q);
        QTest::keyClick(rig.window().moneyLabel, Qt::Key_Return);
        QVERIFY(!rig.host.endedFlag);
    }

    // The covers' keys: 1..4 and A..D. A key held down does not repeat.
    void coverKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<bool>("held");
        QTest::addColumn<int>("cover"); // the cover opened, -1 for none
        const int keys[4][2] = {{Qt::Key_1, Qt::Key_A}, {Qt::Key_2, Qt::Key_B}, {Qt::Key_3, Qt::Key_C},
                                {Qt::Key_4, Qt::Key_D}};
        for (int i = 0; i < 4; ++i)
            for (int key : keys[i])
                QTest::addRow("%s", qPrintable(QKeySequence(key).toString())) << key << false << i;
        QTest::newRow("1 held down") << int(Qt::Key_1) << true << -1;
    }
    void coverKeys()
    {
        QFETCH(int, key);
        QFETCH(bool, held);
        QFETCH(int, cover);
        SessionRig rig;
        rig.play();
        ui::MainWindow& w = rig.window();
        if (cover >= 0)
            rig.rnd.push(pick(cover, 4)); // the hit card under that cover
        pressKey(w, key, held);
        QCOMPARE(w.moneyLabel->text(), cover >= 0 ? QStringLiteral("90") : QStringLiteral("100"));
        QCOMPARE(w.betLabel->text(), cover >= 0 ? QStringLiteral("1") : QStringLiteral("0"));
        if (cover >= 0)
            QCOMPARE(w.covers[cover]->picture(), rig.path(QStringLiteral("ATARI.BMP")));
        QVERIFY(!rig.rnd.exhausted());
    }

    // A key held down on a busy machine: X repeats it as a release and a
    // press with the same server time, which Qt does not mark as a repeat.
    // Only a press after a real release buys again.
    void heldKeyUnmarkedRepeats()
    {
        SessionRig rig;
        rig.play();
        ui::MainWindow& w = rig.window();
        const auto send = [&](QEvent::Type type, quint64 time) {
            QKeyEvent event(type, Qt::Key_1, Qt::NoModifier);
            event.setTimestamp(time);
            QApplication::sendEvent(w.moneyLabel, &event);
        };
        rig.rnd.push(pick(1, 4)); // a miss under cover A
        send(QEvent::KeyPress, 1000);
        for (quint64 time = 1660; time < 2000; time += 40) {
            send(QEvent::KeyRelease, time);
            send(QEvent::KeyPress, time);
        }
        QCOMPARE(w.moneyLabel->text(), QStringLiteral("90"));
        send(QEvent::KeyRelease, 2100);
        rig.rnd.push(pick(1, 4));
        send(QEvent::KeyPress, 2300);
        QCOMPARE(w.moneyLabel->text(), QStringLiteral("80"));
        QVERIFY(!rig.rnd.exhausted());
    }

    // Start's keys: Space, Return and the keypad's Enter, only while Start shows.
    void startKeys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("held");
        QTest::addColumn<bool>("bet");
        QTest::addColumn<bool>("starts");
        QTest::newRow("Space") << int(Qt::Key_Space) << 0 << false << true << true;
        QTest::newRow("Return") << int(Qt::Key_Return) << 0 << false << true << true;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << false << true << true;
        QTest::newRow("Space held down") << int(Qt::Key_Space) << 0 << true << true << false;
        QTest::newRow("Ctrl+Space") << int(Qt::Key_Space) << int(Qt::ControlModifier) << false << true << false;
        QTest::newRow("Space without a BET") << int(Qt::Key_Space) << 0 << false << false << false;
    }
    void startKeys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, held);
        QFETCH(bool, bet);
        QFETCH(bool, starts);
        SessionRig rig;
        rig.play();
        ui::MainWindow& w = rig.window();
        if (bet)
            hitCoverA(rig);
        if (starts)
            rig.rnd.script(spinDraws(0, 0, 0, 0, 100));
        pressKey(w.moneyLabel, key, held, Qt::KeyboardModifiers(modifiers));
        QCOMPARE(rig.machine().spinning(), starts);
        QCOMPARE(!w.startButton->isHidden(), bet && !starts);
        QVERIFY(!rig.rnd.exhausted() && rig.rnd.remaining() == 0);
    }

    // A slot-chance spin stopped with Z, X and C. While the stop buttons show
    // the covers take no clicks, so C is the right stop; once the spin is
    // over it is cover C again.
    void stopKeys()
    {
        SessionRig rig;
        rig.play();
        ui::MainWindow& w = rig.window();
        hitCoverA(rig);
        startLineUp(rig);
        tickReels(rig);
        hitCoverA(rig);
        rig.rnd.script(spinDraws(0, 0, 0, 0, 100));
        pressKey(w, Qt::Key_Space);
        fire(rig, TimerId::Reel);
        const std::array<bool, 3> expected[] = {{true, true, false}, {false, true, false}, {false, false, false}};
        const int keys[] = {Qt::Key_C, Qt::Key_Z, Qt::Key_X};
        for (int i = 0; i < 3; ++i) {
            QVERIFY(!w.covers[2]->isEnabled());
            pressKey(w, keys[i]);
            for (int stop = 0; stop < 3; ++stop)
                QCOMPARE(!w.stopButtons[stop]->isHidden(), expected[i][stop]);
        }
        QVERIFY(!rig.machine().spinning());
        QCOMPARE(w.chanceCounterLabel->text(), QStringLiteral("4"));
        pressKey(w, Qt::Key_Z); // no stop button shows: nothing
        rig.rnd.push(pick(2, 4));
        pressKey(w, Qt::Key_C);
        QCOMPARE(w.covers[2]->picture(), rig.path(QStringLiteral("ATARI.BMP")));
        QVERIFY(!rig.rnd.exhausted());
    }

    // The game's keys belong to the main window: a dialog of the window keeps
    // its keys, and so does the menu bar while the keyboard is in it (Alt).
    void keysStayWithTheirWindow()
    {
        SessionRig rig;
        rig.play();
        ui::MainWindow& w = rig.window();
        hitCoverA(rig);
        {
            QDialog dialog(&w);
            dialog.show();
            pressKey(&dialog, Qt::Key_Space);
        }
        QVERIFY(!rig.machine().spinning());
        w.show();
        QApplication::setActiveWindow(&w);
        QTest::keyClick(&w, Qt::Key_Alt);
        QVERIFY(w.menuBar()->hasFocus());
        pressKey(w.menuBar(), Qt::Key_Return); // opens the File menu
        QVERIFY(!rig.machine().spinning());
        QVERIFY(!w.startButton->isHidden());
    }

    // Each control that takes a key names it in its tooltip, below its own tip.
    void keysInTips()
    {
        SessionRig rig;
        ui::MainWindow& w = rig.window();
        QStringList tips;
        for (const ui::PictureBox* cover : w.covers)
            tips << cover->toolTip();
        tips << w.startButton->toolTip();
        for (const ui::PictureBox* stop : w.stopButtons)
            tips << stop->toolTip();
        QCOMPARE(tips, QStringList({"当たるかな？\nキー: 1 / A", "次はどうかな？\nキー: 2 / B", "いいかも！？\nキー: 3 / C",
                                    "ん～\nキー: 4 / D", "キー: Space / Enter", "キー: Z", "キー: X", "キー: C"}));
    }

    // The calm-lamps item switches the machine's calm lamps, and the choice
    // is remembered for the next start without touching the other preferences.
    void calmLampsRemembered()
    {
        ui::Preferences zoomed;
        zoomed.zoom = 2;
        zoomed.save();
        {
            SessionRig rig;
            rig.play();
            ui::MainWindow& w = rig.window();
            QVERIFY(!w.calmLampsItem->isChecked());
            choose(w.calmLampsItem);
            QVERIFY(w.calmLampsItem->isChecked() && rig.s().lamps.calm());
            rig.machine().editState().lamps.blinkFrame();
            fire(rig, TimerId::FrameLamps);
            QCOMPARE(w.frameLamps[0]->fillColor(), FrameDark); // calm: not yet
            fire(rig, TimerId::FrameLamps);
            QCOMPARE(w.frameLamps[0]->fillColor(), FrameCalmLit); // lit halfway, softly
        }
        SessionRig again;
        again.play();
        QVERIFY(again.window().calmLampsItem->isChecked() && again.s().lamps.calm());
        choose(again.window().calmLampsItem);
        QVERIFY(!again.window().calmLampsItem->isChecked());
        const ui::Preferences saved = ui::Preferences::Load();
        QVERIFY(!saved.calmLamps);
        QCOMPARE(saved.zoom, 2.0);
    }

    // The fast-play items set the machine's pace, one checked at a time, and
    // the choice is remembered; a pace the menu does not offer reads as 1x.
    void paceRemembered()
    {
        {
            SessionRig rig;
            rig.play();
            ui::MainWindow& w = rig.window();
            QStringList texts;
            for (const QAction* item : w.paceMenu->actions())
                texts << item->text();
            QCOMPARE(texts, QStringList({"標準の速さ(&1)", "2倍速(&2)", "4倍速(&4)"}));
            QVERIFY(w.paceItems[0]->isChecked());
            choose(w.paceItems[2]);
            QCOMPARE(rig.machine().clock().pace(), 4);
        }
        SessionRig again;
        again.play();
        const auto& items = again.window().paceItems;
        QCOMPARE(again.machine().clock().pace(), 4);
        QVERIFY(!items[0]->isChecked() && !items[1]->isChecked() && items[2]->isChecked());
        choose(items[1]);
        QVERIFY(!items[2]->isChecked() && items[1]->isChecked());
        QCOMPARE(ui::Preferences::Load().pace, 2);
        QSettings(QStringLiteral("zelmor"), QStringLiteral("zelmor")).setValue(QStringLiteral("view/pace"), 3);
        QCOMPARE(ui::Preferences::Load().pace, 1);
    }

    // View → Language speaks at once and is remembered; Japanese comes back
    // byte for byte.
    void languageChosenFromTheMenu()
    {
        SessionRig rig;
        rig.play();
        ui::MainWindow& w = rig.window();
        const auto texts = [&w] {
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
            return QStringList{w.windowTitle(), w.moneyHeading->text(), w.winHeading->text(), w.fileMenu->title(),
                               w.covers[0]->toolTip()};
        };
        const QStringList japanese = texts();
        QCOMPARE(japanese, QStringList({"ゼルモア", "持ち金（＄）", "獲得＄", "ファイル(&F)", "当たるかな？\nキー: 1 / A"}));
        QVERIFY(w.languageItems[0]->isChecked());
        choose(w.languageItems[1]);
        QCOMPARE(texts(), QStringList({"Zelmor", "Money ($)", "Win $", "&File", "Will it hit?\nKey: 1 / A"}));
        QVERIFY(w.languageItems[1]->isChecked() && !w.languageItems[0]->isChecked());
        QCOMPARE(ui::Preferences::Load().language, ui::Language::English);
        choose(w.languageItems[0]);
        QCOMPARE(texts(), japanese);
        QCOMPARE(ui::Preferences::Load().language, ui::Language::Japanese);
    }

    void borrowingFromTheMenu()
    {
        SessionRig rig;
        rig.play();
        ui::MainWindow& w = rig.window();
        choose(w.borrow100Item);
        QCOMPARE(rig.prompts.kinds(), std::vector<Notice::Kind>{Notice::LoanNotNeeded});

        rig.machine().editState().money = 0;
        rig.rnd.push(pick(0, 10));
        choose(w.borrow100Item);
        QCOMPARE(w.moneyLabel->text(), QStringLiteral("100"));

        rig.machine().editState().money = 0;
        rig.rnd.push(pick(1, 50));
        choose(w.borrow1000Item);
        QCOMPARE(w.moneyLabel->text(), QStringLiteral("1000"));

        // While the reels turn the menus take no clicks.
        hitCoverA(rig);
        rig.rnd.script(spinDraws(0, 0, 0, 0, 100));
        w.startButton->click();
        rig.prompts.notices.clear();
        choose(w.borrow100Item);
        QVERIFY(rig.prompts.notices.empty());
        QVERIFY(!rig.rnd.exhausted());
    }

    // The probability item takes clicks only once the machine is unlocked,
    // here by a jackpot that reaches the goal.
    void probabilityOnceUnlocked()
    {
        SessionRig rig;
        rig.play();
        ui::MainWindow& w = rig.window();
        choose(w.probabilityItem);
        QVERIFY(rig.prompts.denominatorQuestions.empty());

        rig.machine().editState().money = game::GoalMoney - 10;
        hitCoverA(rig);
        QCOMPARE(rig.prompts.targetQuestions, 1); // offered above $1,000,000
        QVERIFY(defaultPointer(w));
        startLineUp(rig);
        tickReels(rig);
        QVERIFY(rig.prompts.told(Notice::Goal));
        QCOMPARE(w.moneyLabel->text(), QStringLiteral("100"));
        QVERIFY(w.probabilityItem->isEnabled());

        rig.prompts.inputAnswers.push_back(QStringLiteral("50"));
        choose(w.probabilityItem);
        QCOMPARE(rig.prompts.denominatorQuestions.size(), std::size_t(1));
        QCOMPARE(rig.s().denominator, 50.0);
        QCOMPARE(rig.prompts.notices.back().kind, Notice::ProbabilityChanged);
        QCOMPARE(rig.prompts.notices.back().number, qint64(50));
    }

    // The no-sound item: its check mark follows the machine, and only the
    // player's switching the sound on readies the device.
    void soundSwitchFromTheMenu()
    {
        SessionRig rig;
        rig.play();
        ui::MainWindow& w = rig.window();
        QCOMPARE(rig.audio.prepared, 0);
        choose(w.noSoundItem);
        QVERIFY(w.noSoundItem->isChecked());
        QCOMPARE(rig.s().sound, game::SoundSwitch::Off);
        QCOMPARE(rig.audio.prepared, 0);
        choose(w.noSoundItem);
        QVERIFY(!w.noSoundItem->isChecked());
        QCOMPARE(rig.audio.prepared, 1);

        hitCoverA(rig);
        rig.rnd.script(spinDraws(0, 0, 0, 0, 100));
        w.startButton->click();
        QCOMPARE(rig.audio.played, QStringList{QStringLiteral("music ROLL.MID")});
        tickReels(rig);
        QVERIFY(rig.audio.log.contains(QStringLiteral("close ROLL.MID"))); // the miss stops the music
    }

    // A cue the device cannot play switches the sound off within the spin start.
    void failedCueSwitchesTheSoundOff()
    {
        SessionRig rig;
        rig.play();
        ui::MainWindow& w = rig.window();
        choose(w.noSoundItem);
        choose(w.noSoundItem); // sound on
        rig.audio.deviceFails = true;
        hitCoverA(rig);
        rig.rnd.script(spinDraws(0, 0, 0, 0, 100));
        w.startButton->click();
        QCOMPARE(rig.s().sound, game::SoundSwitch::Off);
        QVERIFY(w.noSoundItem->isChecked());
        QCOMPARE(rig.prompts.kinds(), std::vector<Notice::Kind>{Notice::SoundDeviceFailed});
        QVERIFY(rig.machine().spinning());
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
