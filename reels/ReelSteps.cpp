// The reel steps driven by Timer1.
#include "app/FrmMain.h"
#include "app/MdlZelmor.h"

using namespace MdlZelmor;

void FrmMain::Timer1_Timer()
{
}

void FrmMain::DrawReel(ui::Image& top, ui::Image& middle, ui::Image& bottom, int& position)
{
    ui::Image* rows[3] = {&top, &middle, &bottom};
    for (int k = 0; k < 3; ++k) {
        int n = position + 1 - k;
        if (n > 9)
            n -= 10;
        if (n < 0)
            n += 10;
        rows[k]->setPicture(AppDir + QStringLiteral("R0%1.BMP").arg(n));
    }
    position = position + 1 > 9 ? 0 : position + 1;
}

void FrmMain::TickLeftReel() { DrawReel(Image1, Image2, Image3, PosL); }
void FrmMain::TickCentreReel() { DrawReel(Image4, Image5, Image6, PosC); }
void FrmMain::TickRightReel() { DrawReel(Image7, Image8, Image9, PosR); }
