// The reach actions that end a spin.
#include "app/FrmMain.h"

void FrmMain::TickAllRotation()
{
}

void FrmMain::LineUpInstantly()
{
}
