// SPDX-License-Identifier: MIT
#include "game/PlayRecorder.h"

#include "game/Machine.h"

#include <utility>

namespace game {

namespace {

ReachAction ReachShown(const MachineState& s)
{
    if (s.drawNumber >= 1 && s.drawNumber <= 6)
        return ReachAction(int(ReachAction::AllRotation) + int(s.drawNumber) - 1);
    return s.showsReach ? ReachAction::Missed : ReachAction::None;
}

NoticeLamps NoticeShown(const MachineState& s)
{
    if (!s.noticeOn)
        return NoticeLamps::None;
    return s.lamps.noticePremium() ? NoticeLamps::Premium : NoticeLamps::Normal;
}

} // namespace

PlayRecorder::PlayRecorder(const Machine& machine, QObject* parent)
    : QObject(parent)
    , machine_(machine)
{
    connect(&machine, &Machine::coverPicked, this,
            [this](bool hit) { recordMoney(hit ? PlayKind::CoverHit : PlayKind::CoverMiss, -CoverPrice); });
    connect(&machine, &Machine::targetBought, this, [this] { recordMoney(PlayKind::Target, -TargetPrice); });
    connect(&machine, &Machine::loanGranted, this, [this](qint64 amount) { recordMoney(PlayKind::Loan, amount); });
    connect(&machine, &Machine::spinStarted, this, &PlayRecorder::spinStarted);
    connect(&machine, &Machine::jackpotPaid, this, &PlayRecorder::jackpotPaid);
    connect(&machine, &Machine::goalReached, this, [this](qint64 money) { goalReached_ = money; });
    connect(&machine, &Machine::spinEnded, this, &PlayRecorder::spinEnded);
}

void PlayRecorder::recordMoney(PlayKind kind, qint64 amount)
{
    const MachineState& s = machine_.state();
    PlayRecord record;
    record.kind = kind;
    record.amount = amount;
    record.moneyAfter = s.money;
    if (kind == PlayKind::Target)
        record.targetSymbol = s.targetSymbol;
    emit played(record);
}

// What the spin start decided, kept until the spin finishes.
void PlayRecorder::spinStarted()
{
    const MachineState& s = machine_.state();
    PlayRecord record;
    record.bet = s.bet;
    record.denominator = s.denominator;
    record.jackpot = s.drawNumber >= 1 && s.drawNumber <= 6;
    record.reach = ReachShown(s);
    record.noticeLamps = NoticeShown(s);
    record.noticeSound = s.noticeChime;
    record.slotChance = s.slotChanceSpin;
    record.targetSymbol = s.targetSymbol;
    record.targetRate = s.targetRate;
    spin_ = record;
}

void PlayRecorder::jackpotPaid(int symbol, qint64 win)
{
    if (!spin_)
        return;
    spin_->symbol = symbol;
    spin_->amount = win;
    spin_->moneyAfter = machine_.state().money;
}

// The spin is over: its entry, then the goal's reset when its jackpot reached it.
void PlayRecorder::spinEnded()
{
    if (!spin_)
        return;
    PlayRecord spin = *std::exchange(spin_, std::nullopt);
    if (spin.symbol < 0)
        spin.moneyAfter = machine_.state().money;
    emit played(spin);
    if (const auto reached = std::exchange(goalReached_, std::nullopt)) {
        PlayRecord goal;
        goal.kind = PlayKind::Goal;
        goal.amount = machine_.state().money - *reached;
        goal.moneyAfter = machine_.state().money;
        emit played(goal);
    }
}

} // namespace game
