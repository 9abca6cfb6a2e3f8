// SPDX-License-Identifier: MIT
// The game's seven tunes, composed as data on the notation of Score.h.
#pragma once

#include <string>

namespace tunes {

// Writes ROLL.MID, REACH.MID, ALLR.MID, FEVER.MID, Tvsa1.MID, Tvsa2.MID and
// Tvsa3.MID into dir. Every tune except Tvsa3 is restarted by the game when
// it ends, so each of those ends exactly on its last bar line.
bool writeAll(const std::string& dir);

} // namespace tunes
