// SPDX-License-Identifier: MIT
// The machine: the whole state of the game in progress as typed fields and
// every rule of play as a method. It knows no widgets: it reports what changed
// through signals, asks the player through the prompt seam and draws its
// random numbers from the random seam. Pauses are timer intervals that the
// view's timers honour; the machine itself never waits.
#pragma once

#include "game/Cues.h"
#include "game/MachineState.h"
#include "game/PlayRecord.h"

#include <QObject>

#include <optional>

namespace game {

class Machine : public QObject {
    Q_OBJECT
public:
    explicit Machine(QObject* parent = nullptr);

    const MachineState& state() const { return s_; }
    // Direct access for the start-up and for tests that set up a situation;
    // nothing is signalled.
    MachineState& editState() { return s_; }

    // ---------------------------------------------------------------- start-up
    struct StartValues {
        qint64 money = 100;
        SoundSwitch sound = SoundSwitch::Unset;
        bool unlocked = false;
        double denominator = 300;
    };
    // Puts the machine into its Idle state: the money, the first reel faces
    // (6, 7 and 8 on the pay line) drawn through the reel steps, dark lamps,
    // covers face down, BET and win 0.
    void startUp(const StartValues& values);

    // ---------------------------------------------------------------- covers
    // A click on cover 0..3 (A..D): $10 a try, one time in four the hit card.
    void pickCover(int cover);

    // ---------------------------------------------------------------- spin
    // The Start button: decides the whole spin (run lengths, reach, lottery,
    // notice, slot chance) and sets the reels turning.
    void startSpin();
    // The reel timer's tick: each turning reel steps, then the all-rotation reach.
    void tickReels();
    void TickLeftReel();
    void TickCentreReel();
    void TickRightReel();
    void TickAllRotation();
    void LineUpInstantly();
    // Pays the symbol in hitSymbol; the callers have checked the line-up.
    void PayJackpot();
    // A stop button of a slot-chance spin.
    void pressStop(Reel reel);

    // ---------------------------------------------------------------- lamps
    void tickFrameLamps();  // the frame-lamp timer (250 ms)
    void tickNoticeLamps(); // the notice-lamp timer
    void BlinkFrameLamps();
    void BlinkNoticeLamps();
    // Calm lamps: no lamp changes more than twice a second, and the premium
    // notice shows in its own colour. The blinking, the reels and the draws
    // go on exactly as without.
    void setCalmLamps(bool calm);

    // ---------------------------------------------------------------- menus
    void borrow100();
    void borrow1000();
    // The probability command: asks for a new denominator.
    void changeProbability();
    // "No sound": off closes both channels; on plays nothing until the next cue.
    void toggleSound();
    // Called by the sound layer, from inside a cue, when the device failed.
    void soundDeviceFailed();

    // ---------------------------------------------------------------- queries
    bool soundOn() const { return s_.sound == SoundSwitch::On; }
    bool spinning() const { return s_.spinL || s_.spinC || s_.spinR || s_.allRotation; }
    // The denominator the probability command chose in this run, if any.
    std::optional<qint64> chosenDenominator() const { return chosenDenominator_; }

signals:
    void reelChanged(game::Reel reel);     // faces of one reel's three rows
    void lampsChanged();                   // frame or notice lamp colours
    void amountsChanged();                 // money, BET, last win or the slot-chance counter
    void controlsChanged();                // which controls show and take input, their pictures, the pointer
    void reelTimerIntervalSet(int ms);     // a new interval restarts the period
    void reelTimerEnabledSet(bool enabled);
    void noticeTimerIntervalSet(int ms);
    void cue(game::Cue cue);               // only while the sound is on
    void musicStopped();                   // the music channel closes
    void soundStopped();                   // both channels close
    void soundSwitchChanged();
    void unlockedChanged();
    void calmLampsChanged();
    // A spin has finished, or money changed hands: a cover click, a target
    // bought, a loan, the goal's reset. Untimed: the history stamps it.
    void played(const game::PlayRecord& record);

private:
    // Spin start
    void playSpinStartCue(Cue c);
    void drawSpinNotice();
    void playNoticeChime();
    // Reel steps and reach actions
    void drawReel(Reel reel);
    void LeftReelStops();
    void RightReelStopRule();
    void CentreStopLogic();
    void ReachPause();
    void EndWithoutWin();
    void CheckReachMusic();
    void StartAllRotation();
    void judgeSlotChanceSpin();
    // Payout and end of spin
    void BackToNormalPlay();
    void EndOfSpin();
    void unlock();
    // Lamps
    void setFrameLamps(long bgr);
    void setNoticeLamps(long bgr);
    void StopFrameLamps();
    void StopNoticeLamps();
    void showCalmLamps();
    // Timers, sound and amounts
    void setReelTimerInterval(int ms);
    void setReelTimerEnabled(bool enabled);
    void setNoticeTimerInterval(int ms);
    void play(Cue c);
    void closeMusic();
    void setMoney(qint64 money);
    void buyTarget(int symbol);
    void recordMoney(PlayKind kind, qint64 amount);
    void recordSpinStart();
    void recordSpinEnd();

    MachineState s_;
    std::optional<qint64> chosenDenominator_;
    // While the spin start runs: a cue failed and the player is told once the
    // whole spin has been decided.
    bool inSpinStart_ = false;
    bool spinStartCueFailed_ = false;
    // The history entry of the spin in progress, reported when it finishes.
    std::optional<PlayRecord> spinRecord_;
    bool noticeChimeDrawn_ = false;
    // The money a jackpot brought up to the goal, before its reset to $100.
    std::optional<qint64> goalReached_;
};

} // namespace game
