// Start-up: puts the machine into its Idle state before the window is shown.
#include "app/FrmMain.h"
#include "app/MdlZelmor.h"
#include "platform/Seams.h"

using namespace MdlZelmor;

void FrmMain::Form_Load()
{
    DataMark = 1;
    SaveLines[2] = QStringLiteral("100");
    Label1.setCaption(SaveLines[2]);
    AppDir = ProgramDir();
    if (!AppDir.endsWith(QLatin1Char('/')))
        AppDir += QLatin1Char('/');
    mnuMusic.setChecked(SaveLines[3] == QStringLiteral("1"));
    PosL = 6;
    PosC = 7;
    PosR = 8;
    SpinL = SpinC = SpinR = 0;
    TickLeftReel();
    TickCentreReel();
    TickRightReel();
    EndOfSpin();
    Randomize();
    for (auto* cover : {&Image10, &Image11, &Image12, &Image13})
        cover->setPicture(AppDir + QStringLiteral("COVER.BMP"));
    Image14.setPicture(AppDir + QStringLiteral("BAI01.BMP"));
    Timer1.setEnabled(false);
    Timer1.setInterval(75);
    Command1.setVisible(false);
    FrameBlink = FramePhase = NoticeBlink = NoticeOn = NoticePhase = 0;
    TargetRate = 1;
    Label11.setCaption(QStringLiteral("0"));
    Label12.setCaption(QStringLiteral("0"));
    ImgLStop.setVisible(false);
    ImgCStop.setVisible(false);
    ImgRStop.setVisible(false);
    ConfigureSound();
    ProbDenominator = 300;
}
