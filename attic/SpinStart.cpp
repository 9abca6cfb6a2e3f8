// The Start button and the window's keys.
#include "app/FrmMain.h"
#include "app/MdlZelmor.h"
#include "platform/Runtime.h"
#include "platform/Seams.h"

using namespace MdlZelmor;

// Starts a spin: every lot of the spin is drawn here, then Timer1 plays it out.
void FrmMain::Command1_Click()
{
    if (SpinL + SpinC + SpinR != 0) {
        SpinL = SpinC = SpinR = 0;
        return;
    }
    if (ChanceLeft == 0)
        SpinStartCue(&FrmMain::PlayMusic, QStringLiteral("ROLL.MID"));
    Command1.setVisible(false);
    for (auto* cover : {&Image10, &Image11, &Image12, &Image13}) {
        cover->setPicture(AppDir + QStringLiteral("COVER.BMP")); // a missing picture leaves the box empty
        cover->setEnabled(false);
    }
    mnuFile.setEnabled(false);
    mnuHelp.setEnabled(false);
    for (auto* row : {&Image1, &Image3, &Image4, &Image6, &Image7, &Image9})
        row->setVisible(true);
    setMousePointer(ui::MousePointer::ArrowHourglass);
    SpinL = SpinC = SpinR = 1;

    StopCountL = int(rt::Int(Rnd() * 9)) + 50;
    StopCountC = int(rt::Int(Rnd() * 9)) + 95;
    StopCountR = int(rt::Int(Rnd() * 9)) + 75;
    ReachFlag = int(rt::Int(Rnd() * 3));
    Timer1.setInterval(75);
    Timer1.setEnabled(true);
    DrawNumber = int(rt::Int(ProbDenominator * Rnd())) + 1;
    if (DrawNumber >= 2 && DrawNumber <= 6)
        ReachFlag = 1;
    ReachShown = 0;

    if (ChanceLeft != 0) {
        // A slot-chance spin: no lottery, no reach; the player stops the reels.
        --ChanceLeft;
        ReachFlag = 0;
        DrawNumber = 0;
        for (auto* button : {&ImgLStop, &ImgCStop, &ImgRStop})
            button->setVisible(true);
        StopCountL = 50000;
        StopCountC = 50002;
        StopCountR = 50001;
    }
    DrawSpinNotice();
}

// The jackpot notice of a jackpot spin, or the false notice of a reach that
// will not pay. A jackpot spin arms its five slot-chance spins right here.
void FrmMain::DrawSpinNotice()
{
    if (DrawNumber >= 1 && DrawNumber <= 6) {
        NoticeOn = 0;
        const int x = int(rt::Int(Rnd() * 20));
        if (x == 1) {
            Timer3.setInterval(100);
            NoticeBlink = 1;
            NoticeOn = 1;
        }
        if (x > 15) {
            Timer3.setInterval(500);
            NoticeBlink = 1;
            NoticeOn = 1;
        }
        if (x > 10)
            SpinStartCue(&FrmMain::PlayEffect, QStringLiteral("YOKOKU.WAV"));
        ChanceLeft = 5;
    } else if (ReachFlag == 1) {
        const int y = int(rt::Int(Rnd() * 30));
        if (y >= 20)
            SpinStartCue(&FrmMain::PlayEffect, QStringLiteral("YOKOKU.WAV"));
        const int z = int(rt::Int(Rnd() * 30));
        if (z <= 10) {
            Timer3.setInterval(500);
            NoticeBlink = 1;
            NoticeOn = 1;
        }
    }
}

// A sound cue of the spin start. When the sound device fails, sound is
// switched off for good and the spin still starts in full: the draws, the
// notice lamps and the slot chance do not depend on the sound.
void FrmMain::SpinStartCue(bool (FrmMain::*cue)(const QString&), const QString& file)
{
    if (!SoundOn() || (this->*cue)(file))
        return;
    MsgBox(QStringLiteral("音源デバイスエラーです。<音はいらない> に自動設定します。"), seams::vbInformation,
           QStringLiteral("ゼルモア"));
    SaveLines[3] = QStringLiteral("1");
    mnuMusic.setChecked(true);
}

void FrmMain::Form_KeyDown(int keyCode, int shift)
{
    Q_UNUSED(shift);
    if (keyCode == 27)
        mnuQuit_Click();
}
