// SPDX-License-Identifier: MIT
// The game's three effects, synthesised: additive and FM voices with
// envelopes, written as 16-bit 44.1 kHz mono WAV files through libsndfile.
#pragma once

#include <string>

namespace effects {

// Writes YOKOKU.WAV (notice chime), STOP.WAV (reel stop clunk) and ATARI.WAV
// (jackpot bells and fanfare) into dir.
bool writeAll(const std::string& dir);

} // namespace effects
