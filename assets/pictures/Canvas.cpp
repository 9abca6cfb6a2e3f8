// SPDX-License-Identifier: MIT
#include "Canvas.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace art {

QImage canvas(int width, int height, QColor fill)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(fill);
    return image;
}

void smooth(QPainter& p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.setRenderHint(QPainter::TextAntialiasing);
}

QFont font(const QString& family, int pixelSize, bool bold, bool condensed)
{
    QFont f(family);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    if (condensed)
        f.setStretch(QFont::Condensed);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

QPainterPath fittedText(const QString& text, const QFont& font, const QRectF& box, bool stretch)
{
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF bounds = path.boundingRect();
    qreal sx = box.width() / bounds.width();
    qreal sy = box.height() / bounds.height();
    if (!stretch)
        sx = sy = std::min(sx, sy);
    QTransform t;
    t.translate(box.center().x(), box.center().y());
    t.scale(sx, sy);
    t.translate(-bounds.center().x(), -bounds.center().y());
    return t.map(path);
}

namespace {

// One box-filter pass over a line of premultiplied pixels (4 channels).
void boxLine(const std::vector<int>& in, std::vector<int>& out, int count, int radius)
{
    const int window = 2 * radius + 1;
    for (int c = 0; c < 4; ++c) {
        int sum = 0;
        for (int i = -radius; i <= radius; ++i)
            sum += in[std::clamp(i, 0, count - 1) * 4 + c];
        for (int i = 0; i < count; ++i) {
            out[i * 4 + c] = sum / window;
            sum += in[std::min(i + radius + 1, count - 1) * 4 + c];
            sum -= in[std::max(i - radius, 0) * 4 + c];
        }
    }
}

void boxPass(QImage& image, int radius, bool horizontal)
{
    const int lines = horizontal ? image.height() : image.width();
    const int count = horizontal ? image.width() : image.height();
    std::vector<int> in(count * 4), out(count * 4);
    for (int l = 0; l < lines; ++l) {
        for (int i = 0; i < count; ++i) {
            const QRgb px = horizontal ? image.pixel(i, l) : image.pixel(l, i);
            in[i * 4] = qAlpha(px);
            in[i * 4 + 1] = qRed(px);
            in[i * 4 + 2] = qGreen(px);
            in[i * 4 + 3] = qBlue(px);
        }
        boxLine(in, out, count, radius);
        for (int i = 0; i < count; ++i) {
            const int a = out[i * 4];
            const QRgb px = qRgba(std::min(out[i * 4 + 1], a), std::min(out[i * 4 + 2], a),
                                  std::min(out[i * 4 + 3], a), a);
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(horizontal ? l : i));
            row[horizontal ? i : l] = px;
        }
    }
}

} // namespace

QImage blurred(const QImage& image, int radius)
{
    QImage result = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (radius <= 0)
        return result;
    // pixel() returns unpremultiplied values; work on the raw premultiplied
    // words instead by reinterpreting the format.
    result.reinterpretAsFormat(QImage::Format_ARGB32);
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(result, radius, true);
        boxPass(result, radius, false);
    }
    result.reinterpretAsFormat(QImage::Format_ARGB32_Premultiplied);
    return result;
}

qreal scaleOf(const QPainter& p)
{
    return std::sqrt(std::abs(p.transform().determinant()));
}

void designUnits(QPainter& p, int design, int pixels)
{
    const qreal scale = qreal(pixels) / design;
    p.scale(scale, scale);
}

void softShadow(QPainter& p, const QPainterPath& path, QPointF offset, int radius, QColor colour)
{
    QImage layer = canvas(p.device()->width(), p.device()->height());
    {
        QPainter lp(&layer);
        smooth(lp);
        lp.setPen(Qt::NoPen);
        lp.setBrush(colour);
        lp.setTransform(p.transform());
        lp.translate(offset);
        lp.drawPath(path);
    }
    p.save();
    p.resetTransform();
    p.drawImage(0, 0, blurred(layer, qRound(radius * scaleOf(p))));
    p.restore();
}

void outlined(QPainter& p, const QPainterPath& path, const QBrush& fill, QColor line, qreal width)
{
    p.save();
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(line, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(path);
    p.restore();
}

void gloss(QPainter& p, const QPainterPath& path, qreal strength, qreal depth)
{
    const QRectF r = path.boundingRect();
    QLinearGradient g(r.topLeft(), QPointF(r.left(), r.top() + r.height() * depth));
    g.setColorAt(0, QColor(255, 255, 255, int(255 * strength)));
    g.setColorAt(1, QColor(255, 255, 255, 0));
    p.save();
    p.setClipPath(path, Qt::IntersectClip);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawRect(QRectF(r.left(), r.top(), r.width(), r.height() * depth));
    p.restore();
}

QPainterPath star(QPointF centre, qreal outer, qreal inner, int points, qreal rotationDeg)
{
    QPainterPath path;
    for (int i = 0; i < points * 2; ++i) {
        const qreal angle = (rotationDeg + 180.0 * i / points) * M_PI / 180.0;
        const qreal r = i % 2 ? inner : outer;
        const QPointF pt(centre.x() + r * std::cos(angle), centre.y() + r * std::sin(angle));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

void sparkle(QPainter& p, QPointF centre, qreal size, QColor colour)
{
    p.save();
    QRadialGradient halo(centre, size);
    QColor soft = colour;
    soft.setAlpha(110);
    halo.setColorAt(0, soft);
    halo.setColorAt(1, QColor(colour.red(), colour.green(), colour.blue(), 0));
    p.setPen(Qt::NoPen);
    p.setBrush(halo);
    p.drawEllipse(centre, size, size);
    p.setBrush(colour);
    p.drawPath(star(centre, size, size * 0.18, 4));
    p.restore();
}

QLinearGradient vertical(qreal top, qreal bottom, std::initializer_list<std::pair<qreal, QColor>> stops)
{
    QLinearGradient g(0, top, 0, bottom);
    for (const auto& [at, colour] : stops)
        g.setColorAt(at, colour);
    return g;
}

// ---------------------------------------------------------------- noise

Noise::Noise(std::uint32_t seed)
    : seed_(seed)
{
}

double Noise::gradient(int ix, int iy, double dx, double dy) const
{
    std::uint32_t h = seed_ ^ (std::uint32_t(ix) * 0x27d4eb2dU) ^ (std::uint32_t(iy) * 0x165667b1U);
    h ^= h >> 15;
    h *= 0x85ebca6bU;
    h ^= h >> 13;
    h *= 0xc2b2ae35U;
    h ^= h >> 16;
    const double angle = (h & 0xffff) * (2.0 * M_PI / 65536.0);
    return std::cos(angle) * dx + std::sin(angle) * dy;
}

double Noise::at(double x, double y) const
{
    const int x0 = int(std::floor(x));
    const int y0 = int(std::floor(y));
    const double fx = x - x0;
    const double fy = y - y0;
    auto fade = [](double t) { return t * t * t * (t * (t * 6 - 15) + 10); };
    const double u = fade(fx);
    const double v = fade(fy);
    const double a = gradient(x0, y0, fx, fy);
    const double b = gradient(x0 + 1, y0, fx - 1, fy);
    const double c = gradient(x0, y0 + 1, fx, fy - 1);
    const double d = gradient(x0 + 1, y0 + 1, fx - 1, fy - 1);
    const double top = a + (b - a) * u;
    const double bottom = c + (d - c) * u;
    return 1.4 * (top + (bottom - top) * v);
}

double Noise::fbm(double x, double y, int octaves) const
{
    double sum = 0, amplitude = 0.5, norm = 0, frequency = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * at(x * frequency + i * 17.3, y * frequency - i * 9.1);
        norm += amplitude;
        amplitude *= 0.5;
        frequency *= 2.0;
    }
    return sum / norm;
}

double Noise::turbulence(double x, double y, int octaves) const
{
    double sum = 0, amplitude = 0.5, norm = 0, frequency = 1;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * std::abs(at(x * frequency + i * 31.7, y * frequency + i * 11.9));
        norm += amplitude;
        amplitude *= 0.5;
        frequency *= 2.0;
    }
    return sum / norm;
}

// ---------------------------------------------------------------- output

QImage shrink(const QImage& image, int size)
{
    QImage result = image;
    while (result.width() >= size * 2 && result.height() >= size * 2)
        result = result.scaled(result.width() / 2, result.height() / 2, Qt::IgnoreAspectRatio,
                               Qt::SmoothTransformation);
    if (result.width() != size || result.height() != size)
        result = result.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return result;
}

QImage flatten(const QImage& image, QColor background)
{
    QImage result(image.size(), QImage::Format_RGB32);
    result.fill(background);
    QPainter p(&result);
    p.drawImage(0, 0, image);
    p.end();
    return result.convertToFormat(QImage::Format_RGB888);
}

bool save(const QImage& image, const QString& path, int quality)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    const bool ok = image.save(path, nullptr, quality);
    if (!ok)
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return ok;
}

bool saveTopDownBitmap(const QImage& image, const QString& path)
{
    constexpr int PixelOffset = 60; // the 54 bytes of headers, then 6 of padding
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    const int rowBytes = pixels.width() * 4;
    QByteArray file(PixelOffset + qsizetype(rowBytes) * pixels.height(), '\0');
    uchar* at = reinterpret_cast<uchar*>(file.data());
    // BITMAPFILEHEADER, then BITMAPINFOHEADER: uncompressed (BI_RGB), one
    // plane, 96 dpi, a negative height for rows stored top down.
    at[0] = 'B';
    at[1] = 'M';
    qToLittleEndian<quint32>(quint32(file.size()), at + 2);
    qToLittleEndian<quint32>(PixelOffset, at + 10);
    qToLittleEndian<quint32>(40, at + 14);
    qToLittleEndian<qint32>(pixels.width(), at + 18);
    qToLittleEndian<qint32>(-pixels.height(), at + 22);
    qToLittleEndian<quint16>(1, at + 26);
    qToLittleEndian<quint16>(32, at + 28);
    qToLittleEndian<quint32>(quint32(rowBytes) * quint32(pixels.height()), at + 34);
    qToLittleEndian<qint32>(3780, at + 38);
    qToLittleEndian<qint32>(3780, at + 42);
    for (int y = 0; y < pixels.height(); ++y)
        std::memcpy(at + PixelOffset + qsizetype(y) * rowBytes, pixels.constScanLine(y), rowBytes);

    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile out(path);
    const bool ok = out.open(QIODevice::WriteOnly) && out.write(file) == file.size() && out.flush();
    if (!ok)
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return ok;
}

} // namespace art
