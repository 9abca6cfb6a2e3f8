// SPDX-License-Identifier: MIT
// The main window's layout: the table of controls in twips and the menus.
// The client area and the sizes the window comes in: MainWindowSize.cpp.
#include "ui/MainWindow.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace ui {

namespace {

// ---------------------------------------------------------------- the table

constexpr QColor Orange(255, 128, 0);
constexpr QColor White(255, 255, 255);
constexpr QColor Black(0, 0, 0);
constexpr QColor Brown(128, 64, 0);
constexpr QColor Olive(128, 128, 0);
constexpr QColor DarkBlue(0, 0, 64);
constexpr QColor Blue(0, 0, 255);
constexpr QColor Green(0, 255, 0);
constexpr FontStyle Big{15.75, true, false};
constexpr FontStyle Heading{9.75, true, false};
constexpr FontStyle Small{9, true, false};
constexpr Qt::Alignment Amount = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment CentreTop = Qt::AlignHCenter | Qt::AlignTop;

// How a control looks when the window opens. Unset fields (an invalid
// colour, a null text) leave the control as it is made.
struct Look {
    const char16_t* text = nullptr;
    FontStyle font{0, false, false}; // 0 points: the window's font
    QColor fore{};                   // label text colour
    QColor back{};                   // label background, or the background under a shape's hatch
    bool sunken = false;             // label: sunken single border
    Qt::Alignment align = {};
    const char16_t* picture = nullptr; // picture box: one of the window's own pictures
    bool stretch = true;               // picture box: the picture fills the box
    FillStyle fill = FillStyle::Transparent;
    QColor line{};                     // shape: border colour
    int lineWidth = 1;                 // shape: border width in pixels
    bool hidden = false;
};

// A control's slot in the window, its place in twips and its look.
struct Place {
    std::variant<TextLabel**, PictureBox**, RectShape**, PictureButton**> control;
    QRect twips;
    Look look;
};

// Each makes the control at its place with its look.
void Lay(TextLabel*& label, QWidget* parent, const Place& p)
{
    const Look& look = p.look;
    label = new TextLabel(p.twips, parent);
    if (look.text)
        label->setText(QString::fromUtf16(look.text));
    if (look.font.points > 0)
        label->setFontStyle(look.font);
    if (look.fore.isValid())
        label->setTextColor(look.fore);
    if (look.back.isValid())
        label->setBackgroundColor(look.back);
    if (look.sunken)
        label->setSunken(true);
    if (look.align)
        label->setAlignment(look.align);
    if (look.hidden)
        label->setVisible(false);
}

void Lay(PictureBox*& box, QWidget* parent, const Place& p)
{
    const Look& look = p.look;
    box = new PictureBox(p.twips, parent);
    box->setScaledContents(look.stretch);
    if (look.picture)
        box->setPicture(WindowPicture(QString::fromUtf16(look.picture)));
    if (look.hidden)
        box->setVisible(false);
}

void Lay(RectShape*& shape, QWidget* parent, const Place& p)
{
    const Look& look = p.look;
    shape = new RectShape(p.twips, parent);
    shape->setFillStyle(look.fill);
    shape->setBorderWidth(look.lineWidth);
    if (look.back.isValid())
        shape->setBackgroundColor(look.back);
    if (look.line.isValid())
        shape->setBorderColor(look.line);
}

void Lay(PictureButton*& button, QWidget* parent, const Place& p)
{
    button = new PictureButton(p.twips, parent);
    if (p.look.hidden)
        button->setVisible(false);
}

} // namespace

// Every control in the order it is laid on the client area: later ones lie
// above earlier ones. Frames and lamps lie behind the reels.
void MainWindow::buildControls()
{
    const FillStyle solid = FillStyle::Solid;
    const FillStyle hatch = FillStyle::DiagonalCross;
    const Place places[] = {
        {&reelFrame, {1470, 480, 4190, 3015}, {.line = Orange, .lineWidth = 3}},
        {&frameLamps[0], {1800, 480, 3520, 255}, {.fill = solid}},
        {&frameLamps[1], {1800, 3270, 3520, 240}, {.fill = solid}},
        {&frameLamps[2], {1800, 720, 375, 2550}, {.fill = solid}},
        {&frameLamps[3], {4950, 720, 375, 2550}, {.fill = solid}},
        {&frameLamps[4], {2160, 720, 2805, 615}, {.fill = hatch}},
        {&frameLamps[5], {2160, 2640, 2805, 630}, {.fill = hatch}},
        {&noticeLamps[0], {1515, 520, 270, 2920}, {.back = Brown, .fill = hatch, .lineWidth = 3}},
        {&noticeLamps[1], {5340, 520, 270, 2925}, {.back = Brown, .fill = hatch, .lineWidth = 3}},
        {&coverFrame, {240, 480, 1095, 3735}, {.line = Olive, .lineWidth = 3}},
        // The reels, one column each; the middle row is the pay line.
        {&reelRows[0], {2160, 720, 855, 855}, {}},
        {&reelRows[1], {2160, 1560, 855, 855}, {}},
        {&reelRows[2], {2160, 2400, 855, 855}, {}},
        {&reelRows[3], {3120, 720, 855, 855}, {}},
        {&reelRows[4], {3120, 1560, 855, 855}, {}},
        {&reelRows[5], {3120, 2400, 855, 855}, {}},
        {&reelRows[6], {4080, 720, 855, 855}, {}},
        {&reelRows[7], {4080, 1560, 855, 855}, {}},
        {&reelRows[8], {4080, 2400, 855, 855}, {}},
        {&logoLabel, {960, 120, 5175, 375},
         {.text = u"ＺＥＬＭＯＲ", .font = {18, true, true}, .fore = Orange, .align = Qt::AlignCenter}},
        {&coverPriceLabel, {600, 520, 495, 255}, {.font = Small, .align = CentreTop}},
        // The four covers with their letters.
        {&covers[0], {600, 720, 540, 540}, {}},
        {&coverLetters[0], {360, 840, 255, 375}, {.text = u"A", .font = Big, .align = CentreTop}},
        {&covers[1], {600, 1440, 540, 540}, {}},
        {&coverLetters[1], {360, 1560, 255, 375}, {.text = u"B", .font = Big, .align = CentreTop}},
        {&covers[2], {600, 2160, 540, 540}, {}},
        {&coverLetters[2], {360, 2280, 255, 375}, {.text = u"C", .font = Big, .align = CentreTop}},
        {&covers[3], {600, 2880, 540, 540}, {}},
        {&coverLetters[3], {360, 3000, 255, 375}, {.text = u"D", .font = Big, .align = CentreTop}},
        // The amounts.
        {&winHeading, {6360, 480, 615, 255}, {.font = Small, .fore = DarkBlue}},
        {&winLabel, {5760, 720, 1575, 375},
         {.text = u"100", .font = Big, .fore = White, .back = Black, .sunken = true, .align = Amount}},
        {&moneyLabel, {5760, 1440, 1575, 375},
         {.text = u"100", .font = Big, .fore = White, .back = Black, .sunken = true, .align = Amount}},
        {&moneyHeading, {6000, 1200, 1335, 255}, {.font = Heading, .align = CentreTop}},
        {&targetHeading, {6120, 2040, 855, 255}, {.font = Heading, .align = CentreTop}},
        {&targetBox, {6120, 2400, 855, 855}, {}},
        {&betHeading, {6240, 3360, 615, 375}, {.text = u"BET", .font = Big}},
        {&betLabel, {6280, 3720, 495, 375},
         {.text = u"0", .font = Big, .fore = Blue, .back = White, .sunken = true, .align = Amount}},
        // Start, the stop buttons and the slot-chance counter.
        {&startButton, {400, 3600, 750, 495}, {.hidden = true}},
        {&stopButtons[0], {2340, 3600, 480, 480}, {.picture = u"STOP.PNG", .stretch = false, .hidden = true}},
        {&stopButtons[1], {3300, 3600, 480, 480}, {.picture = u"STOP.PNG", .stretch = false, .hidden = true}},
        {&stopButtons[2], {4280, 3600, 480, 480}, {.picture = u"STOP.PNG", .stretch = false, .hidden = true}},
        {&chanceCounterLabel, {5280, 3640, 375, 375},
         {.text = u"5", .font = Big, .fore = White, .back = Black, .sunken = true, .align = Qt::AlignCenter,
          .hidden = true}},
        // Auto play's lamp, above the win display, lit only while it plays.
        {&autoPlayLamp, {6120, 120, 1215, 300},
         {.font = Small, .fore = Green, .back = Black, .sunken = true, .align = Qt::AlignCenter, .hidden = true}},
    };

    for (const Place& p : places) {
        std::visit(
            [&](auto** slot) {
                Lay(*slot, client_, p);
                laidControls_.push_back(*slot);
            },
            p.control);
    }
    startButton->setFaceColor(QColor(0, 255, 0));
    startButton->setPicture(WindowPicture(QStringLiteral("START.BMP")), QColor(128, 255, 128));
}

// The menus and their items; their texts are set by nameMenus().
void MainWindow::buildMenus()
{
    QMenuBar* bar = menuBar();
    fileMenu = bar->addMenu(QString());
    borrow100Item = fileMenu->addAction(QString());
    borrow1000Item = fileMenu->addAction(QString());
    fileMenu->addSeparator();
    noSoundItem = fileMenu->addAction(QString());
    noSoundItem->setCheckable(true);
    volumeItem = fileMenu->addAction(QString());
    probabilityItem = fileMenu->addAction(QString());
    fileMenu->addSeparator();
    quitItem = fileMenu->addAction(QString());
    // The view menu stays enabled while the reels turn.
    viewMenu = bar->addMenu(QString());
    for (QAction*& item : zoomItems) {
        item = viewMenu->addAction(QString());
        item->setCheckable(true);
    }
    // F11 fills the screen with the machine, and again gives the window back.
    fullScreenItem = viewMenu->addAction(QString());
    fullScreenItem->setCheckable(true);
    fullScreenItem->setShortcut(QKeySequence(Qt::Key_F11));
    viewMenu->addSeparator();
    // Fast play: the machine's paces (ui::Paces), one checked at a time.
    paceMenu = viewMenu->addMenu(QString());
    for (QAction*& item : paceItems) {
        item = paceMenu->addAction(QString());
        item->setCheckable(true);
    }
    autoPlayItem = viewMenu->addAction(QString());
    autoPlayItem->setCheckable(true);
    autoPlayItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    calmLampsItem = viewMenu->addAction(QString());
    calmLampsItem->setCheckable(true);
    viewMenu->addSeparator();
    dataCounterItem = viewMenu->addAction(QString());
    dataCounterItem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    languageMenu = viewMenu->addMenu(QString());
    for (QAction*& item : languageItems) {
        item = languageMenu->addAction(QString());
        item->setCheckable(true);
    }
    helpMenu = bar->addMenu(QString());
    versionItem = helpMenu->addAction(QString());
    helpItem = helpMenu->addAction(QString());
    helpItem->setShortcut(QKeySequence::HelpContents);
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

} // namespace ui
