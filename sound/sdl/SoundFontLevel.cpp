// SPDX-License-Identifier: MIT
#include "sound/sdl/SoundFontLevel.h"
#include "sound/sdl/SdlAudio.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include <fluidsynth.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace sound {

namespace {

// The gain the tunes were made for with TimGM6mb: at 0.6 they peak a few dB
// below full scale.
constexpr double MadeForGain = 0.6;
// The reference's loudness (RMS, full scale 1) with TimGM6mb at gain 1, on
// FluidSynth 2.3: at this loudness a soundfont plays at MadeForGain.
constexpr double MadeForLoudness = 0.273352911;
// How far from MadeForGain a measurement may take the gain (+12 dB, -24 dB),
// for a soundfont that lacks the reference's instruments.
constexpr double MostBoost = 4.0;
constexpr double MostCut = 1.0 / 16.0;
// Raised whenever the reference changes, so that levels kept from an earlier
// one are measured again.
constexpr int ReferenceVersion = 1;

// One instrument of the reference: its General MIDI program, channel volume
// and velocity, and the notes it holds (0 ends them).
struct Instrument {
    int program;
    int volume;
    int velocity;
    std::array<int, 4> notes;
};

// The instruments the tunes lean on, each at about the channel volume and
// velocity the tunes give it, holding an A minor chord: the leads, the brass,
// the strings, pads and choir, the bells, the basses and the timpani. The
// drum kit plays eighths at 120 beats a minute under them.
constexpr std::array<Instrument, 13> Ensemble = {{
    {80, 100, 96, {81}},             // square lead
    {81, 95, 96, {76}},              // saw lead
    {56, 112, 100, {69}},            // trumpet
    {61, 120, 90, {57, 60, 64}},     // brass section
    {62, 95, 80, {60, 64, 67}},      // synth brass
    {48, 55, 70, {57, 60, 64, 69}},  // strings
    {50, 70, 70, {57, 64}},          // synth strings
    {89, 85, 70, {57, 60, 64}},      // warm pad
    {38, 105, 100, {33}},            // synth bass
    {33, 115, 100, {33}},            // finger bass
    {9, 120, 90, {84}},              // glockenspiel
    {47, 95, 100, {45}},             // timpani
    {52, 84, 70, {64, 69}},          // choir
}};
constexpr int DrumChannel = 9;
constexpr int DrumVolume = 104;
constexpr int Kick = 36, Snare = 38, ClosedHat = 42;
constexpr int VolumeControl = 7, ReverbControl = 91;
constexpr int ReverbSend = 40;

constexpr int Rate = SdlAudio::Rate;
constexpr int Frames = Rate;     // one second
constexpr int Eighth = Rate / 4; // at 120 beats a minute
constexpr int Block = Rate / 100;
static_assert(Eighth % Block == 0);

void StartEnsemble(fluid_synth_t* synth)
{
    int channel = 0;
    for (const Instrument& instrument : Ensemble) {
        channel += channel == DrumChannel ? 1 : 0;
        fluid_synth_program_change(synth, channel, instrument.program);
        fluid_synth_cc(synth, channel, VolumeControl, instrument.volume);
        fluid_synth_cc(synth, channel, ReverbControl, ReverbSend);
        for (int note : instrument.notes) {
            if (note)
                fluid_synth_noteon(synth, channel, note, instrument.velocity);
        }
        ++channel;
    }
    fluid_synth_cc(synth, DrumChannel, VolumeControl, DrumVolume);
    fluid_synth_cc(synth, DrumChannel, ReverbControl, ReverbSend);
}

void PlayEighth(fluid_synth_t* synth, int eighth)
{
    fluid_synth_noteon(synth, DrumChannel, ClosedHat, 90);
    fluid_synth_noteon(synth, DrumChannel, eighth % 2 == 0 ? Kick : Snare, 110);
}

// The reference's loudness at gain 1: its RMS over one second.
double RenderReference(fluid_synth_t* synth)
{
    fluid_synth_set_gain(synth, 1.0f);
    StartEnsemble(synth);
    std::array<float, 2 * Block> block{};
    double sum = 0;
    for (int done = 0; done < Frames; done += Block) {
        if (done % Eighth == 0)
            PlayEighth(synth, done / Eighth);
        fluid_synth_write_float(synth, Block, block.data(), 0, 2, block.data(), 1, 2);
        for (float sample : block)
            sum += double(sample) * sample;
    }
    return std::sqrt(sum / (2.0 * Frames));
}

// On a synthesizer of its own that shares the soundfont `synth` loaded (a
// reset leaves notes ringing for a second or two, which must not reach the
// game's synthesizer). The soundfont stays `synth`'s: it is taken back
// before the measuring synthesizer goes.
double MeasureLoudness(fluid_synth_t* synth)
{
    fluid_settings_t* settings = new_fluid_settings();
    fluid_settings_setnum(settings, "synth.sample-rate", Rate);
    fluid_synth_t* own = new_fluid_synth(settings);
    fluid_sfont_t* soundFont = fluid_synth_get_sfont(synth, 0);
    double loudness = 0;
    if (own && soundFont && fluid_synth_add_sfont(own, soundFont) != FLUID_FAILED) {
        loudness = RenderReference(own);
        fluid_synth_remove_sfont(own, soundFont);
    }
    if (own)
        delete_fluid_synth(own);
    delete_fluid_settings(settings);
    return loudness;
}

// Where a soundfont's loudness is kept, and the line that must open the file
// for the loudness under it to count: what it was measured on.
struct Kept {
    QString file;
    QByteArray key;
};

Kept KeptFor(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (canonical.isEmpty() || cache.isEmpty())
        return {};
    const QByteArray name = QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    const QString key = QStringLiteral("reference %1, FluidSynth %2, %3 bytes, modified %4, %5")
                            .arg(ReferenceVersion)
                            .arg(QString::fromLatin1(fluid_version_str()))
                            .arg(info.size())
                            .arg(info.lastModified().toMSecsSinceEpoch())
                            .arg(canonical);
    return {cache + QStringLiteral("/zelmor/soundfonts/") + QString::fromLatin1(name), key.toUtf8()};
}

// Only a regular file is opened (a FIFO would block), and only its start read.
std::optional<double> ReadKept(const Kept& kept)
{
    QFile file(kept.file);
    if (kept.file.isEmpty() || !QFileInfo(file).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QList<QByteArray> lines = file.read(4096).split('\n');
    bool number = false;
    const double loudness = lines.size() >= 2 && lines[0] == kept.key ? lines[1].toDouble(&number) : 0.0;
    if (!number || !std::isfinite(loudness) || loudness <= 0)
        return std::nullopt;
    return loudness;
}

// Written beside its place and renamed into it, so a reader never sees half
// a file; a failure only means measuring again next time.
void Keep(const Kept& kept, double loudness)
{
    if (kept.file.isEmpty() || !QDir().mkpath(QFileInfo(kept.file).path()))
        return;
    QSaveFile file(kept.file);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(kept.key + '\n' + QByteArray::number(loudness, 'g', 9) + '\n');
        file.commit();
    }
}

} // namespace

float MusicGainFor(fluid_synth_t* synth, const QString& path)
{
    const Kept kept = KeptFor(path);
    std::optional<double> loudness = ReadKept(kept);
    if (!loudness) {
        loudness = MeasureLoudness(synth);
        if (*loudness > 0)
            Keep(kept, *loudness);
    }
    const double boost = *loudness > 0 ? MadeForLoudness / *loudness : MostBoost;
    return float(MadeForGain * std::clamp(boost, MostCut, MostBoost));
}

} // namespace sound
