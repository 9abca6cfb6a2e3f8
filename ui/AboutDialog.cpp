// SPDX-License-Identifier: MIT
#include "ui/AboutDialog.h"

#include "platform/Runtime.h"
#include "ui/Controls.h"
#include "ui/DialogSetup.h"
#include "ui/Placement.h"

#include <QFrame>
#include <QKeyEvent>
#include <QPushButton>

namespace ui {

namespace {

constexpr int ClientWidthTwips = 5730;
constexpr int ClientHeightTwips = 3750;

QFrame* SeparatorLine(QWidget* parent, int top, const QColor& colour)
{
    auto* line = new QFrame(parent);
    line->setGeometry(rt::TwipsRect(120, top, 5490, 15));
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, colour);
    line->setPalette(palette);
    return line;
}

} // namespace

AboutDialog::AboutDialog(QWidget* owner)
    : QDialog(owner)
{
    SetUpFixedDialog(*this, tr("ﾊﾞｰｼﾞｮﾝ情報"), ClientWidthTwips, ClientHeightTwips);
    buildControls();
    CentreOnScreen(*this);
}

void AboutDialog::buildControls()
{
    icon = new PictureBox(QRect(240, 240, 540, 540), this);
    icon->setPicture(WindowPicture(QStringLiteral("ZELMOR.PNG")));

    titleLabel = new TextLabel(QRect(1050, 180, 3885, 540), this);
    titleLabel->setText(QStringLiteral("Zelmor"));
    titleLabel->setFontStyle({24, true, false});

    versionLabel = new TextLabel(QRect(1050, 780, 3885, 225), this);
    versionLabel->setText(QStringLiteral("Version %1.%2.%3")
                              .arg(ZELMOR_VERSION_MAJOR)
                              .arg(ZELMOR_VERSION_MINOR)
                              .arg(ZELMOR_VERSION_PATCH));

    descriptionLabel = new TextLabel(QRect(240, 1125, 5250, 1935), this);
    descriptionLabel->setWordWrap(true);
    descriptionLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    descriptionLabel->setText(
        tr("遊び方：") + QString(84, QChar(0x3000))
        + tr("あなたに１００＄が支給されます。その１００＄であなたは４マスの中から［当］札を探します。"
             "ここで１回探す事に１０＄支払います。［当］がでたらＢＥＴが１増えます。"
             "［当］が出る度にＢＥＴが加算していきます。"
             "さらにスロットチャンスが取得されスタートボタンでスロットが回転します。"
             "見事３つの絵柄が揃ったらボーナスが支給されます。そして５回のスロットチャンスに入ります。"
             "狙えば必ず揃います。"));

    separator[0] = SeparatorLine(this, 3120, QColor(128, 128, 128));
    separator[1] = SeparatorLine(this, 3135, QColor(255, 255, 255));

    creditsLabel = new TextLabel(QRect(240, 3270, 3960, 375), this);
    creditsLabel->setWordWrap(true);
    creditsLabel->setText(tr("絵・音楽・プログラム：ゼルモア制作チーム"));

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setGeometry(rt::TwipsRect(4320, 3225, 1260, 375));
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        okButton->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace ui
