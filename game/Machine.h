// SPDX-License-Identifier: MIT
// The machine: the whole state of the game in progress as typed fields and
// every rule of play as a method. It knows no widgets: it keeps its own time
// (game::Clock), reports each fact that changed through a signal carrying
// its new value, raises notices and asks questions through the prompter
// (game/Prompts.h) and draws its random numbers from the random seam.
#pragma once

#include "game/Clock.h"
#include "game/Cues.h"
#include "game/MachineState.h"

#include <QObject>

#include <optional>

namespace game {

class Machine : public QObject {
    Q_OBJECT
public:
    explicit Machine(Clock::Drive drive = Clock::Drive::RealTime, QObject* parent = nullptr);

    const MachineState& state() const { return s_; }
    // Direct access for tests that set up a situation; nothing is signalled,
    // and the clock keeps its timers as they were.
    MachineState& editState() { return s_; }
    // Puts the machine into a state taken earlier (the math tool's walk, tests):
    // nothing is signalled; the clock's timers follow the state's pace.
    void restore(const MachineState& state);
    Clock& clock() { return clock_; }
    const Clock& clock() const { return clock_; }

    // ---------------------------------------------------------------- start-up
    struct StartValues {
        qint64 money = RestartMoney;
        SoundSwitch sound = SoundSwitch::Unset;
        bool unlocked = false;
        double denominator = NormalDenominator;
    };
    // Puts the machine into its idle state: the money, the first reel faces
    // (6, 7 and 8 on the pay line) drawn through the reel steps, dark lamps,
    // covers face down, BET and win 0, and its lamp timers running.
    void startUp(const StartValues& values);

    // ---------------------------------------------------------------- the player's actions
    // A click on cover 0..3 (A..D): $10 a try, one time in four the hit card.
    void pickCover(int cover);
    // The Start button: decides the whole spin (run lengths, reach, lottery,
    // notice, slot chance) and sets the reels turning.
    void startSpin();
    // A STOP button of a slot-chance spin.
    void pressStop(Reel reel);
    void borrow100();
    void borrow1000();
    // The probability command: asks for a new denominator.
    void changeProbability();
    // "No sound": off closes both channels; on plays nothing until the next cue.
    void toggleSound();
    // Calm lamps: see game/Lamps.h.
    void setCalmLamps(bool calm);
    // Called by the sound layer, from inside a cue, when the device failed.
    void soundDeviceFailed();
    // Plays the spin in progress to its end at once, for a quit the player
    // did not choose: no pause is waited for, the slot chance's turning reels
    // stop where they are as if their STOP buttons were pressed now, and the
    // spin pays what it decided. Nothing happens between spins.
    void finishSpin();

    // ---------------------------------------------------------------- queries
    bool soundOn() const { return s_.sound == SoundSwitch::On; }
    bool spinning() const;
    const Actions& actions() const { return s_.actions; }
    // The denominator the probability command chose in this run, if any.
    std::optional<qint64> chosenDenominator() const { return chosenDenominator_; }

signals:
    // Each fact, with its new value, once per change.
    void moneyChanged(qint64 money);
    void betChanged(int bet);
    void lastWinChanged(qint64 win);
    void chanceCounterChanged(int spinsLeft); // 0: the counter is hidden
    void reelChanged(game::Reel reel, const game::ReelFaces& faces);
    void coverChanged(int cover, game::CoverFace face);
    void targetShownChanged(int symbol);      // 0: no target
    void actionsChanged(const game::Actions& actions);
    void frameLampsChanged(game::LampState state);
    void noticeLampsChanged(game::LampState state);
    void soundSwitchChanged(game::SoundSwitch sound);
    void unlockedChanged(bool unlocked);
    void calmLampsChanged(bool calm);
    // Sound, only while the sound is on.
    void cue(game::Cue cue);
    void musicStopped();                      // the music channel closes
    void soundStopped();                      // both channels close
    // Events of play, for the history (game/PlayRecorder.h).
    void coverPicked(bool hit);
    void targetBought(int symbol);
    void loanGranted(qint64 amount);
    void spinStarted();                       // the spin is decided
    void jackpotPaid(int symbol, qint64 win);
    void goalReached(qint64 money);           // before the reset to RestartMoney
    void spinEnded();

private:
    friend class MachineTest;
    // The clock's ticks
    void tick(TimerId timer);
    void tickReels();
    void tickFrameLamps();
    void tickNoticeLamps();
    // Spin start (MachineSpin.cpp)
    void drawSpinNotice();
    void playNoticeChime();
    void setUpSlotChanceSpin();
    // Reel steps and reach actions (MachineReels.cpp)
    void drawReel(Reel reel);
    void stepLeftReel();
    void stepCentreReel();
    void stepRightReel();
    void stepAllRotation();
    void leftReelStops();
    void rightReelStopRule();
    void centreStopRule();
    void reachPause();
    void endWithoutWin();
    void startReachMusic();
    void startAllRotation();
    void lineUpInstantly();
    void judgeSlotChanceSpin();
    // Payout and end of spin
    void payJackpot(int symbol);
    void backToNormalPlay();
    void endOfSpin();
    void unlock();
    // Facts: each setter signals a change, and only a change.
    void setMoney(qint64 money);
    void setBet(int bet);
    void setLastWin(qint64 win);
    void setChanceCounter(int spinsLeft);
    void setReelFaces(Reel reel, const ReelFaces& faces);
    void setCover(int cover, CoverFace face);
    void setAllCovers(CoverFace face);
    void setTargetShown(int symbol);
    void setActions(const Actions& actions);
    void setSound(SoundSwitch sound);
    template <class T, class Signal> void changeFact(T& fact, const T& value, Signal changed);
    template <class Change> void changeActions(Change change);
    template <class Change> void changeLamps(Change change);
    void buyTarget(int symbol);
    // Timers and sound
    void setReelPace(int ms);
    void setReelsRunning(bool running);
    void setNoticePace(int ms);
    void play(Cue c);
    void closeMusic();

    ReelState& left() { return s_.reel(Reel::Left); }
    ReelState& centre() { return s_.reel(Reel::Centre); }
    ReelState& right() { return s_.reel(Reel::Right); }

    MachineState s_;
    Clock clock_;
    std::optional<qint64> chosenDenominator_;
    // While the spin start runs: a cue failed and the player is told once the
    // whole spin has been decided.
    bool inSpinStart_ = false;
    bool spinStartCueFailed_ = false;
};

} // namespace game

namespace game {

// Sets a fact and signals its new value, only when it changed.
template <class T, class Signal>
void Machine::changeFact(T& fact, const T& value, Signal changed)
{
    if (fact == value)
        return;
    fact = value;
    emit(this->*changed)(value);
}

// Changes what the player can do, signalling once when anything changed.
template <class Change>
void Machine::changeActions(Change change)
{
    Actions actions = s_.actions;
    change(actions);
    setActions(actions);
}

// Changes the lamps, signalling each group whose shown state changed.
template <class Change>
void Machine::changeLamps(Change change)
{
    const LampState frame = s_.lamps.frame();
    const LampState notice = s_.lamps.notice();
    change(s_.lamps);
    if (s_.lamps.frame() != frame)
        emit frameLampsChanged(s_.lamps.frame());
    if (s_.lamps.notice() != notice)
        emit noticeLampsChanged(s_.lamps.notice());
}

} // namespace game
