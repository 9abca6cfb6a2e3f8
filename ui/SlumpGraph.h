// SPDX-License-Identifier: MIT
// The slump graph of the data counter: the balance (paid out minus paid in)
// after each spin, one line per session or day, drawn as a hall's data
// counter draws it: lamp-coloured lines on a dark panel, jackpot spins
// marked with a dot.
#pragma once

#include "game/PlayTally.h"

#include <QColor>
#include <QPolygonF>
#include <QString>
#include <QVector>
#include <QWidget>

namespace ui {

struct GraphLine {
    QString name;            // the legend's text
    QColor colour;
    bool bold = false;       // the line to follow: drawn thick, with a glow
    qint64 spins = 0;        // its length
    QVector<game::SlumpPoint> points; // the balance in dollars after spins, in order (game::SlumpLine)
    QVector<game::SlumpPoint> marks;  // the spins marked with a dot
};

// Thousands separated with commas, as the data counter writes dollars and spins.
QString GroupedDigits(qint64 value);
// The same with a plus sign before a gain.
QString SignedGroupedDigits(qint64 value);

// The points to draw for a line whose spins are `spinsPerColumn` to a pixel
// column: (spin number, balance), from (0, 0) before the first spin. Every
// point while they are sparse; else each column's first, lowest, highest and
// last, in order, so that no peak or dip is lost.
QPolygonF DecimatedLine(const QVector<game::SlumpPoint>& points, double spinsPerColumn);

// A round step (1, 2 or 5 times a power of ten) that divides `span` into at
// most `maxTicks` intervals.
qint64 TickStep(qint64 span, int maxTicks);

class SlumpGraph : public QWidget {
    Q_OBJECT
public:
    explicit SlumpGraph(QWidget* parent = nullptr);

    // Drawn in order, the last on top; lines without spins are left out.
    void setLines(QVector<GraphLine> lines);
    const QVector<GraphLine>& lines() const { return lines_; }
    // Sizes of lines, dots and text follow the zoom (1, 1.5, 2 or 3).
    void setZoom(double zoom);
    double zoom() const { return zoom_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    qreal px(qreal pixels) const { return pixels * zoom_; }

    QVector<GraphLine> lines_;
    double zoom_ = 1.0;
};

} // namespace ui
