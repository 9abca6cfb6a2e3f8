// Loading the two files and checking them against each other.
#include "app/FrmMain.h"

bool FrmMain::LoadData()
{
    return true;
}

bool FrmMain::ShowWitsDialogs()
{
    return true;
}
