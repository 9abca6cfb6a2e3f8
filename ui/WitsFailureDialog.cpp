// SPDX-License-Identifier: MIT
#include "ui/WitsFailureDialog.h"

#include "game/StartUp.h"
#include "ui/Controls.h"
#include "ui/DialogSetup.h"

#include <QKeyEvent>

namespace ui {

namespace {

// The failure count from which each hint shows.
constexpr std::array<int, 3> HintFrom{1, 5, 9};

} // namespace

WitsFailureDialog::WitsFailureDialog(double failures, const QString& count, QWidget* parent)
    : QDialog(parent)
{
    SetUpWitsDialog(*this, tr("ゼルモア　知恵くらべ"), 7200, 3960);
    buildControls();
    showFailures(failures, count);
}

void WitsFailureDialog::buildControls()
{
    hintFrame = new RectShape(QRect(1320, 2280, 5640, 1440), this);
    hintFrame->setBorderColor(QColor(0, 128, 128));
    hintFrame->setBorderWidth(2);

    picture = new PictureBox(QRect(240, 240, 960, 960), this);
    picture->setPicture(ProgramFile(QStringLiteral("KURABE.BMP")));

    messageLabel = new TextLabel(QRect(1440, 240, 5520, 1380), this);
    messageLabel->setWordWrap(true);
    messageLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    messageLabel->setText(tr(
        "今回はチェックをパスする事は出来ませんでした１０回以内で解除する事に目標を置いてがんばって下さい。"
        "失敗回数に対応して、ヒントを提供します。失敗回数は　Zelmor.ini　の6行目に登録します。"
        "１０回以内でチェックパス方法を見つければ流石、１０回で見つけなければ残念賞とさせて頂きます。"
        "それではご検討をお祈りします。"));

    countHeading = new TextLabel(QRect(1440, 1740, 1560, 360), this);
    countHeading->setText(tr("失敗した回数は"));
    countHeading->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    countLabel = new TextLabel(QRect(3060, 1710, 1200, 420), this);
    countLabel->setFontStyle({12, true, false});
    countLabel->setTextColor(QColor(192, 0, 0));
    countLabel->setAlignment(Qt::AlignCenter);
    countUnit = new TextLabel(QRect(4320, 1740, 1200, 360), this);
    countUnit->setText(tr("回です。"));
    countUnit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    const struct {
        int top;
        const char* text;
    } hintTexts[3] = {
        {2400, QT_TR_NOOP("ヒント１　：　２項目のチェックをしています。")},
        {2820, QT_TR_NOOP("ヒント２　：　２つのデータの一致を確認しています。")},
        {3240, QT_TR_NOOP("ヒント３　：　タイムスタンプを利用しています。")},
    };
    for (int i = 0; i < 3; ++i) {
        hints[i] = new TextLabel(QRect(1560, hintTexts[i].top, 5280, 360), this);
        hints[i]->setText(tr(hintTexts[i].text));
        hints[i]->setTextColor(QColor(0, 0, 128));
        hints[i]->setVisible(false);
    }
}

void WitsFailureDialog::showFailures(double failures, const QString& count)
{
    countLabel->setText(count);
    for (int i = 0; i < 3; ++i)
        hints[i]->setVisible(failures >= HintFrom[i]);
    if (failures >= game::ConsolationFailures)
        messageLabel->setText(tr("あなたは　残念賞　と認定されました。"));
}

void WitsFailureDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

} // namespace ui
