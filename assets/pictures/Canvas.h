// SPDX-License-Identifier: MIT
// Drawing helpers shared by the picture generators: fonts, text outlines,
// soft shadows and glows, seeded noise, and saving.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

#include <cstdint>

namespace art {

// Latin numerals and words use DejaVu Sans; Japanese text uses the IPA fonts.
inline const QString LatinFamily = QStringLiteral("DejaVu Sans");
inline const QString GothicFamily = QStringLiteral("IPAPGothic");
inline const QString MinchoFamily = QStringLiteral("IPAPMincho");

// A transparent canvas (premultiplied ARGB) of the given size.
QImage canvas(int width, int height, QColor fill = Qt::transparent);

// A painter with anti-aliasing switched on.
void smooth(QPainter& p);

QFont font(const QString& family, int pixelSize, bool bold = false, bool condensed = false);

// The outline of a text, scaled to fit inside box (keeping its proportions
// unless stretch is set) and centred there.
QPainterPath fittedText(const QString& text, const QFont& font, const QRectF& box, bool stretch = false);

// A copy of the image blurred by three box passes (close to a Gaussian).
QImage blurred(const QImage& image, int radius);

// Draws the path filled with colour, blurred, shifted by offset: a soft
// drop shadow (offset) or a glow (no offset). The painter's device must be
// an image; the path, offset and radius are in the painter's coordinates,
// which may be scaled (a picture drawn at several sizes).
void softShadow(QPainter& p, const QPainterPath& path, QPointF offset, int radius, QColor colour);

// A painter's scale: device pixels per unit of its coordinates.
qreal scaleOf(const QPainter& p);

// Strokes the path with a round-joined pen, then fills it: an outlined shape.
void outlined(QPainter& p, const QPainterPath& path, const QBrush& fill, QColor line, qreal width);

// A glossy highlight over the top part of the path: white fading downwards.
void gloss(QPainter& p, const QPainterPath& path, qreal strength = 0.55, qreal depth = 0.5);

// A regular star (or burst) of n points.
QPainterPath star(QPointF centre, qreal outer, qreal inner, int points, qreal rotationDeg = -90);

// A small four-pointed twinkle, for sparkles.
void sparkle(QPainter& p, QPointF centre, qreal size, QColor colour = Qt::white);

// Vertical gradient helper.
QLinearGradient vertical(qreal top, qreal bottom, std::initializer_list<std::pair<qreal, QColor>> stops);

// Seeded gradient noise; the same seed always gives the same field.
class Noise {
public:
    explicit Noise(std::uint32_t seed);
    double at(double x, double y) const; // about -1 .. 1
    double fbm(double x, double y, int octaves) const; // about -1 .. 1
    double turbulence(double x, double y, int octaves) const; // 0 .. about 1

private:
    double gradient(int ix, int iy, double dx, double dy) const;
    std::uint32_t seed_;
};

// Lets the painter draw a picture designed `design` units wide into an image
// `pixels` wide: the same drawing at every size.
void designUnits(QPainter& p, int design, int pixels);

// The image shrunk to size x size by repeated halving (box filtering), for
// pictures drawn large and stored small.
QImage shrink(const QImage& image, int size);

// The image flattened onto an opaque background colour, as 24-bit RGB.
QImage flatten(const QImage& image, QColor background);

// Writes the image; a failure is reported on stderr and returns false. The
// quality is QImage::save's: for PNG, 100 stores the pixels uncompressed.
bool save(const QImage& image, const QString& path, int quality = -1);

// Writes the image as a BMP whose pixels lie as a Qt RGB32 image holds them
// in memory: 32 bits each with the fourth byte 0xFF, rows from the top (a
// negative height). Built into the program, such a picture is drawn from
// where it lies, without decoding (ui/BuiltInBitmap.h). The rows start at
// byte 60: after the 4-byte length rcc puts before a file, 64 bytes into a
// resource of its own.
bool saveTopDownBitmap(const QImage& image, const QString& path);

} // namespace art
