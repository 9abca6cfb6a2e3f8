// SPDX-License-Identifier: MIT
// A small notation for writing the tunes as readable text in code.
//
// Melodies (Part::play): notes are a letter, accidentals and an octave
// (c4 is middle C, f#5, bb3), "r" is a rest, "<c5 e5 g5>" a chord. A length
// follows a colon and stays in force until the next one: ":4" a quarter,
// ":8." a dotted eighth, ":8t" a triplet eighth, ":2+8" a half tied to an
// eighth. A trailing "^" accents a note, "'" plays it staccato, "~" ties it
// to the next note of the same pitch. "|" checks that a bar line falls there.
//
// Chord progressions (Progression): the bar they start at, then chord names
// such as C, Am7, F/A, G7sus4, each a whole bar unless a length in the same
// notation follows (F:2 is half a bar). Patterns laid over a progression take the chord that
// sounds at each moment of the tune.
//
// Patterns: one character per sixteenth, repeated over the stretch they are
// laid on. Comping: "x" strike (X accented, o soft), "-" hold, "." rest.
// Bass: R the chord's bass note, O its octave, 5 the fifth, 3 the third,
// 7 the seventh, A a chromatic step up into the bass of the next half bar.
// Arpeggios: digits index the chord's notes from the bottom upwards.
// Drums: X accent, x normal, o ghost, "." rest.
#pragma once

#include "Smf.h"

#include <deque>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tune {

constexpr uint32_t PPQ = 480;
constexpr uint32_t BEAT = PPQ;
constexpr uint32_t BAR = 4 * PPQ;
constexpr uint32_t STEP = PPQ / 4;

inline uint32_t at(double bar) { return static_cast<uint32_t>(bar * BAR + 0.5); }

// General MIDI programs (zero-based) and drum keys used by the tunes.
namespace gm {
enum Program {
    Piano = 0, BrightPiano = 1, EPiano = 4, EPiano2 = 5, Celesta = 8, Glockenspiel = 9, MusicBox = 10,
    Vibraphone = 11, Marimba = 12, TubularBells = 14, Organ = 16, CleanGuitar = 27, MutedGuitar = 28,
    Overdrive = 29, Distortion = 30, FingerBass = 33, PickBass = 34, SlapBass = 36, SynthBass1 = 38,
    SynthBass2 = 39, Strings = 48, SlowStrings = 49, SynthStrings = 50, SynthStrings2 = 51, Choir = 52,
    OrchestraHit = 55, Trumpet = 56, Trombone = 57, FrenchHorn = 60, Brass = 61, SynthBrass1 = 62,
    SynthBrass2 = 63, AltoSax = 65, Flute = 73, SquareLead = 80, SawLead = 81, CalliopeLead = 82,
    ChiffLead = 83, CharangLead = 84, FifthsLead = 86, BassLead = 87, NewAgePad = 88, WarmPad = 89,
    PolySynth = 90, ChoirPad = 91, BowedPad = 92, HaloPad = 94, SweepPad = 95, Crystal = 98,
    Atmosphere = 99, Brightness = 100, Timpani = 47
};
enum Drum {
    Kick = 36, SideStick = 37, Snare = 38, Clap = 39, Snare2 = 40, LowTom = 43, ClosedHat = 42,
    PedalHat = 44, MidTom = 45, OpenHat = 46, LowMidTom = 47, HighMidTom = 48, Crash = 49, HighTom = 50,
    Ride = 51, China = 52, RideBell = 53, Tambourine = 54, Splash = 55, Cowbell = 56, Crash2 = 57,
    HighAgogo = 67, Shaker = 70, WindChime = 81
};
} // namespace gm

struct Chord {
    uint32_t start = 0, length = 0;
    int root = 0, bass = 0;  // pitch classes
    std::vector<int> tones;  // semitones above the root
};

class Progression {
public:
    Progression(double startBar, std::string_view text);
    const Chord& at(uint32_t tick) const; // the chord at a tick of the tune
    uint32_t start() const { return start_; }
    uint32_t end() const { return start_ + length_; }

private:
    std::vector<Chord> chords_;
    uint32_t start_ = 0, length_ = 0;
};

class Part {
public:
    Part(smf::Track& track, int program);

    // Each returns the tick just after what it laid down. A pattern laid over
    // a progression runs for bars, or else to the progression's end.
    uint32_t play(double bar, std::string_view melody, int velocity, int transpose = 0);
    uint32_t comp(double bar, const Progression& p, std::string_view rhythm, int low, int velocity, double bars = 0);
    uint32_t bass(double bar, const Progression& p, std::string_view pattern, int low, int velocity, double bars = 0);
    uint32_t arp(double bar, const Progression& p, std::string_view pattern, int low, int velocity, double bars = 0);
    uint32_t beat(double bar, double bars, const std::vector<std::pair<int, std::string_view>>& lanes);
    void hit(double bar, int key, int velocity);
    // Repeated strokes of one drum, the velocity moving from v0 to v1.
    void roll(double bar, double beats, int key, uint32_t every, int v0, int v1);
    void set(double bar, int controller, int value);
    void ramp(double bar, double beats, int controller, int from, int to);
    void program(double bar, int program);

private:
    struct Held {
        int key = -1;
        uint32_t start = 0, length = 0;
        int velocity = 0;
    };
    void note(uint32_t tick, uint32_t length, int key, int velocity);
    void flush(Held& held);
    smf::Track& track_;
};

class Tune {
public:
    explicit Tune(double bpm);
    // A new instrument: program, volume (CC7), pan (0 left .. 64 .. 127 right),
    // reverb and chorus sends. Drums go to channel 10.
    Part& part(const std::string& name, int program, int volume, int pan = 64, int reverb = 40, int chorus = 0);
    Part& drums(const std::string& name, int volume, int reverb = 30);
    void tempo(double bar, double bpm);
    bool write(const std::string& path, double bars) const;

private:
    smf::Song song_{PPQ};
    std::deque<Part> parts_;
    int nextChannel_ = 0;
};

} // namespace tune
