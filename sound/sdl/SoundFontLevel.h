// SPDX-License-Identifier: MIT
// How loud a soundfont plays the tunes, and so the synthesizer's gain for it.
// General MIDI soundfonts differ widely in loudness: FluidR3_GM plays the
// game's tunes about 7 dB louder than TimGM6mb, the soundfont they were made
// on. The synthesizer renders a fixed reference, a second of the ensemble the
// tunes are written for, and the reference's loudness sets the gain, so that
// every soundfont plays the tunes about as loud as TimGM6mb does at the gain
// they were made for.
//
// A measurement takes some 20 to 30 ms of rendering. Its result is kept per
// soundfont file in the cache folder (~/.cache/zelmor/soundfonts/), under the
// file's path, size and time and the FluidSynth version, so it runs once per
// soundfont. A cache that is missing, damaged or cannot be written costs a
// measurement, never the music.
#pragma once

#include <QString>

struct _fluid_synth_t;

namespace sound {

// The synthesizer's gain at full music volume for the soundfont that `synth`
// has just loaded from `path` (its only one). A measurement renders on a
// synthesizer of its own that shares the soundfont; `synth` is left as it
// was.
float MusicGainFor(_fluid_synth_t* synth, const QString& path);

} // namespace sound
