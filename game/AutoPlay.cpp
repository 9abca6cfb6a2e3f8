// SPDX-License-Identifier: MIT
#include "game/AutoPlay.h"

#include <algorithm>
#include <utility>

namespace game {

namespace {

// How often the hand looks again while the reels turn on their own.
constexpr int LookAgainMs = 100;

// The hand's pauses before each press, shortest and longest, at the normal
// pace: a cover is clicked quickly, Start after a look at the BET, a STOP
// button after watching the reel go round for a moment.
struct Pause {
    int shortestMs, longestMs;
};
constexpr Pause CoverPause{250, 700};
constexpr Pause StartPause{400, 900};
constexpr Pause StopPause{300, 1000};

} // namespace

AutoPlay::AutoPlay(Machine& machine, quint32 seed, QObject* parent)
    : QObject(parent)
    , machine_(machine)
    , hand_(seed)
{
    qRegisterMetaType<game::AutoPlay::Move>();
    qRegisterMetaType<game::AutoPlay::Ending>();
    connect(&machine_.clock(), &Clock::ticked, this, [this](TimerId timer) {
        if (timer == TimerId::AutoPlay)
            handTick();
    });
    connect(&machine_, &Machine::jackpotPaid, this, [this] { jackpotPaid_ = true; });
    connect(&machine_, &Machine::spinEnded, this, &AutoPlay::spinEnded);
    connect(&machine_, &Machine::moneyChanged, this, &AutoPlay::checkMoney);
}

std::optional<int> AutoPlay::spinsLeft() const
{
    if (!limits_.spins)
        return std::nullopt;
    return std::max(0, *limits_.spins - spinsPlayed_);
}

void AutoPlay::start(const AutoPlayLimits& limits)
{
    limits_ = limits;
    spinsPlayed_ = 0;
    jackpotPaid_ = false;
    due_ = false;
    running_ = true;
    emit runningChanged(true);
    emit spinsLeftChanged();
    checkMoney(machine_.state().money);
    if (running_ && limits_.spins && *limits_.spins <= 0)
        stop(Ending::Spins);
    if (running_)
        plan();
}

void AutoPlay::stop(Ending why)
{
    if (!running_)
        return;
    running_ = false;
    due_ = false;
    machine_.clock().setRunning(TimerId::AutoPlay, false);
    emit runningChanged(false);
    emit ended(why);
}

// ---------------------------------------------------------------- the rule of the hand

// The STOP buttons go left to right; while the reels turn by themselves the
// hand waits; with BET raised it presses Start, otherwise it buys a cover.
AutoPlay::Move AutoPlay::NextMove(const MachineState& state, int cover)
{
    const Actions& a = state.actions;
    const auto stop = std::find(a.stopsLive.begin(), a.stopsLive.end(), true);
    if (stop != a.stopsLive.end())
        return {Press::Stop, int(stop - a.stopsLive.begin())};
    if (a.busy)
        return {Press::Wait};
    if (a.startLive)
        return {Press::Start};
    if (a.coversLive && state.money >= CoverPrice)
        return {Press::Cover, cover};
    return {Press::None};
}

int AutoPlay::PauseMs(Press press, double share)
{
    Pause pause{LookAgainMs, LookAgainMs};
    if (press == Press::Cover)
        pause = CoverPause;
    else if (press == Press::Start)
        pause = StartPause;
    else if (press == Press::Stop)
        pause = StopPause;
    return pause.shortestMs + int(share * (pause.longestMs - pause.shortestMs));
}

// ---------------------------------------------------------------- playing

// A tick either makes the press planned, decided afresh from the machine as
// it is now, or only ends a look; then the next press is planned.
void AutoPlay::handTick()
{
    if (!running_)
        return;
    if (std::exchange(due_, false)) {
        const Move move = NextMove(machine_.state(), cover_);
        if (move.press != Press::Wait && move.press != Press::None)
            carryOut(move);
        if (!running_)
            return;
    }
    plan();
}

// Looks at the machine and sets the timer for the next press, or for the
// next look while the reels turn. Nothing left to play hands the machine back.
void AutoPlay::plan()
{
    cover_ = std::uniform_int_distribution<int>(0, 3)(hand_);
    const Move move = NextMove(machine_.state(), cover_);
    if (move.press == Press::None) {
        stop(Ending::Broke);
        return;
    }
    due_ = move.press != Press::Wait;
    wait(PauseMs(move.press, std::uniform_real_distribution<double>(0.0, 1.0)(hand_)));
}

void AutoPlay::wait(int ms)
{
    Clock& clock = machine_.clock();
    clock.setInterval(TimerId::AutoPlay, ms);
    clock.setRunning(TimerId::AutoPlay, true);
}

void AutoPlay::carryOut(const Move& move)
{
    emit pressed(move);
    switch (move.press) {
    case Press::Cover: machine_.pickCover(move.index); break;
    case Press::Start: machine_.startSpin(); break;
    case Press::Stop: machine_.pressStop(Reel(move.index)); break;
    case Press::Wait:
    case Press::None: break;
    }
}

// ---------------------------------------------------------------- the limits

void AutoPlay::spinEnded()
{
    if (!running_)
        return;
    ++spinsPlayed_;
    const bool jackpot = std::exchange(jackpotPaid_, false);
    const MachineState& s = machine_.state();
    if (limits_.spins)
        emit spinsLeftChanged();
    if (limits_.jackpot && jackpot)
        stop(Ending::Jackpot);
    else if (limits_.chanceEnd && s.slotChanceSpin && s.chanceLeft == 0)
        stop(Ending::ChanceEnd);
    else if (limits_.spins && spinsPlayed_ >= *limits_.spins)
        stop(Ending::Spins);
}

void AutoPlay::checkMoney(qint64 money)
{
    if (!running_)
        return;
    if (limits_.moneyBelow && money < *limits_.moneyBelow)
        stop(Ending::MoneyBelow);
    else if (limits_.moneyAtLeast && money >= *limits_.moneyAtLeast)
        stop(Ending::MoneyAtLeast);
}

} // namespace game
