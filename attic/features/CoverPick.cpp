// The four covers: $10 a try, one time in four the hit card raises the BET.
#include "app/FrmMain.h"
#include "app/MdlZelmor.h"
#include "platform/Runtime.h"
#include "platform/Seams.h"

using namespace MdlZelmor;

// Each cover hides the hit card behind its own draw value.
void FrmMain::Image10_Click() { CoverClick(Image10, 0); }
void FrmMain::Image11_Click() { CoverClick(Image11, 1); }
void FrmMain::Image12_Click() { CoverClick(Image12, 2); }
void FrmMain::Image13_Click() { CoverClick(Image13, 3); }

void FrmMain::CoverClick(ui::Image& cover, int hitNumber)
{
    Label12.setCaption(QStringLiteral("0"));
    for (auto* c : {&Image10, &Image11, &Image12, &Image13})
        c->setPicture(AppDir + QStringLiteral("COVER.BMP"));
    Image14.setPicture(AppDir + QStringLiteral("BAI01.BMP"));

    if (rt::Val(Label11.caption()) >= 10) {
        MsgBox(QStringLiteral("ＢＥＴは１０倍迄です。"), seams::vbInformation, QStringLiteral("ゼルモア"));
        return;
    }
    double money = rt::Val(Label1.caption());
    if (money < 10)
        return;
    money -= 10;
    Label1.setCaption(rt::DecimalText(money));
    TargetRate = 1;
    TargetSymbol = 0;

    const int draw = int(rt::Int(Rnd() * 4));
    if (draw != hitNumber) {
        cover.setPicture(AppDir + QStringLiteral("HAZURE.BMP"));
        return;
    }
    cover.setPicture(AppDir + QStringLiteral("ATARI.BMP"));
    Label11.setCaption(rt::DecimalText(rt::Val(Label11.caption()) + 1));
    if (money > 1000000 && ChanceLeft == 0) {
        setMousePointer(ui::MousePointer::Hourglass);
        ShowTargetDialog();
        setMousePointer(ui::MousePointer::Default);
    }
    Command1.setVisible(true);
}
