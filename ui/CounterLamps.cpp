// SPDX-License-Identifier: MIT
#include "ui/CounterLamps.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QtMath>

#include <cmath>

namespace ui {

// ---------------------------------------------------------------- lamp digits

LampNumber::LampNumber(QColor lamp, int places, QWidget* parent)
    : QLabel(parent)
    , lamp_(lamp)
    , places_(places)
{
}

void LampNumber::setDigitHeight(qreal pixels)
{
    height_ = pixels;
    updateGeometry();
    update();
}

QSize LampNumber::sizeHint() const
{
    return QSize(qCeil(places_ * slot() + 2 * padding()), qCeil(height_ + 2 * padding() * 0.8));
}

namespace {

// Segments a to g as bits 0 to 6: top, top right, bottom right, bottom,
// bottom left, top left, middle.
constexpr int AllSegments = 0x7f;
constexpr int MinusSegments = 0x40;
constexpr int DigitSegments[10] = {0x3f, 0x06, 0x5b, 0x4f, 0x66, 0x6d, 0x7d, 0x07, 0x7f, 0x6f};

bool IsSegmentChar(QChar c)
{
    return c.isDigit() || c == QLatin1Char('-') || c == QChar(0x2014);
}

int SegmentsOf(QChar c)
{
    return c.isDigit() ? DigitSegments[c.digitValue()] : MinusSegments;
}

// A segment from `from` to `to`, pointed at both ends, a little shorter
// than the distance so that neighbours keep a gap.
void AddSegment(QPainterPath& path, QPointF from, QPointF to, qreal thickness)
{
    const QPointF along = (to - from) / std::hypot(to.x() - from.x(), to.y() - from.y());
    const QPointF across(-along.y(), along.x());
    const qreal half = thickness / 2;
    from += along * thickness * 0.12;
    to -= along * thickness * 0.12;
    QPolygonF shape;
    shape << from << from + (along + across) * half << to + (across - along) * half << to
          << to - (along + across) * half << from + (along - across) * half << from;
    path.addPolygon(shape);
}

} // namespace

QPainterPath LampNumber::digit(int segments, qreal left) const
{
    const qreal h = height_, w = h * Width, t = h * Thickness;
    const qreal x0 = t / 2, x1 = w - t / 2, y0 = t / 2, y1 = h / 2, y2 = h - t / 2;
    const QPointF ends[7][2] = {
        {{x0, y0}, {x1, y0}}, {{x1, y0}, {x1, y1}}, {{x1, y1}, {x1, y2}}, {{x0, y2}, {x1, y2}},
        {{x0, y1}, {x0, y2}}, {{x0, y0}, {x0, y1}}, {{x0, y1}, {x1, y1}},
    };
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (int s = 0; s < 7; ++s)
        if (segments & (1 << s))
            AddSegment(path, ends[s][0], ends[s][1], t);
    // Upright box to slanted lamps: the top leans right.
    return QTransform(1, 0, -Slant, 1, left + Slant * h, 0).map(path);
}

QPainterPath LampNumber::dot(qreal left, bool comma) const
{
    const qreal h = height_, r = h * Thickness * 0.62;
    const QPointF centre(left + h * DotSlot / 2, h - r);
    QPainterPath path;
    path.addEllipse(centre, r, r);
    if (comma) {
        QPolygonF tail;
        tail << centre + QPointF(r * 0.2, 0) << centre + QPointF(r, 0) << centre + QPointF(-r * 0.6, r * 2.2);
        path.addPolygon(tail);
    }
    return path;
}

// The figure laid out from the right: each character's place, the lit and
// the unlit segments; `left` ends at the left edge of the leftmost place.
LampNumber::Lamps LampNumber::lamps(const QFontMetricsF& metrics) const
{
    Lamps lamps;
    qreal& x = lamps.left;
    int digits = 0;
    const QString shown = text();
    for (qsizetype i = shown.size() - 1; i >= 0; --i) {
        const QChar c = shown.at(i);
        if (IsSegmentChar(c)) {
            x -= slot();
            lamps.lit.addPath(digit(SegmentsOf(c), x));
            lamps.unlit.addPath(digit(AllSegments, x));
            ++digits;
        } else if (c == QLatin1Char('.') || c == QLatin1Char(',')) {
            x -= height_ * DotSlot;
            lamps.lit.addPath(dot(x, c == QLatin1Char(',')));
        } else {
            x -= metrics.horizontalAdvance(c) + height_ * Spacing / 3;
            lamps.glyphs.push_back({x, c});
        }
    }
    for (; digits < places_; ++digits) {
        x -= slot();
        lamps.unlit.addPath(digit(AllSegments, x));
    }
    return lamps;
}

// The display's dark window with its thin rim.
void LampNumber::drawWindow(QPainter& p) const
{
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const qreal radius = height_ * 0.16;
    QLinearGradient window(box.topLeft(), box.bottomLeft());
    window.setColorAt(0, QColor(0x02, 0x03, 0x04));
    window.setColorAt(1, QColor(0x08, 0x0a, 0x0d));
    p.setPen(QPen(QColor(0x22, 0x28, 0x31), 1));
    p.setBrush(window);
    p.drawRoundedRect(box, radius, radius);
}

void LampNumber::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    drawWindow(p);
    QFont face = font();
    face.setPixelSize(qMax(1, qRound(height_ * 0.72)));
    face.setBold(true);
    const QFontMetricsF metrics(face);
    const Lamps lamps = this->lamps(metrics);

    // Right-aligned, squeezed to fit when the figure outgrows its places.
    const qreal room = width() - 2 * padding();
    const qreal squeeze = -lamps.left > room ? room / -lamps.left : 1.0;
    p.translate(width() - padding() + height_ * Spacing * squeeze, (height() - height_) / 2);
    p.scale(squeeze, 1.0);
    QColor faint = lamp_;
    faint.setAlphaF(0.09);
    p.fillPath(lamps.unlit, faint);
    QColor glow = lamp_;
    glow.setAlphaF(0.35);
    p.setPen(QPen(glow, height_ * Thickness * 0.55, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(lamps.lit);
    QLinearGradient shine(0, 0, 0, height_);
    shine.setColorAt(0, lamp_.lighter(135));
    shine.setColorAt(0.5, lamp_);
    shine.setColorAt(1, lamp_.darker(115));
    p.fillPath(lamps.lit, shine);
    p.setFont(face);
    p.setPen(lamp_);
    for (const Glyph& glyph : lamps.glyphs)
        p.drawText(QPointF(glyph.left, height_ - metrics.descent() * 0.3), QString(glyph.c));
}

// ---------------------------------------------------------------- row headings

RowHeading::RowHeading(QColor lamp, QWidget* parent)
    : QLabel(parent)
    , lamp_(lamp)
{
}

void RowHeading::setZoom(double zoom)
{
    zoom_ = zoom;
    setContentsMargins(qRound(11 * zoom), 0, 0, 0);
}

void RowHeading::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal width = 3.5 * zoom_, length = height() * 0.7;
    const QRectF bar(zoom_, (height() - length) / 2, width, length);
    QLinearGradient shine(bar.topLeft(), bar.bottomLeft());
    shine.setColorAt(0, lamp_.lighter(130));
    shine.setColorAt(1, lamp_.darker(120));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    p.drawRoundedRect(bar, width / 2, width / 2);
}

} // namespace ui
