#include "sound/AudioBackend.h"
#include "sound/SdlAudio.h"

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
    // Made on first use; it opens nothing until the first sound.
    static SdlAudio real;
    return real;
}

} // namespace sound
