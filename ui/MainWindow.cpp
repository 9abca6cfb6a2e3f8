// SPDX-License-Identifier: MIT
#include "ui/MainWindow.h"

#include "platform/Runtime.h"
#include "platform/Seams.h"
#include "ui/AboutDialog.h"
#include "ui/Fonts.h"
#include "ui/HelpWindow.h"
#include "ui/Preferences.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QShortcut>

#include <algorithm>
#include <variant>

namespace ui {

using game::CoverFace;
using game::Machine;
using game::Pointer;
using rt::RGB;

namespace {

constexpr int ClientWidthTwips = 7410;
constexpr int ClientHeightTwips = 4275;

// The client area: draws the marbled background from the top-left corner,
// at the window's zoom. The picture is read at the first paint, so the
// start-up's messages, shown before the window, do not wait for it.
class Client : public QWidget {
public:
    using QWidget::QWidget;
    ShownPicture background;
    double zoom = 1.0;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0xc8, 0xe4, 0xf8));
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        background.draw(painter, rect(), false, devicePixelRatioF(), zoom);
    }
};

// ---------------------------------------------------------------- layout

constexpr long Orange = RGB(255, 128, 0);
constexpr long White = RGB(255, 255, 255);
constexpr long Black = RGB(0, 0, 0);
constexpr FontStyle Big{15.75, true, false};
constexpr FontStyle Heading{9.75, true, false};
constexpr FontStyle Small{9, true, false};
const Qt::Alignment Amount = Qt::AlignRight | Qt::AlignVCenter;
const Qt::Alignment CentreTop = Qt::AlignHCenter | Qt::AlignTop;

// How a control looks when the window opens. Unset fields leave the
// control as it is created.
struct Look {
    const char16_t* caption = nullptr;
    FontStyle font{0, false, false}; // 0 points: the window's font
    long fore = -1;                  // label text colour
    long back = -1;                  // label background, or the background under a shape's hatch
    bool border = false;             // label: sunken single border
    Qt::Alignment align = {};
    const char16_t* tip = nullptr;
    const char16_t* picture = nullptr; // image: one of the window's own pictures
    bool stretch = true;               // image: the picture fills the box
    FillStyle fill = FillStyle::Transparent;
    long line = -1;                    // shape: border colour
    int lineWidth = 1;                 // shape: border width in pixels
    bool hidden = false;
};

using Control = LaidControl;

struct Place {
    Control control;
    int left, top, width, height; // twips
    Look look;
};

// Creates a control at its place with its look.
void Lay(Label& label, QWidget* parent, const Place& p)
{
    const Look& look = p.look;
    label.create(parent, p.left, p.top, p.width, p.height);
    if (look.caption)
        label.setCaption(QString::fromUtf16(look.caption));
    if (look.font.points > 0)
        label.setFont(look.font);
    if (look.fore >= 0)
        label.setForeColor(look.fore);
    if (look.back >= 0)
        label.setBackColor(look.back);
    if (look.border)
        label.setBorder(true);
    if (look.align)
        label.setAlignment(look.align);
    if (look.hidden)
        label.setVisible(false);
}

void Lay(Image& image, QWidget* parent, const Place& p)
{
    const Look& look = p.look;
    image.create(parent, p.left, p.top, p.width, p.height, look.stretch);
    if (look.tip)
        image.setToolTip(QString::fromUtf16(look.tip));
    if (look.picture)
        image.setPicture(WindowPicture(QString::fromUtf16(look.picture)));
    if (look.hidden)
        image.setVisible(false);
}

void Lay(Shape& shape, QWidget* parent, const Place& p)
{
    const Look& look = p.look;
    shape.create(parent, p.left, p.top, p.width, p.height);
    shape.setFillStyle(look.fill);
    shape.setBorderWidth(look.lineWidth);
    if (look.back >= 0)
        shape.setBackColor(look.back);
    if (look.line >= 0)
        shape.setBorderColor(look.line);
}

void Lay(PictureButton& button, QWidget* parent, const Place& p)
{
    button.create(parent, p.left, p.top, p.width, p.height);
    if (p.look.hidden)
        button.setVisible(false);
}

} // namespace

MainWindow::MainWindow(game::Machine& machine, const QString& programDir, QWidget* parent)
    : QMainWindow(parent)
    , machine_(machine)
    , programDir_(programDir)
{
    for (int n = 0; n < 10; ++n)
        symbolFiles_[n] = programFile(QStringLiteral("R0%1.BMP").arg(n));
    rowSymbols_.fill(Unknown);
    coverFaces_.fill(Unknown);

    setWindowTitle(QStringLiteral("ゼルモア"));
    setFont(GameFont());

    auto* client = new Client(this);
    client->setFixedSize(rt::Px(ClientWidthTwips), rt::Px(ClientHeightTwips));
    client->background.setSource(WindowPicture(QStringLiteral("BACK.BMP")));
    client_ = client;
    setCentralWidget(client_);
    showWindowIcon();

    buildControls();
    buildMenus();
    showKeysInTips();
    connectInput();
    connectMachine();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
}

// Every control in the order it is laid on the client area: later ones lie
// above earlier ones. Frames and lamps lie behind the reels.
void MainWindow::buildControls()
{
    const FillStyle solid = FillStyle::Solid;
    const FillStyle hatch = FillStyle::DiagonalCross;
    const Place places[] = {
        {&reelFrame, 1470, 480, 4190, 3015, {.line = Orange, .lineWidth = 3}},
        {&frameLamps[0], 1800, 480, 3520, 255, {.fill = solid}},
        {&frameLamps[1], 1800, 3270, 3520, 240, {.fill = solid}},
        {&frameLamps[2], 1800, 720, 375, 2550, {.fill = solid}},
        {&frameLamps[3], 4950, 720, 375, 2550, {.fill = solid}},
        {&frameLamps[4], 2160, 720, 2805, 615, {.fill = hatch}},
        {&frameLamps[5], 2160, 2640, 2805, 630, {.fill = hatch}},
        {&noticeLamps[0], 1515, 520, 270, 2920, {.back = RGB(128, 64, 0), .fill = hatch, .lineWidth = 3}},
        {&noticeLamps[1], 5340, 520, 270, 2925, {.back = RGB(128, 64, 0), .fill = hatch, .lineWidth = 3}},
        {&coverFrame, 240, 480, 1095, 3735, {.line = RGB(128, 128, 0), .lineWidth = 3}},
        // The reels, one column each; the middle row is the pay line.
        {&reelRows[0], 2160, 720, 855, 855, {}},
        {&reelRows[1], 2160, 1560, 855, 855, {}},
        {&reelRows[2], 2160, 2400, 855, 855, {}},
        {&reelRows[3], 3120, 720, 855, 855, {}},
        {&reelRows[4], 3120, 1560, 855, 855, {}},
        {&reelRows[5], 3120, 2400, 855, 855, {}},
        {&reelRows[6], 4080, 720, 855, 855, {}},
        {&reelRows[7], 4080, 1560, 855, 855, {}},
        {&reelRows[8], 4080, 2400, 855, 855, {}},
        {&logoLabel, 960, 120, 5175, 375,
         {.caption = u"ＺＥＬＭＯＲ", .font = {18, true, true}, .fore = Orange, .align = Qt::AlignCenter}},
        {&coverPriceLabel, 600, 520, 495, 255, {.caption = u"10$", .font = Small, .align = CentreTop}},
        // The four covers with their letters.
        {&covers[0], 600, 720, 540, 540, {.tip = u"当たるかな？"}},
        {&coverLetters[0], 360, 840, 255, 375, {.caption = u"A", .font = Big, .align = CentreTop}},
        {&covers[1], 600, 1440, 540, 540, {.tip = u"次はどうかな？"}},
        {&coverLetters[1], 360, 1560, 255, 375, {.caption = u"B", .font = Big, .align = CentreTop}},
        {&covers[2], 600, 2160, 540, 540, {.tip = u"いいかも！？"}},
        {&coverLetters[2], 360, 2280, 255, 375, {.caption = u"C", .font = Big, .align = CentreTop}},
        {&covers[3], 600, 2880, 540, 540, {.tip = u"ん～"}},
        {&coverLetters[3], 360, 3000, 255, 375, {.caption = u"D", .font = Big, .align = CentreTop}},
        // The amounts.
        {&winHeading, 6360, 480, 615, 255, {.caption = u"獲得＄", .font = Small, .fore = RGB(0, 0, 64)}},
        {&winLabel, 5760, 720, 1575, 375,
         {.caption = u"100", .font = Big, .fore = White, .back = Black, .border = true, .align = Amount}},
        {&moneyLabel, 5760, 1440, 1575, 375,
         {.caption = u"100", .font = Big, .fore = White, .back = Black, .border = true, .align = Amount}},
        {&moneyHeading, 6000, 1200, 1335, 255, {.caption = u"持ち金（＄）", .font = Heading, .align = CentreTop}},
        {&targetHeading, 6120, 2040, 855, 255, {.caption = u"狙い出目", .font = Heading, .align = CentreTop}},
        {&targetBox, 6120, 2400, 855, 855, {}},
        {&betHeading, 6240, 3360, 615, 375, {.caption = u"BET", .font = Big}},
        {&betLabel, 6280, 3720, 495, 375,
         {.caption = u"0", .font = Big, .fore = RGB(0, 0, 255), .back = White, .border = true, .align = Amount}},
        // Start, the stop buttons and the slot-chance counter.
        {&startButton, 400, 3600, 750, 495, {.hidden = true}},
        {&stopButtons[0], 2340, 3600, 480, 480, {.picture = u"STOP.PNG", .stretch = false, .hidden = true}},
        {&stopButtons[1], 3300, 3600, 480, 480, {.picture = u"STOP.PNG", .stretch = false, .hidden = true}},
        {&stopButtons[2], 4280, 3600, 480, 480, {.picture = u"STOP.PNG", .stretch = false, .hidden = true}},
        {&chanceCounterLabel, 5280, 3640, 375, 375,
         {.caption = u"5", .font = Big, .fore = White, .back = Black, .border = true, .align = Qt::AlignCenter,
          .hidden = true}},
    };

    for (const Place& p : places) {
        std::visit([&](auto* control) { Lay(*control, client_, p); }, p.control);
        laidControls_.push_back(p.control);
    }
    startButton.setBackColor(RGB(0, 255, 0));
    startButton.setPicture(WindowPicture(QStringLiteral("START.BMP")), RGB(128, 255, 128));

    const game::MachineState& s = machine_.state();
    reelTimer.create(this, s.reelTimerMs, s.reelTimerEnabled);
    frameLampTimer.create(this, game::FrameLampTickMs, true);
    noticeLampTimer.create(this, s.noticeTimerMs, true);
}

void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    fileMenu.createMenu(bar, QStringLiteral("ファイル(&F)"));
    borrow100Item.createItem(fileMenu, QStringLiteral("お願い100$借して(&1)"));
    borrow1000Item.createItem(fileMenu, QStringLiteral("お願い1000$借して(&2)"));
    fileSeparators_[0].createItem(fileMenu, QStringLiteral("-"));
    noSoundItem.createItem(fileMenu, QStringLiteral("音はいらない(&S)"), true);
    volumeItem.createItem(fileMenu, QStringLiteral("音量(&V)…"));
    probabilityItem.createItem(fileMenu, QStringLiteral("確率変動(&K)"));
    fileSeparators_[1].createItem(fileMenu, QStringLiteral("-"));
    quitItem.createItem(fileMenu, QStringLiteral("ゼルモアの終了(&Q)"));
    // The view menu stays enabled while the reels turn.
    viewMenu.createMenu(bar, QStringLiteral("表示(&V)"));
    const char16_t* zoomCaptions[] = {u"標準の大きさ(&1)", u"1.5倍(&5)", u"2倍(&2)", u"3倍(&3)"};
    for (std::size_t i = 0; i < zoomItems.size(); ++i)
        zoomItems[i].createItem(viewMenu, QString::fromUtf16(zoomCaptions[i]), true);
    viewSeparators_[0].createItem(viewMenu, QStringLiteral("-"));
    calmLampsItem.createItem(viewMenu, QStringLiteral("点滅を控える(&F)"), true);
    viewSeparators_[1].createItem(viewMenu, QStringLiteral("-"));
    dataCounterItem.createItem(viewMenu, QStringLiteral("データカウンター(&D)"));
    dataCounterItem.action()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    helpMenu.createMenu(bar, QStringLiteral("ヘルプ(&H)"));
    versionItem.createItem(helpMenu, QStringLiteral("バージョン情報(&V)"));
    helpItem.createItem(helpMenu, QStringLiteral("ヘルプ(&M)"));
}

// The player's clicks, menu choices and the timers' ticks go to the machine.
void MainWindow::connectInput()
{
    for (int i = 0; i < 4; ++i)
        covers[i].onClick = [this, i] { machine_.pickCover(i); };
    startButton.onClick = [this] { machine_.startSpin(); };
    for (int i = 0; i < 3; ++i)
        stopButtons[i].onClick = [this, i] { machine_.pressStop(game::Reel(i)); };
    reelTimer.onTimer = [this] { machine_.tickReels(); };
    frameLampTimer.onTimer = [this] { machine_.tickFrameLamps(); };
    noticeLampTimer.onTimer = [this] { machine_.tickNoticeLamps(); };
    borrow100Item.onClick = [this] { machine_.borrow100(); };
    borrow1000Item.onClick = [this] { machine_.borrow1000(); };
    noSoundItem.onClick = [this] { machine_.toggleSound(); };
    probabilityItem.onClick = [this] { machine_.changeProbability(); };
    volumeItem.onClick = [this] { emit volumeRequested(); };
    dataCounterItem.onClick = [this] { emit dataCounterRequested(); };
    quitItem.onClick = [this] { emit quitRequested(); };
    versionItem.onClick = [this] { openVersionWindow(); };
    helpItem.onClick = [this] { openHelpWindow(); };
    connectZoom();
    calmLampsItem.onClick = [this] { machine_.setCalmLamps(!machine_.state().calmLamps); };
}

// The window shows the machine as it is, then follows its signals.
void MainWindow::connectMachine()
{
    for (game::Reel reel : {game::Reel::Left, game::Reel::Centre, game::Reel::Right})
        showReel(reel);
    showLamps();
    showAmounts();
    showControls();
    showSoundSwitch();
    showUnlocked();
    showCalmLampsSwitch();

    connect(&machine_, &Machine::reelChanged, this, &MainWindow::showReel);
    connect(&machine_, &Machine::lampsChanged, this, &MainWindow::showLamps);
    connect(&machine_, &Machine::amountsChanged, this, &MainWindow::showAmounts);
    connect(&machine_, &Machine::controlsChanged, this, &MainWindow::showControls);
    connect(&machine_, &Machine::soundSwitchChanged, this, &MainWindow::showSoundSwitch);
    connect(&machine_, &Machine::unlockedChanged, this, &MainWindow::showUnlocked);
    connect(&machine_, &Machine::calmLampsChanged, this, &MainWindow::showCalmLampsSwitch);
    connect(&machine_, &Machine::reelTimerIntervalSet, this, [this](int ms) { reelTimer.setInterval(ms); });
    connect(&machine_, &Machine::reelTimerEnabledSet, this, [this](bool on) { reelTimer.setEnabled(on); });
    connect(&machine_, &Machine::noticeTimerIntervalSet, this, [this](int ms) { noticeLampTimer.setInterval(ms); });
}

// ---------------------------------------------------------------- showing the machine

namespace {

void ShowCaption(Label& label, const QString& text)
{
    if (label.caption() != text)
        label.setCaption(text);
}

template <class C>
void ShowVisible(C& control, bool visible)
{
    if (control.visible() != visible)
        control.setVisible(visible);
}

void ShowLampColour(Shape* const* lamps, std::size_t count, long bgr)
{
    // The fill colours of the whole group first, then the borders.
    for (std::size_t i = 0; i < count; ++i)
        lamps[i]->setFillColor(bgr);
    for (std::size_t i = 0; i < count; ++i)
        lamps[i]->setBorderColor(bgr);
}

} // namespace

void MainWindow::showReel(game::Reel reel)
{
    const game::MachineState& s = machine_.state();
    const int first = int(reel) * 3;
    for (int k = first; k < first + 3; ++k) {
        const game::ReelRow& row = s.rows[k];
        if (rowSymbols_[k] != row.symbol) {
            rowSymbols_[k] = row.symbol;
            if (row.symbol >= 0 && row.symbol <= 9)
                reelRows[k].setPicture(symbolFiles_[row.symbol]);
            else
                reelRows[k].clearPicture();
        }
        ShowVisible(reelRows[k], row.visible);
    }
}

void MainWindow::showLamps()
{
    const game::MachineState& s = machine_.state();
    if (s.frameLamps != frameLampsShown_) {
        frameLampsShown_ = s.frameLamps;
        Shape* lamps[] = {&frameLamps[0], &frameLamps[1], &frameLamps[2],
                          &frameLamps[3], &frameLamps[4], &frameLamps[5]};
        ShowLampColour(lamps, std::size(lamps), s.frameLamps);
    }
    if (s.noticeLamps != noticeLampsShown_) {
        noticeLampsShown_ = s.noticeLamps;
        Shape* lamps[] = {&noticeLamps[0], &noticeLamps[1]};
        ShowLampColour(lamps, std::size(lamps), s.noticeLamps);
    }
}

void MainWindow::showAmounts()
{
    const game::MachineState& s = machine_.state();
    ShowCaption(moneyLabel, rt::DecimalText(double(s.money)));
    ShowCaption(betLabel, rt::DecimalText(s.bet));
    ShowCaption(winLabel, rt::DecimalText(double(s.lastWin)));
    // The slot-chance counter shows the spins still to come, hidden at 0.
    if (s.chanceCounter != 0)
        ShowCaption(chanceCounterLabel, rt::DecimalText(s.chanceCounter));
    ShowVisible(chanceCounterLabel, s.chanceCounter != 0);
}

QString MainWindow::coverFile(CoverFace face) const
{
    switch (face) {
    case CoverFace::Hit: return programFile(QStringLiteral("ATARI.BMP"));
    case CoverFace::Miss: return programFile(QStringLiteral("HAZURE.BMP"));
    case CoverFace::Down: break;
    }
    return programFile(QStringLiteral("COVER.BMP"));
}

void MainWindow::showControls()
{
    const game::MachineState& s = machine_.state();
    for (int i = 0; i < 4; ++i) {
        if (coverFaces_[i] != int(s.covers[i])) {
            coverFaces_[i] = int(s.covers[i]);
            covers[i].setPicture(coverFile(s.covers[i]));
        }
        if (covers[i].enabled() != s.coversEnabled)
            covers[i].setEnabled(s.coversEnabled);
    }
    if (targetShown_ != s.targetPicture) {
        targetShown_ = s.targetPicture;
        const bool symbol = s.targetPicture >= 1 && s.targetPicture <= 9;
        targetBox.setPicture(symbol ? symbolFiles_[s.targetPicture] : programFile(QStringLiteral("BAI01.BMP")));
    }
    ShowVisible(startButton, s.startShown);
    for (int i = 0; i < 3; ++i)
        ShowVisible(stopButtons[i], s.stopShown[i]);
    if (fileMenu.enabled() != s.menusEnabled) {
        fileMenu.setEnabled(s.menusEnabled);
        helpMenu.setEnabled(s.menusEnabled);
    }
    showPointer(s.pointer);
}

void MainWindow::showSoundSwitch()
{
    noSoundItem.setChecked(machine_.state().sound == game::SoundSwitch::Off);
}

void MainWindow::showUnlocked()
{
    probabilityItem.setEnabled(machine_.state().unlocked);
}

void MainWindow::showCalmLampsSwitch()
{
    calmLampsItem.setChecked(machine_.state().calmLamps);
}

void MainWindow::showPointer(Pointer pointer)
{
    if (pointer == pointerShown_)
        return;
    pointerShown_ = pointer;
    switch (pointer) {
    case Pointer::Default: unsetCursor(); break;
    case Pointer::Hourglass: setCursor(Qt::WaitCursor); break;
    case Pointer::ArrowHourglass: setCursor(Qt::BusyCursor); break;
    }
}

// ---------------------------------------------------------------- zoom

double FittingZoom(double wanted, QSize chrome, QSize available)
{
    double fitting = Zooms[0];
    for (double zoom : Zooms) {
        const QSize window = QSize(rt::Px(ClientWidthTwips, zoom), rt::Px(ClientHeightTwips, zoom)) + chrome;
        if (zoom <= wanted && window.width() <= available.width() && window.height() <= available.height())
            fitting = zoom;
    }
    return fitting;
}

// The view menu's sizes, and Ctrl+plus (or Ctrl+= where plus needs Shift)
// and Ctrl+minus to step through them.
void MainWindow::connectZoom()
{
    for (std::size_t i = 0; i < zoomItems.size(); ++i) {
        zoomItems[i].setChecked(Zooms[i] == zoom_);
        zoomItems[i].onClick = [this, i] {
            chooseZoom(Zooms[i]);
            emit zoomChosen(Zooms[i]);
        };
    }
    auto* larger = new QShortcut(this);
    larger->setKeys({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    connect(larger, &QShortcut::activated, this, [this] { stepZoom(+1); });
    auto* smaller = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus), this);
    connect(smaller, &QShortcut::activated, this, [this] { stepZoom(-1); });
}

void MainWindow::setZoom(double zoom)
{
    if (zoom == zoom_)
        return;
    zoom_ = zoom;
    auto* client = static_cast<Client*>(client_);
    client->zoom = zoom;
    client->setFixedSize(rt::Px(ClientWidthTwips, zoom), rt::Px(ClientHeightTwips, zoom));
    for (const LaidControl& control : laidControls_)
        std::visit([zoom](auto* c) { c->setZoom(zoom); }, control);
    for (std::size_t i = 0; i < zoomItems.size(); ++i)
        zoomItems[i].setChecked(Zooms[i] == zoom);
    client->update();
    if (isVisible())
        keepOnScreen();
}

// The frame and the menu bar around the client area.
QSize MainWindow::chrome() const
{
    return WindowFrame(*this) + QSize(0, menuBar()->sizeHint().height());
}

void MainWindow::chooseZoom(double wanted)
{
    const QScreen* shown = screen();
    setZoom(shown ? FittingZoom(wanted, chrome(), shown->availableGeometry().size()) : wanted);
}

// The next size up or down that fits; at either end nothing changes.
void MainWindow::stepZoom(int step)
{
    const auto at = std::find(std::begin(Zooms), std::end(Zooms), zoom_);
    const auto index = std::distance(std::begin(Zooms), at) + step;
    if (at == std::end(Zooms) || index < 0 || index >= std::ssize(Zooms))
        return;
    const double next = Zooms[index];
    const QScreen* shown = screen();
    if (shown && FittingZoom(next, chrome(), shown->availableGeometry().size()) != next)
        return;
    setZoom(next);
    emit zoomChosen(next);
}

// A window grown by a zoom is moved back inside its screen's free area.
void MainWindow::keepOnScreen()
{
    layout()->activate();
    const QScreen* shown = screen();
    if (!shown)
        return;
    const QRect area = shown->availableGeometry();
    const QRect frame = frameGeometry();
    const QPoint topLeft(std::max(area.left(), std::min(frame.left(), area.right() + 1 - frame.width())),
                         std::max(area.top(), std::min(frame.top(), area.bottom() + 1 - frame.height())));
    if (topLeft != frame.topLeft())
        move(topLeft);
}

// The window icon, sharp on the screen it opens on: a dense screen's title
// bar and task switcher also get the scaled set's icon.
void MainWindow::showWindowIcon()
{
    const QString file = WindowPicture(QStringLiteral("ZELMOR.PNG"));
    QIcon icon(PictureFiles::load(file));
    const int scale = PictureScale(devicePixelRatioF(), 1.0);
    if (scale > 1)
        icon.addPixmap(PictureFiles::load(file, scale));
    if (!icon.isNull())
        setWindowIcon(icon);
}

// ---------------------------------------------------------------- Help menu

void MainWindow::openVersionWindow()
{
    AboutDialog about(this);
    ShowModal(about);
}

HelpWindow* MainWindow::helpWindow() const
{
    return help_;
}

// Opens the help window, or brings the open one to the front. The window is
// the main window's child, so it goes with it; help_ forgets it by itself
// when it closes.
void MainWindow::openHelpWindow()
{
    showPointer(Pointer::Hourglass);
    if (!help_)
        help_ = new HelpWindow(this);
    help_->show();
    help_->raise();
    help_->activateWindow();
    showPointer(machine_.state().pointer);
}

// ---------------------------------------------------------------- keys and closing

namespace {

// The keys that play the controls besides the mouse.
constexpr int CoverKeys[4][2] = {{Qt::Key_1, Qt::Key_A}, {Qt::Key_2, Qt::Key_B}, {Qt::Key_3, Qt::Key_C},
                                 {Qt::Key_4, Qt::Key_D}};
constexpr int StartKeys[] = {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter};
constexpr int StopKeys[3] = {Qt::Key_Z, Qt::Key_X, Qt::Key_C};

QString KeyTip(const QStringList& keys)
{
    return QStringLiteral("キー: ") + keys.join(QStringLiteral(" / "));
}

QString KeyName(int key)
{
    return QKeySequence(key).toString();
}

} // namespace

// Each control that takes a key names it in its tooltip, on a line of its own
// below the control's own tip.
void MainWindow::showKeysInTips()
{
    for (int i = 0; i < 4; ++i)
        covers[i].setToolTip(covers[i].toolTip() + QLatin1Char('\n')
                             + KeyTip({KeyName(CoverKeys[i][0]), KeyName(CoverKeys[i][1])}));
    startButton.setToolTip(KeyTip({QStringLiteral("Space"), QStringLiteral("Enter")}));
    for (int i = 0; i < 3; ++i)
        stopButtons[i].setToolTip(KeyTip({KeyName(StopKeys[i])}));
}

// A key plays its control as a click does, and only where a click would: on
// the control shown and enabled. C is the right stop while the stop buttons
// show (the covers take no clicks then), cover C otherwise. A key held down
// does not repeat a cover or Start. True when the key belongs to a control.
bool MainWindow::playKey(const QKeyEvent& event)
{
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const int key = event.key();
    const bool repeat = event.isAutoRepeat();
    if (key == StopKeys[2] && stopButtons[2].visible()) {
        stopButtons[2].click();
        return true;
    }
    for (int i = 0; i < 4; ++i) {
        if (key == CoverKeys[i][0] || key == CoverKeys[i][1]) {
            if (!repeat)
                covers[i].click();
            return true;
        }
    }
    if (std::find(std::begin(StartKeys), std::end(StartKeys), key) != std::end(StartKeys)) {
        if (!repeat)
            startButton.click();
        return true;
    }
    for (int i = 0; i < 3; ++i) {
        if (key == StopKeys[i]) {
            stopButtons[i].click();
            return true;
        }
    }
    return false;
}

// Key preview for this window only: a dialog, a message box or the help
// window keeps its keys. Escape quits; the keys of the controls play them;
// the menu bar, when the keyboard is in it, keeps its own keys.
bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->window() == this) {
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (key.key() == Qt::Key_Escape) {
            emit quitRequested();
            return true;
        }
        return watched != menuBar() && playKey(key);
    }
    return QMainWindow::eventFilter(watched, event);
}

// The close box quits, unless the program is already ending.
void MainWindow::closeEvent(QCloseEvent* event)
{
    if (!ProgramEnded())
        emit quitRequested();
    event->accept();
}

} // namespace ui
