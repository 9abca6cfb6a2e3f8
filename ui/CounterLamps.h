// SPDX-License-Identifier: MIT
// The data counter's lamps: figures in seven-segment lamps, as a hall's
// counter shows them, and the row headings with their lamp bars.
#pragma once

#include <QColor>
#include <QLabel>
#include <QPainterPath>

#include <vector>

class QFontMetricsF;

namespace ui {

// A figure in seven-segment lamps, as a hall's counter shows it: digits and
// minus signs in segments with the unlit ones glowing faintly, dots for the
// decimal point and the thousands, any other character in the game's face.
// The text stays the label's text; leading unused places show as unlit 8s.
class LampNumber : public QLabel {
public:
    // `places` digits wide, lit in `lamp`.
    LampNumber(QColor lamp, int places, QWidget* parent);

    // The height of a digit in pixels; the size follows.
    void setDigitHeight(qreal pixels);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent*) override;

private:
    static constexpr qreal Width = 0.54;     // of the height
    static constexpr qreal Thickness = 0.13; // of the height
    static constexpr qreal Spacing = 0.22;   // of the height
    static constexpr qreal DotSlot = 0.26;   // of the height
    static constexpr qreal Slant = 0.08;

    // A character drawn in the game's face.
    struct Glyph {
        qreal left;
        QChar c;
    };
    struct Lamps {
        QPainterPath lit, unlit;
        std::vector<Glyph> glyphs;
        qreal left = 0;
    };

    qreal slot() const { return height_ * (Width + Spacing); }
    qreal padding() const { return height_ * 0.22; }
    QPainterPath digit(int segments, qreal left) const;
    QPainterPath dot(qreal left, bool comma) const;
    Lamps lamps(const QFontMetricsF& metrics) const;
    void drawWindow(QPainter& p) const;

    QColor lamp_;
    int places_;
    qreal height_ = 20;
};

// A row's heading with a lamp bar of its figure's colour at its left.
class RowHeading : public QLabel {
public:
    // Its text comes later, in the window's language.
    RowHeading(QColor lamp, QWidget* parent);

    // The margin and the bar follow the window's zoom.
    void setZoom(double zoom);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor lamp_;
    double zoom_ = 1.0;
};

} // namespace ui
