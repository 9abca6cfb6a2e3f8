// SPDX-License-Identifier: MIT
#include "ui/MainWindow.h"

#include "platform/Runtime.h"
#include "platform/Seams.h"
#include "ui/AboutDialog.h"
#include "ui/Dialogs.h"
#include "ui/Fonts.h"
#include "ui/HelpWindow.h"
#include "ui/MachineAccessibility.h"
#include "ui/Preferences.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QMenuBar>

namespace ui {

using game::LampState;
using game::Machine;

namespace {

// The classic colours, &HBBGGRR: frame lamps &HFFFF00 lit and &H808000
// dark, notice lamps &H80C0FF lit and &H0040C0 dark, the premium notice
// &H4000FF.
struct LampColours {
    QColor lit, dark;
};
constexpr LampColours FrameColours{QColor(0, 255, 255), QColor(0, 128, 128)};
constexpr LampColours NoticeColours{QColor(255, 192, 128), QColor(192, 64, 0)};
constexpr QColor PremiumColour(255, 0, 64);

// Calm lamps light only halfway from dark to lit: each change still shows,
// softly, instead of a flash across the whole frame.
QColor LampColor(const LampColours& colours, LampState state, bool calm)
{
    switch (state) {
    case LampState::Lit:
        if (!calm)
            return colours.lit;
        return QColor((colours.lit.red() + colours.dark.red()) / 2, (colours.lit.green() + colours.dark.green()) / 2,
                      (colours.lit.blue() + colours.dark.blue()) / 2);
    case LampState::Premium: return PremiumColour;
    case LampState::Dark: break;
    }
    return colours.dark;
}

} // namespace

QColor FrameLampColor(LampState state, bool calm)
{
    return LampColor(FrameColours, state, calm);
}

QColor NoticeLampColor(LampState state, bool calm)
{
    return LampColor(NoticeColours, state, calm);
}

MainWindow::MainWindow(game::Machine& machine, const QString& programDir, QWidget* parent)
    : QMainWindow(parent)
    , machine_(machine)
    , programDir_(programDir)
{
    for (int n = 0; n < 10; ++n)
        symbolFiles_[n] = programFile(QStringLiteral("R0%1.BMP").arg(n));

    setFont(GameFont());
    buildClientArea();
    showWindowIcon();
    buildControls();
    buildMenus();
    retranslate();
    connectInput();
    connectMachine();
    connectAutoPlay();
    accessibility_ = new MachineAccessibility(*this, machine_);
    menuBarHeight_ = menuBar()->sizeHint().height();
    setZoom(1.0);
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
}

// The player's clicks and menu choices go to the machine. A checkable item
// shows the machine's switch, not the click's own toggle.
void MainWindow::connectInput()
{
    for (int i = 0; i < 4; ++i)
        connect(covers[i], &PictureBox::clicked, this, [this, i] { machine_.pickCover(i); });
    connect(startButton, &QPushButton::clicked, this, [this] { machine_.startSpin(); });
    for (int i = 0; i < 3; ++i)
        connect(stopButtons[i], &PictureBox::clicked, this, [this, i] { machine_.pressStop(game::Reel(i)); });
    connect(borrow100Item, &QAction::triggered, this, [this] { machine_.borrow100(); });
    connect(borrow1000Item, &QAction::triggered, this, [this] { machine_.borrow1000(); });
    connect(noSoundItem, &QAction::triggered, this, [this] {
        showSoundSwitch(machine_.state().sound);
        machine_.toggleSound();
    });
    connect(probabilityItem, &QAction::triggered, this, [this] { machine_.changeProbability(); });
    connect(volumeItem, &QAction::triggered, this, &MainWindow::volumeRequested);
    connect(quitItem, &QAction::triggered, this, &MainWindow::quitRequested);
    for (std::size_t i = 0; i < zoomItems.size(); ++i) {
        connect(zoomItems[i], &QAction::triggered, this, [this, i] {
            showZoomChecks();
            chooseZoom(Zooms[i]);
            emit zoomChosen(Zooms[i]);
        });
    }
    showZoomChecks();
    connectZoomKeys();
    connect(fullScreenItem, &QAction::triggered, this, &MainWindow::toggleFullScreen);
    for (std::size_t i = 0; i < paceItems.size(); ++i) {
        connect(paceItems[i], &QAction::triggered, this, [this, i] {
            choosePace(Paces[i]);
            emit paceChosen(Paces[i]);
        });
    }
    showPaceChecks();
    connect(calmLampsItem, &QAction::triggered, this, [this] {
        const bool calm = machine_.state().lamps.calm();
        showCalmLampsSwitch(calm);
        machine_.setCalmLamps(!calm);
    });
    connect(dataCounterItem, &QAction::triggered, this, &MainWindow::dataCounterRequested);
    const Language languages[] = {Language::Japanese, Language::English};
    for (std::size_t i = 0; i < languageItems.size(); ++i) {
        connect(languageItems[i], &QAction::triggered, this, [this, language = languages[i]] {
            showLanguageChecks();
            emit languageChosen(language);
        });
    }
    connect(versionItem, &QAction::triggered, this, &MainWindow::openVersionWindow);
    connect(helpItem, &QAction::triggered, this, &MainWindow::openHelpWindow);
}

// The window shows the machine as it is, then follows its signals.
void MainWindow::connectMachine()
{
    const game::MachineState& s = machine_.state();
    for (game::Reel reel : game::AllReels)
        showReel(reel, s.reel(reel).faces);
    showFrameLamps(s.lamps.frame());
    showNoticeLamps(s.lamps.notice());
    showMoney(s.money);
    showBet(s.bet);
    showLastWin(s.lastWin);
    showChanceCounter(s.chanceCounter);
    for (int i = 0; i < 4; ++i)
        showCover(i, s.covers[std::size_t(i)]);
    showTarget(s.targetShown);
    showActions(s.actions);
    showSoundSwitch(s.sound);
    showUnlocked(s.unlocked);
    showCalmLampsSwitch(s.lamps.calm());

    connect(&machine_, &Machine::moneyChanged, this, &MainWindow::showMoney);
    connect(&machine_, &Machine::betChanged, this, &MainWindow::showBet);
    connect(&machine_, &Machine::lastWinChanged, this, &MainWindow::showLastWin);
    connect(&machine_, &Machine::chanceCounterChanged, this, &MainWindow::showChanceCounter);
    connect(&machine_, &Machine::reelChanged, this, &MainWindow::showReel);
    connect(&machine_, &Machine::coverChanged, this, &MainWindow::showCover);
    connect(&machine_, &Machine::targetShownChanged, this, &MainWindow::showTarget);
    connect(&machine_, &Machine::actionsChanged, this, &MainWindow::showActions);
    connect(&machine_, &Machine::frameLampsChanged, this, &MainWindow::showFrameLamps);
    connect(&machine_, &Machine::noticeLampsChanged, this, &MainWindow::showNoticeLamps);
    connect(&machine_, &Machine::soundSwitchChanged, this, &MainWindow::showSoundSwitch);
    connect(&machine_, &Machine::unlockedChanged, this, &MainWindow::showUnlocked);
    connect(&machine_, &Machine::calmLampsChanged, this, &MainWindow::showCalmLampsSwitch);
}

// ---------------------------------------------------------------- showing the machine

namespace {

// Each changes the control only when it shows something else.
void ShowText(QLabel* label, const QString& text)
{
    if (label->text() != text)
        label->setText(text);
}

void ShowVisible(QWidget* control, bool visible)
{
    if (control->isHidden() == visible)
        control->setVisible(visible);
}

void ShowEnabled(QWidget* control, bool enabled)
{
    if (control->isEnabled() != enabled)
        control->setEnabled(enabled);
}

// The fill colours of the whole group first, then the borders.
template <std::size_t N>
void ShowLampColor(const std::array<RectShape*, N>& lamps, const QColor& color)
{
    for (RectShape* lamp : lamps)
        lamp->setFillColor(color);
    for (RectShape* lamp : lamps)
        lamp->setBorderColor(color);
}

} // namespace

void MainWindow::showMoney(qint64 money)
{
    ShowText(moneyLabel, rt::DecimalText(double(money)));
}

void MainWindow::showBet(int bet)
{
    ShowText(betLabel, rt::DecimalText(bet));
}

void MainWindow::showLastWin(qint64 win)
{
    ShowText(winLabel, rt::DecimalText(double(win)));
}

// The slot-chance counter shows the spins still to come, hidden at 0.
void MainWindow::showChanceCounter(int spinsLeft)
{
    if (spinsLeft != 0)
        ShowText(chanceCounterLabel, rt::DecimalText(spinsLeft));
    ShowVisible(chanceCounterLabel, spinsLeft != 0);
}

// A row shows its symbol's picture, or none; a hidden row shows nothing.
void MainWindow::showReel(game::Reel reel, const game::ReelFaces& faces)
{
    for (std::size_t row = 0; row < faces.size(); ++row) {
        PictureBox* box = reelRows[std::size_t(reel) * faces.size() + row];
        const int symbol = faces[row].symbol;
        if (symbol >= 0 && symbol <= 9)
            box->setPicture(symbolFiles_[std::size_t(symbol)]);
        else
            box->clearPicture();
        ShowVisible(box, faces[row].visible);
    }
}

void MainWindow::showCover(int cover, game::CoverFace face)
{
    QString file = QStringLiteral("COVER.BMP");
    if (face == game::CoverFace::Hit)
        file = QStringLiteral("ATARI.BMP");
    else if (face == game::CoverFace::Miss)
        file = QStringLiteral("HAZURE.BMP");
    covers[std::size_t(cover)]->setPicture(programFile(file));
}

// The bought target symbol 1..9, or the plain picture when there is none.
void MainWindow::showTarget(int symbol)
{
    const bool bought = symbol >= 1 && symbol <= 9;
    targetBox->setPicture(bought ? symbolFiles_[std::size_t(symbol)] : programFile(QStringLiteral("BAI01.BMP")));
}

// What the player can do: the covers take clicks, Start or the STOP buttons
// show, and while a spin is under way the File and Help menus take none.
void MainWindow::showActions(const game::Actions& actions)
{
    for (PictureBox* cover : covers)
        ShowEnabled(cover, actions.coversLive);
    ShowVisible(startButton, actions.startLive);
    for (std::size_t i = 0; i < stopButtons.size(); ++i)
        ShowVisible(stopButtons[i], actions.stopsLive[i]);
    fileMenu->menuAction()->setEnabled(!actions.busy);
    helpMenu->menuAction()->setEnabled(!actions.busy);
    showPointer(actions.busy);
}

void MainWindow::showFrameLamps(LampState state)
{
    ShowLampColor(frameLamps, FrameLampColor(state, machine_.state().lamps.calm()));
}

void MainWindow::showNoticeLamps(LampState state)
{
    ShowLampColor(noticeLamps, NoticeLampColor(state, machine_.state().lamps.calm()));
}

void MainWindow::showSoundSwitch(game::SoundSwitch sound)
{
    noSoundItem->setChecked(sound == game::SoundSwitch::Off);
}

void MainWindow::showUnlocked(bool unlocked)
{
    probabilityItem->setEnabled(unlocked);
}

// The lamps take the colours of the new choice at once.
void MainWindow::showCalmLampsSwitch(bool calm)
{
    calmLampsItem->setChecked(calm);
    showFrameLamps(machine_.state().lamps.frame());
    showNoticeLamps(machine_.state().lamps.notice());
}

void MainWindow::choosePace(int pace)
{
    machine_.clock().setPace(pace);
    showPaceChecks();
}

// One pace checked in the fast-play menu: the machine clock's.
void MainWindow::showPaceChecks()
{
    for (std::size_t i = 0; i < paceItems.size(); ++i)
        paceItems[i]->setChecked(Paces[i] == machine_.clock().pace());
}

void MainWindow::showPointer(bool busy)
{
    if (busy)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

// ---------------------------------------------------------------- Help menu

void MainWindow::openVersionWindow()
{
    AboutDialog about(this);
    ExecDialog(about);
}

HelpWindow* MainWindow::helpWindow() const
{
    return help_;
}

// Opens the help window, or brings the open one to the front, with the
// hourglass while it loads. The window is the main window's child, so it
// goes with it; help_ forgets it by itself when it closes.
void MainWindow::openHelpWindow()
{
    setCursor(Qt::WaitCursor);
    if (!help_)
        help_ = new HelpWindow(this);
    help_->show();
    help_->raise();
    help_->activateWindow();
    showPointer(machine_.actions().busy);
}

// ---------------------------------------------------------------- closing

// The close box quits, unless the program is already ending.
void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!ProgramEnded())
        emit quitRequested();
    event->accept();
}

} // namespace ui
