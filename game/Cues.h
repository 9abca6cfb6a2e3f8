// SPDX-License-Identifier: MIT
// The machine's sound cues. The sound layer maps each to its file.
#pragma once

#include <QMetaType>

namespace game {

enum class Cue {
    // Music
    Roll,        // the reels turn
    Reach,       // a reach
    AllRotation, // the all-rotation reach
    Fever,       // the $10,000,000 goal
    ChanceIntro, // the slot chance begins; hands over to ChanceLoop
    ChanceLoop,  // the slot chance
    Calm,        // normal play after the slot chance
    // Effects
    Notice,      // the jackpot notice chime
    Stop,        // a stop button
    Jackpot,     // the payout bell
};

// True for the cues of the music channel, false for the effects channel.
constexpr bool IsMusic(Cue cue) { return cue <= Cue::Calm; }

} // namespace game

Q_DECLARE_METATYPE(game::Cue)
