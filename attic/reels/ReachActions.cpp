// The reach actions that end a spin: the centre reel's stop logic, the
// all-rotation reach and the instant line-up.
#include "app/FrmMain.h"
#include "app/MdlZelmor.h"
#include "platform/Runtime.h"
#include "platform/Seams.h"

using namespace MdlZelmor;

namespace {

int StepBack(int symbol) { return symbol - 1 < 0 ? 9 : symbol - 1; }
int StepOn(int symbol) { return symbol + 1 > 9 ? 0 : symbol + 1; }

} // namespace

// Runs at every centre step once the centre countdown is out. DrawNumber 2..5
// play their reach actions; anything else stops the centre reel on a symbol
// other than the left reel's.
void FrmMain::CentreStopLogic()
{
    ImgCStop.setVisible(false);
    if (DrawNumber >= 2 && DrawNumber <= 5) {
        // The tests run one after the other: a pause that turns 3, 4 or 5
        // into 2 takes effect at the next step.
        if (DrawNumber == 2) {
            Timer1.setInterval(500);
            FrameBlink = 1;
            if (HitSymbol == PosL) {
                SpinC = 0;
                Timer1.setEnabled(false);
                HitSymbol = StepBack(HitSymbol);
                PayJackpot();
            }
        }
        if (DrawNumber == 3)
            ReachPause();
        if (DrawNumber == 4 && PosL == StepOn(HitSymbol))
            ReachPause();
        if (DrawNumber == 5 && PosL == StepBack(HitSymbol))
            ReachPause();
        return;
    }
    if (PosL != HitSymbol)
        EndWithoutWin();
}

// The centre reel halts for 1.5 s with lamps dark and music stopped, then
// finishes as a normal stop.
void FrmMain::ReachPause()
{
    StopFrameLamps();
    if (SoundOn())
        CloseMusic();
    Timer1.setInterval(1500);
    DrawNumber = 2;
}

// A miss, or the bust of a slot-chance spin whose centre reel ran out.
void FrmMain::EndWithoutWin()
{
    SpinC = 0;
    Timer1.setEnabled(false);
    if (ReachFlag == 1)
        StopFrameLamps();
    if (SoundOn())
        CloseMusic();
    if (ChanceLeft != 0) {
        ChanceLeft = 0;
        BackToNormalPlay();
        MsgBox(QStringLiteral("パンクしました。"), seams::vbInformation, QStringLiteral("ゼルモア"));
    }
    EndOfSpin();
}

// The reach music starts at the first centre step after the right reel
// stopped on the left reel's symbol.
void FrmMain::CheckReachMusic()
{
    if (SpinR != 0 || ReachFlag != 1 || ReachShown != 0)
        return;
    if (SoundOn())
        PlayMusic(QStringLiteral("REACH.MID"));
    ReachShown = 1;
}

// Called by the left reel's stop: all three reels turn together from the left
// reel's position; the first step follows in the same tick.
void FrmMain::StartAllRotation()
{
    StopCountL = int(rt::Int(Rnd() * 20)) + 10;
    PosC = PosL;
    PosR = PosL;
    SpinC = 0;
    SpinR = 0;
    AllRotation = 1;
    Timer1.setInterval(500);
}

void FrmMain::TickAllRotation()
{
    FrameBlink = 1;
    Timer1.setInterval(500);
    HitSymbol = PosL;
    DrawReel(Image1, Image2, Image3, PosL);
    DrawReel(Image4, Image5, Image6, PosC);
    DrawReel(Image7, Image8, Image9, PosR);
    --StopCountL;
    if (StopCountL == 0) {
        AllRotation = 0;
        if (SoundOn())
            CloseMusic();
        if (int(rt::Int(Rnd() * 3)) != 1) {
            PayJackpot();
        } else {
            // The re-lottery: a 3 s pause, then more steps without music.
            Timer1.setInterval(3000);
            AllRotation = 1;
            StopCountL = int(rt::Int(Rnd() * 15)) + 5;
        }
    }
    if (ReachShown == 0) {
        if (SoundOn())
            PlayMusic(QStringLiteral("ALLR.MID"));
        ReachShown = 1;
    }
}

// DrawNumber 6 at the left reel's stop: the three pay-line rows show the same
// symbol at once and the six other rows vanish until the next spin starts.
void FrmMain::LineUpInstantly()
{
    ReachFlag = 0;
    PosC = PosL;
    PosR = PosL;
    SpinC = 0;
    SpinR = 0;
    const QString picture = AppDir + QStringLiteral("R0%1.BMP").arg(PosL);
    for (auto* middle : {&Image2, &Image5, &Image8})
        middle->setPicture(picture);
    for (auto* row : {&Image1, &Image3, &Image4, &Image6, &Image7, &Image9})
        row->setVisible(false);
    HitSymbol = PosL;
    PayJackpot();
}
