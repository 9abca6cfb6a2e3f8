// SPDX-License-Identifier: MIT
// The main window's keys: the ones that play its controls, Escape, and the
// zoom's Ctrl+plus and Ctrl+minus.
#include "ui/MainWindow.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QMenuBar>
#include <QShortcut>

#include <algorithm>

namespace ui {

namespace {

// The keys that play the controls besides the mouse.
constexpr int CoverKeys[4][2] = {{Qt::Key_1, Qt::Key_A}, {Qt::Key_2, Qt::Key_B}, {Qt::Key_3, Qt::Key_C},
                                 {Qt::Key_4, Qt::Key_D}};
constexpr int StartKeys[] = {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter};
constexpr int StopKeys[3] = {Qt::Key_Z, Qt::Key_X, Qt::Key_C};

QString KeyTip(const QStringList& keys)
{
    return MainWindow::tr("キー: %1").arg(keys.join(QStringLiteral(" / ")));
}

QString KeyName(int key)
{
    return QKeySequence(key).toString();
}

} // namespace

// Ctrl+plus (or Ctrl+= where plus needs Shift) and Ctrl+minus step through
// the view menu's sizes.
void MainWindow::connectZoomKeys()
{
    auto* larger = new QShortcut(this);
    larger->setKeys({QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    connect(larger, &QShortcut::activated, this, [this] { stepZoom(+1); });
    auto* smaller = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus), this);
    connect(smaller, &QShortcut::activated, this, [this] { stepZoom(-1); });
}

// Each control that takes a key names it in its tooltip, on a line of its own
// below the control's own tip (set just before, by nameControls()).
void MainWindow::showKeysInTips()
{
    for (int i = 0; i < 4; ++i)
        covers[i]->setToolTip(covers[i]->toolTip() + QLatin1Char('\n')
                              + KeyTip({KeyName(CoverKeys[i][0]), KeyName(CoverKeys[i][1])}));
    startButton->setToolTip(KeyTip({QStringLiteral("Space"), QStringLiteral("Enter")}));
    for (int i = 0; i < 3; ++i)
        stopButtons[i]->setToolTip(KeyTip({KeyName(StopKeys[i])}));
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
    const bool repeat = heldDown(event);
    if (key == StopKeys[2] && !stopButtons[2]->isHidden()) {
        stopButtons[2]->click();
        return true;
    }
    for (int i = 0; i < 4; ++i) {
        if (key == CoverKeys[i][0] || key == CoverKeys[i][1]) {
            if (!repeat)
                covers[i]->click();
            return true;
        }
    }
    if (std::find(std::begin(StartKeys), std::end(StartKeys), key) != std::end(StartKeys)) {
        if (!repeat && !startButton->isHidden())
            startButton->click();
        return true;
    }
    for (int i = 0; i < 3; ++i) {
        if (key == StopKeys[i]) {
            stopButtons[i]->click();
            return true;
        }
    }
    return false;
}

// A press that only repeats a key held down. X repeats a held key as a
// release and a press that carry the same server time; Qt marks the pair as
// a repeat only when both are already queued together, which a busy machine
// misses. The same time as the key's last release is a repeat whatever the
// load: a hand cannot release and press again within one millisecond.
bool MainWindow::heldDown(const QKeyEvent& press)
{
    if (press.isAutoRepeat())
        return true;
    const auto released = keyReleasedAt_.find(press.key());
    return released != keyReleasedAt_.end() && press.timestamp() != 0 && released->second == press.timestamp();
}

// Key preview for this window only: a dialog, a message box or the help
// window keeps its keys. Escape quits; the keys of the controls play them;
// the menu bar, when the keyboard is in it, keeps its own keys.
bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (takeOverFromAutoPlay(watched, event))
        return true;
    if (event->type() == QEvent::KeyRelease && watched->isWidgetType()
        && static_cast<QWidget*>(watched)->window() == this) {
        const auto& key = *static_cast<QKeyEvent*>(event);
        keyReleasedAt_[key.key()] = key.timestamp();
    }
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

} // namespace ui
