// SPDX-License-Identifier: MIT
// Buttons and icons: the Start picture, the STOP icon, the window icon and
// the two emblems of the battle-of-wits dialogs.
#include "Canvas.h"
#include "Pictures.h"

#include <algorithm>
#include <cmath>

namespace art {

namespace {

// The grey of a dialog's face, behind the emblems' rounded corners.
const QColor DialogFace(240, 240, 240);

QPainterPath roundedSquare(const QRectF& r, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

// A square badge with a bevelled rim, for the dialog emblems (256 x 256).
void badge(QPainter& p, QColor top, QColor bottom, QColor rim)
{
    const QPainterPath shape = roundedSquare(QRectF(10, 10, 236, 236), 44);
    p.setPen(QPen(rim.darker(160), 6));
    p.setBrush(vertical(10, 246, {{0, top}, {1, bottom}}));
    p.drawPath(shape);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QBrush(vertical(10, 246, {{0, rim.lighter(150)}, {1, rim.darker(130)}})), 8));
    p.drawPath(roundedSquare(QRectF(20, 20, 216, 216), 36));
    gloss(p, shape, 0.25, 0.45);
}

// The STOP icon and the emblems are drawn at their design size, or at twice
// the size they are stored at if that is larger, and then shrunk.
int oversampled(int design, int pixels)
{
    return std::max(design, 2 * pixels);
}

} // namespace

QImage startButton(int scale)
{
    const QColor key(128, 255, 128), button(0, 255, 0);
    const int width = 48 * scale, height = 32 * scale;
    const QPainterPath word =
        fittedText(QStringLiteral("Start"), font(LatinFamily, 30, true), QRectF(3, 7, 42, 18));
    const QPainterPath glint = word.translated(-0.8, -0.8);

    // The lettering as it looks on the button's green: deep green letters
    // with a yellow glint along their upper left edges. Neither blends with
    // the green into anything near the key colour.
    QImage art = canvas(width, height, button);
    QPainter p(&art);
    smooth(p);
    p.scale(scale, scale);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 60));
    p.drawPath(glint);
    p.setBrush(vertical(7, 25, {{0, QColor(0, 95, 0)}, {1, QColor(0, 40, 0)}}));
    p.drawPath(word);
    p.end();

    // ...and how much of each pixel the lettering covers.
    QImage cover = canvas(width, height);
    QPainter m(&cover);
    smooth(m);
    m.scale(scale, scale);
    m.setPen(Qt::NoPen);
    m.setBrush(Qt::white);
    m.drawPath(glint);
    m.drawPath(word);
    m.end();

    // Pixels are either exactly the key colour or clearly lettering, so the
    // button's mask leaves no pale fringe.
    QImage result(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            result.setPixelColor(x, y, qAlpha(cover.pixel(x, y)) >= 110 ? art.pixelColor(x, y) : key);
    return result;
}

QImage stopButton(int pixels)
{
    const int size = 128;
    const QPointF centre(size / 2.0, size / 2.0);
    auto octagon = [&](qreal flatHalfWidth) {
        const qreal r = flatHalfWidth / std::cos(M_PI / 8);
        QPainterPath path;
        for (int i = 0; i < 8; ++i) {
            const qreal a = M_PI / 8 + i * M_PI / 4;
            const QPointF pt = centre + QPointF(std::cos(a), std::sin(a)) * r;
            i == 0 ? path.moveTo(pt) : path.lineTo(pt);
        }
        path.closeSubpath();
        return path;
    };
    const int drawn = oversampled(size, pixels);
    QImage image = canvas(drawn, drawn);
    QPainter p(&image);
    smooth(p);
    designUnits(p, size, drawn);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(110, 0, 0));
    p.drawPath(octagon(63));
    p.setBrush(vertical(0, size, {{0, Qt::white}, {1, QColor(215, 215, 220)}}));
    p.drawPath(octagon(59));
    const QPainterPath face = octagon(50);
    p.setBrush(vertical(14, 114, {{0, QColor(255, 90, 70)}, {0.5, QColor(225, 10, 10)}, {1, QColor(150, 0, 0)}}));
    p.drawPath(face);
    const QPainterPath word =
        fittedText(QStringLiteral("STOP"), font(LatinFamily, 60, true, true), QRectF(23, 45, 82, 38));
    p.setBrush(QColor(90, 0, 0, 200));
    p.drawPath(word.translated(2, 3));
    p.setBrush(Qt::white);
    p.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(word);
    gloss(p, face, 0.4, 0.42);
    p.end();
    return shrink(image, pixels);
}

QImage windowIcon(int size)
{
    QImage image = canvas(256, 256);
    QPainter p(&image);
    smooth(p);

    // Cabinet.
    const QPainterPath body = roundedSquare(QRectF(22, 58, 182, 186), 28);
    softShadow(p, body, QPointF(4, 6), 7, QColor(0, 0, 0, 120));
    p.setPen(QPen(QColor(120, 40, 0), 5));
    p.setBrush(vertical(58, 244, {{0, QColor(255, 190, 80)}, {0.4, QColor(255, 128, 0)}, {1, QColor(185, 65, 0)}}));
    p.drawPath(body);
    gloss(p, body, 0.35, 0.3);

    // Teal marquee with lamps.
    const QPainterPath marquee = roundedSquare(QRectF(36, 14, 154, 52), 20);
    p.setPen(QPen(QColor(0, 70, 70), 5));
    p.setBrush(vertical(14, 66, {{0, QColor(70, 220, 205)}, {1, QColor(0, 120, 120)}}));
    p.drawPath(marquee);
    for (int i = 0; i < 5; ++i) {
        const QPointF c(58 + i * 27.5, 40);
        QRadialGradient lamp(c + QPointF(-3, -3), 11);
        lamp.setColorAt(0, QColor(255, 255, 220));
        lamp.setColorAt(1, QColor(255, 200, 0));
        p.setPen(QPen(QColor(150, 90, 0), 2));
        p.setBrush(lamp);
        p.drawEllipse(c, 9, 9);
    }

    // Reel window with three sevens; the smallest icons show one big seven
    // instead, which still reads at 16 pixels.
    const QRectF window(38, 86, 150, 112);
    p.setPen(QPen(QColor(0, 50, 55), 5));
    p.setBrush(vertical(window.top(), window.bottom(), {{0, QColor(0, 70, 75)}, {1, QColor(0, 110, 115)}}));
    p.drawPath(roundedSquare(window, 14));
    const bool single = size <= 24;
    for (int i = 0; i < (single ? 1 : 3); ++i) {
        const QRectF reel = single ? QRectF(50, 96, 126, 92) : QRectF(48 + i * 45, 96, 40, 92);
        p.setPen(Qt::NoPen);
        p.setBrush(vertical(reel.top(), reel.bottom(), {{0, QColor(170, 165, 150)}, {0.3, QColor(255, 253, 245)},
                                                        {0.7, QColor(255, 253, 245)}, {1, QColor(170, 165, 150)}}));
        p.drawRoundedRect(reel, 5, 5);
        const qreal inset = single ? 6 : 18;
        QPainterPath seven =
            fittedText(QStringLiteral("7"), font(LatinFamily, 80, true), reel.adjusted(5, inset, -5, -inset));
        outlined(p, seven,
                 vertical(reel.top() + inset, reel.bottom() - inset, {{0, QColor(255, 80, 60)}, {1, QColor(160, 0, 0)}}),
                 QColor(90, 0, 0), single ? 10 : 4);
    }
    p.setPen(QPen(QColor(255, 60, 40, 200), 3));
    p.drawLine(QPointF(42, 142), QPointF(184, 142));

    // Coin tray.
    p.setPen(QPen(QColor(80, 25, 0), 3));
    p.setBrush(vertical(210, 232, {{0, QColor(60, 30, 10)}, {1, QColor(130, 60, 10)}}));
    p.drawPath(roundedSquare(QRectF(58, 210, 110, 20), 8));

    // Lever.
    p.setPen(QPen(QColor(70, 70, 80), 2));
    p.setBrush(vertical(150, 196, {{0, QColor(200, 205, 215)}, {1, QColor(110, 115, 125)}}));
    p.drawPath(roundedSquare(QRectF(198, 150, 22, 46), 6));
    QLinearGradient chrome(0, 0, 14, 0);
    chrome.setColorAt(0, QColor(150, 155, 165));
    chrome.setColorAt(0.4, Qt::white);
    chrome.setColorAt(1, QColor(110, 115, 125));
    p.setPen(QPen(QColor(70, 70, 80), 2));
    p.save();
    p.translate(222, 64);
    p.rotate(-8);
    chrome.setStart(-6, 0);
    chrome.setFinalStop(6, 0);
    p.setBrush(chrome);
    p.drawRoundedRect(QRectF(-6, 0, 12, 104), 5, 5);
    p.restore();
    QRadialGradient ball(QPointF(214, 50), 26);
    ball.setColorAt(0, QColor(255, 170, 160));
    ball.setColorAt(0.4, QColor(230, 20, 20));
    ball.setColorAt(1, QColor(120, 0, 0));
    p.setPen(QPen(QColor(90, 0, 0), 3));
    p.setBrush(ball);
    p.drawEllipse(QPointF(222, 58), 20, 20);
    p.end();
    return size == 256 ? image : shrink(image, size);
}

QImage wisdomIcon(int pixels)
{
    const int drawn = oversampled(256, pixels);
    QImage image = canvas(drawn, drawn);
    QPainter p(&image);
    smooth(p);
    designUnits(p, 256, drawn);
    badge(p, QColor(50, 90, 190), QColor(15, 25, 85), QColor(120, 150, 220));

    // The glass of the light bulb: a globe tapering into its neck.
    const QPointF globe(128, 104);
    QPainterPath bulb;
    bulb.addEllipse(globe, 62, 62);
    QPainterPath neck;
    neck.moveTo(88, 146);
    neck.cubicTo(100, 160, 100, 170, 100, 182);
    neck.lineTo(156, 182);
    neck.cubicTo(156, 170, 156, 160, 168, 146);
    neck.closeSubpath();
    bulb = bulb.united(neck);
    softShadow(p, bulb, QPointF(0, 0), 18, QColor(255, 240, 120, 255));
    QRadialGradient glass(globe + QPointF(-16, -20), 90);
    glass.setColorAt(0, QColor(255, 255, 235));
    glass.setColorAt(0.45, QColor(255, 230, 80));
    glass.setColorAt(1, QColor(240, 160, 0));
    p.setPen(QPen(QColor(170, 100, 0), 4));
    p.setBrush(glass);
    p.drawPath(bulb);
    // Rays.
    p.setPen(QPen(QColor(255, 240, 150), 7, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 7; ++i) {
        const qreal a = (-180 + i * 30) * M_PI / 180;
        const QPointF d(std::cos(a), std::sin(a));
        p.drawLine(globe + d * 76, globe + d * 94);
    }
    // The screw base.
    for (int i = 0; i < 3; ++i) {
        const QRectF band(98, 184 + i * 13, 60, 12);
        p.setPen(QPen(QColor(70, 75, 85), 2));
        p.setBrush(vertical(band.top(), band.bottom(), {{0, QColor(235, 238, 245)}, {1, QColor(130, 135, 150)}}));
        p.drawRoundedRect(band, 5, 5);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(50, 50, 60));
    p.drawChord(QRectF(112, 212, 32, 24), 180 * 16, 180 * 16);

    const QPainterPath mark =
        fittedText(QStringLiteral("?"), font(LatinFamily, 100, true), QRectF(104, 58, 48, 86));
    outlined(p, mark, vertical(58, 144, {{0, QColor(220, 90, 0)}, {1, QColor(150, 40, 0)}}),
             QColor(255, 255, 230), 6);
    gloss(p, bulb, 0.5, 0.4);
    p.end();
    return flatten(shrink(image, pixels), DialogFace);
}

namespace {

// A sword pointing up, its hilt at the bottom, centred on the origin.
void sword(QPainter& p)
{
    QPainterPath blade;
    blade.moveTo(-13, 36);
    blade.lineTo(-13, -92);
    blade.lineTo(0, -116);
    blade.lineTo(13, -92);
    blade.lineTo(13, 36);
    blade.closeSubpath();
    QLinearGradient steel(-13, 0, 13, 0);
    steel.setColorAt(0, QColor(250, 252, 255));
    steel.setColorAt(0.5, QColor(205, 212, 225));
    steel.setColorAt(0.51, QColor(150, 160, 178));
    steel.setColorAt(1, QColor(110, 118, 135));
    p.setPen(QPen(QColor(40, 45, 60), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(steel);
    p.drawPath(blade);
    const QLinearGradient gold =
        vertical(-10, 10, {{0, QColor(255, 240, 150)}, {0.5, QColor(235, 170, 20)}, {1, QColor(150, 90, 0)}});
    p.setPen(QPen(QColor(90, 50, 0), 3));
    p.setBrush(QLinearGradient(gold));
    p.drawRoundedRect(QRectF(-34, 34, 68, 14), 6, 6);
    p.setBrush(QColor(110, 50, 20));
    p.drawRoundedRect(QRectF(-8, 48, 16, 38), 4, 4);
    p.setPen(QPen(QColor(200, 140, 80), 2));
    for (int y = 54; y < 86; y += 8)
        p.drawLine(QPointF(-7, y), QPointF(7, y + 4));
    QRadialGradient pommel(QPointF(-4, 92), 14);
    pommel.setColorAt(0, QColor(255, 245, 180));
    pommel.setColorAt(1, QColor(190, 120, 0));
    p.setPen(QPen(QColor(90, 50, 0), 3));
    p.setBrush(pommel);
    p.drawEllipse(QPointF(0, 96), 11, 11);
}

} // namespace

QImage contestIcon(int pixels)
{
    const int drawn = oversampled(256, pixels);
    QImage image = canvas(drawn, drawn);
    QPainter p(&image);
    smooth(p);
    designUnits(p, 256, drawn);
    badge(p, QColor(200, 40, 40), QColor(90, 0, 10), QColor(230, 180, 60));
    for (int side : {-1, 1}) {
        p.save();
        p.translate(128, 122);
        p.rotate(side * 42);
        p.scale(0.92, 0.92);
        p.translate(0, 12); // the blades cross a third of the way up
        sword(p);
        p.restore();
    }
    // The clash: a spark where the blades meet.
    const QPainterPath spark = star(QPointF(128, 122), 24, 7, 8, -90);
    softShadow(p, spark, QPointF(0, 0), 8, QColor(255, 240, 120, 230));
    p.setPen(QPen(QColor(200, 120, 0), 2));
    QRadialGradient hot(QPointF(128, 122), 24);
    hot.setColorAt(0, Qt::white);
    hot.setColorAt(1, QColor(255, 200, 40));
    p.setBrush(hot);
    p.drawPath(spark);
    p.end();
    return flatten(shrink(image, pixels), DialogFace);
}

} // namespace art
