// SPDX-License-Identifier: MIT
// The machine's two lamp groups as states: the frame lamps around the reels
// and the notice lamps beside them. Each blinks between lit and dark at its
// timer's pace; the view chooses the colours.
//
// Calm lamps, a preference of the player's, keep every change of what shows
// to a grid of CalmLampTicks frame-lamp ticks (at most two changes a
// second), and show the premium notice as its own state instead of its fast
// blinking. The blinking itself goes on exactly as without.
#pragma once

#include <QMetaType>

namespace game {

enum class LampState { Dark, Lit, Premium };

inline constexpr int CalmLampTicks = 2;

class Lamps {
public:
    LampState frame() const { return frameShown_; }
    LampState notice() const { return noticeShown_; }
    bool frameBlinking() const { return frame_.blinking; }
    bool noticeBlinking() const { return notice_.blinking; }
    bool calm() const { return calm_; }

    // The frame lamps start blinking at their next tick, lit first after a stop.
    void blinkFrame() { frame_.blinking = true; }
    // The notice lamps start blinking; a premium notice blinks at its fast pace.
    void blinkNotice(bool premium);
    // Marks the notice's pace without starting it (the slot chance's pace is not premium).
    void setNoticePremium(bool premium) { noticePremium_ = premium; }
    bool noticePremium() const { return noticePremium_; }
    // Stops the frame lamps dark; their next blinking begins lit.
    void stopFrame();
    // Stops the notice lamps dark. The phase is kept: a notice that follows
    // one stopped lit begins with a dark change.
    void stopNotice();

    // The timers' ticks. At fast play the frame ticks come `pace` times as
    // often; the calm grid then spans as many more of them, so calm lamps
    // still change at most twice a second.
    void tickFrame(int pace = 1);
    void tickNotice();

    // Switching calm lamps on leaves the lamps as they show until the grid's
    // next chance to change them; switching them off shows the states due.
    void setCalm(bool calm);

private:
    struct Group {
        bool blinking = false;
        bool litPhase = false;  // the next blink turns the group dark
        LampState due = LampState::Dark;
        bool blinked = false;   // the blinking changed `due` since the calm grid's last chance
    };
    void blink(Group& group, LampState& shown);
    void setDue(Group& group, LampState& shown, LampState state);
    void showCalm();
    LampState noticeLitState() const;

    Group frame_;
    Group notice_;
    LampState frameShown_ = LampState::Dark;
    LampState noticeShown_ = LampState::Dark;
    bool noticePremium_ = false;
    bool calm_ = false;
    int calmTicks_ = 0;
};

} // namespace game

Q_DECLARE_METATYPE(game::LampState)
