// SPDX-License-Identifier: MIT
#include "ui/Placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <array>
#include <limits>
#include <optional>

namespace ui {

namespace {

qint64 CoveredArea(const QRect& window, const QRect& other)
{
    const QRect covered = window.intersected(other);
    return covered.isEmpty() ? 0 : qint64(covered.width()) * covered.height();
}

// A window of `size` at `place`, pushed inside the room where it can be.
QPoint Inside(const QRect& room, const QSize& size, const QPoint& place)
{
    const int lastLeft = std::max(room.left(), room.right() + 1 - size.width());
    const int lastTop = std::max(room.top(), room.bottom() + 1 - size.height());
    return {std::clamp(place.x(), room.left(), lastLeft), std::clamp(place.y(), room.top(), lastTop)};
}

// The four places beside the other window, in order of preference: right,
// left, below, above.
std::array<QPoint, 4> BesidePlaces(const QRect& other, const QSize& size)
{
    return {QPoint(other.right() + 1, other.top()), QPoint(other.left() - size.width(), other.top()),
            QPoint(other.left(), other.bottom() + 1), QPoint(other.left(), other.top() - size.height())};
}

// The side-by-side arrangement that moves the other window the least, if
// the room can hold both in a row or a column.
std::optional<SideBySide> MakeRoom(const QRect& room, const QRect& other, const QSize& size)
{
    std::optional<SideBySide> best;
    int leastShift = std::numeric_limits<int>::max();
    auto consider = [&](const QPoint& otherAt, const QPoint& windowAt) {
        const int shift = std::abs(otherAt.x() - other.left()) + std::abs(otherAt.y() - other.top());
        if (shift < leastShift) {
            best = SideBySide{Inside(room, size, windowAt), otherAt};
            leastShift = shift;
        }
    };
    const bool fitsInARow = size.width() + other.width() <= room.width() && size.height() <= room.height();
    if (fitsInARow) {
        const int right = room.right() + 1;
        const int leftOfRight = std::clamp(other.left(), room.left(), right - size.width() - other.width());
        consider({leftOfRight, other.top()}, {leftOfRight + other.width(), other.top()});
        const int leftOfLeft = std::clamp(other.left(), room.left() + size.width(), right - other.width());
        consider({leftOfLeft, other.top()}, {leftOfLeft - size.width(), other.top()});
    }
    const bool fitsInAColumn = size.height() + other.height() <= room.height() && size.width() <= room.width();
    if (fitsInAColumn) {
        const int bottom = room.bottom() + 1;
        const int topOfBelow = std::clamp(other.top(), room.top(), bottom - size.height() - other.height());
        consider({other.left(), topOfBelow}, {other.left(), topOfBelow + other.height()});
        const int topOfAbove = std::clamp(other.top(), room.top() + size.height(), bottom - other.height());
        consider({other.left(), topOfAbove}, {other.left(), topOfAbove - size.height()});
    }
    return best;
}

// The place beside the other window or in a corner of the room that covers
// the least of it; the first such in order of preference.
QPoint LeastCovering(const QRect& room, const QRect& other, const QSize& size)
{
    const int lastLeft = room.right() + 1 - size.width();
    const int lastTop = room.bottom() + 1 - size.height();
    const auto beside = BesidePlaces(other, size);
    const QPoint corners[] = {room.topLeft(), {lastLeft, room.top()}, {room.left(), lastTop}, {lastLeft, lastTop}};
    QPoint best;
    qint64 leastCovered = std::numeric_limits<qint64>::max();
    auto consider = [&](const QPoint& place) {
        const QPoint inside = Inside(room, size, place);
        const qint64 area = CoveredArea(QRect(inside, size), other);
        if (area < leastCovered) {
            best = inside;
            leastCovered = area;
        }
    };
    for (const QPoint& place : beside)
        consider(place);
    for (const QPoint& place : corners)
        consider(place);
    return best;
}

} // namespace

void CentreOnScreen(QWidget& window)
{
    const QScreen* screen = window.screen() ? window.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QSize frame = window.frameGeometry().size();
    window.move(screen->availableGeometry().center() - QPoint(frame.width() / 2, frame.height() / 2));
}

QSize WindowFrame(const QWidget& window)
{
    const QSize unframedAllowance(16, 40);
    const QSize frame = window.frameGeometry().size() - window.geometry().size();
    return !window.isVisible() && frame.isNull() ? unframedAllowance : frame;
}

void PlaceBeside(QWidget& window, QWidget& other)
{
    const QScreen* screen = other.screen() ? other.screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const bool otherMayMove = !(other.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen));
    const SideBySide places = PlaceBesidePosition(screen->availableGeometry(), other.frameGeometry(),
                                                  window.size() + WindowFrame(window), otherMayMove);
    if (places.other != other.frameGeometry().topLeft())
        other.move(places.other);
    window.move(places.window);
}

SideBySide PlaceBesidePosition(const QRect& room, const QRect& other, const QSize& size, bool otherMayMove)
{
    for (const QPoint& place : BesidePlaces(other, size)) {
        const QPoint inside = Inside(room, size, place);
        if (CoveredArea(QRect(inside, size), other) == 0)
            return {inside, other.topLeft()};
    }
    if (otherMayMove) {
        if (const auto madeRoom = MakeRoom(room, other, size))
            return *madeRoom;
    }
    return {LeastCovering(room, other, size), other.topLeft()};
}

} // namespace ui
