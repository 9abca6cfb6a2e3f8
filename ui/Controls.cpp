#include "ui/Controls.h"

#include "platform/Runtime.h"

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
#include <QPixmapCache>
#include <QPushButton>
#include <QTimer>

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

// ---------------------------------------------------------------- Label

void Label::create(QWidget* parent, int left, int top, int width, int height)
{
    label_ = new QLabel(parent);
    label_->setGeometry(rt::TwipsRect(left, top, width, height));
    label_->setTextFormat(Qt::PlainText);
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
    QFont font = label_->font();
    font.setPointSizeF(style.points);
    font.setBold(style.bold);
    font.setItalic(style.italic);
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
    QString style = QStringLiteral("QLabel { color: %1; ").arg(ToQColor(fore_).name());
    style += back_ < 0 ? QStringLiteral("background: transparent; ")
                       : QStringLiteral("background: %1; ").arg(ToQColor(back_).name());
    if (border_)
        style += QStringLiteral("border-top: 1px solid #808080; border-left: 1px solid #808080; "
                                "border-bottom: 1px solid #ffffff; border-right: 1px solid #ffffff; "
                                "padding-right: 2px; ");
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

// Shows one picture file. The file is decoded when the picture is first
// needed, painted or asked about: the start-up sets a dozen pictures before
// its first message box, and none of them is seen until the window shows.
class ImageBox : public QWidget {
public:
    using QWidget::QWidget;
    bool stretch = true;
    std::function<void()> clicked;

    void setSource(const QString& path)
    {
        source_ = path;
        pixmap_ = QPixmap();
        decoded_ = path.isEmpty();
        if (decoded_)
            setAttribute(Qt::WA_OpaquePaintEvent, false);
        update();
    }
    const QPixmap& picture()
    {
        if (!decoded_) {
            decoded_ = true;
            pixmap_ = PictureFiles::load(source_);
            // A stretched picture without transparency covers the whole box,
            // so nothing beneath it needs repainting when it changes. A box
            // that turns out not to be covered is painted again with what
            // lies beneath.
            const bool opaque = stretch && !pixmap_.isNull() && !pixmap_.hasAlphaChannel();
            if (opaque != testAttribute(Qt::WA_OpaquePaintEvent)) {
                setAttribute(Qt::WA_OpaquePaintEvent, opaque);
                if (!opaque)
                    update();
            }
        }
        return pixmap_;
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        const QPixmap& pixmap = picture();
        if (pixmap.isNull())
            return;
        QPainter painter(this);
        if (stretch) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawPixmap(rect(), StretchedPicture(pixmap, size(), devicePixelRatioF()));
        } else {
            painter.drawPixmap(0, 0, pixmap);
        }
    }
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && clicked)
            clicked();
    }

private:
    QString source_;
    QPixmap pixmap_;
    bool decoded_ = true;
};

void Image::create(QWidget* parent, int left, int top, int width, int height, bool stretch)
{
    box_ = new ImageBox(parent);
    box_->setGeometry(rt::TwipsRect(left, top, width, height));
    box_->stretch = stretch;
    box_->clicked = [this] { click(); };
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
    int borderWidth = 1;
    FillStyle style = FillStyle::Transparent;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QRectF inner = QRectF(rect()).adjusted(borderWidth / 2.0, borderWidth / 2.0,
                                                     -borderWidth / 2.0, -borderWidth / 2.0);
        if (hasBack)
            painter.fillRect(rect(), back);
        if (style == FillStyle::Solid)
            painter.fillRect(rect(), fill);
        else if (style == FillStyle::DiagonalCross)
            painter.fillRect(rect(), QBrush(fill, Qt::DiagCrossPattern));
        QPen pen(border, borderWidth);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(inner);
    }
};

void Shape::create(QWidget* parent, int left, int top, int width, int height)
{
    box_ = new ShapeBox(parent);
    box_->setGeometry(rt::TwipsRect(left, top, width, height));
    box_->setAttribute(Qt::WA_TransparentForMouseEvents);
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
    box_->borderWidth = borderWidth_;
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
    button_->setGeometry(rt::TwipsRect(left, top, width, height));
    button_->setAutoDefault(false);
    button_->setDefault(false);
    button_->setFocusPolicy(Qt::NoFocus);
    QObject::connect(button_, &QPushButton::clicked, button_, [this] {
        if (onClick)
            onClick();
    });
}

bool PictureButton::setPicture(const QString& path, long transparentKeyBgr)
{
    QPixmap pixmap = PictureFiles::load(path);
    if (pixmap.isNull()) {
        button_->setIcon(QIcon());
        return false;
    }
    const QImage image = pixmap.toImage();
    pixmap.setMask(QBitmap::fromImage(
        image.createMaskFromColor(ToQColor(transparentKeyBgr).rgb(), Qt::MaskInColor)));
    button_->setIcon(QIcon(pixmap));
    button_->setIconSize(pixmap.size());
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
