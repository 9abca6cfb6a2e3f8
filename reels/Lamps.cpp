// The frame lamps and the notice lamps.
#include "app/FrmMain.h"

void FrmMain::Timer2_Timer() {}
void FrmMain::BlinkFrameLamps() {}
void FrmMain::Timer3_Timer() {}
void FrmMain::BlinkNoticeLamps() {}
void FrmMain::SetFrameLampsDark() {}
void FrmMain::SetNoticeLampsDark() {}
