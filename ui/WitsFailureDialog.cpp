// SPDX-License-Identifier: MIT
#include "ui/WitsFailureDialog.h"

#include "platform/Runtime.h"
#include "ui/DialogSetup.h"

#include <QKeyEvent>

namespace ui {

using rt::RGB;

namespace {

// The failure count from which each hint shows.
constexpr std::array<int, 3> HintFrom{1, 5, 9};
constexpr int ConsolationFrom = 10;

} // namespace

WitsFailureDialog::WitsFailureDialog(double failures, QWidget* parent)
    : QDialog(parent)
{
    SetUpWitsDialog(*this, QStringLiteral("ゼルモア　知恵くらべ"), 7200, 3960);
    buildControls();
    showFailures(failures);
}

void WitsFailureDialog::buildControls()
{
    hintFrame.create(this, 1320, 2280, 5640, 1440);
    hintFrame.setBorderColor(RGB(0, 128, 128));
    hintFrame.setBorderWidth(2);

    picture.create(this, 240, 240, 960, 960);
    picture.setPicture(ProgramFile(QStringLiteral("KURABE.BMP")));

    messageLabel.create(this, 1440, 240, 5520, 1380);
    messageLabel.setWordWrap(true);
    messageLabel.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    messageLabel.setCaption(QStringLiteral(
        "今回はチェックをパスする事は出来ませんでした１０回以内で解除する事に目標を置いてがんばって下さい。"
        "失敗回数に対応して、ヒントを提供します。失敗回数は　Zelmor.ini　の6行目に登録します。"
        "１０回以内でチェックパス方法を見つければ流石、１０回で見つけなければ残念賞とさせて頂きます。"
        "それではご検討をお祈りします。"));

    countHeading.create(this, 1440, 1740, 1560, 360);
    countHeading.setCaption(QStringLiteral("失敗した回数は"));
    countHeading.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    countLabel.create(this, 3060, 1710, 1200, 420);
    countLabel.setFont({12, true, false});
    countLabel.setForeColor(RGB(192, 0, 0));
    countLabel.setAlignment(Qt::AlignCenter);
    countUnit.create(this, 4320, 1740, 1200, 360);
    countUnit.setCaption(QStringLiteral("回です。"));
    countUnit.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    const struct {
        int top;
        const char16_t* text;
    } hintTexts[3] = {
        {2400, u"ヒント１　：　２項目のチェックをしています。"},
        {2820, u"ヒント２　：　２つのデータの一致を確認しています。"},
        {3240, u"ヒント３　：　タイムスタンプを利用しています。"},
    };
    for (int i = 0; i < 3; ++i) {
        hints[i].create(this, 1560, hintTexts[i].top, 5280, 360);
        hints[i].setCaption(QString::fromUtf16(hintTexts[i].text));
        hints[i].setForeColor(RGB(0, 0, 128));
        hints[i].setVisible(false);
    }
}

void WitsFailureDialog::showFailures(double failures)
{
    countLabel.setCaption(rt::DecimalText(failures));
    for (int i = 0; i < 3; ++i)
        hints[i].setVisible(failures >= HintFrom[i]);
    if (failures >= ConsolationFrom)
        messageLabel.setCaption(QStringLiteral("あなたは　残念賞　と認定されました。"));
}

void WitsFailureDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

} // namespace ui
