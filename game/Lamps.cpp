// SPDX-License-Identifier: MIT
#include "game/Lamps.h"

namespace game {

void Lamps::blinkNotice(bool premium)
{
    noticePremium_ = premium;
    notice_.blinking = true;
}

// The state a group's blinking calls for; calm lamps show it on their grid.
void Lamps::setDue(Group& group, LampState& shown, LampState state)
{
    group.due = state;
    if (!calm_)
        shown = state;
}

void Lamps::blink(Group& group, LampState& shown)
{
    group.blinked = true;
    group.litPhase = !group.litPhase;
    setDue(group, shown, group.litPhase ? LampState::Lit : LampState::Dark);
}

void Lamps::stopFrame()
{
    frame_.blinking = false;
    setDue(frame_, frameShown_, LampState::Dark);
    frame_.litPhase = false;
}

void Lamps::stopNotice()
{
    notice_.blinking = false;
    setDue(notice_, noticeShown_, LampState::Dark);
}

void Lamps::tickFrame(int pace)
{
    if (frame_.blinking)
        blink(frame_, frameShown_);
    if (calm_ && ++calmTicks_ >= CalmLampTicks * pace) {
        calmTicks_ = 0;
        showCalm();
    }
}

void Lamps::tickNotice()
{
    if (notice_.blinking)
        blink(notice_, noticeShown_);
}

LampState Lamps::noticeLitState() const
{
    return noticePremium_ ? LampState::Premium : LampState::Lit;
}

namespace {

// A calm group's next state: one that blinked since its last chance to
// change turns the other way, so it blinks at most twice a second; any
// other shows the state due.
LampState CalmState(LampState shown, LampState due, bool blinked, LampState lit)
{
    if (!blinked)
        return due;
    return shown == LampState::Dark ? lit : LampState::Dark;
}

} // namespace

void Lamps::showCalm()
{
    const LampState noticeDue = notice_.due == LampState::Lit ? noticeLitState() : notice_.due;
    frameShown_ = CalmState(frameShown_, frame_.due, frame_.blinking && frame_.blinked, LampState::Lit);
    noticeShown_ = CalmState(noticeShown_, noticeDue, notice_.blinking && notice_.blinked, noticeLitState());
    frame_.blinked = notice_.blinked = false;
}

void Lamps::setCalm(bool calm)
{
    if (calm == calm_)
        return;
    calm_ = calm;
    calmTicks_ = 0;
    frame_.blinked = notice_.blinked = false;
    if (calm)
        return;
    frameShown_ = frame_.due;
    noticeShown_ = notice_.due;
}

} // namespace game
