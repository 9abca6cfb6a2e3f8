// SPDX-License-Identifier: MIT
#include "sound/AudioBackend.h"
#include "sound/ModuleAudio.h"

namespace sound {

namespace {

AudioBackend* installed = nullptr;

} // namespace

void install(AudioBackend* backend)
{
    installed = backend;
}

AudioBackend& backend()
{
    if (installed)
        return *installed;
    // Made on first use; it loads nothing until the first sound.
    static ModuleAudio real(ModuleAudio::DefaultPath());
    return real;
}

} // namespace sound
