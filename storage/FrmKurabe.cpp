#include "storage/FrmKurabe.h"

#include "app/MdlZelmor.h"
#include "platform/Runtime.h"
#include "storage/WitsDialogs.h"

#include <QKeyEvent>

using namespace MdlZelmor;
using rt::RGB;

FrmKurabe::FrmKurabe(QWidget* parent)
    : QDialog(parent)
{
    storage::SetUpWitsDialog(*this, QStringLiteral("ゼルモア　知恵くらべ"), 7200, 3960);

    Shape1.create(this, 1320, 2280, 5640, 1440);
    Shape1.setBorderColor(RGB(0, 128, 128));
    Shape1.setBorderWidth(2);

    Image1.create(this, 240, 240, 960, 960);
    Image1.setPicture(storage::ProgramFile(QStringLiteral("KURABE.BMP")));

    Label1.create(this, 1440, 240, 5520, 1380);
    Label1.setWordWrap(true);
    Label1.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label1.setCaption(QStringLiteral(
        "今回はチェックをパスする事は出来ませんでした１０回以内で解除する事に目標を置いてがんばって下さい。"
        "失敗回数に対応して、ヒントを提供します。失敗回数は　Zelmor.ini　の6行目に登録します。"
        "１０回以内でチェックパス方法を見つければ流石、１０回で見つけなければ残念賞とさせて頂きます。"
        "それではご検討をお祈りします。"));

    Label5.create(this, 1440, 1740, 1560, 360);
    Label5.setCaption(QStringLiteral("失敗した回数は"));
    Label5.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label6.create(this, 3060, 1710, 1200, 420);
    Label6.setFont({12, true, false});
    Label6.setForeColor(RGB(192, 0, 0));
    Label6.setAlignment(Qt::AlignCenter);
    Label7.create(this, 4320, 1740, 1200, 360);
    Label7.setCaption(QStringLiteral("回です。"));
    Label7.setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    const struct {
        ui::Label* label;
        int top;
        const char16_t* text;
    } hints[3] = {
        {&Label2, 2400, u"ヒント１　：　２項目のチェックをしています。"},
        {&Label3, 2820, u"ヒント２　：　２つのデータの一致を確認しています。"},
        {&Label4, 3240, u"ヒント３　：　タイムスタンプを利用しています。"},
    };
    for (const auto& hint : hints) {
        hint.label->create(this, 1560, hint.top, 5280, 360);
        hint.label->setCaption(QString::fromUtf16(hint.text));
        hint.label->setForeColor(RGB(0, 0, 128));
        hint.label->setVisible(false);
    }

    Form_Load();
}

// No buttons: only the close box closes this dialog, not Escape.
void FrmKurabe::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape)
        return;
    QDialog::keyPressEvent(event);
}

void FrmKurabe::Form_Load()
{
    const double failures = rt::Val(SaveLines[6]) + 1;
    Label6.setCaption(rt::DecimalText(failures));
    SaveLines[6] = rt::DecimalText(failures);
    if (failures >= 1)
        Label2.setVisible(true);
    if (failures >= 5)
        Label3.setVisible(true);
    if (failures >= 9)
        Label4.setVisible(true);
    if (failures >= 10) {
        Label1.setCaption(QStringLiteral("あなたは　残念賞　と認定されました。"));
        SaveLines[5] = QStringLiteral("あなたは残念賞と認定されました。");
    }
}
