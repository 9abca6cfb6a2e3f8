// The stop buttons of the slot-chance spins.
#include "app/FrmMain.h"

void FrmMain::ImgLStop_Click() { StopButtonClick(SpinL, ImgLStop); }
void FrmMain::ImgCStop_Click() { StopButtonClick(SpinC, ImgCStop); }
void FrmMain::ImgRStop_Click() { StopButtonClick(SpinR, ImgRStop); }

void FrmMain::StopButtonClick(int& spinFlag, ui::Image& button)
{
    spinFlag = 0;
    button.setVisible(false);
}
