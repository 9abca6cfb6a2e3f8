// SPDX-License-Identifier: MIT
#include "ui/WitsWelcomeDialog.h"

#include "platform/Runtime.h"
#include "ui/DialogSetup.h"

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
    SetUpWitsDialog(*this, QStringLiteral("ゼルモア　知恵くらべにようこそ"), 6600, 2880);

    picture.create(this, 240, 240, 960, 960);
    picture.setPicture(ProgramFile(QStringLiteral("CHIE.BMP")));

    warningLabel.create(this, 1440, 240, 4920, 1080);
    warningLabel.setWordWrap(true);
    warningLabel.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    warningLabel.setCaption(QStringLiteral(
        "あなたはゼルモアのデータ領域に変更を加えました。この行為は、今後ゼルモアが起動しなくなったり"
        "システムが不安定になったりする原因にもなりかねませんのでこのような行為はしないで下さい。"));

    promiseButton = MakeButton(this, 1440, 1500, 4920, 495, QStringLiteral("はい、わかりました今後変更はしません。"),
                               QStringLiteral("解除の仕方を調べるのも楽しいかもしれませんね。"));
    challengeButton = MakeButton(this, 1440, 2100, 4920, 495, QStringLiteral("絶対解除する方法を見つける。"),
                                 QStringLiteral("是非調べてみてください。"));
    connect(promiseButton, &QPushButton::clicked, this, [this] { promise(); });
    connect(challengeButton, &QPushButton::clicked, this, [this] { challenge(); });
}

seams::WitsChoice WitsWelcomeDialog::choose()
{
    choice_ = seams::WitsChoice::Closed;
    exec();
    return choice_;
}

void WitsWelcomeDialog::promise()
{
    MsgBox(QStringLiteral("残念ですがデータは初期値に戻しましたので、ご了承下さい。"), seams::vbInformation,
           QStringLiteral("ゼルモア"));
    choice_ = seams::WitsChoice::Promise;
    close();
}

void WitsWelcomeDialog::challenge()
{
    const int answer = MsgBox(QStringLiteral("注意：あなたがデータ変更したことによっての生じたいかなる障害・問題\r\n"
                                             "　　　　に対しても作者は一切の責任を負わないものとします。"),
                              seams::vbExclamation | seams::vbYesNo, QStringLiteral("ゼルモア　ご確認"));
    if (answer != seams::vbYes) {
        promise();
        return;
    }
    choice_ = seams::WitsChoice::Challenge;
    close();
}

} // namespace ui
