#include "storage/FrmChie.h"

#include "app/MdlZelmor.h"
#include "platform/Runtime.h"
#include "platform/Seams.h"
#include "storage/WitsDialogs.h"

#include <QPushButton>

using namespace MdlZelmor;

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

FrmChie::FrmChie(QWidget* parent)
    : QDialog(parent)
{
    storage::SetUpWitsDialog(*this, QStringLiteral("ゼルモア　知恵くらべにようこそ"), 6600, 2880);

    Image1.create(this, 240, 240, 960, 960);
    Image1.setPicture(storage::ProgramFile(QStringLiteral("CHIE.BMP")));

    Label1.create(this, 1440, 240, 4920, 1080);
    Label1.setWordWrap(true);
    Label1.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1.setCaption(QStringLiteral(
        "あなたはゼルモアのデータ領域に変更を加えました。この行為は、今後ゼルモアが起動しなくなったり"
        "システムが不安定になったりする原因にもなりかねませんのでこのような行為はしないで下さい。"));

    Command1 = MakeButton(this, 1440, 1500, 4920, 495, QStringLiteral("はい、わかりました今後変更はしません。"),
                          QStringLiteral("解除の仕方を調べるのも楽しいかもしれませんね。"));
    Command2 = MakeButton(this, 1440, 2100, 4920, 495, QStringLiteral("絶対解除する方法を見つける。"),
                          QStringLiteral("是非調べてみてください。"));
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });

    Form_Load();
}

// Closing with the close box therefore leaves no battle under way.
void FrmChie::Form_Load()
{
    SaveLines[5].clear();
}

void FrmChie::Command1_Click()
{
    MsgBox(QStringLiteral("残念ですがデータは初期値に戻しましたので、ご了承下さい。"), seams::vbInformation,
           QStringLiteral("ゼルモア"));
    SaveLines[5].clear();
    close();
}

void FrmChie::Command2_Click()
{
    const int answer = MsgBox(QStringLiteral("注意：あなたがデータ変更したことによっての生じたいかなる障害・問題\r\n"
                                             "　　　　に対しても作者は一切の責任を負わないものとします。"),
                              seams::vbExclamation | seams::vbYesNo, QStringLiteral("ゼルモア　ご確認"));
    if (answer == seams::vbYes) {
        SaveLines[5] = QStringLiteral("絶対解除する");
        close();
    } else {
        Command1_Click();
    }
}
