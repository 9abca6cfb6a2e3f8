// The frame lamps and the notice lamps. Each group blinks under its own
// free-running timer while its flag is set; the play logic only sets the
// flags, Timer3's interval and, when it stops a group, the dark colour.
#include "app/FrmMain.h"
#include "platform/Runtime.h"

namespace {

constexpr long FrameLit = rt::RGB(0, 255, 255);  // &HFFFF00, cyan
constexpr long FrameDark = rt::RGB(0, 128, 128); // &H808000, teal

long NoticeLit() { return rt::ColorFromHexText(QStringLiteral("&H0080C0FF")); }
long NoticeDark() { return rt::ColorFromHexText(QStringLiteral("&H000040C0")); }

} // namespace

void FrmMain::Timer2_Timer()
{
    if (FrameBlink == 1)
        BlinkFrameLamps();
}

void FrmMain::BlinkFrameLamps()
{
    if (FramePhase == 0) {
        SetFrameLamps(FrameLit);
        FramePhase = 1;
    } else {
        SetFrameLampsDark();
        FramePhase = 0;
    }
}

void FrmMain::Timer3_Timer()
{
    if (NoticeBlink == 1)
        BlinkNoticeLamps();
}

void FrmMain::BlinkNoticeLamps()
{
    if (NoticePhase == 0) {
        SetNoticeLamps(NoticeLit());
        NoticePhase = 1;
    } else {
        SetNoticeLampsDark();
        NoticePhase = 0;
    }
}

void FrmMain::SetFrameLampsDark() { SetFrameLamps(FrameDark); }
void FrmMain::SetNoticeLampsDark() { SetNoticeLamps(NoticeDark()); }

// Fill colours of the whole group first, then the border colours.
void FrmMain::SetFrameLamps(long bgr)
{
    ui::Shape* lamps[] = {&Shape1, &Shape2, &Shape3, &Shape4, &Shape6, &Shape7};
    for (auto* lamp : lamps)
        lamp->setFillColor(bgr);
    for (auto* lamp : lamps)
        lamp->setBorderColor(bgr);
}

void FrmMain::SetNoticeLamps(long bgr)
{
    for (auto* lamp : {&Shape8, &Shape10})
        lamp->setFillColor(bgr);
    for (auto* lamp : {&Shape8, &Shape10})
        lamp->setBorderColor(bgr);
}

// Stops the frame lamps dark; their next blinking begins lit.
void FrmMain::StopFrameLamps()
{
    FrameBlink = 0;
    SetFrameLampsDark();
    FramePhase = 0;
}

// Stops the notice lamps dark. NoticePhase is kept: notice blinking that
// follows one stopped lit begins with a dark change.
void FrmMain::StopNoticeLamps()
{
    NoticeBlink = 0;
    SetNoticeLampsDark();
}
