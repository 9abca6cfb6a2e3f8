// SPDX-License-Identifier: MIT
#include "sound/sdl/AudioModule.h"
#include "sound/sdl/SdlAudio.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT sound::AudioBackend* zelmor_create_audio_backend()
{
    return new sound::SdlAudio;
}
