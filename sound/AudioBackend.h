// SPDX-License-Identifier: MIT
// The sound device behind the media channels. The game runs on SdlAudio
// (SDL2_mixer with FluidSynth); tests install a backend that only records.
#pragma once

#include <QString>

#include <functional>

namespace sound {

// The kinds of device a media channel plays on.
enum class Device { Sequencer, WaveAudio };

// One channel per device kind: opening a file on a channel releases whatever
// that channel held before. Everything here runs on the user-interface thread.
class AudioBackend {
public:
    virtual ~AudioBackend() = default;
    // Reads the file and readies it on the device's channel. Returns a handle
    // above 0, or 0 with `error` set (device unavailable, file missing or not
    // playable).
    virtual int open(Device device, const QString& path, QString& error) = 0;
    // Plays the opened file from its beginning and returns at once. When the
    // file has played to its end, `onEnd` runs on the user-interface thread,
    // unless the handle was closed or played again before.
    virtual bool play(int handle, std::function<void()> onEnd, QString& error) = 0;
    // Stops and releases the file; harmless for a handle no longer open.
    virtual void close(int handle) = 0;
    // A hint that sound is wanted soon: slow preparations may start in the
    // background so that the first cue does not wait for them.
    virtual void prepare() {}
    // The channel's level, from 0 (silent) to 1 (the level the game's sounds
    // are made for). It applies at once, to whatever the channel plays.
    virtual void setVolume(Device device, double volume)
    {
        (void)device;
        (void)volume;
    }
};

// Installs a backend; nullptr restores the real one.
void install(AudioBackend* backend);
AudioBackend& backend();

} // namespace sound
