// SPDX-License-Identifier: MIT
#include "ui/BuiltInBitmap.h"

#include <QResource>
#include <QString>
#include <QtEndian>

namespace ui {

namespace {

// The parts of a BMP file's headers that say how its pixels lie.
struct BitmapLayout {
    qint64 pixelOffset = 0; // where the pixel rows start in the file
    qint64 width = 0;
    qint64 height = 0;      // negative: the rows run top down
    int bitsPerPixel = 0;
    quint32 compression = 0;
};

constexpr qint64 FileHeaderSize = 14;
constexpr qint64 InfoHeaderSize = 40;
constexpr quint32 PlainRgb = 0; // BI_RGB: the pixels as they are

bool ReadLayout(const uchar* file, qint64 size, BitmapLayout& layout)
{
    if (size < FileHeaderSize + InfoHeaderSize || file[0] != 'B' || file[1] != 'M')
        return false;
    if (qFromLittleEndian<quint32>(file + 14) < InfoHeaderSize || qFromLittleEndian<quint16>(file + 26) != 1)
        return false;
    layout.pixelOffset = qFromLittleEndian<quint32>(file + 10);
    layout.width = qFromLittleEndian<qint32>(file + 18);
    layout.height = qFromLittleEndian<qint32>(file + 22);
    layout.bitsPerPixel = qFromLittleEndian<quint16>(file + 28);
    layout.compression = qFromLittleEndian<quint32>(file + 30);
    return true;
}

// Every pixel's fourth byte must be 0xFF: drawn as RGB32, anything else
// would reach the window as see-through pixels.
bool Opaque(const uchar* pixels, qint64 count)
{
    const auto* words = reinterpret_cast<const quint32*>(pixels);
    for (qint64 i = 0; i < count; ++i) {
        if ((words[i] & 0xFF000000u) != 0xFF000000u)
            return false;
    }
    return true;
}

} // namespace

QImage BuiltInBitmap(const QString& resourcePath)
{
    const QResource resource(resourcePath);
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression)
        return QImage();
    const uchar* file = resource.data();
    BitmapLayout layout;
    if (!file || !ReadLayout(file, resource.size(), layout))
        return QImage();
    const qint64 width = layout.width;
    const qint64 height = -layout.height;
    const qint64 bytesPerLine = width * 4;
    if (layout.bitsPerPixel != 32 || layout.compression != PlainRgb || width <= 0 || height <= 0
        || layout.pixelOffset < FileHeaderSize + InfoHeaderSize || layout.pixelOffset > resource.size()
        || height > (resource.size() - layout.pixelOffset) / bytesPerLine)
        return QImage();
    const uchar* pixels = file + layout.pixelOffset;
    // Qt reads 32-bit pixels as whole words: they must start on a word.
    if (reinterpret_cast<quintptr>(pixels) % alignof(quint32) != 0 || !Opaque(pixels, width * height))
        return QImage();
    return QImage(pixels, int(width), int(height), bytesPerLine, QImage::Format_RGB32);
}

} // namespace ui
