// Every way out of the program: the quit command, Escape and the close box.
#include "app/FrmMain.h"
#include "platform/Seams.h"

void FrmMain::Form_QueryUnload()
{
    mnuQuit_Click();
}

void FrmMain::mnuQuit_Click()
{
    EndProgram();
}

void FrmMain::SaveData()
{
}
