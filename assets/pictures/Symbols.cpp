// SPDX-License-Identifier: MIT
// The ten reel symbols, designed 114 x 114 and drawn at any size, each on a
// stretch of ivory reel strip.
// 0 is the gold 10000$ coin; 3, 5 and 7 have their own showpiece styles;
// the other numerals sit on glossy coloured tiles.
#include "Canvas.h"
#include "Pictures.h"

#include <cmath>

namespace art {

namespace {

constexpr int Size = 114;
const QPointF Centre(Size / 2.0, Size / 2.0);

} // namespace

void reelStrip(QPainter& p)
{
    p.fillRect(QRect(0, 0, Size, Size),
               vertical(0, Size, {{0, QColor(214, 207, 192)}, {0.18, QColor(246, 242, 232)},
                                  {0.5, QColor(255, 253, 246)}, {0.82, QColor(246, 242, 232)},
                                  {1, QColor(214, 207, 192)}}));
    p.fillRect(QRect(0, 0, Size, 1), QColor(170, 160, 140));
    p.fillRect(QRect(0, Size - 1, Size, 1), QColor(170, 160, 140));
}

namespace {

QPainterPath numeralPath(const QString& digit, const QRectF& box, qreal shear = 0)
{
    QPainterPath path = fittedText(digit, font(LatinFamily, 120, true), box);
    if (shear != 0) {
        QTransform t;
        t.translate(box.center().x(), box.center().y());
        t.shear(shear, 0);
        t.translate(-box.center().x(), -box.center().y());
        path = t.map(path);
    }
    return path;
}

// A showpiece numeral: dark outer rim, light inner rim, gradient fill, gloss.
void showNumeral(QPainter& p, const QPainterPath& path, const QBrush& fill, QColor innerRim, QColor outerRim,
                 qreal rim = 6)
{
    softShadow(p, path, QPointF(2, 4), 4, QColor(0, 0, 0, 140));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(outerRim, rim * 2 + 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(innerRim, rim * 2 - 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(QPen(outerRim.darker(120), 1.5));
    p.setBrush(fill);
    p.drawPath(path);
    gloss(p, path, 0.6, 0.45);
}

// 1, 2, 4, 6, 8, 9: a big white numeral on a glossy coloured tile.
void tileSymbol(QPainter& p, int n, QColor colour)
{
    const QRectF tile(11, 9, 92, 96);
    QPainterPath shape;
    shape.addRoundedRect(tile, 16, 16);
    softShadow(p, shape, QPointF(0, 3), 4, QColor(60, 40, 0, 120));
    p.setPen(QPen(colour.darker(230), 2.5));
    p.setBrush(vertical(tile.top(), tile.bottom(),
                        {{0, colour.lighter(150)}, {0.45, colour}, {1, colour.darker(165)}}));
    p.drawPath(shape);
    // Bevel: a light rim along the top and a dark one along the bottom.
    QPainterPath inner;
    inner.addRoundedRect(tile.adjusted(4, 4, -4, -4), 12, 12);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(vertical(tile.top(), tile.bottom(),
                                  {{0, QColor(255, 255, 255, 170)}, {0.5, QColor(255, 255, 255, 0)},
                                   {1, QColor(0, 0, 0, 70)}})),
                  2.5));
    p.drawPath(inner);

    const QPainterPath digit = numeralPath(QString::number(n), tile.adjusted(16, 12, -16, -12));
    softShadow(p, digit, QPointF(2, 4), 3, QColor(0, 0, 0, 150));
    outlined(p, digit,
             vertical(tile.top(), tile.bottom(), {{0, Qt::white}, {0.6, QColor(250, 250, 250)},
                                                  {1, QColor(215, 222, 232)}}),
             colour.darker(260), 7);
    // A glassy sheen over the upper half of the tile.
    QPainterPath sheen;
    sheen.addEllipse(QRectF(tile.left() - 20, tile.top() - 62, tile.width() + 40, 108));
    p.save();
    p.setClipPath(shape);
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(tile.top(), tile.top() + 46,
                        {{0, QColor(255, 255, 255, 120)}, {1, QColor(255, 255, 255, 25)}}));
    p.drawPath(sheen);
    p.restore();
}

// 3: an electric-blue numeral on a yellow starburst.
void threeSymbol(QPainter& p)
{
    const QPainterPath burst = star(Centre, 54, 39, 12, -90);
    QRadialGradient fill(Centre, 54);
    fill.setColorAt(0, QColor(255, 255, 200));
    fill.setColorAt(0.55, QColor(255, 226, 60));
    fill.setColorAt(1, QColor(255, 165, 0));
    p.setPen(QPen(QColor(225, 120, 0), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(fill);
    p.drawPath(burst);
    const QPainterPath digit = numeralPath(QStringLiteral("3"), QRectF(27, 13, 60, 88));
    showNumeral(p, digit,
                vertical(13, 101, {{0, QColor(150, 235, 255)}, {0.45, QColor(0, 140, 245)},
                                   {1, QColor(0, 45, 160)}}),
                Qt::white, QColor(0, 30, 110));
    sparkle(p, QPointF(93, 22), 9);
    sparkle(p, QPointF(20, 92), 7);
}

// 5: a magenta numeral inside a rainbow ring.
void fiveSymbol(QPainter& p)
{
    QConicalGradient rainbow(Centre, 90);
    const QColor hues[] = {QColor(255, 40, 40), QColor(255, 150, 0), QColor(255, 230, 0), QColor(40, 200, 60),
                           QColor(0, 170, 255), QColor(110, 60, 230), QColor(230, 40, 200), QColor(255, 40, 40)};
    for (int i = 0; i < 8; ++i)
        rainbow.setColorAt(i / 7.0, hues[i]);
    p.setPen(QPen(QColor(90, 40, 90), 2));
    p.setBrush(rainbow);
    p.drawEllipse(Centre, 52, 52);
    QRadialGradient face(Centre + QPointF(-10, -14), 50);
    face.setColorAt(0, Qt::white);
    face.setColorAt(1, QColor(236, 226, 250));
    p.setPen(QPen(QColor(255, 255, 255, 200), 2));
    p.setBrush(face);
    p.drawEllipse(Centre, 40, 40);
    const QPainterPath digit = numeralPath(QStringLiteral("5"), QRectF(28, 13, 58, 88));
    showNumeral(p, digit,
                vertical(13, 101, {{0, QColor(255, 150, 235)}, {0.45, QColor(225, 20, 170)},
                                   {1, QColor(120, 0, 110)}}),
                Qt::white, QColor(80, 0, 75));
    sparkle(p, QPointF(95, 18), 8);
}

// One tongue of flame rising from base, leaning sideways at the tip.
QPainterPath flame(QPointF base, qreal width, qreal height, qreal lean)
{
    QPainterPath path;
    const QPointF tip(base.x() + lean, base.y() - height);
    path.moveTo(base.x() - width / 2, base.y());
    path.cubicTo(base.x() - width * 0.7, base.y() - height * 0.45, tip.x() - width * 0.35,
                 tip.y() + height * 0.35, tip.x(), tip.y());
    path.cubicTo(tip.x() + width * 0.1, tip.y() + height * 0.4, base.x() + width * 0.75,
                 base.y() - height * 0.35, base.x() + width / 2, base.y());
    path.quadTo(base.x(), base.y() + width * 0.35, base.x() - width / 2, base.y());
    return path;
}

void flames(QPainter& p, qreal scale, const QColor& bottom, const QColor& top)
{
    const struct {
        qreal x, width, height, lean;
    } tongues[] = {{22, 30, 70, -10}, {42, 34, 96, -4}, {60, 36, 108, 6}, {80, 32, 88, 12}, {96, 26, 64, 14}};
    p.setPen(Qt::NoPen);
    for (const auto& t : tongues) {
        const QPainterPath path =
            flame(QPointF(t.x, 104), t.width * scale, t.height * scale, t.lean * scale);
        p.setBrush(vertical(104 - t.height * scale, 104, {{0, top}, {1, bottom}}));
        p.drawPath(path);
    }
}

// 7: the classic red seven in flames.
void sevenSymbol(QPainter& p)
{
    flames(p, 1.0, QColor(255, 120, 0), QColor(230, 30, 0, 40));
    flames(p, 0.72, QColor(255, 235, 80), QColor(255, 140, 0, 60));
    const QPainterPath digit = numeralPath(QStringLiteral("7"), QRectF(26, 10, 64, 92), -0.18);
    showNumeral(p, digit,
                vertical(10, 102, {{0, QColor(255, 120, 100)}, {0.35, QColor(240, 10, 10)},
                                   {1, QColor(130, 0, 0)}}),
                Qt::white, QColor(90, 0, 0), 6.5);
    sparkle(p, QPointF(88, 20), 9, QColor(255, 250, 210));
}

// 0: the premium 10000$ symbol, a ridged gold coin under a red ribbon.
void jackpotSymbol(QPainter& p)
{
    QPainterPath coin;
    coin.addEllipse(Centre, 52, 52);
    softShadow(p, coin, QPointF(0, 3), 4, QColor(80, 50, 0, 150));
    QLinearGradient rim(QPointF(10, 5), QPointF(104, 109));
    rim.setColorAt(0, QColor(255, 244, 170));
    rim.setColorAt(0.5, QColor(222, 160, 20));
    rim.setColorAt(1, QColor(140, 85, 0));
    p.setPen(QPen(QColor(110, 65, 0), 2));
    p.setBrush(rim);
    p.drawPath(coin);
    // The milled edge.
    p.setPen(QPen(QColor(150, 95, 0, 170), 1.6));
    for (int i = 0; i < 72; ++i) {
        const qreal a = i * 2 * M_PI / 72;
        p.drawLine(Centre + QPointF(std::cos(a), std::sin(a)) * 45,
                   Centre + QPointF(std::cos(a), std::sin(a)) * 50.5);
    }
    QRadialGradient face(Centre + QPointF(-14, -16), 60);
    face.setColorAt(0, QColor(255, 248, 190));
    face.setColorAt(0.5, QColor(250, 200, 50));
    face.setColorAt(1, QColor(200, 130, 10));
    p.setPen(QPen(QColor(255, 240, 160), 1.5));
    p.setBrush(face);
    p.drawEllipse(Centre, 43, 43);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(170, 110, 0, 180), 1.5));
    p.drawEllipse(Centre, 38, 38);
    // An embossed dollar sign in the face.
    const QPainterPath dollar = fittedText(QStringLiteral("$"), font(LatinFamily, 80, true), QRectF(35, 17, 44, 80));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 225, 150));
    p.drawPath(dollar.translated(-1.2, -1.2));
    p.setBrush(QColor(160, 100, 0, 150));
    p.drawPath(dollar.translated(1.2, 1.2));
    p.setBrush(QColor(236, 176, 30));
    p.drawPath(dollar);

    // The ribbon across the coin, with forked ends.
    const qreal top = 41, bottom = 75;
    QPainterPath ribbon;
    ribbon.moveTo(0, top + 3);
    ribbon.lineTo(Size, top + 3);
    ribbon.lineTo(Size - 7, (top + bottom) / 2 + 1);
    ribbon.lineTo(Size, bottom - 1);
    ribbon.lineTo(0, bottom - 1);
    ribbon.lineTo(7, (top + bottom) / 2 + 1);
    ribbon.closeSubpath();
    QPainterPath band;
    band.addRoundedRect(QRectF(8, top, Size - 16, bottom - top), 4, 4);
    softShadow(p, band, QPointF(0, 3), 3, QColor(60, 0, 0, 150));
    p.setPen(QPen(QColor(100, 0, 0), 1.5));
    p.setBrush(QColor(165, 10, 20));
    p.drawPath(ribbon);
    p.setBrush(vertical(top, bottom, {{0, QColor(255, 80, 70)}, {0.5, QColor(215, 10, 20)},
                                      {1, QColor(140, 0, 10)}}));
    p.setPen(QPen(QColor(255, 215, 90), 2));
    p.drawPath(band);
    const QPainterPath amount = fittedText(QStringLiteral("10000$"), font(LatinFamily, 60, true, true),
                                           QRectF(13, top + 5, Size - 26, bottom - top - 10));
    outlined(p, amount,
             vertical(top + 5, bottom - 5, {{0, Qt::white}, {0.5, QColor(255, 246, 180)},
                                            {1, QColor(255, 205, 60)}}),
             QColor(90, 0, 0), 3.5);
    gloss(p, band, 0.35, 0.5);
    sparkle(p, QPointF(22, 18), 9);
    sparkle(p, QPointF(95, 95), 8);
    sparkle(p, QPointF(96, 24), 5);
}

QColor tileColour(int n)
{
    switch (n) {
    case 1: return QColor(0, 160, 150); // teal
    case 2: return QColor(40, 175, 50); // green
    case 4: return QColor(245, 125, 0); // orange
    case 6: return QColor(30, 120, 230); // blue
    case 8: return QColor(235, 60, 130); // pink
    default: return QColor(120, 60, 200); // violet (9)
    }
}

} // namespace

QImage symbol(int n, int pixels)
{
    QImage image = canvas(pixels, pixels);
    QPainter p(&image);
    smooth(p);
    designUnits(p, Size, pixels);
    reelStrip(p);
    switch (n) {
    case 0: jackpotSymbol(p); break;
    case 3: threeSymbol(p); break;
    case 5: fiveSymbol(p); break;
    case 7: sevenSymbol(p); break;
    default: tileSymbol(p, n, tileColour(n)); break;
    }
    p.end();
    return image;
}

} // namespace art
