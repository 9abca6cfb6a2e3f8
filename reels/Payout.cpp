// The jackpot payout.
#include "app/FrmMain.h"

void FrmMain::PayJackpot()
{
}
