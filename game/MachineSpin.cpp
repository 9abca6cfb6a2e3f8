// SPDX-License-Identifier: MIT
// The spin: its start, the reels' steps and stop rules, the reach actions,
// the slot chance's STOP buttons, the payout and the end of the spin.
#include "game/Machine.h"

#include "game/Draws.h"
#include "game/Payout.h"
#include "game/Prompts.h"

#include <algorithm>

namespace game {

namespace {

int StepBack(int symbol) { return symbol - 1 < 0 ? 9 : symbol - 1; }
int StepOn(int symbol) { return symbol + 1 > 9 ? 0 : symbol + 1; }

// Counts a reel's countdown down; true once it has run out. It stays at 0,
// so the reel's stop rule applies again at every step it keeps turning.
bool CountDown(int& count)
{
    if (count != 0)
        --count;
    return count == 0;
}

bool IsJackpotDraw(qint64 drawNumber) { return drawNumber >= 1 && drawNumber <= 6; }

} // namespace

// ---------------------------------------------------------------- spin start

void Machine::startSpin()
{
    if (left().turning || centre().turning || right().turning) {
        for (ReelState& reel : s_.reels)
            reel.turning = false;
        return;
    }
    inSpinStart_ = true;
    spinStartCueFailed_ = false;
    if (s_.chanceLeft == 0)
        play(Cue::Roll);
    changeActions([](Actions& a) {
        a.startLive = false;
        a.coversLive = false;
        a.busy = true;
    });
    setAllCovers(CoverFace::Down);
    for (Reel reel : AllReels) {
        ReelFaces faces = s_.reel(reel).faces;
        faces[0].visible = faces[2].visible = true;
        setReelFaces(reel, faces);
        s_.reel(reel).turning = true;
    }

    left().stopCount = Draw(9, 50);
    centre().stopCount = Draw(9, 95);
    right().stopCount = Draw(9, 75);
    s_.showsReach = Draw(3) == 1;
    setReelPace(ReelTickMs);
    setReelsRunning(true);
    s_.drawNumber = DrawLottery(s_.denominator);
    if (s_.drawNumber >= 2 && s_.drawNumber <= 6)
        s_.showsReach = true;
    s_.reachShown = false;

    s_.slotChanceSpin = s_.chanceLeft != 0;
    if (s_.slotChanceSpin)
        setUpSlotChanceSpin();
    drawSpinNotice();
    emit spinStarted();
    inSpinStart_ = false;

    // The whole spin is decided before the player hears of a failed sound, so
    // reel ticks during the message play out a complete spin.
    if (spinStartCueFailed_)
        tell(Notice::SoundDeviceFailed);
}

// A slot-chance spin: no lottery, no reach; the player stops the reels.
void Machine::setUpSlotChanceSpin()
{
    --s_.chanceLeft;
    s_.showsReach = false;
    s_.drawNumber = 0;
    changeActions([](Actions& a) { a.stopsLive.fill(true); });
    left().stopCount = UntilStoppedSteps;
    centre().stopCount = UntilStoppedSteps + 2;
    right().stopCount = UntilStoppedSteps + 1;
}

// The jackpot notice of a jackpot spin, or the false notice of a reach that
// will not pay. A jackpot spin arms its five slot-chance spins right here.
void Machine::drawSpinNotice()
{
    s_.noticeChime = false;
    if (IsJackpotDraw(s_.drawNumber)) {
        s_.noticeOn = false;
        const int x = Draw(20);
        if (x == 1) {
            setNoticePace(PremiumNoticeMs);
            s_.lamps.blinkNotice(true);
            s_.noticeOn = true;
        }
        if (x > 15) {
            setNoticePace(500);
            s_.lamps.blinkNotice(false);
            s_.noticeOn = true;
        }
        if (x > 10)
            playNoticeChime();
        s_.chanceLeft = ChanceSpins;
    } else if (s_.showsReach) {
        if (Draw(30) >= 20)
            playNoticeChime();
        if (Draw(30) <= 10) {
            setNoticePace(500);
            s_.lamps.blinkNotice(false);
            s_.noticeOn = true;
        }
    }
}

// When the sound device fails here, sound is switched off for good and the
// spin still starts in full: the draws, the notice lamps and the slot chance
// do not depend on the sound.
void Machine::playNoticeChime()
{
    s_.noticeChime = true;
    play(Cue::Notice);
}

// ---------------------------------------------------------------- reel steps

// Each reel's flag is read just before its own step, so a step that stops
// other reels or starts the all-rotation reach takes effect in the same tick.
void Machine::tickReels()
{
    if (left().turning)
        stepLeftReel();
    if (centre().turning)
        stepCentreReel();
    if (right().turning)
        stepRightReel();
    if (s_.allRotation)
        stepAllRotation();
}

// Draws symbols position+1, position and position-1 into the top, middle and
// bottom rows, then advances the position: between steps a position is one
// ahead of the symbol on the pay line.
void Machine::drawReel(Reel reel)
{
    ReelState& r = s_.reel(reel);
    ReelFaces faces = r.faces;
    for (int k = 0; k < 3; ++k) {
        int n = r.position + 1 - k;
        if (n > 9)
            n -= 10;
        if (n < 0)
            n += 10;
        faces[k].symbol = n;
    }
    r.position = StepOn(r.position);
    setReelFaces(reel, faces);
}

void Machine::stepLeftReel()
{
    drawReel(Reel::Left);
    if (CountDown(left().stopCount))
        leftReelStops();
}

void Machine::stepCentreReel()
{
    drawReel(Reel::Centre);
    s_.centreMark = centre().position;
    if (CountDown(centre().stopCount))
        centreStopRule();
    startReachMusic();
}

void Machine::stepRightReel()
{
    drawReel(Reel::Right);
    if (CountDown(right().stopCount))
        rightReelStopRule();
}

// The left reel stops on whatever it shows; the spin's notice ends here, and
// the all-rotation reach or the instant line-up begins.
void Machine::leftReelStops()
{
    left().turning = false;
    if (s_.noticeOn) {
        s_.noticeOn = false;
        changeLamps([](Lamps& lamps) { lamps.stopNotice(); });
    }
    changeActions([](Actions& a) { a.stopsLive[0] = false; });
    if (s_.drawNumber == 1)
        startAllRotation();
    if (s_.drawNumber == 6)
        lineUpInstantly();
    if (s_.slotChanceSpin)
        judgeSlotChanceSpin();
}

// Without a reach the right reel never rests on the left reel's symbol; with
// one it turns on until it does, and the reach begins at the slower pace.
void Machine::rightReelStopRule()
{
    changeActions([](Actions& a) { a.stopsLive[2] = false; });
    if (!s_.showsReach) {
        if (right().position != left().position) {
            right().turning = false;
            if (s_.slotChanceSpin)
                judgeSlotChanceSpin();
        }
        return;
    }
    if (right().position != left().position)
        return;
    right().turning = false;
    setReelPace(500);
    centre().stopCount = Draw(10, 10);
    s_.lamps.blinkFrame();
}

// Runs at every centre step once the centre countdown is out. drawNumber 2..5
// play their reach actions; anything else stops the centre reel on a symbol
// other than the left reel's.
void Machine::centreStopRule()
{
    changeActions([](Actions& a) { a.stopsLive[1] = false; });
    if (s_.drawNumber >= 2 && s_.drawNumber <= 5) {
        // The tests run one after the other: a pause that turns 3, 4 or 5
        // into 2 takes effect at the next step.
        if (s_.drawNumber == 2) {
            setReelPace(500);
            s_.lamps.blinkFrame();
            if (s_.centreMark == left().position) {
                centre().turning = false;
                setReelsRunning(false);
                s_.centreMark = StepBack(s_.centreMark);
                payJackpot(s_.centreMark);
            }
        }
        if (s_.drawNumber == 3)
            reachPause();
        if (s_.drawNumber == 4 && left().position == StepOn(s_.centreMark))
            reachPause();
        if (s_.drawNumber == 5 && left().position == StepBack(s_.centreMark))
            reachPause();
        return;
    }
    if (left().position != s_.centreMark)
        endWithoutWin();
}

// The centre reel halts for 1.5 s with lamps dark and music stopped, then
// finishes as a normal stop.
void Machine::reachPause()
{
    changeLamps([](Lamps& lamps) { lamps.stopFrame(); });
    closeMusic();
    setReelPace(1500);
    s_.drawNumber = 2;
}

// A miss, or the bust of a slot-chance spin whose centre reel ran out.
void Machine::endWithoutWin()
{
    centre().turning = false;
    setReelsRunning(false);
    if (s_.showsReach)
        changeLamps([](Lamps& lamps) { lamps.stopFrame(); });
    closeMusic();
    if (s_.chanceLeft != 0) {
        s_.chanceLeft = 0;
        backToNormalPlay();
        tell(Notice::Bust);
    }
    endOfSpin();
}

// The reach music starts at the first centre step after the right reel
// stopped on the left reel's symbol.
void Machine::startReachMusic()
{
    if (right().turning || !s_.showsReach || s_.reachShown)
        return;
    play(Cue::Reach);
    s_.reachShown = true;
}

// Called by the left reel's stop: all three reels turn together from the left
// reel's position; the first step follows in the same tick.
void Machine::startAllRotation()
{
    left().stopCount = Draw(20, 10);
    centre().position = left().position;
    right().position = left().position;
    centre().turning = false;
    right().turning = false;
    s_.allRotation = true;
    setReelPace(500);
}

void Machine::stepAllRotation()
{
    s_.lamps.blinkFrame();
    setReelPace(500);
    s_.centreMark = left().position;
    for (Reel reel : AllReels)
        drawReel(reel);
    --left().stopCount;
    if (left().stopCount == 0) {
        s_.allRotation = false;
        closeMusic();
        if (Draw(3) != 1) {
            payJackpot(s_.centreMark);
        } else {
            // The re-lottery: a 3 s pause, then more steps without music.
            setReelPace(3000);
            s_.allRotation = true;
            left().stopCount = Draw(15, 5);
        }
    }
    if (!s_.reachShown) {
        play(Cue::AllRotation);
        s_.reachShown = true;
    }
}

// drawNumber 6 at the left reel's stop: the three pay-line rows show the same
// symbol at once and the six other rows vanish until the next spin starts.
void Machine::lineUpInstantly()
{
    s_.showsReach = false;
    const int symbol = left().position;
    centre().position = symbol;
    right().position = symbol;
    centre().turning = false;
    right().turning = false;
    for (Reel reel : AllReels) {
        ReelFaces faces = s_.reel(reel).faces;
        faces[1].symbol = symbol;
        faces[0].visible = faces[2].visible = false;
        setReelFaces(reel, faces);
    }
    s_.centreMark = symbol;
    payJackpot(symbol);
}

// ---------------------------------------------------------------- stop buttons

void Machine::pressStop(Reel reel)
{
    s_.reel(reel).turning = false;
    changeActions([reel](Actions& a) { a.stopsLive[std::size_t(reel)] = false; });
    judgeSlotChanceSpin();
}

// A reel of a slot-chance spin has stopped, by its button or by running out
// its count. The stop that leaves no reel turning judges the spin: three
// equal symbols pay, anything else ends the spin.
void Machine::judgeSlotChanceSpin()
{
    play(Cue::Stop);
    if (left().turning || centre().turning || right().turning)
        return;
    if (left().position == right().position && centre().position == right().position) {
        // The centre mark is one ahead of the pay line.
        s_.centreMark = StepBack(s_.centreMark);
        payJackpot(s_.centreMark);
        return;
    }
    endOfSpin();
    if (s_.chanceLeft == 0 && soundOn())
        backToNormalPlay();
    setChanceCounter(s_.chanceLeft);
}

// ---------------------------------------------------------------- a spin finished at once

// Every pause is a reel tick's interval, so ticking the reels back to back
// skips them all; the lamp timers change nothing a spin decides. Pressing a
// live STOP button first leaves a slot-chance reel where it stands, as the
// player pressing it now would. A reel always stops within a few hundred
// ticks; the cap only guards the quit against a spin that never ends.
void Machine::finishSpin()
{
    constexpr int MaxTicks = 4 * UntilStoppedSteps;
    for (int ticks = 0; s_.actions.busy && ticks < MaxTicks; ++ticks) {
        const auto& live = s_.actions.stopsLive;
        const auto stop = std::find(live.begin(), live.end(), true);
        if (stop != live.end())
            pressStop(Reel(stop - live.begin()));
        else if (!clock_.fire(TimerId::Reel))
            break;
    }
}

// ---------------------------------------------------------------- payout

void Machine::payJackpot(int symbol)
{
    play(Cue::Jackpot);
    const qint64 win = JackpotWin(symbol, s_.bet, s_.targetSymbol, s_.targetRate);
    setLastWin(win);
    setMoney(s_.money + win);
    emit jackpotPaid(symbol, win);
    changeLamps([](Lamps& lamps) { lamps.stopFrame(); });

    if (s_.money >= GoalMoney) {
        emit goalReached(s_.money);
        play(Cue::Fever);
        tell(Notice::Goal);
        setMoney(RestartMoney);
        unlock();
    }

    if (soundOn() && s_.chanceLeft == 0)
        backToNormalPlay();
    if (soundOn() && s_.chanceLeft != 0) {
        // Both lamp groups blink through the slot chance.
        setNoticePace(1000);
        s_.lamps.blinkNotice(false);
        s_.lamps.blinkFrame();
        play(Cue::ChanceIntro);
    }
    endOfSpin();
    setChanceCounter(s_.chanceLeft);
}

// The slot chance is over: both lamp groups go dark and the calm tune plays.
void Machine::backToNormalPlay()
{
    changeLamps([](Lamps& lamps) {
        lamps.stopNotice();
        lamps.stopFrame();
    });
    play(Cue::Calm);
}

// End of a spin: covers take clicks, BET 0, menus enabled, normal pointer.
// The slot-chance counter never shows a number while no spins remain.
void Machine::endOfSpin()
{
    if (s_.chanceLeft == 0)
        setChanceCounter(0);
    setBet(0);
    changeActions([](Actions& a) {
        a.coversLive = true;
        a.busy = false;
    });
    emit spinEnded();
}

} // namespace game
