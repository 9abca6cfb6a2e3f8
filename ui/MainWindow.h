// SPDX-License-Identifier: MIT
// The machine's view: one fixed-layout window that shows the machine's state
// and hands the player's clicks, keys and menu choices to the machine. It
// holds no rule of play: what it shows follows the machine's signals.
#pragma once

#include "game/Machine.h"
#include "ui/Controls.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <variant>
#include <vector>

class QKeyEvent;

namespace ui {

class HelpWindow;

// A control of the window's layout table.
using LaidControl = std::variant<Label*, Image*, Shape*, PictureButton*>;

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
    // The layout is one table in MainWindow.cpp; docs/notes/controls.md maps
    // each control to its place.
    Label logoLabel, coverPriceLabel;
    Shape reelFrame, coverFrame;
    std::array<Shape, 6> frameLamps;  // top bar, bottom bar, left bar, right bar, top band, bottom band
    std::array<Shape, 2> noticeLamps; // left, right
    std::array<Image, 9> reelRows;    // left reel top, middle, bottom, then the centre and the right reel
    std::array<Image, 4> covers;      // A..D
    std::array<Label, 4> coverLetters;
    Label winHeading, winLabel, moneyHeading, moneyLabel, targetHeading, betHeading, betLabel;
    Image targetBox;
    PictureButton startButton;
    std::array<Image, 3> stopButtons; // left, centre, right
    Label chanceCounterLabel;
    Timer reelTimer, frameLampTimer, noticeLampTimer;
    MenuItem fileMenu, borrow100Item, borrow1000Item, noSoundItem, volumeItem, probabilityItem, quitItem;
    MenuItem viewMenu;
    std::array<MenuItem, 4> zoomItems; // 1x, 1.5x, 2x, 3x (ui::Zooms)
    MenuItem calmLampsItem;
    MenuItem dataCounterItem;
    MenuItem helpMenu, versionItem, helpItem;

    // The mouse pointer the window shows.
    game::Pointer pointer() const { return pointerShown_; }
    // The help window while it is open.
    HelpWindow* helpWindow() const;

    // The window's size: every control at its place in twips times the zoom
    // (1, 1.5, 2 or 3), with its font, lines and pictures scaled to match.
    double zoom() const { return zoom_; }
    void setZoom(double zoom);
    // The player's choice of size (the view menu, Ctrl+plus and Ctrl+minus,
    // the remembered preference): the largest size up to it that fits the screen.
    void chooseZoom(double wanted);
    // One size up (+1) or down (-1), if that size fits the screen.
    void stepZoom(int step);

signals:
    // Escape, the quit item or the close box: the player leaves the game.
    void quitRequested();
    // The player chose a size, to be remembered.
    void zoomChosen(double zoom);
    // The volume item: the player wants to set the music and effects volumes.
    void volumeRequested();
    // The data counter item (or Ctrl+D): the player wants to see the data counter.
    void dataCounterRequested();

protected:
    // Key preview: the window sees key presses before its controls do.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void connectMachine();
    void connectInput();
    void connectZoom();
    QSize chrome() const;
    void keepOnScreen();
    void showWindowIcon();
    void showKeysInTips();
    bool playKey(const QKeyEvent& event);

    // Each shows what one of the machine's signals says has changed, and
    // leaves alone whatever already shows as it should.
    void showReel(game::Reel reel);
    void showLamps();
    void showAmounts();
    void showControls();
    void showSoundSwitch();
    void showUnlocked();
    void showCalmLampsSwitch();
    void showPointer(game::Pointer pointer);

    void openVersionWindow();
    void openHelpWindow();

    QString programFile(const QString& name) const { return programDir_ + name; }
    QString coverFile(game::CoverFace face) const;

    game::Machine& machine_;
    const QString programDir_;
    std::array<QString, 10> symbolFiles_; // R00.BMP .. R09.BMP
    std::array<MenuItem, 2> fileSeparators_;
    std::array<MenuItem, 2> viewSeparators_;
    QWidget* client_ = nullptr;
    std::vector<LaidControl> laidControls_;
    double zoom_ = 1.0;

    // What the controls show, as far as the signals alone cannot tell.
    static constexpr int Unknown = -2;
    std::array<int, 9> rowSymbols_;
    std::array<int, 4> coverFaces_;
    int targetShown_ = Unknown;
    long frameLampsShown_ = Unknown;
    long noticeLampsShown_ = Unknown;
    game::Pointer pointerShown_ = game::Pointer::Default;

    QPointer<HelpWindow> help_;
};

} // namespace ui
