// SPDX-License-Identifier: MIT
#include "ui/MessageBox.h"

#include <QCoreApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>

namespace ui {

namespace {

constexpr int IconSize = 32;

QLinearGradient Shade(QColor light, QColor dark)
{
    QLinearGradient gradient(0, 0, 0, IconSize);
    gradient.setColorAt(0, light);
    gradient.setColorAt(1, dark);
    return gradient;
}

// A glossy disc with a darker rim, the body of the information and critical icons.
void Disc(QPainter& p, QColor light, QColor dark, QColor rim)
{
    p.setPen(QPen(rim, 1.2));
    p.setBrush(Shade(light, dark));
    p.drawEllipse(QRectF(1.5, 1.5, IconSize - 3, IconSize - 3));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 70));
    p.drawEllipse(QRectF(6, 3.5, IconSize - 12, 11));
}

void DrawInformation(QPainter& p)
{
    Disc(p, QColor(0x6f, 0xb1, 0xf0), QColor(0x17, 0x5a, 0xb8), QColor(0x0e, 0x3f, 0x86));
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 9.5), 2.6, 2.6);
    p.drawRoundedRect(QRectF(13.8, 13.5, 4.4, 12), 1.2, 1.2);
}

void DrawWarning(QPainter& p)
{
    QPainterPath triangle;
    triangle.moveTo(16, 2.5);
    triangle.lineTo(30, 28.5);
    triangle.lineTo(2, 28.5);
    triangle.closeSubpath();
    p.setPen(QPen(QColor(0x9a, 0x62, 0x00), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Shade(QColor(0xff, 0xe0, 0x5a), QColor(0xf2, 0xa2, 0x00)));
    p.drawPath(triangle);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x33, 0x24, 0x00));
    QPainterPath stem;
    stem.moveTo(14, 10.5);
    stem.lineTo(18, 10.5);
    stem.lineTo(17, 20.5);
    stem.lineTo(15, 20.5);
    stem.closeSubpath();
    p.drawPath(stem);
    p.drawEllipse(QPointF(16, 24.2), 2.1, 2.1);
}

void DrawCritical(QPainter& p)
{
    Disc(p, QColor(0xf2, 0x6b, 0x5b), QColor(0xb3, 0x1b, 0x1b), QColor(0x7c, 0x0f, 0x0f));
    p.setBrush(Qt::white);
    p.translate(16, 16);
    for (int angle : {45, -45}) {
        p.save();
        p.rotate(angle);
        p.drawRoundedRect(QRectF(-8.5, -2.2, 17, 4.4), 1.5, 1.5);
        p.restore();
    }
}

} // namespace

QPixmap MessageIcon(QMessageBox::Icon icon, qreal devicePixelRatio)
{
    if (icon != QMessageBox::Information && icon != QMessageBox::Warning && icon != QMessageBox::Critical)
        return QPixmap();
    const qreal dpr = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QPixmap pixmap(QSize(IconSize, IconSize) * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    switch (icon) {
    case QMessageBox::Information: DrawInformation(p); break;
    case QMessageBox::Warning: DrawWarning(p); break;
    default: DrawCritical(p); break;
    }
    return pixmap;
}

std::unique_ptr<QMessageBox> MakeMessageBox(const Message& message)
{
    auto box = std::make_unique<QMessageBox>();
    box->setWindowTitle(message.title);
    // Plain, unselectable text: a simple label, with no rich-text document
    // behind it, which also keeps the first box of the start-up quick.
    box->setTextFormat(Qt::PlainText);
    box->setTextInteractionFlags(Qt::NoTextInteraction);
    box->setText(QString(message.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    box->setIcon(message.icon);
    // Buttons with the captions a Japanese system gives them (an English one
    // in English). They carry no icons: the style would otherwise look each
    // one up in the desktop's icon theme, the slowest step of showing the
    // first box.
    if (message.buttons == Buttons::YesNo) {
        QPushButton* yes = box->addButton(QCoreApplication::translate("ui::MessageBox", "はい(&Y)"), QMessageBox::YesRole);
        QPushButton* no = box->addButton(QCoreApplication::translate("ui::MessageBox", "いいえ(&N)"), QMessageBox::NoRole);
        box->setDefaultButton(yes);
        box->setEscapeButton(no);
    } else {
        QPushButton* ok = box->addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        box->setDefaultButton(ok);
        box->setEscapeButton(ok);
    }
    return box;
}

Answer RunMessageBox(QMessageBox& box, Buttons buttons)
{
    box.exec();
    if (buttons != Buttons::YesNo)
        return Answer::Ok;
    // Escape and the close box count as No.
    QAbstractButton* clicked = box.clickedButton();
    return clicked && box.buttonRole(clicked) == QMessageBox::YesRole ? Answer::Yes : Answer::No;
}

} // namespace ui
