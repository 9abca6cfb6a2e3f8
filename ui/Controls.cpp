// SPDX-License-Identifier: MIT
#include "ui/Controls.h"

#include "platform/Runtime.h"
#include "ui/Fonts.h"

#include <QAction>
#include <QBitmap>
#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cmath>

// The window's pictures live in the ui library's resources, which a static
// library has to register by hand (outside any namespace).
static void RegisterWindowPictures()
{
    Q_INIT_RESOURCE(window_pictures);
}

namespace ui {

QColor ToQColor(long bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

namespace {

// A line `pixels` wide at 1x, in whole pixels at the zoom: at least one.
int ZoomedLine(int pixels, double zoom)
{
    return std::max(1, int(pixels * zoom + 0.5));
}

} // namespace

// ---------------------------------------------------------------- TwipsPlace

void TwipsPlace::place(QWidget* widget, int left, int top, int width, int height)
{
    twips_ = QRect(left, top, width, height);
    widget->setGeometry(rt::TwipsRect(left, top, width, height, zoom_));
}

void TwipsPlace::setZoom(QWidget* widget, double zoom)
{
    zoom_ = zoom;
    widget->setGeometry(rt::TwipsRect(twips_.x(), twips_.y(), twips_.width(), twips_.height(), zoom));
}

// ---------------------------------------------------------------- Label

namespace {

// A label whose bold text stays bold in a zoomed window: text too large for
// the synthetic bold of the IPA fonts is drawn from its outline, thickened
// as that bold would be.
class LabelBox : public QLabel {
public:
    using QLabel::QLabel;
    QColor textColour;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        if (!LosesSyntheticBold(font(), devicePixelRatioF())) {
            QLabel::paintEvent(event);
            return;
        }
        QFrame::paintEvent(event); // background and border
        const QFontMetricsF metrics(font());
        const QStringList lines = text().split(QLatin1Char('\n'));
        // The thickened outline stays inside the contents, which is all a
        // new text repaints.
        const qreal pen = SyntheticBoldWidth(QFontInfo(font()).pixelSize());
        const QRectF box = QRectF(contentsRect()).adjusted(pen / 2, pen / 2, -pen / 2, -pen / 2);
        const Qt::Alignment align = alignment();
        const qreal height = metrics.height() * lines.size();
        qreal top = box.top();
        if (align & Qt::AlignBottom)
            top = box.bottom() - height;
        else if (align & Qt::AlignVCenter)
            top = box.center().y() - height / 2;
        QPainterPath outline;
        for (const QString& line : lines) {
            const qreal width = metrics.horizontalAdvance(line);
            qreal left = box.left();
            if (align & Qt::AlignRight)
                left = box.right() - width;
            else if (align & Qt::AlignHCenter)
                left = box.center().x() - width / 2;
            outline.addText(left, top + metrics.ascent(), font(), line);
            top += metrics.height();
        }
        QPainter painter(this);
        painter.setClipRect(contentsRect());
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(textColour, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setBrush(textColour);
        painter.drawPath(outline);
    }
};

} // namespace

void Label::create(QWidget* parent, int left, int top, int width, int height)
{
    label_ = new LabelBox(parent);
    place_.place(label_, left, top, width, height);
    label_->setTextFormat(Qt::PlainText);
    restyle();
}

void Label::setZoom(double zoom)
{
    place_.setZoom(label_, zoom);
    applyFont();
    restyle();
}

void Label::setCaption(const QString& text) { label_->setText(text); }
QString Label::caption() const { return label_->text(); }
void Label::setVisible(bool visible) { label_->setVisible(visible); }
bool Label::visible() const { return !label_->isHidden(); }
void Label::setAlignment(Qt::Alignment alignment) { label_->setAlignment(alignment); }
void Label::setWordWrap(bool wrap) { label_->setWordWrap(wrap); }
void Label::setToolTip(const QString& tip) { label_->setToolTip(tip); }

void Label::setFont(FontStyle style)
{
    font_ = style;
    applyFont();
}

void Label::applyFont()
{
    if (font_.points <= 0) {
        // The window's font, scaled with it.
        QFont font = label_->parentWidget()->font();
        if (place_.zoom() != 1.0)
            font.setPointSizeF(font.pointSizeF() * place_.zoom());
        label_->setFont(place_.zoom() != 1.0 ? font : QFont());
        return;
    }
    QFont font = label_->font();
    font.setPointSizeF(font_.points * place_.zoom());
    font.setBold(font_.bold);
    font.setItalic(font_.italic);
    label_->setFont(font);
}

void Label::setForeColor(long bgr)
{
    fore_ = bgr;
    restyle();
}

void Label::setBackColor(long bgr)
{
    back_ = bgr;
    restyle();
}

void Label::setBorder(bool fixedSingle)
{
    border_ = fixedSingle;
    restyle();
}

void Label::restyle()
{
    static_cast<LabelBox*>(label_)->textColour = ToQColor(fore_);
    QString style = QStringLiteral("QLabel { color: %1; ").arg(ToQColor(fore_).name());
    style += back_ < 0 ? QStringLiteral("background: transparent; ")
                       : QStringLiteral("background: %1; ").arg(ToQColor(back_).name());
    if (border_)
        style += QStringLiteral("border-top: %1px solid #808080; border-left: %1px solid #808080; "
                                "border-bottom: %1px solid #ffffff; border-right: %1px solid #ffffff; "
                                "padding-right: %2px; ")
                     .arg(ZoomedLine(1, place_.zoom()))
                     .arg(ZoomedLine(2, place_.zoom()));
    style += QStringLiteral("}");
    label_->setStyleSheet(style);
}

// ---------------------------------------------------------------- pictures

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
QImage decodePicture(const QString& path)
{
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

} // namespace

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
        QPixmap scaled = load(scaledPath(path, scale));
        if (!scaled.isNull()) {
            scaled.setDevicePixelRatio(scale);
            return scaled;
        }
    }
    return load(path);
}

void PictureFiles::setCaching(bool enabled)
{
    cachingEnabled = enabled;
    pictureCache().clear();
}

void PictureFiles::clear() { pictureCache().clear(); }

QString WindowPicture(const QString& name)
{
    static const bool registered = (RegisterWindowPictures(), true);
    Q_UNUSED(registered);
    return QStringLiteral(":/window/") + name;
}

// ---------------------------------------------------------------- Image

namespace {

// Stretching a picture with smoothing on every paint is costly (Qt may even
// hand it to worker threads), and the reels repaint nine boxes every tick. So
// each picture is scaled once per box size and device pixel ratio and kept
// in QPixmapCache; painting then only copies pixels.
QPixmap StretchedPicture(const QPixmap& source, QSize size, qreal dpr)
{
    const QSize target = (QSizeF(size) * dpr).toSize();
    if (source.size() == target)
        return source;
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

} // namespace

void ShownPicture::setSource(const QString& path)
{
    source_ = path;
    pixmap_ = QPixmap();
    scale_ = 0;
}

const QPixmap& ShownPicture::pixmap(qreal devicePixelRatio, double zoom)
{
    const int scale = PictureScale(devicePixelRatio, zoom);
    if (scale != scale_) {
        scale_ = scale;
        pixmap_ = source_.isEmpty() ? QPixmap() : PictureFiles::load(source_, scale);
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
    painter.drawPixmap(shown, StretchedPicture(picture, shown.size(), devicePixelRatio));
}

// Shows one picture file. The file is decoded when the picture is first
// needed, painted or asked about: the start-up sets a dozen pictures before
// its first message box, and none of them is seen until the window shows.
class ImageBox : public QWidget {
public:
    using QWidget::QWidget;
    bool stretch = true;
    double zoom = 1.0;
    std::function<void()> clicked;

    void setSource(const QString& path)
    {
        shown_.setSource(path);
        if (path.isEmpty())
            setAttribute(Qt::WA_OpaquePaintEvent, false);
        update();
    }
    const QPixmap& picture()
    {
        const QPixmap& pixmap = shown_.pixmap(devicePixelRatioF(), zoom);
        // A stretched picture without transparency covers the whole box, so
        // nothing beneath it needs repainting when it changes. A box that
        // turns out not to be covered is painted again with what lies
        // beneath.
        const bool opaque = stretch && !pixmap.isNull() && !pixmap.hasAlphaChannel();
        if (opaque != testAttribute(Qt::WA_OpaquePaintEvent)) {
            setAttribute(Qt::WA_OpaquePaintEvent, opaque);
            if (!opaque)
                update();
        }
        return pixmap;
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        if (picture().isNull())
            return;
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        shown_.draw(painter, rect(), stretch, devicePixelRatioF(), zoom);
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && clicked)
            clicked();
    }

private:
    ShownPicture shown_;
};

void Image::create(QWidget* parent, int left, int top, int width, int height, bool stretch)
{
    box_ = new ImageBox(parent);
    place_.place(box_, left, top, width, height);
    box_->stretch = stretch;
    box_->clicked = [this] { click(); };
}

void Image::setZoom(double zoom)
{
    place_.setZoom(box_, zoom);
    box_->zoom = zoom;
    box_->update();
}

void Image::setPicture(const QString& path)
{
    path_ = path;
    if (box_)
        box_->setSource(path);
}

void Image::clearPicture()
{
    path_.clear();
    if (box_)
        box_->setSource(QString());
}

QString Image::picture() const { return hasPicture() ? path_ : QString(); }
QPixmap Image::shownPicture() const { return box_ ? box_->picture() : QPixmap(); }
bool Image::hasPicture() const
{
    if (path_.isEmpty())
        return false;
    return box_ ? !box_->picture().isNull() : !PictureFiles::load(path_).isNull();
}
void Image::setVisible(bool visible) { box_->setVisible(visible); }
bool Image::visible() const { return !box_->isHidden(); }
void Image::setEnabled(bool enabled) { box_->setEnabled(enabled); }
bool Image::enabled() const { return box_->isEnabled(); }
void Image::setToolTip(const QString& tip) { box_->setToolTip(tip); }
QString Image::toolTip() const { return box_->toolTip(); }
QWidget* Image::widget() const { return box_; }

void Image::click()
{
    if (box_ && box_->isEnabled() && !box_->isHidden() && onClick)
        onClick();
}

// ---------------------------------------------------------------- Shape

class ShapeBox : public QWidget {
public:
    using QWidget::QWidget;
    QColor fill, border, back;
    bool hasBack = false;
    int borderWidth = 1; // pixels, with the zoom
    double zoom = 1.0;
    FillStyle style = FillStyle::Transparent;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRectF inner = QRectF(rect()).adjusted(borderWidth / 2.0, borderWidth / 2.0,
                                                     -borderWidth / 2.0, -borderWidth / 2.0);
        if (hasBack)
            painter.fillRect(rect(), back);
        if (style == FillStyle::Solid) {
            painter.fillRect(rect(), fill);
        } else if (style == FillStyle::DiagonalCross) {
            painter.fillRect(rect(), hatch());
        }
        QPen pen(border, borderWidth);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(inner);
    }

private:
    // The cross-hatch, its lines and spacing grown with the window and the
    // screen's pixel density. Qt draws its patterns in device pixels, so
    // then the pattern is enlarged into a tile, kept until the colour or the
    // size changes.
    QBrush hatch()
    {
        const qreal dpr = devicePixelRatioF();
        if (zoom == 1.0 && dpr == 1.0)
            return QBrush(fill, Qt::DiagCrossPattern);
        const int tile = std::max(8, int(8 * zoom * dpr + 0.5));
        if (hatch_.style() == Qt::NoBrush || hatchColour_ != fill || hatchTile_ != tile) {
            QImage cell(8, 8, QImage::Format_ARGB32_Premultiplied);
            cell.fill(Qt::transparent);
            QPainter(&cell).fillRect(cell.rect(), QBrush(fill, Qt::DiagCrossPattern));
            QImage enlarged = cell.scaled(tile, tile, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            enlarged.setDevicePixelRatio(dpr);
            hatch_ = QBrush(enlarged);
            hatchColour_ = fill;
            hatchTile_ = tile;
        }
        return hatch_;
    }
    QBrush hatch_;
    QColor hatchColour_;
    int hatchTile_ = 0;
};

void Shape::create(QWidget* parent, int left, int top, int width, int height)
{
    box_ = new ShapeBox(parent);
    place_.place(box_, left, top, width, height);
    box_->setAttribute(Qt::WA_TransparentForMouseEvents);
    update();
}

void Shape::setZoom(double zoom)
{
    place_.setZoom(box_, zoom);
    update();
}

void Shape::setFillColor(long bgr)
{
    fill_ = bgr;
    update();
}

void Shape::setBorderColor(long bgr)
{
    border_ = bgr;
    update();
}

void Shape::setBorderWidth(int pixels)
{
    borderWidth_ = pixels;
    update();
}

void Shape::setFillStyle(FillStyle style)
{
    style_ = style;
    update();
}

void Shape::setBackColor(long bgr)
{
    back_ = bgr;
    update();
}

QWidget* Shape::widget() const { return box_; }

void Shape::update()
{
    if (!box_)
        return;
    box_->fill = ToQColor(fill_);
    box_->border = ToQColor(border_);
    box_->hasBack = back_ >= 0;
    box_->back = ToQColor(back_ < 0 ? 0 : back_);
    box_->borderWidth = ZoomedLine(borderWidth_, place_.zoom());
    box_->zoom = place_.zoom();
    box_->style = style_;
    box_->update();
}

// ---------------------------------------------------------------- Timer

void Timer::create(QWidget* owner, int intervalMs, bool enabled)
{
    timer_ = new QTimer(owner);
    timer_->setTimerType(Qt::PreciseTimer);
    QObject::connect(timer_, &QTimer::timeout, timer_, [this] { fire(); });
    interval_ = intervalMs;
    enabled_ = enabled;
    apply(true);
}

void Timer::setEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    apply(true);
}

void Timer::setInterval(int ms)
{
    interval_ = ms;
    apply(true);
}

bool Timer::running() const { return timer_ && timer_->isActive(); }

void Timer::fire()
{
    if (onTimer)
        onTimer();
}

void Timer::apply(bool restart)
{
    if (!timer_)
        return;
    if (!enabled_ || interval_ <= 0) {
        timer_->stop();
        return;
    }
    if (restart || !timer_->isActive())
        timer_->start(interval_);
}

// ---------------------------------------------------------------- MenuItem

void MenuItem::createMenu(QMenuBar* bar, const QString& caption)
{
    menu_ = bar->addMenu(caption);
    action_ = menu_->menuAction();
}

void MenuItem::createItem(MenuItem& menu, const QString& caption, bool checkable)
{
    parent_ = &menu;
    if (caption == QStringLiteral("-")) {
        action_ = menu.menu()->addSeparator();
        return;
    }
    action_ = menu.menu()->addAction(caption);
    action_->setCheckable(checkable);
    QObject::connect(action_, &QAction::triggered, action_, [this] {
        // The check mark is set by the handler, not by the click itself.
        if (action_->isCheckable())
            action_->setChecked(!action_->isChecked());
        if (onClick)
            onClick();
    });
}

QString MenuItem::caption() const { return action_->text(); }
void MenuItem::setEnabled(bool enabled) { action_->setEnabled(enabled); }
bool MenuItem::enabled() const { return action_->isEnabled(); }
void MenuItem::setChecked(bool checked) { action_->setChecked(checked); }
bool MenuItem::checked() const { return action_->isChecked(); }

void MenuItem::click()
{
    if (!action_ || !action_->isEnabled() || (parent_ && !parent_->enabled()))
        return;
    if (onClick)
        onClick();
}

// ---------------------------------------------------------------- PictureButton

void PictureButton::create(QWidget* parent, int left, int top, int width, int height)
{
    button_ = new QPushButton(parent);
    place_.place(button_, left, top, width, height);
    button_->setAutoDefault(false);
    button_->setDefault(false);
    button_->setFocusPolicy(Qt::NoFocus);
    QObject::connect(button_, &QPushButton::clicked, button_, [this] {
        if (onClick)
            onClick();
    });
}

void PictureButton::setZoom(double zoom)
{
    place_.setZoom(button_, zoom);
    if (!picture_.isEmpty())
        showPicture();
}

bool PictureButton::setPicture(const QString& path, long transparentKeyBgr)
{
    picture_ = path;
    key_ = transparentKeyBgr;
    return showPicture();
}

// The picture from the set the screen and zoom call for, shown at its size at
// 1x times the zoom.
bool PictureButton::showPicture()
{
    const double zoom = place_.zoom();
    QPixmap pixmap = PictureFiles::load(picture_, PictureScale(button_->devicePixelRatioF(), zoom));
    if (pixmap.isNull()) {
        button_->setIcon(QIcon());
        return false;
    }
    const QImage image = pixmap.toImage();
    pixmap.setMask(QBitmap::fromImage(image.createMaskFromColor(ToQColor(key_).rgb(), Qt::MaskInColor)));
    button_->setIcon(QIcon(pixmap));
    button_->setIconSize((pixmap.deviceIndependentSize() * zoom).toSize());
    return true;
}

void PictureButton::setBackColor(long bgr)
{
    const QColor colour = ToQColor(bgr);
    button_->setStyleSheet(QStringLiteral(
        "QPushButton { background: %1; border-top: 2px solid %2; border-left: 2px solid %2; "
        "border-bottom: 2px solid %3; border-right: 2px solid %3; }"
        "QPushButton:pressed { border-top: 2px solid %3; border-left: 2px solid %3; "
        "border-bottom: 2px solid %2; border-right: 2px solid %2; }")
                               .arg(colour.name(), colour.lighter(160).name(), colour.darker(200).name()));
}

void PictureButton::setVisible(bool visible) { button_->setVisible(visible); }
bool PictureButton::visible() const { return !button_->isHidden(); }
void PictureButton::setToolTip(const QString& tip) { button_->setToolTip(tip); }

void PictureButton::click()
{
    if (button_ && !button_->isHidden() && button_->isEnabled() && onClick)
        onClick();
}

} // namespace ui
