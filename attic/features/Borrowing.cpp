// Loans for a player who has run out of money: granted only at exactly $0,
// and even then refused at random. Loans are never paid back.
#include "app/FrmMain.h"
#include "platform/Runtime.h"
#include "platform/Seams.h"

namespace {

void Tell(const QString& text)
{
    MsgBox(text, seams::vbInformation, QStringLiteral("ゼルモア"));
}

} // namespace

// $100: refused three times in ten, each refusal with its own excuse.
void FrmMain::mnuRent_Click()
{
    if (rt::Val(Label1.caption()) != 0) {
        Tell(QStringLiteral("どうして？お金もってるじゃない！"));
        return;
    }
    switch (int(rt::Int(Rnd() * 10))) {
    case 1: Tell(QStringLiteral("僕も貸す金ないよ.")); break;
    case 2: Tell(QStringLiteral("貸せないよ.")); break;
    case 3: Tell(QStringLiteral("そんな簡単に貸せないよ.")); break;
    default: Label1.setCaption(QStringLiteral("100")); break;
    }
}

// $1000: granted once in fifty.
void FrmMain::mnuRen1_Click()
{
    const double money = rt::Val(Label1.caption());
    if (money != 0) {
        Tell(QStringLiteral("どうして？お金もってるじゃない！"));
        return;
    }
    if (int(rt::Int(Rnd() * 50)) == 1)
        Label1.setCaption(rt::DecimalText(money + 1000));
    else
        Tell(QStringLiteral("ちょっと！そんな大金ないよ。"));
}
