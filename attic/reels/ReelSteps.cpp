// The reel steps driven by Timer1.
#include "app/FrmMain.h"
#include "app/MdlZelmor.h"
#include "platform/Runtime.h"
#include "platform/Seams.h"

using namespace MdlZelmor;

// Each flag is read just before its own step, so a step that stops other
// reels or starts the all-rotation reach takes effect in the same tick.
void FrmMain::Timer1_Timer()
{
    if (SpinL == 1)
        TickLeftReel();
    if (SpinC == 1)
        TickCentreReel();
    if (SpinR == 1)
        TickRightReel();
    if (AllRotation == 1)
        TickAllRotation();
}

// Draws symbols position+1, position and position-1 into the top, middle and
// bottom rows, then advances the position: between steps a position is one
// ahead of the symbol on the pay line.
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

namespace {

// Counts a reel's countdown down; true once it has run out. It stays at 0,
// so the reel's stop rule applies again at every step it keeps turning.
bool CountDown(int& count)
{
    if (count != 0)
        --count;
    return count == 0;
}

} // namespace

void FrmMain::TickLeftReel()
{
    DrawReel(Image1, Image2, Image3, PosL);
    if (CountDown(StopCountL))
        LeftReelStops();
}

void FrmMain::TickCentreReel()
{
    DrawReel(Image4, Image5, Image6, PosC);
    HitSymbol = PosC;
    if (CountDown(StopCountC))
        CentreStopLogic();
    CheckReachMusic();
}

void FrmMain::TickRightReel()
{
    DrawReel(Image7, Image8, Image9, PosR);
    if (CountDown(StopCountR))
        RightReelStopRule();
}

// The left reel stops on whatever it shows; the spin's notice ends here, and
// the all-rotation reach or the instant line-up begins.
void FrmMain::LeftReelStops()
{
    SpinL = 0;
    if (NoticeOn == 1) {
        NoticeOn = 0;
        StopNoticeLamps();
    }
    ImgLStop.setVisible(false);
    if (DrawNumber == 1)
        StartAllRotation();
    if (DrawNumber == 6)
        LineUpInstantly();
}

// Without a reach the right reel never rests on the left reel's symbol; with
// one it turns on until it does, and the reach begins at the slower pace.
void FrmMain::RightReelStopRule()
{
    ImgRStop.setVisible(false);
    if (ReachFlag != 1) {
        if (PosR != PosL)
            SpinR = 0;
        return;
    }
    if (PosR != PosL)
        return;
    SpinR = 0;
    Timer1.setInterval(500);
    StopCountC = int(rt::Int(Rnd() * 10)) + 10;
    FrameBlink = 1;
}
