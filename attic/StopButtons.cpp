// The stop buttons of the slot-chance spins.
#include "app/FrmMain.h"

void FrmMain::ImgLStop_Click() { StopButtonClick(SpinL, ImgLStop); }
void FrmMain::ImgCStop_Click() { StopButtonClick(SpinC, ImgCStop); }
void FrmMain::ImgRStop_Click() { StopButtonClick(SpinR, ImgRStop); }

// Stops one reel where it stands. The click that stops the last turning reel
// judges the spin: three equal symbols pay, anything else ends the spin.
void FrmMain::StopButtonClick(int& spinFlag, ui::Image& button)
{
    spinFlag = 0;
    button.setVisible(false);
    if (SoundOn())
        PlayEffect(QStringLiteral("STOP.WAV"));
    if (SpinL == 1 || SpinC == 1 || SpinR == 1)
        return;
    if (PosL == PosR && PosC == PosR) {
        // HitSymbol holds the centre position, one ahead of the pay line.
        HitSymbol = HitSymbol - 1;
        if (HitSymbol < 0)
            HitSymbol += 10;
        PayJackpot();
        return;
    }
    EndOfSpin();
    if (ChanceLeft == 0 && SoundOn())
        BackToNormalPlay();
    ShowChanceCounter();
}
