// Start-up: restores and checks the saved state, greets a first-time player and
// puts the machine into its Idle state before the window is shown.
#include "app/FrmMain.h"
#include "app/MdlZelmor.h"
#include "platform/Runtime.h"
#include "platform/Seams.h"

using namespace MdlZelmor;

namespace {

void Notice(const QString& text)
{
    MsgBox(text, seams::vbInformation, QStringLiteral("ゼルモア"));
}

} // namespace

void FrmMain::Form_Load()
{
    DataMark = 1;
    const bool ok = LoadData();
    if (ProgramEnded())
        return; // a file could not be read: the fatal message has been shown
    if (!ok) {
        // Failed integrity check: save the reset money with the mark 0 and quit.
        Label1.setCaption(rt::DecimalText(rt::Val(SaveLines[2])));
        AppDir = ProgramDir();
        DataMark = 0;
        SaveData();
        close(); // runs the quit path, which saves again and ends the program
        return;
    }

    if (SaveLines[1].isEmpty()) {
        Notice(QStringLiteral("この度はダウンロードして頂きありがとうございます。\r\n"
                              "ちょっとした息抜きにぴったりですので、末永く御利用\r\n"
                              "下さいます様お願い致します。"));
        SaveLines[2] = QStringLiteral("100");
    }

    if (SaveLines[30].isEmpty()) {
        ProbDenominator = 300;
    } else {
        ProbDenominator = rt::Val(SaveLines[30]);
        if (ProbDenominator < 6) {
            Notice(QStringLiteral("確率の分子は６の為、分母は６以上の値を設定して下さい。\r\n"
                                  "６でほとんど大当たりします。初期値は３００です。"));
            ProbDenominator = 300;
        }
    }

    CheckPassedTest();

    Label1.setCaption(rt::DecimalText(rt::Val(SaveLines[2])));
    AppDir = ProgramDir();
    if (!AppDir.endsWith(QLatin1Char('/')))
        AppDir += QLatin1Char('/');
    mnuMusic.setChecked(SaveLines[3] == QStringLiteral("1"));

    // The first reel faces: 6, 7 and 8 on the pay line. The centre reel's stop
    // logic also ends this "spin" as a plain miss, which readies the controls.
    PosL = 6;
    PosC = 7;
    PosR = 8;
    SpinL = SpinC = SpinR = 0;
    TickLeftReel();
    TickCentreReel();
    TickRightReel();

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
    mnuKakuritu.setEnabled(SaveLines[28] == QStringLiteral("1") && SaveLines[29] == QStringLiteral("ChosenGuest"));

    const QString denominator = SaveLines[30].isEmpty() ? QStringLiteral("300") : SaveLines[30];
    Notice(QStringLiteral("現在の確率設定は、") + denominator + QStringLiteral("分の6に設定されています。"));
}
