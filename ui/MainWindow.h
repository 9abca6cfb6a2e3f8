// The machine's view: one fixed-layout window that shows the machine's state
// and hands the player's clicks, keys and menu choices to the machine. It
// holds no rule of play: what it shows follows the machine's signals.
#pragma once

#include "game/Machine.h"
#include "ui/Controls.h"

#include <QMainWindow>
#include <QPointer>

#include <array>

namespace ui {

class HelpWindow;

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
    MenuItem helpMenu, versionItem, helpItem;

    // The mouse pointer the window shows.
    game::Pointer pointer() const { return pointerShown_; }
    // The help window while it is open.
    HelpWindow* helpWindow() const;

signals:
    // Escape, the quit item or the close box: the player leaves the game.
    void quitRequested();

protected:
    // Key preview: the window sees key presses before its controls do.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void connectMachine();
    void connectInput();

    // Each shows what one of the machine's signals says has changed, and
    // leaves alone whatever already shows as it should.
    void showReel(game::Reel reel);
    void showLamps();
    void showAmounts();
    void showControls();
    void showSoundSwitch();
    void showUnlocked();
    void showPointer(game::Pointer pointer);

    void openVersionWindow();
    void openHelpWindow();

    QString programFile(const QString& name) const { return programDir_ + name; }
    QString coverFile(game::CoverFace face) const;

    game::Machine& machine_;
    const QString programDir_;
    std::array<QString, 10> symbolFiles_; // R00.BMP .. R09.BMP
    std::array<MenuItem, 2> fileSeparators_;
    MenuItem viewSeparator_;
    QWidget* client_ = nullptr;

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
