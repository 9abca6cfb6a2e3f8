// SPDX-License-Identifier: MIT
#include "ui/GameStyle.h"
#include "ui/MessageBox.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>

namespace ui {

namespace {

// The icon drawn at 1x, and at 2x only when some screen is dense enough to
// show that: on an ordinary desktop, the start-up's first message box would
// otherwise draw a picture four times the size that no screen shows.
QIcon DrawnIcon(QMessageBox::Icon icon)
{
    QIcon drawn(MessageIcon(icon, 1.0));
    if (qApp->devicePixelRatio() > 1.0)
        drawn.addPixmap(MessageIcon(icon, 2.0));
    return drawn;
}

// The menu bar's overflow button, never needed in the game's fixed window:
// a plain chevron instead of a picture that Qt would probe every image
// plugin to read.
QIcon ChevronIcon()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (qreal x : {4.0, 8.5}) {
        QPainterPath chevron;
        chevron.moveTo(x, 4.5);
        chevron.lineTo(x + 3.5, 8);
        chevron.lineTo(x, 11.5);
        p.drawPath(chevron);
    }
    return QIcon(pixmap);
}

} // namespace

QIcon GameStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option, const QWidget* widget) const
{
    switch (standardIcon) {
    case SP_MessageBoxInformation: return DrawnIcon(QMessageBox::Information);
    case SP_MessageBoxWarning: return DrawnIcon(QMessageBox::Warning);
    case SP_MessageBoxCritical: return DrawnIcon(QMessageBox::Critical);
    case SP_ToolBarHorizontalExtensionButton:
    case SP_ToolBarVerticalExtensionButton: return ChevronIcon();
    default: return QProxyStyle::standardIcon(standardIcon, option, widget);
    }
}

} // namespace ui
