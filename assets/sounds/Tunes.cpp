// SPDX-License-Identifier: MIT
#include "Tunes.h"

#include "Score.h"

namespace tunes {
namespace {

using namespace tune;
using namespace tune::gm;

// Shared drum grooves, one bar of sixteenths each.
const std::vector<std::pair<int, std::string_view>> kDriveBeat = {
    {Kick, "X...x...X...x..."}, {Snare, "....X.......X..."}, {ClosedHat, "xoxoxoxoxoxoxoxo"}};
const std::vector<std::pair<int, std::string_view>> kOpenBeat = {
    {Kick, "X...x...X...x..x"}, {Snare, "....X.......X..."}, {Clap, "....x.......x..."},
    {ClosedHat, "x.o.x.o.x.o.x.o."}, {OpenHat, "..x...x...x...x."}};
const std::vector<std::pair<int, std::string_view>> kFill = {
    {Kick, "X.....x.X......."}, {Snare, "....x.x.XxxxXXXX"}, {ClosedHat, "xoxoxoxo........"}};
const std::vector<std::pair<int, std::string_view>> kTomFill = {
    {Kick, "X.......X......."}, {Snare, "X.x.x.x........."}, {HighTom, "........xx......"},
    {MidTom, "..........xx...."}, {LowTom, "............XX.."}, {Crash, "..............X."}};

// Bright and driving: plays while the reels spin. D major, canon-like verse,
// then the royal-road chorus (IV V iii vi) with brass doubling the lead.
bool roll(const std::string& dir)
{
    Tune t(152);
    const Progression verse(0, "D A/C# Bm7 F#m7 | G D/F# Em7 A7");
    const Progression chorus(8, "Gmaj7 A7 F#m7 Bm7 | Gmaj7 A7 D:2 D7:2 Em7:2 A7:2");

    Part& lead = t.part("Square lead", SquareLead, 103, 70, 45, 20);
    lead.play(0,
              "a5:8 f#5 d5 f#5 a5:4 d6:8 c#6 | b5:8. a5:16 e5:4 r:8 e5 f#5 g5 | "
              "a5:8 f#5 d5 f#5 a5:4 b5:8 a5 | c#6:4. a5:8 f#5:4 r:4 | "
              "g5:8 b5 d6 b5 a5 g5 f#5 g5 | a5:4. f#5:8 d5:4 r:8 d5 | "
              "e5:8 f#5 g5 a5 b5 a5 g5 f#5 | e5:4 a5 c#6 e6 |",
              96);
    const char* hook =
        "f#6:4. e6:8 d6:4 a5 | c#6:8 d6 e6:4~ e6:4 r:8 a5 | a6:8 g6 f#6 e6 f#6:4 c#6 | "
        "d6:4. c#6:8 b5:4 r:8 b5 | f#6:4. e6:8 d6:4 g6 | e6:8 f#6 g6 a6 g6:4 e6 | "
        "f#6:4 e6:8 d6~ d6:4 c6:8 d6 | e6:4 d6:8 c#6 a5 b5 c#6 e6 |";
    lead.play(8, hook, 100);

    Part& brass = t.part("Synth brass", SynthBrass1, 92, 50, 50, 30);
    brass.comp(0, verse, "..x-..x-..x-..x-", 62, 78);
    brass.play(8, hook, 88, -12);

    Part& pad = t.part("Strings", SynthStrings, 70, 84, 60);
    pad.comp(0, verse, "x---------------", 57, 62);
    pad.comp(8, chorus, "x---------------", 60, 74);

    Part& arp = t.part("Sparkle", Crystal, 82, 100, 60, 0);
    arp.arp(8, chorus, "0123012301230123", 72, 62);

    Part& bass = t.part("Synth bass", SynthBass1, 108, 64, 10);
    bass.bass(0, verse, "R.O.R.O.R.O.R.O.", 38, 96);
    bass.bass(8, chorus, "R.O.R.O.R.O.RAO.", 38, 100);

    Part& drums = t.drums("Drums", 108);
    drums.beat(0, 7, kDriveBeat);
    drums.beat(7, 1, kFill);
    drums.beat(8, 7, kOpenBeat);
    drums.beat(15, 1, kTomFill);
    drums.hit(0, Crash, 110);
    drums.hit(8, Crash, 120);
    drums.hit(12, Crash, 100);
    return t.write(dir + "/ROLL.MID", 16);
}

// Builds tension: a reach. A minor over a pumping pedal, the harmony climbing
// to the dominant while the snare thickens from quarters to a rolling
// crescendo and the last four bars press forward in tempo.
bool reach(const std::string& dir)
{
    Tune t(150);
    for (int bar = 8; bar < 12; ++bar)
        t.tempo(bar, 150 + 4 * (bar - 7)); // pressing on towards the dominant
    const Progression harmony(0, "Am Am F/A G/A | F G Em Am | Fmaj7 G G#dim7 E7");

    const char* theme =
        "e5:4. a5:8 a5:4 b5 | c6:4. b5:8 a5:4 e5 | f5:4. a5:8 c6:4 f6 | e6:2 d6:4 b5 | "
        "a5:4 c6 f6:4. e6:8 | d6:4 b5 g5:2 | e6:4 g6 b6:4. a6:8 | a6:1 | "
        "a5:8 c6 e6 a6 g6:4 f6 | g6:8 f6 e6 d6 b5:2 | g#5:4 b5 d6 f6 | e6:1 |";
    Part& lead = t.part("Brass lead", Brass, 127, 64, 50);
    lead.play(0, theme, 110);
    Part& square = t.part("Square double", SquareLead, 92, 40, 40);
    square.play(0, theme, 84);

    Part& strings = t.part("Strings", Strings, 47, 90, 60);
    strings.comp(0, harmony, "x---------------", 57, 70);
    strings.set(0, 11, 90);
    strings.ramp(8, 16, 11, 90, 127);

    Part& ostinato = t.part("Clock ostinato", SquareLead, 93, 30, 30);
    ostinato.arp(0, harmony, "0.2.1.2.0.2.1.2.", 69, 60, 8);
    ostinato.arp(8, harmony, "0212021202120212", 69, 64, 4);

    Part& hits = t.part("Brass hits", SynthBrass2, 90, 100, 40);
    hits.comp(8, harmony, "X..x..x...x..x..", 60, 84, 3);
    hits.comp(11, harmony, "x.x.x.x.x.x.XXXX", 59, 80, 1);

    Part& bass = t.part("Pedal bass", SynthBass2, 104, 64, 10);
    bass.bass(0, harmony, "R.RRR.RRR.RRR.RR", 33, 92, 4);
    bass.bass(4, harmony, "R.RRR.RRR.RRR.RO", 33, 96, 4);
    bass.bass(8, harmony, "RRRRRRRRRRRRRRRR", 33, 100, 4);

    Part& timpani = t.part("Timpani", Timpani, 100, 64, 50);
    timpani.roll(11, 4, 40, STEP / 2, 50, 106);

    Part& drums = t.drums("Drums", 104);
    drums.beat(0, 4, {{Kick, "X...x...X...x..."}, {ClosedHat, "x.x.x.x.x.x.x.x."}, {Snare, "............x..."}});
    drums.beat(4, 4, {{Kick, "X...x...X...x.x."}, {Snare, "....X.......X..."}, {ClosedHat, "xoxoxoxoxoxoxoxo"}});
    drums.beat(8, 3, {{Kick, "X...x...X...x..."}, {Snare, "x.x.x.x.x.x.x.x."}, {ClosedHat, "x.x.x.x.x.x.x.x."}});
    drums.beat(11, 1, {{Kick, "X...X...X...X..."}});
    drums.roll(11, 4, Snare, STEP, 60, 125);
    drums.hit(0, Crash, 110);
    drums.hit(4, Crash, 105);
    drums.hit(8, Crash, 104);
    return t.write(dir + "/REACH.MID", 12);
}

// Climactic: the all-rotation reach. C minor, heroic brass over a choir,
// string sixteenths, orchestra hits and a double-time beat.
bool allRotation(const std::string& dir)
{
    Tune t(160);
    const Progression a(0, "Cm Ab Bb Cm | Ab Bb Gm G7");
    const Progression b(8, "Ab Bb Gm7 Cm | Fm7 Bb Ab:2 Bb:2 | G7sus4:2 G7:2");
    const char* themeA =
        "g5:4. c6:8 c6:4 d6 | eb6:4. d6:8 c6:4 ab5 | bb5:4. d6:8 f6:4 eb6:8 d6 | c6:2. g5:4 | "
        "ab5:8 c6 eb6 ab6 g6:4 eb6 | f6:8 d6 bb5 d6 f6:4 bb6 | g6:4. f6:8 d6:4 bb5 | b5:4 d6 f6 g6 |";
    const char* themeB =
        "c6:2. bb5:8 ab5 | bb5:4. c6:8 d6:4 f6 | f6:4. eb6:8 d6:4 bb5 | c6:2 g5:4 c6 | "
        "ab6:2. g6:8 f6 | f6:4. eb6:8 d6:4 bb5 | c6:4 eb6 d6 f6 | g6:2 f6:4 d6 |";

    Part& brass = t.part("Brass", Brass, 127, 54, 55);
    brass.play(0, themeA, 110);
    brass.play(8, themeB, 116);
    Part& trumpet = t.part("Trumpet", Trumpet, 111, 74, 55);
    trumpet.play(8, themeB, 92);

    Part& choir = t.part("Choir", Choir, 84, 40, 80);
    choir.comp(0, a, "x-------x-------", 55, 72);
    choir.comp(8, b, "x---------------", 55, 82);

    Part& strings = t.part("String runs", Strings, 69, 96, 50);
    strings.arp(0, a, "0123212301232123", 67, 70);
    strings.arp(8, b, "0123432101234321", 67, 76);

    Part& hits = t.part("Orchestra hits", OrchestraHit, 79, 64, 50);
    hits.comp(0, a, "X.........x.....", 60, 96);
    hits.comp(8, b, "X.....x.....x...", 60, 96);

    Part& bass = t.part("Synth bass", SynthBass1, 97, 64, 10);
    bass.bass(0, a, "RRORRRORRRORRROR", 36, 94);
    bass.bass(8, b, "RRORRRORRRORRROR", 36, 98);

    Part& timpani = t.part("Timpani", Timpani, 85, 64, 50);
    timpani.bass(0, a, "R.......R.......", 41, 110);
    timpani.bass(8, b, "R...R...R...R...", 41, 100);
    timpani.roll(15, 4, 43, STEP / 2, 60, 120);

    Part& drums = t.drums("Drums", 98);
    drums.beat(0, 7, {{Kick, "X.x.X.x.X.x.X.x."}, {Snare, "....X.......X..x"}, {ClosedHat, "xxxxxxxxxxxxxxxx"}});
    drums.beat(7, 1, kTomFill);
    drums.beat(8, 7, {{Kick, "X.x.X.x.X.x.X.x."}, {Snare, "..x.X..x..x.X.xx"}, {Ride, "x.x.x.x.x.x.x.x."},
                      {Crash, "X..............."}});
    drums.beat(15, 1, {{Kick, "X...X...X...X..."}, {Snare, "xxxxxxxxXXXXXXXX"}});
    drums.hit(0, Crash, 120);
    drums.hit(4, Crash, 110);
    return t.write(dir + "/ALLR.MID", 16);
}

// Triumphant: the ten-million-dollar goal. A timpani-backed triplet fanfare,
// a singing C major theme, and a bVI-bVII-I cadence back into the fanfare.
bool fever(const std::string& dir)
{
    Tune t(140);
    const Progression intro(0, "C C");
    const Progression theme(2, "F G Em7 Am | Dm7 G C:2 C/E:2 | F:2 G:2");
    const Progression coda(10, "F G E7 Am | Dm7:2 G7:2 | Ab:2 Bb:2");
    const char* fanfare = "g5:8t g5 g5 c6:4 g5:8t g5 g5 e6:4 | g6:4. e6:8 c6:4 g5:4 |";
    const char* melody =
        "a5:4 c6 f6:4. e6:8 | d6:4. b5:8 g5:2 | g5:8 b5 e6 g6 g6:4. e6:8 | e6:2 c6:4 a5 | "
        "d6:4. e6:8 f6:4 a6 | g6:4. f6:8 d6:2 | e6:4 g6:8 e6 c6:4 e6 | f6:4 a6 g6 d6 |";
    const char* climax =
        "c7:4. a6:8 f6:4 a6 | b6:4. g6:8 d6:2 | g#6:4 b6 e7 d7 | c7:2 a6:2 | "
        "f6:4 a6:8 f6 g6:4 b6 | c7:4 ab6:8 eb6 d7:4 bb6:8 f6 |";

    Part& trumpet = t.part("Trumpets", Trumpet, 113, 64, 55);
    trumpet.play(0, fanfare, 104);
    trumpet.play(2, melody, 98);
    trumpet.play(10, climax, 102, -12);
    Part& brass = t.part("Brass section", Brass, 117, 44, 55);
    brass.play(0, "<c5 e5 g5>:8t <c5 e5 g5> <c5 e5 g5> <c5 e5 g5>:4 <c5 e5 g5>:8t <c5 e5 g5> <c5 e5 g5> "
                  "<c5 g5 c6>:4 | <e5 g5 c6>:2. r:4 |",
                  100);
    brass.comp(2, theme, "X-.x..x-..x...x.", 60, 82);
    brass.comp(10, coda, "X-.x..x-..x...x.", 60, 88);
    Part& lead = t.part("Saw lead", SawLead, 99, 90, 50, 30);
    lead.play(10, climax, 82);

    Part& strings = t.part("Strings", Strings, 44, 84, 70);
    strings.comp(0, intro, "x---------------", 60, 70);
    strings.comp(2, theme, "x-------x-------", 64, 70);
    strings.comp(10, coda, "x-------x-------", 64, 80);
    Part& glock = t.part("Glockenspiel", Glockenspiel, 127, 100, 60);
    glock.arp(2, theme, "0.1.2.3.", 84, 100);
    glock.arp(10, coda, "0.1.2.3.2.1.2.3.", 84, 100);

    Part& bass = t.part("Bass", FingerBass, 119, 64, 10);
    bass.bass(0, intro, "R.....R.R.....R.", 36, 100);
    bass.bass(2, theme, "R.RO..R.R.RO.5.A", 36, 98);
    bass.bass(10, coda, "R.RO..R.R.RO.5.A", 36, 100);

    Part& timpani = t.part("Timpani", Timpani, 100, 64, 50);
    timpani.play(0, "c3:8t c3 c3 c3:4 c3:8t c3 c3 g2:4 | c3:2. r:4 |", 110);
    timpani.roll(15, 2, 44, STEP / 2, 70, 100);
    timpani.roll(15.5, 2, 46, STEP / 2, 85, 108);

    Part& drums = t.drums("Drums", 100);
    drums.beat(0, 2, {{Crash, "X.......X......."}, {Kick, "X.......X......."}});
    drums.beat(2, 7, kOpenBeat);
    drums.beat(9, 1, kFill);
    drums.beat(10, 5, kOpenBeat);
    drums.beat(15, 1, {{Kick, "X.....X.X.....X."}, {Snare, "x.x.X.xxX.x.XxXX"}, {Crash, "X.....X........."}});
    drums.hit(2, Crash, 104);
    drums.hit(10, Crash, 104);
    return t.write(dir + "/FEVER.MID", 16);
}

// The slot chance (Tvsa1 opens it, Tvsa2 loops): F major at 156.
constexpr double kChanceTempo = 156;

// Introduces the slot chance: brass hits, a teaser of the theme, then a
// riser on the dominant that lands on the first bar of Tvsa2.
bool chanceIntro(const std::string& dir)
{
    Tune t(kChanceTempo);
    const Progression harmony(0, "F F | Bb C Am Dm | Gm7 C7sus4:2 C7:2");

    Part& brass = t.part("Brass", SynthBrass1, 100, 54, 50, 30);
    brass.play(0, "<f5 a5 c6>:8.^ <f5 a5 c6>:8.^ <f5 a5 c6>:8^ r:2 | "
                  "<eb5 g5 bb5>:8.^ <eb5 g5 bb5>:8.^ <f5 a5 c6>:8+2^ |",
               104);
    brass.comp(2, harmony, "X..x..x...x.x...", 60, 84, 4);
    brass.comp(6, harmony, "x.x.x.x.x.x.x.x.", 58, 80, 2);
    brass.ramp(6, 8, 11, 80, 127);

    Part& lead = t.part("Saw lead", SawLead, 96, 74, 50, 30);
    lead.play(2, "d6:8 c6 bb5 c6 d6:4 f6 | e6:8 f6 g6 e6 c6:2 | c6:8 d6 e6 f6 e6:4 c6 | "
                 "d6:2. a5:4 | bb5:8 c6 d6 f6 g6:4 bb5 | c6:16 d6 e6 f6 g6 a6 bb6 b6 c7:2 |",
              92);

    Part& pad = t.part("Sweep pad", SweepPad, 127, 64, 70);
    pad.comp(0, harmony, "x-------x-------", 53, 70);
    pad.ramp(0, 32, 11, 70, 127);

    Part& bass = t.part("Synth bass", SynthBass1, 108, 64, 10);
    bass.play(0, "f2:8. f2:8. f2:8 r:2 | eb2:8. eb2:8. f2:8+2 |", 104);
    bass.bass(2, harmony, "R.O.R.O.R.O.R.O.", 41, 96, 4);
    bass.bass(6, harmony, "RRRRRRRRRRRRRRRR", 41, 100, 2);

    Part& drums = t.drums("Drums", 112);
    drums.beat(0, 2, {{Kick, "X..X..X.........X..X..X.X......."}, {Crash, "X..X..X.........X..X..X........."},
                      {Snare, "..........XXXXXX..........x.xxxx"}});
    drums.beat(2, 4, kDriveBeat);
    drums.beat(6, 2, {{Kick, "X...X...X...X..."}, {ClosedHat, "x.x.x.x.x.x.x.x."}});
    drums.roll(6, 7, Snare, STEP, 50, 125);
    drums.beat(7.75, 0.25, {{HighTom, "x..."}, {MidTom, ".x.."}, {LowTom, "..X."}, {Kick, "...X"}});
    return t.write(dir + "/Tvsa1.MID", 8);
}

// The slot-chance loop: bouncy royal-road harmony, saw lead and brass in
// octaves, slap bass and a clap-driven beat; ends on C so it turns back to Bb.
bool chanceLoop(const std::string& dir)
{
    Tune t(kChanceTempo);
    const Progression a(0, "Bbmaj7 C Am7 Dm7 | Bbmaj7 C F:2 F/A:2 Bb:2 C:2");
    const Progression b(8, "Gm7 Am7 Bbmaj7 C | Gm7 Am7 Bb:2 C:2 | Dm7:2 C7sus4:2");
    const char* themeA =
        "d6:8 c6 bb5 c6 d6:4 f6 | e6:8 f6 g6 e6 c6:4. r:8 | c6:8 d6 e6 f6 e6:4 c6 | a5:4. c6:8 d6:4 r:8 d6 | "
        "f6:8 e6 d6 e6 f6:4 bb6 | g6:8 a6 bb6 g6 e6:4 c6 | a6:4. g6:8 f6:4 c6 | d6:4 f6 g6:8 f6 e6 c6 |";
    const char* themeB =
        "bb5:8 d6 f6 bb6 a6:4 g6 | e6:8 g6 c7 e7 d7:4 c7 | bb6:4. a6:8 g6:4 f6 | e6:8 f6 g6 c7~ c7:2 | "
        "bb6:8 a6 g6 f6 d6:4 g6 | a6:8 g6 f6 e6 c6:4 a6 | bb6:8 a6 g6 f6 g6:4 a6:8 c7 | d7:4. c7:8 c7:8 bb6 a6 g6 |";

    Part& lead = t.part("Saw lead", SawLead, 84, 74, 45, 30);
    lead.play(0, themeA, 96);
    lead.play(8, themeB, 100);
    Part& brass = t.part("Brass", SynthBrass1, 92, 54, 50, 30);
    brass.comp(0, a, "x..x..x...x..x..", 58, 80);
    brass.play(8, themeB, 90, -12);

    Part& pad = t.part("Pad", WarmPad, 88, 90, 70);
    pad.comp(0, a, "x---------------", 60, 66);
    pad.comp(8, b, "x---------------", 60, 70);

    Part& arp = t.part("Arpeggio", SquareLead, 89, 30, 50);
    arp.arp(0, a, "0.12.01201.20.12", 72, 62);
    arp.arp(8, b, "0120120120120123", 72, 62);

    Part& bass = t.part("Slap bass", SlapBass, 113, 64, 10);
    bass.bass(0, a, "R.OR..OR.RO.R.OA", 36, 96);
    bass.bass(8, b, "R.OR..OR.RO.R.OA", 36, 98);

    Part& drums = t.drums("Drums", 112);
    drums.beat(0, 7, {{Kick, "X..x..x...x..x.."}, {Clap, "....X.......X..."}, {Snare, "....x.......x..o"},
                      {ClosedHat, "xoxoxoxoxoxoxoxo"}, {OpenHat, "..............x."}});
    drums.beat(7, 1, kFill);
    drums.beat(8, 7, {{Kick, "X..x..x...x..x.."}, {Clap, "....X.......X..."}, {Snare, "....x..o....x..o"},
                      {Tambourine, "..x...x...x...x."}, {ClosedHat, "x.x.x.x.x.x.x.x."}});
    drums.beat(15, 1, kTomFill);
    drums.hit(0, Crash, 116);
    drums.hit(8, Crash, 120);
    return t.write(dir + "/Tvsa2.MID", 16);
}

// Calm, for normal play: G major at an easy 96, electric piano, flute and
// vibraphone over brushed-style drums; ends on a held chord.
bool calm(const std::string& dir)
{
    Tune t(96);
    const Progression harmony(0,
        "Gmaj7 Em7 Cmaj7 D7sus4:2 D7:2 | Gmaj7 Bm7 Em7 A7sus4:2 A7:2 | Cmaj7 Bm7 Am7:2 D7:2 Gmaj9");

    Part& flute = t.part("Flute", Flute, 112, 70, 70);
    flute.play(0,
               "d5:4. b4:8 d5:4 f#5 | g5:4. f#5:8 e5:2 | e5:8 g5 b5 g5 a5:4 g5:8 e5 | d5:2. r:4 | "
               "f#5:4. a5:8 d6:4 b5:8 a5 | a5:4 f#5 d5:4. d5:8 | g5:4. f#5:8 e5:4 b5 | a5:2 g5:4 e5 | "
               "e5:4 g5 b5:4. c6:8 | d6:4. c6:8 b5:4 a5 | c6:4 b5:8 a5 g5:4 f#5 | g5:1+1 |",
               84);
    Part& vibes = t.part("Vibraphone", Vibraphone, 110, 40, 70);
    vibes.arp(0, harmony, "0...1...2...3.2.", 67, 60, 11);
    vibes.play(11, "<g5 b5 d6 f#6>:1+1 |", 62);

    Part& piano = t.part("Electric piano", EPiano, 94, 86, 60, 40);
    piano.comp(0, harmony, "x-----x---x-----", 55, 64, 11);
    piano.play(11, "<f#4 a4 b4 d5>:1+1 |", 64);

    Part& pad = t.part("Warm pad", WarmPad, 85, 64, 80);
    pad.comp(0, harmony, "x---------------", 55, 50);
    pad.play(12, "<f#4 a4 b4 d5>:1 |", 50);

    Part& bass = t.part("Bass", FingerBass, 110, 64, 20);
    bass.bass(0, harmony, "R-----R---5---O-", 36, 90, 11);
    bass.play(11, "g2:1+1 |", 92);

    Part& drums = t.drums("Drums", 114, 40);
    drums.beat(0, 11, {{Kick, "X.....x...x....."}, {SideStick, "....x.......x..."},
                       {ClosedHat, "o.o.o.o.o.o.o.oo"}, {Shaker, "..o...o...o...o."}});
    drums.hit(0, Crash, 70);
    drums.hit(11, Ride, 80);
    drums.hit(11, Kick, 90);
    // The last chord rings on through a thirteenth bar as everything fades.
    for (Part* p : {&flute, &vibes, &piano, &pad, &bass})
        p->ramp(12, 4, 11, 127, 40);
    return t.write(dir + "/Tvsa3.MID", 13);
}

} // namespace

bool writeAll(const std::string& dir)
{
    bool ok = true;
    ok &= roll(dir);
    ok &= reach(dir);
    ok &= allRotation(dir);
    ok &= fever(dir);
    ok &= chanceIntro(dir);
    ok &= chanceLoop(dir);
    ok &= calm(dir);
    return ok;
}

} // namespace tunes
