// SPDX-License-Identifier: MIT
#include "Score.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>
#include <stdexcept>

namespace tune {
namespace {

[[noreturn]] void fail(std::string_view what, std::string_view token)
{
    throw std::runtime_error(std::string(what) + " at \"" + std::string(token) + "\"");
}

std::vector<std::string_view> split(std::string_view text)
{
    std::vector<std::string_view> tokens;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
            ++i;
        const size_t begin = i;
        while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])))
            ++i;
        if (i > begin)
            tokens.push_back(text.substr(begin, i - begin));
    }
    return tokens;
}

int pitchClass(char letter)
{
    static const int classes[] = {9, 11, 0, 2, 4, 5, 7}; // a b c d e f g
    const char l = static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
    if (l < 'a' || l > 'g')
        return -1;
    return classes[l - 'a'];
}

// ":4", ":8.", ":8t", ":2+8" -> ticks (a whole note is one bar).
uint32_t parseLength(std::string_view text, std::string_view token)
{
    uint32_t total = 0;
    std::stringstream parts{std::string(text)};
    std::string part;
    while (std::getline(parts, part, '+')) {
        size_t used = 0;
        int division = 0;
        try {
            division = std::stoi(part, &used);
        } catch (...) {
            fail("bad length", token);
        }
        if (division <= 0 || BAR % division)
            fail("bad length", token);
        uint32_t ticks = BAR / division;
        for (char c : part.substr(used)) {
            if (c == '.')
                ticks += ticks / 2;
            else if (c == 't')
                ticks = ticks * 2 / 3;
            else
                fail("bad length", token);
        }
        total += ticks;
    }
    return total;
}

// Places a pitch class in the octave starting at low.
int place(int pitchClass, int low)
{
    return low + ((pitchClass - low) % 12 + 12) % 12;
}

uint32_t stretch(const Progression& p, double bar, double bars)
{
    return bars > 0 ? at(bars) : p.end() - at(bar);
}

// The chord's notes in the octave from low, bottom up, then the same an
// octave higher and so on.
std::vector<int> voicing(const Chord& c, int low, int octaves = 1)
{
    std::vector<int> notes;
    for (int t : c.tones)
        notes.push_back(place(c.root + t, low));
    std::sort(notes.begin(), notes.end());
    notes.erase(std::unique(notes.begin(), notes.end()), notes.end());
    const size_t n = notes.size();
    for (int o = 1; o < octaves; ++o)
        for (size_t i = 0; i < n; ++i)
            notes.push_back(notes[i] + 12 * o);
    return notes;
}

// Walks a pattern over a stretch: calls f(tick, symbol, length) for every
// symbol that is neither '-' nor '.', its length covering the '-' after it.
// A held symbol is struck again where breaksAt(tick) says the harmony moves.
template <typename F, typename B>
void walk(std::string_view pattern, uint32_t total, F f, B breaksAt)
{
    if (pattern.empty())
        return;
    const uint32_t steps = total / STEP;
    char held = 0;
    uint32_t from = 0;
    for (uint32_t s = 0; s <= steps; ++s) {
        const char c = s < steps ? pattern[s % pattern.size()] : '.';
        if (c == '-' && held && !breaksAt(s * STEP))
            continue;
        if (held)
            f(from * STEP, held, (s - from) * STEP);
        from = s;
        if (c != '-')
            held = (c == '.' || c == ' ') ? 0 : c;
    }
}

template <typename F>
void walk(std::string_view pattern, uint32_t total, F f)
{
    walk(pattern, total, f, [](uint32_t) { return false; });
}

// For walk(): true where the progression moves to another chord.
auto chordChanges(const Progression& p, uint32_t start)
{
    return [&p, start](uint32_t t) { return &p.at(start + t) != &p.at(start + t - STEP); };
}

uint32_t gate(uint32_t length) { return length - std::min<uint32_t>(length / 6, 40); }

// One melody token: "c#5:8.^", "r:4", "<c5", "e5", "g5>:2"; updates the
// running length when the token names one.
struct Written {
    int key = -1; // -1 for a rest
    bool opensChord = false, closesChord = false;
    bool accent = false, staccato = false, tie = false;
};

Written readNote(std::string_view token, uint32_t& length)
{
    Written w;
    std::string_view body = token;
    while (!body.empty() && (body.back() == '^' || body.back() == '\'' || body.back() == '~')) {
        w.accent |= body.back() == '^';
        w.staccato |= body.back() == '\'';
        w.tie |= body.back() == '~';
        body.remove_suffix(1);
    }
    if (const size_t colon = body.find(':'); colon != std::string_view::npos) {
        length = parseLength(body.substr(colon + 1), token);
        body = body.substr(0, colon);
    }
    if (!body.empty() && body.front() == '<') {
        w.opensChord = true;
        body.remove_prefix(1);
    }
    if (!body.empty() && body.back() == '>') {
        w.closesChord = true;
        body.remove_suffix(1);
    }
    if (body == "r")
        return w;
    int key = pitchClass(body.empty() ? '?' : body[0]);
    if (key < 0)
        fail("bad note", token);
    size_t i = 1;
    for (; i < body.size() && (body[i] == '#' || body[i] == 'b'); ++i)
        key += body[i] == '#' ? 1 : -1;
    try {
        w.key = key + 12 * (std::stoi(std::string(body.substr(i))) + 1);
    } catch (...) {
        fail("bad octave", token);
    }
    return w;
}

} // namespace

Progression::Progression(double startBar, std::string_view text) : start_(tune::at(startBar))
{
    static const std::map<std::string, std::vector<int>, std::less<>> qualities = {
        {"", {0, 4, 7}}, {"m", {0, 3, 7}}, {"7", {0, 4, 7, 10}}, {"maj7", {0, 4, 7, 11}},
        {"m7", {0, 3, 7, 10}}, {"sus4", {0, 5, 7}}, {"7sus4", {0, 5, 7, 10}}, {"dim", {0, 3, 6}},
        {"dim7", {0, 3, 6, 9}}, {"aug", {0, 4, 8}}, {"add9", {0, 2, 4, 7}}, {"madd9", {0, 2, 3, 7}},
        {"m7b5", {0, 3, 6, 10}}, {"6", {0, 4, 7, 9}}, {"m6", {0, 3, 7, 9}}, {"9", {0, 2, 4, 7, 10}},
        {"m9", {0, 2, 3, 7, 10}}, {"maj9", {0, 2, 4, 7, 11}}, {"5", {0, 7}}, {"mM7", {0, 3, 7, 11}},
        {"7b9", {0, 1, 4, 7, 10}}};
    for (std::string_view token : split(text)) {
        uint32_t length = BAR;
        if (token == "|") {
            if (length_ % BAR)
                fail("chords off the bar line", token);
            continue;
        }
        std::string_view name = token;
        if (const size_t colon = token.find(':'); colon != std::string_view::npos) {
            length = parseLength(token.substr(colon + 1), token);
            name = token.substr(0, colon);
        }
        Chord c;
        c.root = pitchClass(name.empty() ? '?' : name[0]);
        if (c.root < 0 || !std::isupper(static_cast<unsigned char>(name[0])))
            fail("bad chord", token);
        size_t i = 1;
        for (; i < name.size() && (name[i] == '#' || name[i] == 'b'); ++i)
            c.root = (c.root + (name[i] == '#' ? 1 : 11)) % 12;
        std::string_view quality = name.substr(i);
        c.bass = c.root;
        if (const size_t slash = quality.find('/'); slash != std::string_view::npos) {
            std::string_view b = quality.substr(slash + 1);
            c.bass = pitchClass(b.empty() ? '?' : b[0]);
            if (c.bass < 0)
                fail("bad bass", token);
            for (size_t k = 1; k < b.size(); ++k)
                c.bass = (c.bass + (b[k] == '#' ? 1 : 11)) % 12;
            quality = quality.substr(0, slash);
        }
        const auto q = qualities.find(quality);
        if (q == qualities.end())
            fail("unknown chord quality", token);
        c.tones = q->second;
        c.start = length_;
        c.length = length;
        length_ += length;
        chords_.push_back(c);
    }
    if (chords_.empty())
        fail("no chords", text);
}

const Chord& Progression::at(uint32_t tick) const
{
    tick = (tick + length_ - start_ % length_) % length_; // before or after: wraps around
    for (const Chord& c : chords_)
        if (tick < c.start + c.length)
            return c;
    return chords_.back();
}

Part::Part(smf::Track& track, int program) : track_(track)
{
    track_.program(0, program);
}

void Part::note(uint32_t tick, uint32_t length, int key, int velocity)
{
    track_.note(tick, length, key, velocity);
}

uint32_t Part::play(double bar, std::string_view melody, int velocity, int transpose)
{
    const uint32_t start = at(bar);
    uint32_t tick = start;
    uint32_t length = BEAT;
    std::vector<int> chord;
    Held tied; // a tied note waits here until the notes after it are known
    for (std::string_view token : split(melody)) {
        if (token == "|") {
            if ((tick - start) % BAR)
                fail("notes off the bar line", token);
            continue;
        }
        const Written w = readNote(token, length);
        if (w.opensChord || !chord.empty()) {
            if (w.key >= 0)
                chord.push_back(w.key + transpose);
            if (!w.closesChord)
                continue;
        } else if (w.key >= 0) {
            chord = {w.key + transpose};
        }
        if (chord.empty()) { // a rest
            flush(tied);
            tick += length;
            continue;
        }
        const int v = velocity + (w.accent ? 15 : 0);
        const uint32_t sounding = w.staccato ? length / 2 : (w.tie ? length : gate(length));
        if (chord.size() == 1 && tied.key == chord[0]) {
            tied.length += sounding; // the tie carries on
        } else {
            flush(tied);
            if (w.tie && chord.size() == 1)
                tied = {chord[0], tick, sounding, v};
            else
                for (int k : chord)
                    note(tick, sounding, k, v);
        }
        if (!w.tie)
            flush(tied);
        chord.clear();
        tick += length;
    }
    flush(tied);
    return tick;
}

void Part::flush(Held& held)
{
    if (held.key >= 0)
        note(held.start, held.length, held.key, held.velocity);
    held.key = -1;
}

uint32_t Part::comp(double bar, const Progression& p, std::string_view rhythm, int low, int velocity, double bars)
{
    const uint32_t start = at(bar), total = stretch(p, bar, bars);
    walk(rhythm, total, [&](uint32_t t, char c, uint32_t len) {
        const int v = c == 'X' ? velocity + 15 : c == 'o' ? velocity - 25 : velocity;
        for (int k : voicing(p.at(start + t), low))
            note(start + t, gate(len), k, v);
    }, chordChanges(p, start));
    return start + total;
}

uint32_t Part::bass(double bar, const Progression& p, std::string_view pattern, int low, int velocity, double bars)
{
    const uint32_t start = at(bar), total = stretch(p, bar, bars);
    walk(pattern, total, [&](uint32_t t, char c, uint32_t len) {
        const Chord& ch = p.at(start + t);
        const int root = place(ch.bass, low);
        int key = root;
        switch (c) {
        case 'R': break;
        case 'O': key = root + 12; break;
        case '5': key = place(ch.root + 7, root + 1); break;
        case '3': key = place(ch.root + ch.tones[1], root + 1); break;
        case '7': key = ch.tones.size() > 3 ? place(ch.root + ch.tones[3], root + 1) : root + 12; break;
        case 'A': key = place(p.at(start + (t / (2 * BEAT) + 1) * 2 * BEAT).bass, low + 1) - 1; break;
        default: fail("bad bass symbol", std::string(1, c));
        }
        const bool strong = t % (2 * BEAT) == 0;
        note(start + t, gate(len), key, velocity + (strong ? 8 : 0));
    }, chordChanges(p, start));
    return start + total;
}

uint32_t Part::arp(double bar, const Progression& p, std::string_view pattern, int low, int velocity, double bars)
{
    const uint32_t start = at(bar), total = stretch(p, bar, bars);
    walk(pattern, total, [&](uint32_t t, char c, uint32_t len) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            fail("bad arpeggio symbol", std::string(1, c));
        const std::vector<int> notes = voicing(p.at(start + t), low, 4);
        const bool strong = t % BEAT == 0;
        note(start + t, gate(len), notes[static_cast<size_t>(c - '0') % notes.size()], velocity + (strong ? 10 : 0));
    });
    return start + total;
}

uint32_t Part::beat(double bar, double bars, const std::vector<std::pair<int, std::string_view>>& lanes)
{
    const uint32_t start = at(bar), total = at(bars);
    for (const auto& [key, pattern] : lanes)
        walk(pattern, total, [&, key = key](uint32_t t, char c, uint32_t) {
            const int v = c == 'X' ? 120 : c == 'x' ? 96 : c == 'o' ? 62 : -1;
            if (v < 0)
                fail("bad drum symbol", std::string(1, c));
            note(start + t, STEP / 2, key, v);
        });
    return start + total;
}

void Part::hit(double bar, int key, int velocity)
{
    note(at(bar), STEP / 2, key, velocity);
}

void Part::roll(double bar, double beats, int key, uint32_t every, int v0, int v1)
{
    const uint32_t start = at(bar), total = static_cast<uint32_t>(beats * BEAT);
    const uint32_t n = total / every;
    for (uint32_t i = 0; i < n; ++i) {
        const int v = v0 + static_cast<int>((v1 - v0) * static_cast<double>(i) / std::max<uint32_t>(n - 1, 1));
        note(start + i * every, every / 2, key, v);
    }
}

void Part::set(double bar, int controller, int value)
{
    track_.controller(at(bar), controller, value);
}

void Part::ramp(double bar, double beats, int controller, int from, int to)
{
    const uint32_t start = at(bar), total = static_cast<uint32_t>(beats * BEAT);
    const uint32_t n = std::max<uint32_t>(total / (STEP / 2), 1);
    for (uint32_t i = 0; i <= n; ++i)
        track_.controller(start + total * i / n, controller, from + (to - from) * static_cast<int>(i) / static_cast<int>(n));
}

void Part::program(double bar, int program)
{
    track_.program(at(bar), program);
}

Tune::Tune(double bpm)
{
    song_.conductor().timeSignature(0, 4, 2);
    song_.conductor().tempo(0, bpm);
}

Part& Tune::part(const std::string& name, int program, int volume, int pan, int reverb, int chorus)
{
    if (nextChannel_ == 9)
        ++nextChannel_;
    if (nextChannel_ > 15)
        throw std::runtime_error("too many parts");
    smf::Track& t = song_.add(name, nextChannel_++);
    t.controller(0, 121, 0); // reset all controllers, so a loop starts clean
    t.controller(0, 7, volume);
    t.controller(0, 11, 127);
    t.controller(0, 10, pan);
    t.controller(0, 91, reverb);
    t.controller(0, 93, chorus);
    return parts_.emplace_back(t, program);
}

Part& Tune::drums(const std::string& name, int volume, int reverb)
{
    smf::Track& t = song_.add(name, 9);
    t.controller(0, 121, 0);
    t.controller(0, 7, volume);
    t.controller(0, 11, 127);
    t.controller(0, 10, 64);
    t.controller(0, 91, reverb);
    return parts_.emplace_back(t, 0);
}

void Tune::tempo(double bar, double bpm)
{
    song_.conductor().tempo(at(bar), bpm);
}

bool Tune::write(const std::string& path, double bars) const
{
    return song_.write(path, at(bars));
}

} // namespace tune
