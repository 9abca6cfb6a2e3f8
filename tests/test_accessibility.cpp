// SPDX-License-Identifier: MIT
// The main window as a screen reader reads it: the controls' names, values,
// roles and press actions after scripted play, and a spin summed up once,
// when it ends, not at every step of the reels.
#include "tests/support/SessionRig.h"

#include <QAccessible>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

using namespace testing;
using game::TimerId;

using Control = std::function<QWidget*(ui::MainWindow&)>;
Q_DECLARE_METATYPE(Control)

namespace {

// Counts the times a widget is shown: the window's notification is read
// each time it shows (Qt's bridge reports it "showing"). Qt sends no
// accessibility events without a platform bridge, as under offscreen.
class ShowCounter : public QObject {
public:
    int shows = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        shows += event->type() == QEvent::Show;
        return false;
    }
};

QAccessibleInterface* Accessible(QObject* control)
{
    return QAccessible::queryAccessibleInterface(control);
}

// A jackpot spin started on a cover A hit: the pay line lines up and pays.
void startJackpot(SessionRig& rig)
{
    rig.rnd.push(pick(0, 4));
    Accessible(rig.window().covers[0])->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QCoreApplication::sendPostedEvents();
    rig.rnd.script(spinDraws(0, 0, 0, 0, 6));
    rig.rnd.push(pick(0, 20));
    rig.window().startButton->click();
}

// Ticks the reels until they stop, letting the window's queued work run after each tick.
void tickReels(SessionRig& rig)
{
    game::Clock& clock = rig.machine().clock();
    for (int ticks = 0; clock.ticking(TimerId::Reel) && ticks < 2000; ++ticks) {
        clock.fire(TimerId::Reel);
        QCoreApplication::sendPostedEvents();
    }
    QCoreApplication::sendPostedEvents();
}

} // namespace

class TestAccessibility : public QObject {
    Q_OBJECT
    QTemporaryDir config_; // the preferences of this run

private slots:
    void initTestCase()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config_.path());
    }

    void readsTheMachine_data()
    {
        QTest::addColumn<Control>("control");
        QTest::addColumn<QAccessible::Role>("role");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("pressable");
        auto row = [](const char* tag, Control control, QAccessible::Role role, const char16_t* name,
                      const char16_t* value, bool pressable = false) {
            QTest::newRow(tag) << control << role << QString::fromUtf16(name) << QString::fromUtf16(value)
                               << pressable;
        };
        using W = ui::MainWindow;
        const auto label = QAccessible::StaticText;
        row("money", [](W& w) { return w.moneyLabel; }, label, u"持ち金（＄）", u"1790");
        row("BET", [](W& w) { return w.betLabel; }, label, u"BET", u"0");
        row("win", [](W& w) { return w.winLabel; }, label, u"獲得＄", u"1700");
        row("slot chance", [](W& w) { return w.chanceCounterLabel; }, label, u"スロットチャンス残り", u"5");
        row("pay line, left", [](W& w) { return w.reelRows[1]; }, QAccessible::Graphic, u"左リール中段", u"7");
        row("pay line, right", [](W& w) { return w.reelRows[7]; }, QAccessible::Graphic, u"右リール中段", u"7");
        row("hidden row", [](W& w) { return w.reelRows[0]; }, QAccessible::Graphic, u"左リール上段", u"");
        row("target", [](W& w) { return w.targetBox; }, QAccessible::Graphic, u"狙い出目", u"なし");
        row("cover", [](W& w) { return w.covers[3]; }, QAccessible::Button, u"カバーD", u"裏向き", true);
        row("hidden Start", [](W& w) { return w.startButton; }, QAccessible::Button, u"スタート", nullptr);
        row("hidden STOP", [](W& w) { return w.stopButtons[2]; }, QAccessible::Button, u"右ストップ", nullptr);
    }

    // After a jackpot: each control's name, the value it shows (null: not
    // checked), and a press action only where a click would do something.
    void readsTheMachine()
    {
        QFETCH(Control, control);
        QFETCH(QAccessible::Role, role);
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(bool, pressable);
        SessionRig rig;
        rig.play();
        startJackpot(rig);
        tickReels(rig);

        QAccessibleInterface* read = Accessible(control(rig.window()));
        QCOMPARE(read->role(), role);
        QCOMPARE(read->text(QAccessible::Name), name);
        if (!value.isNull())
            QCOMPARE(read->text(QAccessible::Description), value);
        const QStringList actions = read->actionInterface() ? read->actionInterface()->actionNames() : QStringList();
        QCOMPARE(actions.contains(QAccessibleActionInterface::pressAction()), pressable);
    }

    // A hidden Start does nothing when a screen reader presses it; a shown one starts the spin.
    void pressesStartOnlyWhenShown()
    {
        SessionRig rig;
        rig.play();
        QAccessibleActionInterface* start = Accessible(rig.window().startButton)->actionInterface();
        start->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::sendPostedEvents();
        QVERIFY(!rig.machine().actions().busy);
        rig.rnd.push(pick(0, 4));
        rig.window().covers[0]->click();
        QCOMPARE(Accessible(rig.window().covers[0])->text(QAccessible::Description), QStringLiteral("当たり"));
        rig.rnd.script(spinDraws(0, 0, 0, 0, 100));
        start->doAction(QAccessibleActionInterface::pressAction());
        QCoreApplication::sendPostedEvents();
        QVERIFY(rig.machine().actions().busy);
    }

    // The reels are summed up once, when the spin ends, together with what
    // it paid; while they turn, their rows read "turning".
    void summedUpOncePerSpin()
    {
        SessionRig rig;
        rig.play();
        ui::MainWindow& w = rig.window();
        w.show();
        QWidget* announcer = w.findChild<QWidget*>(QStringLiteral("announcer"));
        QVERIFY(announcer);
        startJackpot(rig);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(Accessible(w.reelRows[4])->text(QAccessible::Description), QStringLiteral("回転中"));
        ShowCounter said;
        announcer->installEventFilter(&said);
        tickReels(rig);

        QCOMPARE(said.shows, 1);
        QCOMPARE(Accessible(announcer)->role(), QAccessible::Notification);
        QCOMPARE(Accessible(announcer)->text(QAccessible::Name),
                 QStringLiteral("リール 7 7 7、獲得＄ 1,700ドル、持ち金（＄） 1,790ドル、スロットチャンス残り 5"));
    }
};

QTEST_MAIN(TestAccessibility)
#include "test_accessibility.moc"
