// The machine: one fixed-layout window that holds every control the player
// sees and, as its own fields, the whole state of the game in progress.
#pragma once

#include "platform/Controls.h"
#include "sound/MMControl.h"

#include <QMainWindow>

class FrmHelp;

class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    explicit FrmMain(QWidget* parent = nullptr);
    ~FrmMain() override;

    // ---------------------------------------------------------------- controls
    ui::Label Label1, Label2, Label3, Label4, Label5, Label6, Label7, Label8, Label9, Label10,
        Label11, Label12, Label13, Label14;
    ui::Image Image1, Image2, Image3, Image4, Image5, Image6, Image7, Image8, Image9, Image10,
        Image11, Image12, Image13, Image14;
    ui::Image ImgLStop, ImgCStop, ImgRStop;
    ui::Shape Shape1, Shape2, Shape3, Shape4, Shape5, Shape6, Shape7, Shape8, Shape9, Shape10;
    ui::PictureButton Command1;
    ui::Timer Timer1, Timer2, Timer3;
    ui::MenuItem mnuFile, mnuRent, mnuRen1, mnuSF1, mnuMusic, mnuKakuritu, mnuSF2, mnuQuit;
    ui::MenuItem mnuHelp, mnuVer, mnuMes;
    MMControl MMControl1, MMControl2;

    void setMousePointer(ui::MousePointer pointer);
    ui::MousePointer mousePointer() const { return pointer_; }

    // ---------------------------------------------------------------- state
    int ReachFlag = 0;
    int DrawNumber = 0;
    int StopCountL = 0;
    int StopCountC = 0;
    int StopCountR = 0;
    int AllRotation = 0;
    int HitSymbol = 0;
    int NoticeOn = 0;
    int FileMissing = 0;
    int FrameBlink = 0;
    int FramePhase = 0;
    int ReachShown = 0;
    double ProbDenominator = 0;
    int DataMark = 0;
    double LoadedMark = 0;
    int ChanceLeft = 0;
    int NoticeBlink = 0;
    int PosL = 0;
    int PosC = 0;
    int PosR = 0;
    int SpinL = 0;
    int SpinC = 0;
    int SpinR = 0;
    int NoticePhase = 0;

    // ---------------------------------------------------------------- routines
    // Spin start and keys (app/SpinStart.cpp)
    void Command1_Click();
    void Form_KeyDown(int keyCode, int shift);
    // Start-up (app/StartUp.cpp)
    void Form_Load();
    // Reel steps and reach actions (reels/)
    void Timer1_Timer();
    void TickLeftReel();
    void TickCentreReel();
    void TickRightReel();
    void TickAllRotation();
    void LineUpInstantly();
    void PayJackpot();
    // Lamps (reels/Lamps.cpp)
    void Timer2_Timer();
    void BlinkFrameLamps();
    void Timer3_Timer();
    void BlinkNoticeLamps();
    void SetFrameLampsDark();
    void SetNoticeLampsDark();
    // Saving, loading and the battle of wits (storage/)
    void Form_QueryUnload();
    void mnuQuit_Click();
    bool LoadData();
    void SaveData();
    bool ShowWitsDialogs();
    // The reward for a player who passed the check after a failed one.
    void CheckPassedTest();
    // Covers (features/CoverPick.cpp)
    void Image10_Click();
    void Image11_Click();
    void Image12_Click();
    void Image13_Click();
    // Stop buttons (app/StopButtons.cpp)
    void ImgLStop_Click();
    void ImgCStop_Click();
    void ImgRStop_Click();
    // Sound (sound/)
    void MMControl1_Done(int notifyCode);
    void mnuMusic_Click();
    bool PlayMusic(const QString& file);
    bool PlayEffect(const QString& file);
    void CloseMusic();
    void ConfigureSound();
    // Side features (features/)
    void mnuKakuritu_Click();
    void mnuMes_Click();
    void mnuRen1_Click();
    void mnuRent_Click();
    void mnuVer_Click();

    // Opens the target-symbol dialog after a cover hit (features/).
    void ShowTargetDialog();
    // End of a spin: covers take clicks, BET 0, menus enabled, normal pointer.
    void EndOfSpin();
    // Sound plays only while settings line 3 is "0".
    static bool SoundOn();

    FrmHelp* helpWindow() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void wireHandlers();
    void CoverClick(ui::Image& cover, int hitNumber);
    void StopButtonClick(int& spinFlag, ui::Image& button);
    void DrawReel(ui::Image& top, ui::Image& middle, ui::Image& bottom, int& position);

    // Play cycle helpers (app/SpinStart.cpp, reels/)
    void SpinStartCue(bool (FrmMain::*cue)(const QString&), const QString& file);
    void DrawSpinNotice();
    void LeftReelStops();
    void RightReelStopRule();
    void CentreStopLogic();
    void ReachPause();
    void EndWithoutWin();
    void CheckReachMusic();
    void StartAllRotation();
    void BackToNormalPlay();
    void ShowChanceCounter();
    void StopFrameLamps();
    void StopNoticeLamps();
    void SetFrameLamps(long bgr);
    void SetNoticeLamps(long bgr);

    QWidget* client_ = nullptr;
    ui::MousePointer pointer_ = ui::MousePointer::Default;
    FrmHelp* help_ = nullptr;
};
