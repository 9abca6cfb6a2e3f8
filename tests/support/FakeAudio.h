// SPDX-License-Identifier: MIT
// A sound backend for tests: records what the media channels ask of the
// device, plays nothing, and lets a test end a sound or break the device.
#pragma once

#include "sound/AudioBackend.h"

#include <QStringList>

#include <map>

namespace testing {

class FakeAudio : public sound::AudioBackend {
public:
    int open(sound::Device device, const QString& path, QString& error) override;
    bool play(int handle, std::function<void()> onEnd, QString& error) override;
    void close(int handle) override;
    void prepare() override { ++prepared; }
    void setVolume(sound::Device device, double volume) override { volumes[device] = volume; }

    // Every request, as "open Sequencer ROLL.MID", "play ROLL.MID",
    // "close ROLL.MID" (file names without their directory).
    QStringList log;
    // Only what started playing, as "music ROLL.MID" or "effect STOP.WAV".
    QStringList played;
    // How often the game asked to get ready for sound.
    int prepared = 0;
    // The volume last set on each channel; none set: absent.
    std::map<sound::Device, double> volumes;
    // While set, every open fails the way a missing sound card does.
    bool deviceFails = false;
    // While set, every play of an opened file fails.
    bool playFails = false;
    // The file sounding on a channel (full path), or empty.
    QString playing(sound::Device device) const;
    // The sound on the channel plays to its end. False if nothing was playing.
    bool finish(sound::Device device);

private:
    struct Channel {
        sound::Device device = sound::Device::Sequencer;
        int handle = 0;
        QString path;
        bool playing = false;
        std::function<void()> onEnd;
    };
    Channel* find(int handle);
    std::map<sound::Device, Channel> channels_;
    int nextHandle_ = 0;
};

// A General MIDI file: one track holding one note of `ticks` ticks at 480 ticks
// a quarter note and 120 beats a minute, so 960 ticks last one second.
QByteArray MidiFile(int ticks, int note = 72);
// A 16-bit stereo wave of a sine tone.
QByteArray WaveFile(double seconds, double hertz = 880.0, int rate = 44100);

} // namespace testing
