// SPDX-License-Identifier: MIT
#include "ui/Pictures.h"

#include "ui/BuiltInBitmap.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPixmapCache>

#include <algorithm>
#include <array>
#include <cmath>

// The window's pictures live in the ui library's resources, which a static
// library has to register by hand (outside any namespace).
static void RegisterWindowPictures()
{
    Q_INIT_RESOURCE(window_pictures);
}

namespace ui {

namespace {

struct CachedPicture {
    QPixmap pixmap;
    QDateTime modified;
    qint64 size = -1;
};

QHash<QString, CachedPicture>& pictureCache()
{
    static QHash<QString, CachedPicture> cache;
    return cache;
}

bool cachingEnabled = true;

// Decodes a picture file. The file's extension names its format, so Qt's
// built-in reader decodes it without loading and asking every image plugin;
// a file whose contents do not match its extension is still read, by content.
// A bitmap built in as the painter reads pixels is not decoded at all: its
// image lies over the program's own bytes (the background, 609 KiB).
QImage decodePicture(const QString& path)
{
    if (QImage view = BuiltInBitmap(path); !view.isNull())
        return view;
    QImageReader byName(path, QFileInfo(path).suffix().toLower().toLatin1());
    byName.setAutoDetectImageFormat(false);
    QImage image = byName.read();
    if (image.isNull())
        image = QImageReader(path).read();
    return image;
}

// Pictures are kept in the format the raster painter blends fastest: a 24-bit
// bitmap drawn as it loads would be converted again on every paint.
QPixmap readPicture(const QString& path)
{
    const QImage image = decodePicture(path);
    if (image.isNull())
        return QPixmap();
    const QImage::Format native =
        image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32;
    return QPixmap::fromImage(image.convertToFormat(native));
}

// Stretching a picture with smoothing on every paint is costly (Qt may even
// hand it to worker threads), and the reels repaint nine boxes every tick. So
// each picture is scaled once per box size and device pixel ratio and kept
// in QPixmapCache, shared by the boxes that show it; painting then only
// copies pixels. A picture as large as a background in a maximized window
// would push every reel face out of that cache: it is scaled for its one
// user alone, which keeps it (ShownPicture).
QPixmap StretchedPicture(const QPixmap& source, QSize size, qreal dpr)
{
    const QSize target = (QSizeF(size) * dpr).toSize();
    if (source.size() == target)
        return source;
    const qint64 kilobytes = qint64(target.width()) * target.height() * 4 / 1024;
    if (kilobytes > QPixmapCache::cacheLimit() / 8) {
        QPixmap scaled = source.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        scaled.setDevicePixelRatio(dpr);
        return scaled;
    }
    const QString key = QStringLiteral("ui-stretched/%1/%2x%3")
                            .arg(source.cacheKey())
                            .arg(target.width())
                            .arg(target.height());
    QPixmap scaled;
    if (!QPixmapCache::find(key, &scaled)) {
        scaled = source.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        QPixmapCache::insert(key, scaled);
    }
    scaled.setDevicePixelRatio(dpr);
    return scaled;
}

// What a box shows for a picture that cannot be read: a grey card with a
// dark edge, crossed out, drawn once per scale (64 x 64 at 1x, stretched to
// the box like any picture).
QPixmap StandInPicture(int scale)
{
    static std::array<QPixmap, 5> drawn; // by scale, 1 to 4
    QPixmap& standIn = drawn[std::size_t(scale)];
    if (standIn.isNull()) {
        const int side = 64 * scale;
        QImage image(side, side, QImage::Format_RGB32);
        image.fill(QColor(200, 200, 200));
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        const qreal edge = 3.0 * scale;
        painter.setPen(QPen(QColor(96, 96, 96), edge));
        painter.drawRect(QRectF(edge / 2, edge / 2, side - edge, side - edge));
        painter.setPen(QPen(QColor(176, 48, 48), 4.0 * scale, Qt::SolidLine, Qt::RoundCap));
        const qreal in = 14.0 * scale;
        painter.drawLine(QPointF(in, in), QPointF(side - in, side - in));
        painter.drawLine(QPointF(side - in, in), QPointF(in, side - in));
        painter.end();
        standIn = QPixmap::fromImage(image);
        standIn.setDevicePixelRatio(scale);
    }
    return standIn;
}

} // namespace

// ---------------------------------------------------------------- PictureFiles

QPixmap PictureFiles::load(const QString& path)
{
    if (!cachingEnabled)
        return readPicture(path);
    auto& cache = pictureCache();
    if (path.startsWith(QLatin1Char(':'))) {
        auto it = cache.constFind(path);
        if (it == cache.constEnd())
            it = cache.insert(path, CachedPicture{readPicture(path), {}, -1});
        return it->pixmap;
    }
    const QFileInfo info(path);
    if (!info.isFile()) {
        cache.remove(path);
        return QPixmap();
    }
    const QDateTime modified = info.lastModified();
    const qint64 size = info.size();
    auto it = cache.find(path);
    if (it != cache.end() && it->modified == modified && it->size == size)
        return it->pixmap;
    CachedPicture entry{readPicture(path), modified, size};
    cache.insert(path, entry);
    return entry.pixmap;
}

int PictureScale(qreal devicePixelRatio, double zoom)
{
    // A hair's tolerance, so that 1.5 x 2 stays 3 whatever the rounding.
    return std::clamp(int(std::ceil(devicePixelRatio * zoom - 1e-6)), 1, 4);
}

QString PictureFiles::scaledPath(const QString& path, int scale)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    const qsizetype nameEnd = dot > slash ? dot : path.size();
    return path.left(slash + 1) + QStringLiteral("@%1x/").arg(scale) + path.mid(slash + 1, nameEnd - slash - 1)
           + QStringLiteral(".png");
}

QPixmap PictureFiles::load(const QString& path, int scale)
{
    if (scale > 1) {
        const QString file = scaledPath(path, scale);
        QPixmap scaled = load(file);
        if (!scaled.isNull() && scaled.devicePixelRatio() != scale) {
            // Setting the ratio copies the picture: the kept picture takes it
            // once, so that every box shares that copy, and its cache key for
            // the stretched picture, instead of making its own on every change.
            scaled.setDevicePixelRatio(scale);
            if (auto it = pictureCache().find(file); it != pictureCache().end())
                it->pixmap = scaled;
        }
        if (!scaled.isNull())
            return scaled;
    }
    return load(path);
}

void PictureFiles::setCaching(bool enabled)
{
    cachingEnabled = enabled;
    pictureCache().clear();
}

void PictureFiles::clear() { pictureCache().clear(); }

QStringList ProgramPictures()
{
    QStringList pictures;
    for (int symbol = 0; symbol <= 9; ++symbol)
        pictures << QStringLiteral("R0%1.BMP").arg(symbol);
    pictures << QStringLiteral("COVER.BMP") << QStringLiteral("ATARI.BMP") << QStringLiteral("HAZURE.BMP")
             << QStringLiteral("BAI01.BMP") << QStringLiteral("CHIE.BMP") << QStringLiteral("KURABE.BMP");
    return pictures;
}

QString WindowPicture(const QString& name)
{
    static const bool registered = (RegisterWindowPictures(), true);
    Q_UNUSED(registered);
    return QStringLiteral(":/window/") + name;
}

// ---------------------------------------------------------------- ShownPicture

void ShownPicture::setSource(const QString& path)
{
    source_ = path;
    pixmap_ = QPixmap();
    stretched_ = QPixmap();
    scale_ = 0;
}

const QPixmap& ShownPicture::pixmap(qreal devicePixelRatio, double zoom)
{
    const int scale = PictureScale(devicePixelRatio, zoom);
    if (scale != scale_) {
        scale_ = scale;
        stretched_ = QPixmap();
        pixmap_ = source_.isEmpty() ? QPixmap() : PictureFiles::load(source_, scale);
        if (pixmap_.isNull() && !source_.isEmpty())
            pixmap_ = StandInPicture(scale);
    }
    return pixmap_;
}

void ShownPicture::draw(QPainter& painter, const QRect& target, bool stretch, qreal devicePixelRatio, double zoom)
{
    const QPixmap& picture = pixmap(devicePixelRatio, zoom);
    if (picture.isNull())
        return;
    const QRect shown =
        stretch ? target : QRect(target.topLeft(), (picture.deviceIndependentSize() * zoom).toSize());
    // The picture as last stretched is kept for the next paint at that size.
    if (stretched_.isNull() || stretchedSize_ != shown.size() || stretchedRatio_ != devicePixelRatio) {
        stretched_ = StretchedPicture(picture, shown.size(), devicePixelRatio);
        stretchedSize_ = shown.size();
        stretchedRatio_ = devicePixelRatio;
    }
    painter.drawPixmap(shown, stretched_);
}

} // namespace ui
