// SPDX-License-Identifier: MIT
#include "Smf.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace smf {
namespace {

void putVarLen(std::vector<uint8_t>& out, uint32_t value)
{
    uint8_t bytes[5];
    int n = 0;
    bytes[n++] = value & 0x7F;
    while (value >>= 7)
        bytes[n++] = 0x80 | (value & 0x7F);
    while (n)
        out.push_back(bytes[--n]);
}

void putBig(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i)
        out.push_back((value >> (8 * i)) & 0xFF);
}

uint8_t clamp7(int v) { return static_cast<uint8_t>(std::clamp(v, 0, 127)); }

} // namespace

Track::Track(std::string name, int channel) : name_(std::move(name)), channel_(channel) {}

void Track::add(uint32_t tick, int order, std::vector<uint8_t> bytes, uint32_t start)
{
    events_.push_back({tick, start, order, std::move(bytes)});
}

void Track::program(uint32_t tick, int program)
{
    add(tick, 1, {static_cast<uint8_t>(0xC0 | channel_), clamp7(program)}, tick);
}

void Track::controller(uint32_t tick, int number, int value)
{
    add(tick, 1, {static_cast<uint8_t>(0xB0 | channel_), clamp7(number), clamp7(value)}, tick);
}

void Track::note(uint32_t tick, uint32_t length, int key, int velocity)
{
    if (length == 0 || key < 0 || key > 127)
        return;
    add(tick, 2, {static_cast<uint8_t>(0x90 | channel_), clamp7(key), clamp7(std::max(velocity, 1))}, tick);
    add(tick + length, 0, {static_cast<uint8_t>(0x80 | channel_), clamp7(key), 64}, tick);
}

void Track::tempo(uint32_t tick, double bpm)
{
    std::vector<uint8_t> bytes{0xFF, 0x51, 0x03};
    putBig(bytes, static_cast<uint32_t>(60000000.0 / bpm + 0.5), 3);
    add(tick, 1, std::move(bytes), tick);
}

void Track::timeSignature(uint32_t tick, int numerator, int denominatorPower)
{
    add(tick, 1, {0xFF, 0x58, 0x04, clamp7(numerator), clamp7(denominatorPower), 24, 8}, tick);
}

uint32_t Track::lastTick() const
{
    uint32_t last = 0;
    for (const Event& e : events_)
        last = std::max(last, e.tick);
    return last;
}

std::vector<uint8_t> Track::chunk(uint32_t end) const
{
    std::vector<Event> events;
    for (const Event& e : events_) {
        if (e.start >= end)
            continue; // starts at or after the end: left out
        Event kept = e;
        kept.tick = std::min(e.tick, end); // a note still ringing is cut at the end
        events.push_back(kept);
    }
    std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });

    std::vector<uint8_t> body;
    putVarLen(body, 0);
    body.insert(body.end(), {0xFF, 0x03});
    putVarLen(body, static_cast<uint32_t>(name_.size()));
    body.insert(body.end(), name_.begin(), name_.end());
    uint32_t now = 0;
    for (const Event& e : events) {
        putVarLen(body, e.tick - now);
        now = e.tick;
        body.insert(body.end(), e.bytes.begin(), e.bytes.end());
    }
    putVarLen(body, end - now);
    body.insert(body.end(), {0xFF, 0x2F, 0x00});

    std::vector<uint8_t> out{'M', 'T', 'r', 'k'};
    putBig(out, static_cast<uint32_t>(body.size()), 4);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Track& Song::add(std::string name, int channel)
{
    tracks_.emplace_back(std::move(name), channel);
    return tracks_.back();
}

bool Song::write(const std::string& path, uint32_t end) const
{
    if (end == 0)
        for (const Track& t : tracks_)
            end = std::max(end, t.lastTick());

    std::vector<uint8_t> out{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    putBig(out, static_cast<uint32_t>(tracks_.size()), 2);
    putBig(out, static_cast<uint32_t>(ppq_), 2);
    for (const Track& t : tracks_) {
        const std::vector<uint8_t> c = t.chunk(end);
        out.insert(out.end(), c.begin(), c.end());
    }
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    if (!file) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

} // namespace smf
