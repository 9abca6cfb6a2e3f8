// SPDX-License-Identifier: MIT
// The real sound device: SDL2_mixer owns the output and plays the wave effects
// on one mixer channel; FluidSynth renders the MIDI tunes inside SDL_mixer's
// music hook, on SDL's audio thread, at a gain measured for the soundfont;
// the mix is in floating point and a limiter finishes it.
#pragma once

#include "sound/AudioBackend.h"
#include "sound/sdl/MixLimiter.h"

#include <QByteArray>
#include <QObject>

#include <atomic>
#include <cstdint>
#include <future>
#include <mutex>
#include <thread>

struct _fluid_hashtable_t;
struct _fluid_synth_t;
struct _fluid_player_t;
struct Mix_Chunk;

namespace sound {

class SdlAudio final : public AudioBackend {
public:
    // Frames per device buffer at 44.1 kHz: 11.6 ms.
    static constexpr int BufferFrames = 512;
    static constexpr int Rate = 44100;

    SdlAudio();
    ~SdlAudio() override;
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    int open(Device device, const QString& path, QString& error) override;
    bool play(int handle, std::function<void()> onEnd, QString& error) override;
    void close(int handle) override;
    // Starts loading the soundfont on a worker thread.
    void prepare() override;
    // Music: the synthesizer's gain; effects: the mixer channel's volume.
    void setVolume(Device device, double volume) override;

    // Frames the device has mixed since it opened.
    std::int64_t renderedFrames() const { return rendered_.load(); }
    // For the last tune that played to its end: the frames rendered from its
    // start to the end of the buffer in which its end was seen.
    std::int64_t lastTuneFrames() const { return lastTuneFrames_.load(); }
    // Mixed-frame counts: where the current tune's first buffer began, and
    // where the buffer ended in which the last tune's end was seen.
    std::int64_t tuneStartedAt() const { return tuneStartedAt_.load(); }
    std::int64_t tuneEndedAt() const { return tuneEndedAt_.load(); }
    // The soundfont the synthesizer loaded, once a tune was opened, and the
    // synthesizer's gain for it at full music volume.
    QString soundFont() const { return soundFont_; }
    float musicGain() const { return musicGain_; }
    // Mixed samples that had clipped before the limiter (see MixLimiter).
    std::int64_t saturatedSamples() const { return limiter_.saturatedSamples(); }

private:
    // What one channel holds, seen from the user-interface thread.
    struct Slot {
        int handle = 0;
        QByteArray midi;            // music: the file's bytes
        Mix_Chunk* chunk = nullptr; // effects: the decoded wave
        std::uint64_t cue = 0;      // the play whose end is awaited, 0 for none
        std::function<void()> onEnd;
    };
    // The tune the audio thread renders; guarded by mutex_.
    struct Tune {
        _fluid_player_t* player = nullptr;
        std::uint64_t cue = 0;
        std::int64_t frames = 0;
        bool ended = false;
    };

    struct Synth {
        _fluid_hashtable_t* settings = nullptr;
        _fluid_synth_t* synth = nullptr;
        QString soundFont;
        QString error;
        float gain = 0;
    };
    static Synth LoadSynth();
    static void FreeSynth(Synth& loaded);

    bool openDevice(QString& error);
    bool startSynth(QString& error);
    int openMusic(const QByteArray& bytes, QString& error);
    int openEffect(const QByteArray& bytes, QString& error);
    bool playMusic(std::function<void()> onEnd, QString& error);
    bool playEffect(std::function<void()> onEnd, QString& error);
    void closeMusic();
    void closeEffect();
    void shutDown();
    void deliver(Device device, std::uint64_t cue);
    float musicGainAt(double volume) const;
    static void musicHook(void* self, std::uint8_t* stream, int len);
    static void finishMix(void* self, std::uint8_t* stream, int len);
    static void effectFinished(int channel);

    const std::thread::id uiThread_;
    QObject receiver_; // lives on the user-interface thread; completions are posted to it
    bool deviceOpen_ = false;
    _fluid_hashtable_t* settings_ = nullptr;
    _fluid_synth_t* synth_ = nullptr;
    QString soundFont_;
    float musicGain_ = 0;
    std::future<Synth> pending_;
    Slot music_, effect_;
    int nextHandle_ = 0;
    std::uint64_t nextCue_ = 0;
    double musicVolume_ = 1.0;
    double effectsVolume_ = 1.0;

    std::mutex mutex_; // between the music hook and the players' creation and deletion, and the gain
    Tune tune_;
    std::atomic<std::uint64_t> effectCue_{0};
    std::atomic<std::int64_t> rendered_{0};
    std::atomic<std::int64_t> lastTuneFrames_{0};
    std::atomic<std::int64_t> tuneStartedAt_{0};
    std::atomic<std::int64_t> tuneEndedAt_{0};
    MixLimiter limiter_; // the audio thread's, after the mix

    static std::atomic<SdlAudio*> current_;
};

} // namespace sound
