// SPDX-License-Identifier: MIT
#include "ui/SlumpGraph.h"

#include "ui/Fonts.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <limits>

namespace ui {

namespace {

const QColor PanelTop(0x0d, 0x11, 0x17);
const QColor PanelBottom(0x05, 0x07, 0x0a);
const QColor PanelEdge(0x30, 0x38, 0x43);
const QColor PlotBack(0x03, 0x05, 0x08);
const QColor GridMajor(0x1f, 0x29, 0x34);
const QColor GridMinor(0x11, 0x17, 0x1e);
const QColor ZeroLine(0xf4, 0xf7, 0xfa);
const QColor AxisText(0x8f, 0x9a, 0xa7);
const QColor TitleText(0xdc, 0xe2, 0xea);
const QColor JackpotRed(0xff, 0x26, 0x26);
const QColor JackpotGold(0xff, 0xd2, 0x4a);

constexpr int MaxBalanceTicks = 5;
constexpr int MaxSpinTicks = 6;
constexpr qint64 LeastSpinSpan = 50;
constexpr qint64 LeastBalanceSpan = 100;

qint64 FloorTo(qint64 value, qint64 step)
{
    qint64 q = value / step;
    if (value % step != 0 && value < 0)
        --q;
    return q * step;
}

qint64 CeilTo(qint64 value, qint64 step)
{
    return -FloorTo(-value, step);
}

// An axis: its ends, both multiples of its tick step.
struct Axis {
    qint64 low = 0, high = 1, step = 1;
    qint64 span() const { return high - low; }
};

// The balance axis takes in zero and every balance, with at least one
// tick's room on either side of the zero line.
Axis BalanceAxis(qint64 low, qint64 high)
{
    low = std::min<qint64>(low, 0);
    high = std::max<qint64>(high, 0);
    Axis axis;
    axis.step = TickStep(std::max(high - low, LeastBalanceSpan), MaxBalanceTicks);
    axis.low = std::min(FloorTo(low, axis.step), -axis.step);
    axis.high = std::max(CeilTo(high, axis.step), axis.step);
    return axis;
}

Axis SpinAxis(qint64 spins)
{
    Axis axis;
    axis.step = TickStep(std::max(spins, LeastSpinSpan), MaxSpinTicks);
    axis.high = CeilTo(std::max(spins, LeastSpinSpan), axis.step);
    return axis;
}

// Data to pixels: spins across, dollars up.
struct Scale {
    QRectF plot;
    Axis spins, balance;
    qreal x(qreal spin) const { return plot.left() + spin * plot.width() / spins.span(); }
    qreal y(qreal dollars) const
    {
        return plot.bottom() - (dollars - balance.low) * plot.height() / balance.span();
    }
    QPointF at(QPointF data) const { return {x(data.x()), y(data.y())}; }
};

void DrawPanel(QPainter& p, const QRectF& box, qreal radius)
{
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0, PanelTop);
    fill.setColorAt(1, PanelBottom);
    p.setPen(QPen(PanelEdge, 1));
    p.setBrush(fill);
    p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

// A one-pixel line lies on the pixel centres, so it stays sharp.
qreal Crisp(qreal coordinate)
{
    return std::floor(coordinate) + 0.5;
}

// Major lines at the ticks, fainter ones halfway between.
void DrawGrid(QPainter& p, const Scale& scale)
{
    const QRectF& plot = scale.plot;
    const QPen major(GridMajor, 0), minor(GridMinor, 0);
    for (qint64 half = 1; scale.spins.step * half < 2 * scale.spins.span(); ++half) {
        p.setPen(half % 2 ? minor : major);
        const qreal x = Crisp(scale.x(qreal(scale.spins.step) * half / 2));
        p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    }
    for (qint64 half = 1; scale.balance.step * half < 2 * scale.balance.span(); ++half) {
        p.setPen(half % 2 ? minor : major);
        const qreal y = Crisp(scale.y(qreal(scale.balance.low) + qreal(scale.balance.step) * half / 2));
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    }
    p.setPen(QPen(PanelEdge, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(Crisp(plot.left()), Crisp(plot.top()), std::floor(plot.width()), std::floor(plot.height())));
}

// Dollars at the left of the plot, spins under it.
void DrawAxisLabels(QPainter& p, const Scale& scale, const QRectF& box, qreal unit)
{
    const QFontMetricsF metrics(p.font());
    const qreal lineHeight = metrics.height();
    p.setPen(AxisText);
    for (qint64 v = scale.balance.low; v <= scale.balance.high; v += scale.balance.step) {
        const QRectF label(box.left(), scale.y(qreal(v)) - lineHeight / 2, scale.plot.left() - unit * 6 - box.left(),
                           lineHeight);
        p.drawText(label, Qt::AlignRight | Qt::AlignVCenter, SignedGroupedDigits(v));
    }
    for (qint64 spin = 0; spin <= scale.spins.high; spin += scale.spins.step) {
        const QString text = GroupedDigits(spin);
        const qreal width = metrics.horizontalAdvance(text);
        const qreal left = std::clamp(scale.x(qreal(spin)) - width / 2, box.left() + unit * 4,
                                      box.right() - unit * 6 - width);
        p.drawText(QRectF(left, scale.plot.bottom() + unit * 3, width + 1, lineHeight), Qt::AlignLeft, text);
    }
}

void DrawJackpotDot(QPainter& p, QPointF at, qreal radius, qreal unit)
{
    QRadialGradient lamp(at - QPointF(radius, radius) * 0.35, radius * 1.3);
    lamp.setColorAt(0, QColor(0xff, 0xf0, 0xc8));
    lamp.setColorAt(0.4, JackpotRed);
    lamp.setColorAt(1, JackpotRed.darker(170));
    p.setPen(QPen(JackpotGold, unit * 1.1));
    p.setBrush(lamp);
    p.drawEllipse(at, radius, radius);
}

// A line that turns up and down in every pixel column goes to the painter
// as the band those columns cover, from each column's lowest to its highest
// balance: one plain outline, where the line itself would be thousands of
// overlapping turns, far slower to fill.
QPolygonF ColumnBand(const QPolygonF& points, double spinsPerColumn)
{
    QPolygonF tops, bottoms;
    qint64 column = -1;
    for (const QPointF& point : points) {
        const auto at = qint64(point.x() / spinsPerColumn);
        if (at != column) {
            column = at;
            tops << point;
            bottoms << point;
        }
        tops.last().setY(std::max(tops.last().y(), point.y()));
        bottoms.last().setY(std::min(bottoms.last().y(), point.y()));
    }
    for (auto it = bottoms.crbegin(); it != bottoms.crend(); ++it)
        tops << *it;
    return tops;
}

void DrawLine(QPainter& p, const Scale& scale, const GraphLine& line, double spinsPerColumn, qreal unit)
{
    const bool dense = spinsPerColumn > 1.0;
    QPolygonF points = DecimatedLine(line.points, spinsPerColumn);
    if (dense)
        points = ColumnBand(points, spinsPerColumn);
    for (QPointF& point : points)
        point = scale.at(point);
    auto draw = [&](const QPen& pen) {
        p.setPen(pen);
        p.setBrush(dense ? QBrush(pen.color()) : QBrush());
        if (dense)
            p.drawPolygon(points);
        else
            p.drawPolyline(points);
    };
    if (line.bold) {
        QColor glow = line.colour;
        glow.setAlpha(60);
        draw(QPen(glow, unit * 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }
    draw(QPen(line.colour, unit * (line.bold ? 2.4 : 1.5), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));

    // Dots that would cover the one before are left out.
    const qreal radius = unit * (line.bold ? 3.2 : 2.3);
    QPointF lastDot(-1e9, -1e9);
    for (const game::SlumpPoint& mark : line.marks) {
        const QPointF at = scale.at(QPointF(qreal(mark.spin), qreal(mark.balance)));
        if (QLineF(at, lastDot).length() < radius)
            continue;
        DrawJackpotDot(p, at, radius, unit);
        lastDot = at;
    }
}

// The legend at the right of the title row, the line drawn on top first;
// lines beyond its room are summed up by an ellipsis.
void DrawLegend(QPainter& p, const QVector<GraphLine>& lines, const QRectF& row, qreal unit)
{
    const QFontMetricsF metrics(p.font());
    const qreal swatch = unit * 16, gap = unit * 5, spacing = unit * 12;
    const QString more = QStringLiteral("…");
    qreal total = 0;
    qsizetype shown = 0;
    for (auto it = lines.crbegin(); it != lines.crend(); ++it, ++shown) {
        const qreal width = swatch + gap + metrics.horizontalAdvance(it->name) + (shown ? spacing : 0);
        const qreal reserve = (shown + 1 < lines.size()) ? spacing + metrics.horizontalAdvance(more) : 0;
        if (total + width + reserve > row.width())
            break;
        total += width;
    }
    if (shown < lines.size())
        total += spacing + metrics.horizontalAdvance(more);
    qreal x = row.right() - total;
    const qreal middle = row.center().y();
    for (qsizetype i = 0; i < shown; ++i) {
        const GraphLine& line = lines[lines.size() - 1 - i];
        p.setPen(QPen(line.colour, unit * (line.bold ? 3 : 2), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(x + unit * 1.5, middle), QPointF(x + swatch - unit * 1.5, middle));
        x += swatch + gap;
        p.setPen(AxisText);
        const qreal width = metrics.horizontalAdvance(line.name);
        p.drawText(QRectF(x, row.top(), width + 1, row.height()), Qt::AlignLeft | Qt::AlignVCenter, line.name);
        x += width + spacing;
    }
    if (shown < lines.size()) {
        p.setPen(AxisText);
        p.drawText(QRectF(x, row.top(), row.right() - x, row.height()), Qt::AlignLeft | Qt::AlignVCenter, more);
    }
}

// The graph's name and its units; the width they take.
qreal DrawTitle(QPainter& p, const QRectF& row, qreal unit)
{
    const QFont plain = p.font();
    QFont bold = plain;
    bold.setBold(true);
    p.setFont(bold);
    p.setPen(TitleText);
    const QString title = SlumpGraph::tr("スランプグラフ");
    p.drawText(row, Qt::AlignLeft | Qt::AlignVCenter, title);
    const qreal titleWidth = QFontMetricsF(bold).horizontalAdvance(title) + unit * 8;
    p.setFont(plain);
    p.setPen(AxisText);
    const QString units = SlumpGraph::tr("収支($)／回転");
    p.drawText(row.adjusted(titleWidth, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, units);
    return titleWidth + QFontMetricsF(plain).horizontalAdvance(units);
}

// The axes take in every spin and balance of every line.
Scale AxesFor(const QVector<GraphLine>& lines)
{
    qint64 spins = 0, low = 0, high = 0;
    for (const GraphLine& line : lines) {
        spins = std::max(spins, line.spins);
        for (const game::SlumpPoint& point : line.points) {
            low = std::min(low, point.balance);
            high = std::max(high, point.balance);
        }
    }
    Scale scale;
    scale.spins = SpinAxis(spins);
    scale.balance = BalanceAxis(low, high);
    return scale;
}

} // namespace

QString GroupedDigits(qint64 value)
{
    QString digits = QString::number(value < 0 ? -value : value);
    for (qsizetype at = digits.size() - 3; at > 0; at -= 3)
        digits.insert(at, QLatin1Char(','));
    return value < 0 ? QLatin1Char('-') + digits : digits;
}

QString SignedGroupedDigits(qint64 value)
{
    return value > 0 ? QLatin1Char('+') + GroupedDigits(value) : GroupedDigits(value);
}

// The line's points may skip spins (a long day read back in blocks): each
// lies in the column of its own spin.
QPolygonF DecimatedLine(const QVector<game::SlumpPoint>& line, double spinsPerColumn)
{
    QPolygonF points;
    const qsizetype count = line.size();
    // With the point before the first spin, which lies in column 0.
    auto at = [&line](qsizetype i) {
        return i == 0 ? QPointF(0, 0) : QPointF(qreal(line[i - 1].spin), qreal(line[i - 1].balance));
    };
    if (spinsPerColumn <= 1.0) {
        points.reserve(count + 1);
        for (qsizetype i = 0; i <= count; ++i)
            points << at(i);
        return points;
    }
    const qreal lastSpin = count ? qreal(line.last().spin) : 0;
    points.reserve(qsizetype(4 * std::min(qreal(count + 1), lastSpin / spinsPerColumn + 2)));
    auto column = [&](qsizetype i) { return qint64(at(i).x() / spinsPerColumn); };
    qsizetype first = 0;
    while (first <= count) {
        const qint64 col = column(first);
        qsizetype last = first, lowest = first, highest = first;
        while (last + 1 <= count && column(last + 1) == col) {
            ++last;
            if (at(last).y() < at(lowest).y())
                lowest = last;
            if (at(last).y() > at(highest).y())
                highest = last;
        }
        qsizetype picks[] = {first, lowest, highest, last};
        std::sort(std::begin(picks), std::end(picks));
        qsizetype previous = -1;
        for (qsizetype i : picks) {
            if (i != previous)
                points << at(i);
            previous = i;
        }
        first = last + 1;
    }
    return points;
}

qint64 TickStep(qint64 span, int maxTicks)
{
    if (span <= 0 || maxTicks <= 0)
        return 1;
    for (qint64 magnitude = 1;; magnitude *= 10) {
        for (qint64 multiple : {1, 2, 5}) {
            const qint64 step = multiple * magnitude;
            if (span <= step * maxTicks)
                return step;
        }
        if (magnitude > std::numeric_limits<qint64>::max() / 100)
            return magnitude * 10;
    }
}

SlumpGraph::SlumpGraph(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("slumpGraph"));
    setZoom(1.0);
}

void SlumpGraph::setLines(QVector<GraphLine> lines)
{
    lines.removeIf([](const GraphLine& line) { return line.points.isEmpty(); });
    lines_ = std::move(lines);
    update();
}

void SlumpGraph::setZoom(double zoom)
{
    zoom_ = zoom;
    QFont font = GameFont();
    font.setPointSizeF(font.pointSizeF() * zoom);
    setFont(font);
    updateGeometry();
    update();
}

QSize SlumpGraph::sizeHint() const
{
    return QSize(qRound(px(520)), qRound(px(200)));
}

QSize SlumpGraph::minimumSizeHint() const
{
    return QSize(qRound(px(260)), qRound(px(140)));
}

void SlumpGraph::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect());
    DrawPanel(p, box, px(6));
    const QFontMetricsF metrics(font());
    const QRectF titleRow(px(12), px(4), box.width() - px(24), metrics.height() + px(8));
    const qreal titleWidth = DrawTitle(p, titleRow, zoom_);

    // The plot lies right of the widest dollar label and above the spins'.
    Scale scale = AxesFor(lines_);
    qreal labelWidth = 0;
    for (qint64 v = scale.balance.low; v <= scale.balance.high; v += scale.balance.step)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(SignedGroupedDigits(v)));
    scale.plot = QRectF(QPointF(px(12) + labelWidth + px(6), titleRow.bottom() + px(4)),
                        QPointF(box.width() - px(14), box.height() - metrics.height() - px(10)));
    if (scale.plot.width() < 8 || scale.plot.height() < 8)
        return;
    p.setPen(Qt::NoPen);
    p.setBrush(PlotBack);
    p.drawRect(scale.plot);
    DrawGrid(p, scale);
    if (lines_.isEmpty()) {
        QFont notice = font();
        notice.setPointSizeF(notice.pointSizeF() * 1.3);
        p.setFont(notice);
        p.setPen(AxisText);
        p.drawText(scale.plot, Qt::AlignCenter, tr("データがありません"));
        return;
    }
    DrawAxisLabels(p, scale, box, zoom_);
    DrawLegend(p, lines_, titleRow.adjusted(titleWidth + px(16), 0, 0, 0), zoom_);

    p.setClipRect(scale.plot.adjusted(-px(4), -px(4), px(4), px(4)));
    // The zero line lies under the lines; each line's jackpot dots over it.
    p.setPen(QPen(ZeroLine, px(1.4)));
    p.drawLine(QPointF(scale.plot.left(), scale.y(0)), QPointF(scale.plot.right(), scale.y(0)));
    const double spinsPerColumn = scale.spins.span() / (scale.plot.width() * devicePixelRatioF());
    for (const GraphLine& line : lines_)
        DrawLine(p, scale, line, spinsPerColumn, zoom_);
}

} // namespace ui
