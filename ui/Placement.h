// SPDX-License-Identifier: MIT
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace ui {

// Places a top-level window at the centre of its screen (frame included).
void CentreOnScreen(QWidget& window);

// The frame the window manager puts around a top-level window; before it has
// framed a window not yet shown, room for a usual title bar and border.
QSize WindowFrame(const QWidget& window);

// Where a window opened beside another goes, and where that other stands
// then; both are top-left corners of frames.
struct SideBySide {
    QPoint window;
    QPoint other;
};

// Puts a window beside another on its screen: to its right, or else to its
// left, below or above, where the whole window fits beside it. Where none
// does but the screen can hold both, the other window steps aside by as
// little as it takes, unless it is maximized or full screen. Otherwise the
// window goes where it covers the least of the other.
void PlaceBeside(QWidget& window, QWidget& other);
// Where PlaceBeside puts a window of `size` beside `other` (frames included)
// on a screen whose free area is `room`.
SideBySide PlaceBesidePosition(const QRect& room, const QRect& other, const QSize& size, bool otherMayMove);

} // namespace ui
