// SPDX-License-Identifier: MIT
#include "ui/MachineAccessibility.h"

#include "game/Machine.h"
#include "ui/MainWindow.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QLocale>

#include <functional>
#include <utility>

namespace ui {

using game::CoverFace;
using game::Machine;
using game::Reel;

namespace {

// A picture box the player clicks (a cover, a STOP button) is marked with this
// property: a screen reader sees it as a button. Other boxes are pictures.
constexpr char PressableProperty[] = "pressable";

// A control does something on a click only while it shows and is enabled.
bool TakesClicks(const QWidget* control)
{
    return control->isEnabled() && !control->isHidden();
}

// A button a screen reader presses: its one action is there only while a
// click would do something, so a hidden Start cannot start a spin.
class PressableAccessible : public QAccessibleWidget {
public:
    PressableAccessible(QWidget* control, std::function<void()> press)
        : QAccessibleWidget(control, QAccessible::Button)
        , press_(std::move(press))
    {
    }
    QStringList actionNames() const override
    {
        return TakesClicks(widget()) ? QStringList{pressAction()} : QStringList();
    }
    // The click comes after the screen reader has its answer, as long as the
    // control still takes it: a click may open a message box, whose event
    // loop would keep the answer back.
    void doAction(const QString& action) override
    {
        if (action == pressAction() && TakesClicks(widget()))
            QMetaObject::invokeMethod(
                widget(),
                [control = widget(), press = press_] {
                    if (TakesClicks(control))
                        press();
                },
                Qt::QueuedConnection);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    std::function<void()> press_;
};

// A picture box: a button when marked pressable, a picture otherwise. The role
// is asked each time: an interface may be made before the window marks the box.
class PictureBoxAccessible : public PressableAccessible {
public:
    explicit PictureBoxAccessible(PictureBox* box)
        : PressableAccessible(box, [box] { box->click(); })
    {
    }
    QAccessible::Role role() const override { return pressable() ? QAccessible::Button : QAccessible::Graphic; }
    QStringList actionNames() const override
    {
        return pressable() ? PressableAccessible::actionNames() : QStringList();
    }
    void doAction(const QString& action) override
    {
        if (pressable())
            PressableAccessible::doAction(action);
    }

private:
    bool pressable() const { return widget()->property(PressableProperty).toBool(); }
};

QAccessibleInterface* ControlInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String("ui::PictureBox"))
        return new PictureBoxAccessible(static_cast<PictureBox*>(object));
    if (className == QLatin1String("ui::PictureButton")) {
        auto* button = static_cast<PictureButton*>(object);
        return new PressableAccessible(button, [button] { button->click(); });
    }
    if (className == QLatin1String("ui::Announcer"))
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Notification);
    return nullptr;
}

// The reel rows, in the order of MainWindow::reelRows; the middle row is the pay line.
constexpr const char* RowNames[] = {
    QT_TRANSLATE_NOOP("ui::MachineAccessibility", "左リール上段"),
    QT_TRANSLATE_NOOP("ui::MachineAccessibility", "左リール中段"),
    QT_TRANSLATE_NOOP("ui::MachineAccessibility", "左リール下段"),
    QT_TRANSLATE_NOOP("ui::MachineAccessibility", "中リール上段"),
    QT_TRANSLATE_NOOP("ui::MachineAccessibility", "中リール中段"),
    QT_TRANSLATE_NOOP("ui::MachineAccessibility", "中リール下段"),
    QT_TRANSLATE_NOOP("ui::MachineAccessibility", "右リール上段"),
    QT_TRANSLATE_NOOP("ui::MachineAccessibility", "右リール中段"),
    QT_TRANSLATE_NOOP("ui::MachineAccessibility", "右リール下段"),
};
constexpr const char* StopNames[] = {
    QT_TRANSLATE_NOOP("ui::MachineAccessibility", "左ストップ"),
    QT_TRANSLATE_NOOP("ui::MachineAccessibility", "中ストップ"),
    QT_TRANSLATE_NOOP("ui::MachineAccessibility", "右ストップ"),
};

QString FaceName(CoverFace face)
{
    switch (face) {
    case CoverFace::Hit: return MachineAccessibility::tr("当たり");
    case CoverFace::Miss: return MachineAccessibility::tr("はずれ");
    case CoverFace::Down: break;
    }
    return MachineAccessibility::tr("裏向き");
}

// "Name value", as a change is said.
QString Spoken(const QString& name, const QString& value)
{
    return name + QLatin1Char(' ') + value;
}

} // namespace

QString SymbolName(int symbol)
{
    if (symbol < 0 || symbol > 9)
        return QString();
    return symbol == 0 ? QStringLiteral("10000$") : QString::number(symbol);
}

// ---------------------------------------------------------------- Announcer

Announcer::Announcer(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("announcer"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 1, 1);
    hide();
}

void Announcer::say(const QString& message)
{
    hide();
    setAccessibleName(message);
    show();
}

// ---------------------------------------------------------------- MachineAccessibility

MachineAccessibility::MachineAccessibility(MainWindow& window, Machine& machine)
    : QObject(&window)
    , window_(window)
    , machine_(machine)
    , announcer_(new Announcer(window.centralWidget()))
{
    static const bool factoryInstalled = (QAccessible::installFactory(ControlInterface), true);
    Q_UNUSED(factoryInstalled);
    for (QWidget* box : window_.covers)
        box->setProperty(PressableProperty, true);
    for (QWidget* box : window_.stopButtons)
        box->setProperty(PressableProperty, true);
    nameControls();

    connect(&machine_, &Machine::moneyChanged, this, [this](qint64 money) { tellAmount(window_.moneyLabel, money); });
    connect(&machine_, &Machine::betChanged, this, [this](int bet) { tellAmount(window_.betLabel, bet); });
    connect(&machine_, &Machine::lastWinChanged, this, [this](qint64 win) { tellAmount(window_.winLabel, win); });
    connect(&machine_, &Machine::chanceCounterChanged, this,
            [this](int spinsLeft) { tellAmount(window_.chanceCounterLabel, spinsLeft); });
    connect(&machine_, &Machine::coverChanged, this, &MachineAccessibility::tellCover);
    connect(&machine_, &Machine::targetShownChanged, this, [this](int symbol) {
        describeTarget();
        if (symbol >= 1 && symbol <= 9)
            tell(Spoken(window_.targetHeading->text(), SymbolName(symbol)));
    });
    connect(&machine_, &Machine::reelChanged, this, [this](Reel reel) { describeReel(reel); });
    // The reels are set turning after their faces are shown at a spin's start.
    connect(&machine_, &Machine::spinStarted, this, [this] {
        spinning_ = true;
        for (Reel reel : game::AllReels)
            describeReel(reel);
    });
    connect(&machine_, &Machine::spinEnded, this, &MachineAccessibility::tellReels);
}

// The window's own retranslate() may run before the names are first given.
void MainWindow::nameControlsForScreenReaders()
{
    if (accessibility_)
        accessibility_->nameControls();
}

void MachineAccessibility::nameControls()
{
    MainWindow& w = window_;
    w.moneyLabel->setAccessibleName(w.moneyHeading->text());
    w.betLabel->setAccessibleName(w.betHeading->text());
    w.winLabel->setAccessibleName(w.winHeading->text());
    w.chanceCounterLabel->setAccessibleName(tr("スロットチャンス残り"));
    w.targetBox->setAccessibleName(w.targetHeading->text());
    for (std::size_t i = 0; i < w.covers.size(); ++i)
        w.covers[i]->setAccessibleName(tr("カバー%1").arg(w.coverLetters[i]->text()));
    for (std::size_t i = 0; i < w.reelRows.size(); ++i)
        w.reelRows[i]->setAccessibleName(tr(RowNames[i]));
    w.startButton->setAccessibleName(tr("スタート"));
    for (std::size_t i = 0; i < w.stopButtons.size(); ++i)
        w.stopButtons[i]->setAccessibleName(tr(StopNames[i]));
    for (QWidget* lamp : w.frameLamps)
        lamp->setAccessibleName(tr("枠ランプ"));
    for (QWidget* lamp : w.noticeLamps)
        lamp->setAccessibleName(tr("予告ランプ"));
    w.reelFrame->setAccessibleName(tr("リール枠"));
    w.coverFrame->setAccessibleName(tr("カバー枠"));

    describeAmounts();
    for (int i = 0; i < 4; ++i)
        describeCover(i);
    for (Reel reel : game::AllReels)
        describeReel(reel);
    describeTarget();
}

// ---------------------------------------------------------------- values

// An amount's value is the number its label shows.
void MachineAccessibility::describeAmounts()
{
    for (QLabel* amount : {window_.moneyLabel, window_.betLabel, window_.winLabel, window_.chanceCounterLabel})
        amount->setAccessibleDescription(amount->text());
}

// A turning reel's rows are only "turning": their symbols change at every
// step, and a screen reader is told nothing until the reel stops.
void MachineAccessibility::describeReel(Reel reel)
{
    const game::ReelState& state = machine_.state().reel(reel);
    for (std::size_t row = 0; row < state.faces.size(); ++row) {
        const game::ReelRow& face = state.faces[row];
        QString value;
        if (state.turning)
            value = tr("回転中");
        else if (face.visible && face.symbol >= 0 && face.symbol <= 9)
            value = SymbolName(face.symbol);
        window_.reelRows[std::size_t(reel) * state.faces.size() + row]->setAccessibleDescription(value);
    }
}

void MachineAccessibility::describeCover(int cover)
{
    window_.covers[std::size_t(cover)]->setAccessibleDescription(FaceName(machine_.state().covers[std::size_t(cover)]));
}

void MachineAccessibility::describeTarget()
{
    const int symbol = machine_.state().targetShown;
    window_.targetBox->setAccessibleDescription(symbol >= 1 && symbol <= 9 ? SymbolName(symbol) : tr("なし"));
}

// ---------------------------------------------------------------- telling changes

// A new amount is said with its name; a BET, a win or a slot-chance count
// going back to 0 at the end of a spin is not worth saying.
void MachineAccessibility::tellAmount(const QLabel* amount, qint64 value)
{
    describeAmounts();
    if (value == 0 && amount != window_.moneyLabel)
        return;
    // Dollars are said as dollars, their digits grouped: "1,790ドル", "$1,790".
    const bool dollars = amount == window_.moneyLabel || amount == window_.winLabel;
    tell(Spoken(amount->accessibleName(),
                dollars ? tr("%1ドル").arg(QLocale(QLocale::English).toString(value)) : amount->text()));
}

// A cover's result is said; covers turning face down again are not.
void MachineAccessibility::tellCover(int cover, CoverFace face)
{
    describeCover(cover);
    if (face != CoverFace::Down)
        tell(Spoken(window_.covers[std::size_t(cover)]->accessibleName(), FaceName(face)));
}

// Once a spin is over, the pay line's three symbols, left to right. A spin
// that was under way when the window was made is not summed up.
void MachineAccessibility::tellReels()
{
    if (!std::exchange(spinning_, false))
        return;
    const game::MachineState& s = machine_.state();
    QStringList line;
    for (Reel reel : game::AllReels) {
        describeReel(reel);
        line << SymbolName(s.reel(reel).faces[1].symbol);
    }
    tell(tr("リール %1 %2 %3").arg(line[0], line[1], line[2]), true);
}

void MachineAccessibility::tell(const QString& text, bool first)
{
    if (collected_.isEmpty())
        QMetaObject::invokeMethod(this, &MachineAccessibility::sayCollected, Qt::QueuedConnection);
    if (first)
        collected_.prepend(text);
    else
        collected_.append(text);
}

void MachineAccessibility::sayCollected()
{
    announcer_->say(collected_.join(tr("、")));
    collected_.clear();
}

} // namespace ui
