// SPDX-License-Identifier: MIT
#include "ui/Controls.h"

#include "platform/Runtime.h"
#include "ui/Fonts.h"

#include <QBitmap>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace ui {

namespace {

// A line `pixels` wide at 1x, in whole pixels at the zoom: at least one.
int ZoomedLine(int pixels, double zoom)
{
    return std::max(1, int(pixels * zoom + 0.5));
}

QRect ZoomedRect(const QRect& twips, double zoom)
{
    return rt::TwipsRect(twips.x(), twips.y(), twips.width(), twips.height(), zoom);
}

} // namespace

// ---------------------------------------------------------------- TwipsPlace

void TwipsPlace::place(QWidget* widget, const QRect& twips)
{
    twips_ = twips;
    widget->setGeometry(ZoomedRect(twips_, zoom_).translated(origin_));
}

void TwipsPlace::setZoom(QWidget* widget, double zoom, QPoint origin)
{
    zoom_ = zoom;
    origin_ = origin;
    widget->setGeometry(ZoomedRect(twips_, zoom_).translated(origin_));
}

// ---------------------------------------------------------------- TextLabel

TextLabel::TextLabel(const QRect& twips, QWidget* parent)
    : QLabel(parent)
{
    place_.place(this, twips);
    setTextFormat(Qt::PlainText);
    restyle();
}

void TextLabel::setZoom(double zoom, QPoint origin)
{
    place_.setZoom(this, zoom, origin);
    applyFont();
    restyle();
}

void TextLabel::setFontStyle(FontStyle style)
{
    font_ = style;
    applyFont();
}

void TextLabel::applyFont()
{
    const double zoom = place_.zoom();
    if (font_.points <= 0) {
        // The window's font, scaled with it.
        QFont font = parentWidget()->font();
        if (zoom != 1.0)
            font.setPointSizeF(font.pointSizeF() * zoom);
        setFont(zoom != 1.0 ? font : QFont());
        return;
    }
    QFont font = this->font();
    font.setPointSizeF(font_.points * zoom);
    font.setBold(font_.bold);
    font.setItalic(font_.italic);
    setFont(font);
}

void TextLabel::setTextColor(const QColor& color)
{
    textColor_ = color;
    restyle();
}

void TextLabel::setBackgroundColor(const QColor& color)
{
    background_ = color;
    restyle();
}

void TextLabel::setSunken(bool sunken)
{
    sunken_ = sunken;
    restyle();
}

void TextLabel::restyle()
{
    QString style = QStringLiteral("QLabel { color: %1; ").arg(textColor_.name());
    style += background_.isValid() ? QStringLiteral("background: %1; ").arg(background_.name())
                                   : QStringLiteral("background: transparent; ");
    if (sunken_)
        style += QStringLiteral("border-top: %1px solid #808080; border-left: %1px solid #808080; "
                                "border-bottom: %1px solid #ffffff; border-right: %1px solid #ffffff; "
                                "padding-right: %2px; ")
                     .arg(ZoomedLine(1, place_.zoom()))
                     .arg(ZoomedLine(2, place_.zoom()));
    style += QStringLiteral("}");
    setStyleSheet(style);
}

// Text too large for the synthetic bold of the IPA fonts is drawn from its
// outline, thickened as that bold would be.
void TextLabel::paintEvent(QPaintEvent* event)
{
    if (!LosesSyntheticBold(font(), devicePixelRatioF())) {
        QLabel::paintEvent(event);
        return;
    }
    QFrame::paintEvent(event); // background and border
    const QFontMetricsF metrics(font());
    const QStringList lines = text().split(QLatin1Char('\n'));
    // The thickened outline stays inside the contents, which is all a new
    // text repaints.
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
    painter.setPen(QPen(textColor_, pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(textColor_);
    painter.drawPath(outline);
}

// ---------------------------------------------------------------- PictureBox

PictureBox::PictureBox(const QRect& twips, QWidget* parent)
    : QWidget(parent)
{
    place_.place(this, twips);
}

void PictureBox::setZoom(double zoom, QPoint origin)
{
    place_.setZoom(this, zoom, origin);
    update();
}

void PictureBox::setScaledContents(bool stretch)
{
    stretch_ = stretch;
    update();
}

void PictureBox::setPicture(const QString& path)
{
    if (path == shown_.source())
        return;
    shown_.setSource(path);
    if (path.isEmpty())
        setAttribute(Qt::WA_OpaquePaintEvent, false);
    update();
}

const QPixmap& PictureBox::decoded() const
{
    return shown_.pixmap(devicePixelRatioF(), place_.zoom());
}

bool PictureBox::hasPicture() const
{
    return !shown_.source().isEmpty() && !decoded().isNull();
}

QPixmap PictureBox::shownPicture() const
{
    return decoded();
}

void PictureBox::click()
{
    if (isEnabled() && !isHidden())
        emit clicked();
}

void PictureBox::paintEvent(QPaintEvent*)
{
    const QPixmap& pixmap = decoded();
    // A stretched picture without transparency covers the whole box, so
    // nothing beneath it needs repainting when it changes. A box that turns
    // out not to be covered is painted again with what lies beneath.
    const bool opaque = stretch_ && !pixmap.isNull() && !pixmap.hasAlphaChannel();
    if (opaque != testAttribute(Qt::WA_OpaquePaintEvent)) {
        setAttribute(Qt::WA_OpaquePaintEvent, opaque);
        if (!opaque)
            update();
    }
    if (pixmap.isNull())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    shown_.draw(painter, rect(), stretch_, devicePixelRatioF(), place_.zoom());
}

void PictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        click();
}

// ---------------------------------------------------------------- RectShape

RectShape::RectShape(const QRect& twips, QWidget* parent)
    : QWidget(parent)
{
    place_.place(this, twips);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void RectShape::setZoom(double zoom, QPoint origin)
{
    place_.setZoom(this, zoom, origin);
    update();
}

void RectShape::setFillColor(const QColor& color)
{
    if (color == fill_)
        return;
    fill_ = color;
    update();
}

void RectShape::setBorderColor(const QColor& color)
{
    if (color == border_)
        return;
    border_ = color;
    update();
}

void RectShape::setBorderWidth(int pixels)
{
    borderWidth_ = pixels;
    update();
}

void RectShape::setFillStyle(FillStyle style)
{
    style_ = style;
    update();
}

void RectShape::setBackgroundColor(const QColor& color)
{
    background_ = color;
    update();
}

void RectShape::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const int line = ZoomedLine(borderWidth_, place_.zoom());
    const QRectF inner = QRectF(rect()).adjusted(line / 2.0, line / 2.0, -line / 2.0, -line / 2.0);
    if (background_.isValid())
        painter.fillRect(rect(), background_);
    if (style_ == FillStyle::Solid)
        painter.fillRect(rect(), fill_);
    else if (style_ == FillStyle::DiagonalCross)
        painter.fillRect(rect(), hatch());
    QPen pen(border_, line);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(inner);
}

// The cross-hatch, its lines and spacing grown with the window and the
// screen's pixel density. Qt draws its patterns in device pixels, so then the
// pattern is enlarged into a tile, kept until the colour or the size changes.
QBrush RectShape::hatch()
{
    const qreal dpr = devicePixelRatioF();
    const double zoom = place_.zoom();
    if (zoom == 1.0 && dpr == 1.0)
        return QBrush(fill_, Qt::DiagCrossPattern);
    const int tile = std::max(8, int(8 * zoom * dpr + 0.5));
    if (hatch_.style() == Qt::NoBrush || hatchColor_ != fill_ || hatchTile_ != tile) {
        QImage cell(8, 8, QImage::Format_ARGB32_Premultiplied);
        cell.fill(Qt::transparent);
        QPainter(&cell).fillRect(cell.rect(), QBrush(fill_, Qt::DiagCrossPattern));
        QImage enlarged = cell.scaled(tile, tile, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        enlarged.setDevicePixelRatio(dpr);
        hatch_ = QBrush(enlarged);
        hatchColor_ = fill_;
        hatchTile_ = tile;
    }
    return hatch_;
}

// ---------------------------------------------------------------- PictureButton

PictureButton::PictureButton(const QRect& twips, QWidget* parent)
    : QPushButton(parent)
{
    place_.place(this, twips);
    setAutoDefault(false);
    setDefault(false);
    setFocusPolicy(Qt::NoFocus);
}

void PictureButton::setZoom(double zoom, QPoint origin)
{
    place_.setZoom(this, zoom, origin);
    if (!picture_.isEmpty())
        showPicture();
}

bool PictureButton::setPicture(const QString& path, const QColor& transparentKey)
{
    picture_ = path;
    key_ = transparentKey;
    return showPicture();
}

// The picture from the set the screen and zoom call for, shown at its size at
// 1x times the zoom.
bool PictureButton::showPicture()
{
    const double zoom = place_.zoom();
    QPixmap pixmap = PictureFiles::load(picture_, PictureScale(devicePixelRatioF(), zoom));
    if (pixmap.isNull()) {
        setIcon(QIcon());
        return false;
    }
    const QImage image = pixmap.toImage();
    pixmap.setMask(QBitmap::fromImage(image.createMaskFromColor(key_.rgb(), Qt::MaskInColor)));
    setIcon(QIcon(pixmap));
    setIconSize((pixmap.deviceIndependentSize() * zoom).toSize());
    return true;
}

void PictureButton::setFaceColor(const QColor& color)
{
    setStyleSheet(QStringLiteral(
        "QPushButton { background: %1; border-top: 2px solid %2; border-left: 2px solid %2; "
        "border-bottom: 2px solid %3; border-right: 2px solid %3; }"
        "QPushButton:pressed { border-top: 2px solid %3; border-left: 2px solid %3; "
        "border-bottom: 2px solid %2; border-right: 2px solid %2; }")
                      .arg(color.name(), color.lighter(160).name(), color.darker(200).name()));
}

} // namespace ui
