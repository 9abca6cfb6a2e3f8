// SPDX-License-Identifier: MIT
// A compact Standard MIDI File (format 1) writer: one conductor track with the
// tempo and the 4/4 metre, then one track per instrument.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace smf {

class Track {
public:
    Track(std::string name, int channel);

    int channel() const { return channel_; }
    void program(uint32_t tick, int program);
    void controller(uint32_t tick, int number, int value);
    void note(uint32_t tick, uint32_t length, int key, int velocity);
    void tempo(uint32_t tick, double bpm);
    void timeSignature(uint32_t tick, int numerator, int denominatorPower);
    uint32_t lastTick() const;

    // The track chunk; notes reaching past end are cut off there, and the
    // end-of-track event sits exactly at end.
    std::vector<uint8_t> chunk(uint32_t end) const;

private:
    struct Event {
        uint32_t tick;
        uint32_t start; // a note-off's note-on tick, else tick
        int order; // at one tick: note-offs, then set-up, then note-ons
        std::vector<uint8_t> bytes;
    };
    void add(uint32_t tick, int order, std::vector<uint8_t> bytes, uint32_t start);

    std::string name_;
    int channel_;
    std::vector<Event> events_;
};

class Song {
public:
    explicit Song(int ticksPerQuarter) : ppq_(ticksPerQuarter) {}
    Track& conductor() { return tracks_.front(); }
    Track& add(std::string name, int channel);

    // Writes the file; end is the length in ticks (0: up to the last event).
    bool write(const std::string& path, uint32_t end = 0) const;

private:
    int ppq_;
    std::deque<Track> tracks_{Track("Conductor", 0)};
};

} // namespace smf
