// SPDX-License-Identifier: MIT
// The machine's view: one fixed-layout window that shows the machine's state
// and hands the player's clicks, keys and menu choices to the machine. It
// holds no rule of play and no timer: what it shows follows the machine's
// signals, each of which carries the new value.
#pragma once

#include "game/AutoPlay.h"
#include "game/Machine.h"
#include "ui/Controls.h"
#include "ui/Language.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <unordered_map>
#include <variant>
#include <vector>

class QAction;
class QKeyEvent;
class QResizeEvent;
class QMenu;

namespace ui {

class HelpWindow;
class MachineAccessibility;

// The lamps' colours. Frame lamps: cyan lit, teal dark. Notice lamps: light
// orange lit, dark orange dark, and crimson for the premium notice, which
// shows as its own state with calm lamps. Calm lamps light halfway.
QColor FrameLampColor(game::LampState state, bool calm = false);
QColor NoticeLampColor(game::LampState state, bool calm = false);

// The largest of the window's sizes (ui::Zooms) up to `wanted` at which the
// window, `chrome` (its frame and menu bar) included, fits in `available`;
// the smallest size when none fits.
double FittingZoom(double wanted, QSize chrome, QSize available);

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    // `programDir` ends in '/': the symbols and cards are read from there;
    // the background, Start, STOP and the icon are built into the program.
    MainWindow(game::Machine& machine, const QString& programDir, QWidget* parent = nullptr);
    ~MainWindow() override;

    // ---------------------------------------------------------------- controls
    // The layout is one table in MainWindowLayout.cpp; docs/notes/controls.md
    // maps each control to its place. All are children of the client area.
    TextLabel* logoLabel = nullptr;
    TextLabel* coverPriceLabel = nullptr;
    RectShape* reelFrame = nullptr;
    RectShape* coverFrame = nullptr;
    std::array<RectShape*, 6> frameLamps{};  // top bar, bottom bar, left bar, right bar, top band, bottom band
    std::array<RectShape*, 2> noticeLamps{}; // left, right
    std::array<PictureBox*, 9> reelRows{};   // left reel top, middle, bottom, then the centre and the right reel
    std::array<PictureBox*, 4> covers{};     // A..D
    std::array<TextLabel*, 4> coverLetters{};
    TextLabel* winHeading = nullptr;
    TextLabel* winLabel = nullptr;
    TextLabel* moneyHeading = nullptr;
    TextLabel* moneyLabel = nullptr;
    TextLabel* targetHeading = nullptr;
    PictureBox* targetBox = nullptr;
    TextLabel* betHeading = nullptr;
    TextLabel* betLabel = nullptr;
    PictureButton* startButton = nullptr;
    std::array<PictureBox*, 3> stopButtons{}; // left, centre, right
    TextLabel* chanceCounterLabel = nullptr;
    TextLabel* autoPlayLamp = nullptr;        // lit while auto play plays: "オート 37"

    // ---------------------------------------------------------------- menus
    QMenu* fileMenu = nullptr;
    QAction* borrow100Item = nullptr;
    QAction* borrow1000Item = nullptr;
    QAction* noSoundItem = nullptr;
    QAction* volumeItem = nullptr;
    QAction* probabilityItem = nullptr;
    QAction* quitItem = nullptr;
    QMenu* viewMenu = nullptr;
    std::array<QAction*, 4> zoomItems{}; // 1x, 1.5x, 2x, 3x (ui::Zooms)
    QAction* fullScreenItem = nullptr;   // F11
    QMenu* paceMenu = nullptr;
    std::array<QAction*, 3> paceItems{}; // normal, 2x, 4x (ui::Paces)
    QAction* autoPlayItem = nullptr;
    QAction* calmLampsItem = nullptr;
    QAction* dataCounterItem = nullptr;
    QMenu* languageMenu = nullptr;
    std::array<QAction*, 2> languageItems{}; // 日本語, English (ui::Language)
    QMenu* helpMenu = nullptr;
    QAction* versionItem = nullptr;
    QAction* helpItem = nullptr;

    // The help window while it is open.
    HelpWindow* helpWindow() const;

    // The machine's zoom: every control at its place in twips times the
    // zoom, with its font, lines and pictures scaled to match. The machine
    // fills the client area as far as it can without losing its shape, and
    // lies at its centre on the marbled background (MainWindowSize.cpp).
    double zoom() const { return zoom_; }
    // The last of the view menu's sizes the window took, whatever size the
    // player has given it since: other windows open at that size.
    double chosenZoom() const { return chosenZoom_; }
    // Where the machine's top left corner lies in the client area.
    QPoint machineOrigin() const;
    // One of the view menu's sizes (1, 1.5, 2 or 3): the window, leaving full
    // screen or maximized, takes exactly the machine's size at that zoom.
    void setZoom(double zoom);
    // The player's choice of size (the view menu, Ctrl+plus and Ctrl+minus,
    // the remembered preference): the largest size up to it that fits the screen.
    void chooseZoom(double wanted);
    // The next menu size up (+1) or down (-1) from the zoom, if it fits the screen.
    void stepZoom(int step);
    // F11: full screen, or back to the window as it was.
    void toggleFullScreen();

    // Fast play: the machine's clock at the player's pace (1, 2 or 4), as the
    // pace items and the remembered preference choose it.
    void choosePace(int pace);

    // The controls' names and values for screen readers, in the current
    // language, taken from the headings as they now read (MachineAccessibility.cpp).
    void nameControlsForScreenReaders();

    // The language item checked: the one the game speaks.
    void showLanguageChecks();

    // Auto play (MainWindowAutoPlay.cpp): the item, or Ctrl+A, opens its
    // dialog with these limits, and auto play starts with those chosen.
    game::AutoPlay& autoPlay() { return *autoPlay_; }
    void setAutoPlayLimits(const game::AutoPlayLimits& limits) { autoPlayLimits_ = limits; }

signals:
    // Escape, the quit item or the close box: the player leaves the game.
    void quitRequested();
    // The player chose a size, to be remembered.
    void zoomChosen(double zoom);
    // The player chose a pace, to be remembered.
    void paceChosen(int pace);
    // The player chose a language, to be spoken at once and remembered.
    void languageChosen(ui::Language language);
    // The volume item: the player wants to set the music and effects volumes.
    void volumeRequested();
    // The data counter item (or Ctrl+D): the player wants to see the data counter.
    void dataCounterRequested();
    // The player started auto play with these limits, to be remembered.
    void autoPlayChosen(const game::AutoPlayLimits& limits);

protected:
    // Key preview: the window sees key presses before its controls do.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // A change of language sets every text again; a change of window state
    // shows in the full-screen item.
    void changeEvent(QEvent* event) override;
    // The menu bar's font follows the window's size.
    void resizeEvent(QResizeEvent* event) override;

private:
    // A control of the layout table, for the zoom.
    using LaidControl = std::variant<TextLabel*, PictureBox*, RectShape*, PictureButton*>;

    // MainWindowLayout.cpp
    void buildControls();
    void buildMenus();
    void showWindowIcon();
    // MainWindowSize.cpp
    void buildClientArea();
    void fitMachine();
    double fittingZoom(double wanted) const;
    QSize chrome(double zoom) const;
    void keepOnScreen();
    void showZoomChecks();
    void showMenuFont(double zoom);
    // MainWindowKeys.cpp
    void connectZoomKeys();
    void showKeysInTips();

    // MainWindowTexts.cpp: every text the window shows, in the game's language.
    void retranslate();
    void nameMenus();
    void nameControls();
    bool playKey(const QKeyEvent& event);
    bool heldDown(const QKeyEvent& press);

    void connectInput();
    void connectMachine();
    // MainWindowAutoPlay.cpp
    void connectAutoPlay();
    void toggleAutoPlay();
    void showAutoPlay();
    bool takeOverFromAutoPlay(QObject* watched, QEvent* event);

    // Each shows what one of the machine's signals says has changed.
    void showMoney(qint64 money);
    void showBet(int bet);
    void showLastWin(qint64 win);
    void showChanceCounter(int spinsLeft);
    void showReel(game::Reel reel, const game::ReelFaces& faces);
    void showCover(int cover, game::CoverFace face);
    void showTarget(int symbol);
    void showActions(const game::Actions& actions);
    void showFrameLamps(game::LampState state);
    void showNoticeLamps(game::LampState state);
    void showSoundSwitch(game::SoundSwitch sound);
    void showUnlocked(bool unlocked);
    void showCalmLampsSwitch(bool calm);
    void showPaceChecks();
    // The arrow with the hourglass while a spin is under way, the usual arrow otherwise.
    void showPointer(bool busy);

    void openVersionWindow();
    void openHelpWindow();

    QString programFile(const QString& name) const { return programDir_ + name; }

    game::Machine& machine_;
    const QString programDir_;
    std::array<QString, 10> symbolFiles_; // R00.BMP .. R09.BMP
    QWidget* client_ = nullptr;
    std::vector<LaidControl> laidControls_;
    double zoom_ = 1.0;
    double chosenZoom_ = 1.0;
    double menuZoom_ = 1.0;  // the menu bar font's zoom
    int menuBarHeight_ = 0;  // the menu bar's height with the font at 1x
    QPointer<HelpWindow> help_;
    MachineAccessibility* accessibility_ = nullptr;
    game::AutoPlay* autoPlay_ = nullptr;
    game::AutoPlayLimits autoPlayLimits_;
    bool clickTookOver_ = false; // the click's release is the player's, not a control's
    // The X server time of each key's last release, to tell a held key's
    // repeats from new presses (MainWindowKeys.cpp).
    std::unordered_map<int, quint64> keyReleasedAt_;
};

} // namespace ui
