// The Start button and the window's keys.
#include "app/FrmMain.h"

void FrmMain::Command1_Click()
{
}

void FrmMain::Form_KeyDown(int keyCode, int shift)
{
    Q_UNUSED(shift);
    if (keyCode == 27)
        mnuQuit_Click();
}
