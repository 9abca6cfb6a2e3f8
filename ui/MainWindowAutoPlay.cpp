// SPDX-License-Identifier: MIT
// Auto play in the main window: its item and dialog, its lamp on the
// machine, and the player taking the machine back. The rule of play is
// game::AutoPlay's; the window only starts it and tells it when to stop.
#include "ui/MainWindow.h"

#include "platform/Runtime.h"
#include "ui/AutoPlayDialog.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QEvent>
#include <QMenuBar>
#include <QRandomGenerator>

#include <utility>

namespace ui {

// The hand's pauses are drawn from a generator of its own, seeded here,
// never from the game's random numbers. Any prompt opening hands the
// machine back: the player is needed.
void MainWindow::connectAutoPlay()
{
    autoPlay_ = new game::AutoPlay(machine_, QRandomGenerator::global()->generate(), this);
    connect(autoPlayItem, &QAction::triggered, this, &MainWindow::toggleAutoPlay);
    connect(autoPlay_, &game::AutoPlay::runningChanged, this, &MainWindow::showAutoPlay);
    connect(autoPlay_, &game::AutoPlay::spinsLeftChanged, this, &MainWindow::showAutoPlay);
    OnPromptOpening(this, [this] { autoPlay_->stop(); });
    showAutoPlay();
}

// The item stops auto play while it plays; otherwise it asks for the limits
// and starts.
void MainWindow::toggleAutoPlay()
{
    if (autoPlay_->running()) {
        autoPlay_->stop();
        return;
    }
    showAutoPlay();
    AutoPlayDialog dialog(autoPlayLimits_, this);
    if (ExecDialog(dialog) != QDialog::Accepted)
        return;
    autoPlayLimits_ = dialog.limits();
    emit autoPlayChosen(autoPlayLimits_);
    autoPlay_->start(autoPlayLimits_);
}

// The item checked and the lamp lit while auto play plays, the lamp with the
// spins still to play under a spin limit.
void MainWindow::showAutoPlay()
{
    if (!autoPlay_)
        return;
    const bool running = autoPlay_->running();
    autoPlayItem->setChecked(running);
    autoPlayLamp->setVisible(running);
    const std::optional<int> left = autoPlay_->spinsLeft();
    autoPlayLamp->setText(left ? tr("オート %1").arg(rt::DecimalText(*left)) : tr("オート"));
}

// While auto play plays, a key pressed in the window or a click on it hands
// the machine back. The press does nothing else, so that it cannot play a
// control the player did not aim at (nor quit, for Escape): a click's
// release is kept from the control too. A click on the menu bar opens its
// menu as well. A key that is a shortcut is claimed from the shortcut first,
// so that it reaches here as a press.
bool MainWindow::takeOverFromAutoPlay(QObject* watched, QEvent* event)
{
    if (!autoPlay_ || !watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != this)
        return false;
    if (event->type() == QEvent::MouseButtonRelease)
        return std::exchange(clickTookOver_, false);
    if (!autoPlay_->running())
        return false;
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        event->accept();
        return true;
    case QEvent::KeyPress:
        autoPlay_->stop();
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        autoPlay_->stop();
        clickTookOver_ = watched != menuBar();
        return clickTookOver_;
    default:
        return false;
    }
}

} // namespace ui
