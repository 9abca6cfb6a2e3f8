// SPDX-License-Identifier: MIT
#include "sound/sdl/SdlAudio.h"
#include "sound/sdl/SoundFontLevel.h"

#include <QFile>
#include <QStringList>
#include <QMetaObject>

#include <SDL.h>
#include <SDL_mixer.h>
#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <thread>

namespace sound {

namespace {

// The one mixer channel the effects play on.
constexpr int EffectChannel = 0;
// The effects' level at full volume. Made to peak at -1 dBFS, they play 4 dB
// down so that a bell still stands out above the music without drowning it;
// the limiter keeps a bell over the music's loudest notes under -1 dBFS. (The
// music's level depends on the soundfont: SoundFontLevel.h.)
constexpr int EffectVolume = MIX_MAX_VOLUME * 80 / 128;

int EffectVolumeAt(double volume)
{
    return int(std::lround(EffectVolume * volume));
}

// The soundfonts tried, in order: the one the environment names (a path in
// ZELMOR_SOUNDFONT), alone, or else Debian's General MIDI soundfont, which
// is whichever the alternatives link points to, and TimGM6mb.
constexpr const char* SoundFontVariable = "ZELMOR_SOUNDFONT";

QStringList SoundFonts()
{
    const QString named = qEnvironmentVariable(SoundFontVariable);
    if (!named.isEmpty())
        return {named};
    return {QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2"),
            QStringLiteral("/usr/share/sounds/sf3/default-GM.sf3"),
            QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2")};
}

bool ReadFile(const QString& path, QByteArray& bytes, QString& error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot open %1: %2").arg(path, file.errorString());
        return false;
    }
    bytes = file.readAll();
    return true;
}

// Only FluidSynth's errors are worth a line on stderr; its warnings about
// soundfont details are not.
void QuietFluidSynth()
{
    for (int level : {FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, nullptr, nullptr);
}

} // namespace

// Makes the synthesizer, loads the first soundfont found (some 30 to 100 ms
// for TimGM6mb, 0.5 to 1 s for FluidR3_GM) and finds its gain, on whichever
// thread asks.
SdlAudio::Synth SdlAudio::LoadSynth()
{
    QuietFluidSynth();
    Synth loaded;
    loaded.settings = new_fluid_settings();
    fluid_settings_setnum(loaded.settings, "synth.sample-rate", Rate);
    // Our hook renders the synthesizer, so the player's clock is its samples.
    fluid_settings_setstr(loaded.settings, "player.timing-source", "sample");
    // A tune's last notes ring out; every Play resets the synthesizer itself.
    fluid_settings_setint(loaded.settings, "player.reset-synth", 0);
    loaded.synth = new_fluid_synth(loaded.settings);
    const QStringList soundFonts = SoundFonts();
    for (const QString& path : soundFonts) {
        if (loaded.synth && QFile::exists(path)
            && fluid_synth_sfload(loaded.synth, QFile::encodeName(path).constData(), 1) != FLUID_FAILED) {
            loaded.soundFont = path;
            loaded.gain = MusicGainFor(loaded.synth, path);
            return loaded;
        }
    }
    loaded.error = !qEnvironmentVariableIsEmpty(SoundFontVariable)
        ? QStringLiteral("cannot load the soundfont %1 named by %2")
              .arg(soundFonts.value(0), QLatin1String(SoundFontVariable))
        : QStringLiteral("no General MIDI soundfont found");
    FreeSynth(loaded);
    return loaded;
}

void SdlAudio::FreeSynth(Synth& loaded)
{
    if (loaded.synth)
        delete_fluid_synth(loaded.synth);
    if (loaded.settings)
        delete_fluid_settings(loaded.settings);
    loaded.synth = nullptr;
    loaded.settings = nullptr;
}

std::atomic<SdlAudio*> SdlAudio::current_{nullptr};

SdlAudio::SdlAudio()
    : uiThread_(std::this_thread::get_id())
{
}

SdlAudio::~SdlAudio()
{
    shutDown();
}

int SdlAudio::open(Device device, const QString& path, QString& error)
{
    QByteArray bytes;
    if (!openDevice(error) || !ReadFile(path, bytes, error))
        return 0;
    return device == Device::Sequencer ? openMusic(bytes, error) : openEffect(bytes, error);
}

bool SdlAudio::play(int handle, std::function<void()> onEnd, QString& error)
{
    if (handle != 0 && handle == music_.handle)
        return playMusic(std::move(onEnd), error);
    if (handle != 0 && handle == effect_.handle)
        return playEffect(std::move(onEnd), error);
    error = QStringLiteral("the device is not open");
    return false;
}

void SdlAudio::close(int handle)
{
    if (handle == 0)
        return;
    if (handle == music_.handle)
        closeMusic();
    else if (handle == effect_.handle)
        closeEffect();
}

// Opens the output on first use, so a game that never plays a sound never
// touches the sound card.
bool SdlAudio::openDevice(QString& error)
{
    if (deviceOpen_)
        return true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error = QString::fromUtf8(SDL_GetError());
        return false;
    }
    // In floating point, so that no sum clamps before the limiter. No allowed
    // changes: SDL converts to whatever the hardware wants, so the music hook
    // always writes float stereo at 44.1 kHz.
    if (Mix_OpenAudioDevice(Rate, AUDIO_F32SYS, 2, BufferFrames, nullptr, 0) != 0) {
        error = QString::fromUtf8(Mix_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    Mix_AllocateChannels(EffectChannel + 1);
    Mix_Volume(EffectChannel, EffectVolumeAt(effectsVolume_));
    current_ = this;
    Mix_ChannelFinished(&SdlAudio::effectFinished);
    Mix_HookMusic(&SdlAudio::musicHook, this);
    Mix_SetPostMix(&SdlAudio::finishMix, this);
    deviceOpen_ = true;
    return true;
}

// Takes the soundfont from the background load that prepare() started, or
// loads it now: the first tune opened waits for it.
bool SdlAudio::startSynth(QString& error)
{
    if (synth_)
        return true;
    Synth loaded = pending_.valid() ? pending_.get() : LoadSynth();
    if (!loaded.synth) {
        error = loaded.error;
        return false;
    }
    settings_ = loaded.settings;
    soundFont_ = loaded.soundFont;
    musicGain_ = loaded.gain;
    std::lock_guard lock(mutex_);
    synth_ = loaded.synth;
    fluid_synth_set_gain(synth_, musicGainAt(musicVolume_));
    return true;
}

void SdlAudio::prepare()
{
    if (!synth_ && !pending_.valid())
        pending_ = std::async(std::launch::async, &LoadSynth);
}

float SdlAudio::musicGainAt(double volume) const
{
    return float(musicGain_ * volume);
}

// Applies at once: the synthesizer's gain (its sounding voices included)
// under the lock the music hook renders under; the channel's volume under
// SDL's audio lock, which Mix_Volume takes.
void SdlAudio::setVolume(Device device, double volume)
{
    volume = std::clamp(volume, 0.0, 1.0);
    if (device == Device::Sequencer) {
        musicVolume_ = volume;
        std::lock_guard lock(mutex_);
        if (synth_)
            fluid_synth_set_gain(synth_, musicGainAt(volume));
    } else {
        effectsVolume_ = volume;
        if (deviceOpen_)
            Mix_Volume(EffectChannel, EffectVolumeAt(volume));
    }
}

int SdlAudio::openMusic(const QByteArray& bytes, QString& error)
{
    if (!bytes.startsWith("MThd")) {
        error = QStringLiteral("not a MIDI file");
        return 0;
    }
    if (!startSynth(error))
        return 0;
    closeMusic();
    music_.handle = ++nextHandle_;
    music_.midi = bytes;
    return music_.handle;
}

int SdlAudio::openEffect(const QByteArray& bytes, QString& error)
{
    Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes.constData(), int(bytes.size())), 1);
    if (!chunk) {
        error = QString::fromUtf8(Mix_GetError());
        return 0;
    }
    closeEffect();
    effect_.handle = ++nextHandle_;
    effect_.chunk = chunk;
    return effect_.handle;
}

// A fresh player per Play starts the tune from its beginning. A new player
// registers itself with the synthesizer, whose rendering on the audio thread
// then runs the player's callback, so the player is made and filled under
// the lock (filling only copies the bytes; they are parsed when it plays).
bool SdlAudio::playMusic(std::function<void()> onEnd, QString& error)
{
    bool filled = false;
    fluid_player_t* player = nullptr;
    {
        std::lock_guard lock(mutex_);
        player = new_fluid_player(synth_);
        filled = player
            && fluid_player_add_mem(player, music_.midi.constData(), size_t(music_.midi.size())) == FLUID_OK;
        if (player && !filled)
            delete_fluid_player(player);
    }
    if (!filled) {
        error = QStringLiteral("cannot start the MIDI player");
        return false;
    }
    const std::uint64_t cue = ++nextCue_;
    {
        std::lock_guard lock(mutex_);
        if (tune_.player)
            delete_fluid_player(tune_.player);
        fluid_synth_system_reset(synth_);
        fluid_player_play(player);
        tune_ = {player, cue, 0, false};
    }
    music_.cue = cue;
    music_.onEnd = std::move(onEnd);
    return true;
}

bool SdlAudio::playEffect(std::function<void()> onEnd, QString& error)
{
    const std::uint64_t cue = ++nextCue_;
    effectCue_ = cue;
    if (Mix_PlayChannel(EffectChannel, effect_.chunk, 0) < 0) {
        effectCue_ = 0;
        error = QString::fromUtf8(Mix_GetError());
        return false;
    }
    effect_.cue = cue;
    effect_.onEnd = std::move(onEnd);
    return true;
}

// The tune stops; its sounding notes are released rather than cut.
void SdlAudio::closeMusic()
{
    if (!music_.handle)
        return;
    {
        std::lock_guard lock(mutex_);
        if (tune_.player)
            delete_fluid_player(tune_.player);
        tune_ = {};
        fluid_synth_all_notes_off(synth_, -1);
    }
    music_ = {};
}

void SdlAudio::closeEffect()
{
    if (!effect_.handle)
        return;
    effectCue_ = 0;
    Mix_HaltChannel(EffectChannel);
    Mix_FreeChunk(effect_.chunk);
    effect_ = {};
}

void SdlAudio::shutDown()
{
    if (pending_.valid()) {
        Synth unused = pending_.get();
        FreeSynth(unused);
    }
    if (deviceOpen_) {
        Mix_SetPostMix(nullptr, nullptr);
        Mix_HookMusic(nullptr, nullptr);
        closeMusic();
        closeEffect();
        Mix_ChannelFinished(nullptr);
        Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        current_ = nullptr;
        deviceOpen_ = false;
    }
    Synth own{settings_, synth_, {}, {}, 0};
    FreeSynth(own);
    synth_ = nullptr;
    settings_ = nullptr;
}

// Runs on the user-interface thread. A cue that is no longer the channel's
// current one was cut off or closed: its end is not reported.
void SdlAudio::deliver(Device device, std::uint64_t cue)
{
    Slot& slot = device == Device::Sequencer ? music_ : effect_;
    if (cue == 0 || slot.cue != cue)
        return;
    slot.cue = 0;
    const auto onEnd = std::move(slot.onEnd);
    slot.onEnd = nullptr;
    if (onEnd)
        onEnd();
}

// SDL's audio thread: renders the synthesizer into the stream and watches
// for the tune's last tick. Touches no Qt object and no Mix_ function.
void SdlAudio::musicHook(void* self, std::uint8_t* stream, int len)
{
    auto* audio = static_cast<SdlAudio*>(self);
    const int frames = len / int(2 * sizeof(float));
    std::lock_guard lock(audio->mutex_);
    const std::int64_t mixed = audio->rendered_.fetch_add(frames) + frames;
    if (!audio->synth_) {
        std::memset(stream, 0, size_t(len));
        return;
    }
    // Straight into the stream, unclamped, at the synthesizer's gain.
    auto* samples = reinterpret_cast<float*>(stream);
    fluid_synth_write_float(audio->synth_, frames, samples, 0, 2, samples, 1, 2);
    Tune& tune = audio->tune_;
    if (!tune.player || tune.ended)
        return;
    if (tune.frames == 0)
        audio->tuneStartedAt_ = mixed - frames;
    tune.frames += frames;
    const int total = fluid_player_get_total_ticks(tune.player);
    if (total > 0 && fluid_player_get_current_tick(tune.player) >= total) {
        tune.ended = true;
        audio->lastTuneFrames_ = tune.frames;
        audio->tuneEndedAt_ = mixed;
        const std::uint64_t cue = tune.cue;
        QMetaObject::invokeMethod(
            &audio->receiver_, [audio, cue] { audio->deliver(Device::Sequencer, cue); }, Qt::QueuedConnection);
    }
}

// SDL's audio thread, after the effects were added to the music.
void SdlAudio::finishMix(void* self, std::uint8_t* stream, int len)
{
    auto* audio = static_cast<SdlAudio*>(self);
    audio->limiter_.process(reinterpret_cast<float*>(stream), len / int(2 * sizeof(float)));
}

// Called when the effect channel stops. Only a wave that played to its end
// stops on the audio thread; halts come from our own calls and are ignored.
void SdlAudio::effectFinished(int channel)
{
    SdlAudio* audio = current_;
    if (!audio || channel != EffectChannel || std::this_thread::get_id() == audio->uiThread_)
        return;
    const std::uint64_t cue = audio->effectCue_;
    if (cue != 0)
        QMetaObject::invokeMethod(
            &audio->receiver_, [audio, cue] { audio->deliver(Device::WaveAudio, cue); }, Qt::QueuedConnection);
}

} // namespace sound
