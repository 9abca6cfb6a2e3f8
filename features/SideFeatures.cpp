// Side features reached from the menus.
#include "app/FrmMain.h"

void FrmMain::mnuKakuritu_Click() {}
void FrmMain::mnuMes_Click() {}
void FrmMain::mnuRen1_Click() {}
void FrmMain::mnuRent_Click() {}
void FrmMain::mnuVer_Click() {}
void FrmMain::ShowTargetDialog() {}
FrmHelp* FrmMain::helpWindow() const { return help_; }
