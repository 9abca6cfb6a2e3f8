// SPDX-License-Identifier: MIT
// The one entry point of the sound module (libzelmor_audio.so): a C function
// that makes the real backend. The game resolves it by name at run time, so
// nothing in the executable links SDL2_mixer or FluidSynth.
#pragma once

#include "sound/AudioBackend.h"

namespace sound {

inline constexpr const char* AudioModuleFile = "libzelmor_audio.so";
inline constexpr const char* CreateAudioBackendSymbol = "zelmor_create_audio_backend";
// Returns a new backend that the caller owns and deletes.
using CreateAudioBackend = AudioBackend* (*)();

} // namespace sound
