// The jackpot payout, the goal and the slot chance that follows a jackpot.
#include "app/FrmMain.h"
#include "app/MdlZelmor.h"
#include "platform/Runtime.h"
#include "platform/Seams.h"

using namespace MdlZelmor;

namespace {

constexpr double Goal = 10000000;

// Symbol x 100 x BET; a bought target symbol pays a hundredfold, the
// 10000-dollar symbol pays 10000 x BET, and 3, 5 and 7 add 1000 once.
double Win(int symbol, double bet)
{
    double win = 0;
    if (TargetRate != 1 && symbol == TargetSymbol)
        win = symbol * 100.0 * TargetRate * bet;
    else
        win = symbol * 100.0 * bet;
    if (symbol == 0)
        win = bet * 10000;
    if (symbol == 3 || symbol == 5 || symbol == 7)
        win += 1000;
    return win;
}

} // namespace

// Pays the symbol in HitSymbol; the callers have checked the line-up.
void FrmMain::PayJackpot()
{
    if (SoundOn())
        PlayEffect(QStringLiteral("ATARI.WAV"));
    const double win = Win(HitSymbol, rt::Val(Label11.caption()));
    Label12.setCaption(rt::DecimalText(win));
    Label1.setCaption(rt::DecimalText(rt::Val(Label1.caption()) + win));
    StopFrameLamps();

    if (rt::Val(Label1.caption()) >= Goal) {
        if (SoundOn())
            PlayMusic(QStringLiteral("FEVER.MID"));
        MsgBox(QStringLiteral("達成おめでとうございます。\r\n今後確率を自由に変更できます。\r\n"
                              "１００＄から再スタートとなります。"),
               seams::vbInformation, QStringLiteral("ゼルモア"));
        Label1.setCaption(QStringLiteral("100"));
        SaveLines[29] = QStringLiteral("ChosenGuest");
        SaveLines[28] = QStringLiteral("1");
        mnuKakuritu.setEnabled(true);
    }

    if (SoundOn() && ChanceLeft == 0)
        BackToNormalPlay();
    if (SoundOn() && ChanceLeft != 0) {
        // Both lamp groups blink through the slot chance.
        Timer3.setInterval(1000);
        NoticeBlink = 1;
        FrameBlink = 1;
        PlayMusic(QStringLiteral("Tvsa1.MID"));
    }
    EndOfSpin();
    ShowChanceCounter();
}

// The slot chance is over: both lamp groups go dark and the calm tune plays.
void FrmMain::BackToNormalPlay()
{
    StopNoticeLamps();
    StopFrameLamps();
    if (SoundOn())
        PlayMusic(QStringLiteral("Tvsa3.MID"));
}

// Label14 shows the slot-chance spins still to come, and is hidden at 0.
void FrmMain::ShowChanceCounter()
{
    if (ChanceLeft != 0) {
        Label14.setCaption(rt::DecimalText(ChanceLeft));
        Label14.setVisible(true);
    } else {
        Label14.setVisible(false);
    }
}
