// SPDX-License-Identifier: MIT
// The cover cards (face down, 当 and はずれ), drawn at twice their size and
// shrunk, and the "no target chosen" picture of the target box; each at any
// size.
#include "Canvas.h"
#include "Pictures.h"

#include <cmath>

namespace art {

namespace {

constexpr int Card = 144; // design size; the classic card is stored at 72 x 72
const QPointF CardCentre(Card / 2.0, Card / 2.0);
const QRectF Panel(11, 11, Card - 22, Card - 22);

// The bevelled metal frame shared by all three cards; returns the panel's
// shape, already filled with panelFill.
QPainterPath cardFrame(QPainter& p, QColor light, QColor dark, const QBrush& panelFill)
{
    QLinearGradient metal(0, 0, Card, Card);
    metal.setColorAt(0, light.lighter(125));
    metal.setColorAt(0.45, light);
    metal.setColorAt(1, dark);
    p.fillRect(QRect(0, 0, Card, Card), metal);
    // The raised edge: light top-left, dark bottom-right lines.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 170), 3));
    p.drawLine(QPointF(1.5, Card - 2), QPointF(1.5, 1.5));
    p.drawLine(QPointF(1.5, 1.5), QPointF(Card - 2, 1.5));
    p.setPen(QPen(QColor(0, 0, 0, 110), 3));
    p.drawLine(QPointF(Card - 1.5, 2), QPointF(Card - 1.5, Card - 1.5));
    p.drawLine(QPointF(Card - 1.5, Card - 1.5), QPointF(2, Card - 1.5));

    QPainterPath panel;
    panel.addRoundedRect(Panel, 12, 12);
    // A sunken lip around the panel.
    p.setPen(QPen(QColor(255, 255, 255, 150), 2.5));
    p.drawPath(panel.translated(1.2, 1.2));
    p.setPen(QPen(dark.darker(170), 2.5));
    p.setBrush(panelFill);
    p.drawPath(panel);
    return panel;
}

// A card is drawn at twice the size it is stored at, then shrunk.
QImage cardCanvas(int pixels)
{
    return canvas(2 * pixels, 2 * pixels);
}

void cardUnits(QPainter& p, int pixels)
{
    smooth(p);
    designUnits(p, Card, 2 * pixels);
}

QImage finishCard(QImage& image, int pixels)
{
    return flatten(shrink(image, pixels), Qt::white);
}

void cornerStars(QPainter& p, QColor colour)
{
    const qreal in = 24;
    for (QPointF c : {QPointF(in, in), QPointF(Card - in, in), QPointF(in, Card - in), QPointF(Card - in, Card - in)})
        p.fillPath(star(c, 7, 2.4, 4), colour);
}

} // namespace

QImage coverCard(int pixels)
{
    QImage image = cardCanvas(pixels);
    QPainter p(&image);
    cardUnits(p, pixels);
    QLinearGradient blue(0, Panel.top(), 0, Panel.bottom());
    blue.setColorAt(0, QColor(50, 100, 215));
    blue.setColorAt(1, QColor(12, 28, 100));
    const QPainterPath panel = cardFrame(p, QColor(235, 190, 60), QColor(150, 95, 0), blue);

    // A fine diamond lattice on the panel.
    p.save();
    p.setClipPath(panel);
    p.setPen(QPen(QColor(150, 190, 255, 70), 2));
    for (int k = -Card; k < 2 * Card; k += 18) {
        p.drawLine(QPointF(k, 0), QPointF(k + Card, Card));
        p.drawLine(QPointF(k, Card), QPointF(k + Card, 0));
    }
    p.setPen(QPen(QColor(255, 215, 100, 160), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(Panel.adjusted(6, 6, -6, -6), 8, 8);
    p.restore();
    cornerStars(p, QColor(255, 215, 100));

    // The gold medallion with a question mark.
    QPainterPath medal;
    medal.addEllipse(CardCentre, 38, 38);
    softShadow(p, medal, QPointF(0, 4), 5, QColor(0, 0, 30, 170));
    QRadialGradient gold(CardCentre + QPointF(-12, -14), 52);
    gold.setColorAt(0, QColor(255, 250, 200));
    gold.setColorAt(0.5, QColor(250, 200, 60));
    gold.setColorAt(1, QColor(180, 115, 0));
    p.setPen(QPen(QColor(120, 70, 0), 2.5));
    p.setBrush(gold);
    p.drawPath(medal);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(170, 110, 10), 2));
    p.drawEllipse(CardCentre, 31, 31);
    const QPainterPath mark =
        fittedText(QStringLiteral("?"), font(LatinFamily, 90, true), QRectF(52, 42, 40, 60));
    outlined(p, mark, vertical(42, 102, {{0, QColor(40, 80, 200)}, {1, QColor(10, 25, 100)}}),
             QColor(255, 250, 220), 5);
    gloss(p, medal, 0.45, 0.45);
    p.end();
    return finishCard(image, pixels);
}

QImage hitCard(int pixels)
{
    QImage image = cardCanvas(pixels);
    QPainter p(&image);
    cardUnits(p, pixels);
    QRadialGradient red(CardCentre, 80);
    red.setColorAt(0, QColor(255, 90, 60));
    red.setColorAt(0.6, QColor(220, 20, 20));
    red.setColorAt(1, QColor(140, 0, 10));
    const QPainterPath panel = cardFrame(p, QColor(255, 210, 70), QColor(170, 100, 0), red);

    // Festive rays from the centre.
    p.save();
    p.setClipPath(panel);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 16; i += 2) {
        QPainterPath ray;
        ray.moveTo(CardCentre);
        for (int k : {i, i + 1}) {
            const qreal a = (k * 22.5 - 90) * M_PI / 180;
            ray.lineTo(CardCentre + QPointF(std::cos(a), std::sin(a)) * 120);
        }
        ray.closeSubpath();
        p.setBrush(QColor(255, 200, 40, 70));
        p.drawPath(ray);
    }
    p.restore();

    const QPainterPath kanji =
        fittedText(QStringLiteral("当"), font(MinchoFamily, 110), QRectF(22, 20, 100, 104));
    softShadow(p, kanji, QPointF(0, 0), 7, QColor(255, 240, 120, 255));
    softShadow(p, kanji, QPointF(2, 5), 3, QColor(60, 0, 0, 200));
    const QLinearGradient gold = vertical(20, 124, {{0, QColor(255, 255, 225)}, {0.45, QColor(255, 215, 50)},
                                                    {1, QColor(215, 125, 0)}});
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(110, 0, 0), 12, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(kanji);
    p.setPen(QPen(QBrush(gold), 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(gold);
    p.drawPath(kanji);
    sparkle(p, QPointF(28, 30), 11);
    sparkle(p, QPointF(116, 112), 10);
    sparkle(p, QPointF(118, 30), 6);
    p.end();
    return finishCard(image, pixels);
}

QImage missCard(int pixels)
{
    QImage image = cardCanvas(pixels);
    QPainter p(&image);
    cardUnits(p, pixels);
    const QLinearGradient slate =
        vertical(Panel.top(), Panel.bottom(), {{0, QColor(176, 186, 200)}, {1, QColor(118, 130, 150)}});
    cardFrame(p, QColor(190, 196, 205), QColor(100, 108, 122), slate);

    // A faded cross behind the word.
    p.setPen(QPen(QColor(255, 255, 255, 60), 14, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(38, 38), QPointF(106, 106));
    p.drawLine(QPointF(106, 38), QPointF(38, 106));

    const QPainterPath word =
        fittedText(QStringLiteral("はずれ"), font(GothicFamily, 60, true), QRectF(17, 46, 110, 52));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(235, 240, 248, 170));
    p.drawPath(word.translated(1.8, 2.2));
    p.setPen(QPen(QColor(45, 52, 68), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(vertical(46, 98, {{0, QColor(80, 90, 110)}, {1, QColor(45, 52, 68)}}));
    p.drawPath(word);
    p.end();
    return finishCard(image, pixels);
}

QImage noTarget(int pixels)
{
    const int size = 114;
    const QPointF centre(size / 2.0, size / 2.0 + 2);
    QImage image = canvas(pixels, pixels);
    QPainter p(&image);
    smooth(p);
    designUnits(p, size, pixels);
    reelStrip(p);

    // A faded bullseye: nothing aimed at yet.
    p.setPen(QPen(QColor(150, 70, 70, 120), 1.5));
    for (int ring = 5; ring >= 1; --ring) {
        p.setBrush(ring % 2 ? QColor(215, 80, 80, 150) : QColor(255, 255, 255, 220));
        p.drawEllipse(centre, ring * 10.0, ring * 10.0);
    }
    p.setPen(QPen(QColor(120, 60, 60, 110), 1.5));
    p.drawLine(QPointF(centre.x(), centre.y() - 54), QPointF(centre.x(), centre.y() + 54));
    p.drawLine(QPointF(centre.x() - 54, centre.y()), QPointF(centre.x() + 54, centre.y()));

    const QPainterPath mark =
        fittedText(QStringLiteral("?"), font(LatinFamily, 90, true), QRectF(36, 24, 44, 70));
    softShadow(p, mark, QPointF(2, 4), 3, QColor(0, 0, 0, 140));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(10, 30, 90), 11, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(mark);
    p.setPen(QPen(Qt::white, 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(mark);
    p.setPen(Qt::NoPen);
    p.setBrush(vertical(24, 94, {{0, QColor(90, 150, 255)}, {1, QColor(20, 50, 170)}}));
    p.drawPath(mark);
    gloss(p, mark, 0.5, 0.45);

    // The 狙 seal in the corner.
    const QRectF seal(4, 4, 34, 34);
    QPainterPath stamp;
    stamp.addRoundedRect(seal, 6, 6);
    softShadow(p, stamp, QPointF(1, 2), 2, QColor(0, 0, 0, 120));
    p.setPen(QPen(QColor(120, 0, 0), 1.5));
    p.setBrush(vertical(seal.top(), seal.bottom(), {{0, QColor(240, 60, 50)}, {1, QColor(170, 10, 10)}}));
    p.drawPath(stamp);
    const QPainterPath kanji = fittedText(QStringLiteral("狙"), font(GothicFamily, 40, true), seal.adjusted(5, 5, -5, -5));
    p.setPen(QPen(Qt::white, 1.2));
    p.setBrush(Qt::white);
    p.drawPath(kanji);
    p.end();
    return flatten(image, Qt::white);
}

} // namespace art
