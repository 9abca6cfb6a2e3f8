// SPDX-License-Identifier: MIT
#include "ui/WitsWelcomeDialog.h"

#include "platform/Runtime.h"
#include "ui/Controls.h"
#include "ui/DialogSetup.h"
#include "ui/Dialogs.h"

#include <QPushButton>

namespace ui {

namespace {

QPushButton* MakeButton(QWidget* parent, int left, int top, int width, int height, const QString& caption,
                        const QString& tip)
{
    auto* button = new QPushButton(caption, parent);
    button->setGeometry(rt::TwipsRect(left, top, width, height));
    button->setToolTip(tip);
    button->setAutoDefault(false);
    return button;
}

} // namespace

WitsWelcomeDialog::WitsWelcomeDialog(QWidget* parent)
    : QDialog(parent)
{
    SetUpWitsDialog(*this, tr("ゼルモア　知恵くらべにようこそ"), 6600, 2880);

    picture = new PictureBox(QRect(240, 240, 960, 960), this);
    picture->setPicture(ProgramFile(QStringLiteral("CHIE.BMP")));

    warningLabel = new TextLabel(QRect(1440, 240, 4920, 1080), this);
    warningLabel->setWordWrap(true);
    warningLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    warningLabel->setText(tr(
        "あなたはゼルモアのデータ領域に変更を加えました。この行為は、今後ゼルモアが起動しなくなったり"
        "システムが不安定になったりする原因にもなりかねませんのでこのような行為はしないで下さい。"));

    promiseButton = MakeButton(this, 1440, 1500, 4920, 495, tr("はい、わかりました今後変更はしません。"),
                               tr("解除の仕方を調べるのも楽しいかもしれませんね。"));
    challengeButton = MakeButton(this, 1440, 2100, 4920, 495, tr("絶対解除する方法を見つける。"),
                                 tr("是非調べてみてください。"));
    connect(promiseButton, &QPushButton::clicked, this, [this] { promise(); });
    connect(challengeButton, &QPushButton::clicked, this, [this] { challenge(); });
}

game::WitsChoice WitsWelcomeDialog::choose()
{
    choice_ = game::WitsChoice::Closed;
    ExecDialog(*this);
    return choice_;
}

void WitsWelcomeDialog::promise()
{
    ShowMessage({tr("ゼルモア"), tr("残念ですがデータは初期値に戻しましたので、ご了承下さい。"),
                 QMessageBox::Information, Buttons::Ok});
    choice_ = game::WitsChoice::Promise;
    close();
}

void WitsWelcomeDialog::challenge()
{
    const Answer answer = ShowMessage({tr("ゼルモア　ご確認"),
                                       tr("注意：あなたがデータ変更したことによっての生じたいかなる障害・問題\r\n"
                                          "　　　　に対しても作者は一切の責任を負わないものとします。"),
                                       QMessageBox::Warning, Buttons::YesNo});
    if (answer != Answer::Yes) {
        promise();
        return;
    }
    choice_ = game::WitsChoice::Challenge;
    close();
}

} // namespace ui
