// SPDX-License-Identifier: MIT
#include "Effects.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

namespace effects {
namespace {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;
constexpr double kPeak = 0.891; // -1 dBFS

using Buffer = std::vector<float>;

double noteHz(int midiKey) { return 440.0 * std::pow(2.0, (midiKey - 69) / 12.0); }

// Attack then exponential decay.
double envelope(double t, double attack, double decay)
{
    if (t < 0)
        return 0;
    return (t < attack ? t / attack : 1.0) * std::exp(-t / decay);
}

// A struck FM bell: the modulator's index falls with the sound, so the
// strike is bright and the ring mellows.
void bell(Buffer& out, double start, double hz, double ratio, double index, double decay, double gain)
{
    const size_t from = static_cast<size_t>(start * kRate);
    const size_t length = std::min(out.size() - std::min(from, out.size()), static_cast<size_t>(decay * 7 * kRate));
    for (size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double env = envelope(t, 0.002, decay);
        const double mod = index * std::exp(-t / (decay * 0.4)) * std::sin(2 * kPi * hz * ratio * t);
        out[from + i] += static_cast<float>(gain * env * std::sin(2 * kPi * hz * t + mod));
    }
}

// A brassy tone: harmonics falling off as 1/k, the upper ones opening up
// after the attack, held at sustain until release.
void brass(Buffer& out, double start, double length, double hz, double gain)
{
    const size_t from = static_cast<size_t>(start * kRate);
    const size_t n = std::min(out.size() - std::min(from, out.size()), static_cast<size_t>((length + 0.15) * kRate));
    for (size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double amp = std::min(t / 0.015, 1.0) * (t < length ? 1.0 - 0.3 * std::min(t / 0.2, 1.0)
                                                                  : 0.7 * std::exp(-(t - length) / 0.04));
        const double bright = 0.35 + 0.65 * std::exp(-t / 0.25);
        double s = 0;
        for (int k = 1; k <= 12 && hz * k < 16000; ++k)
            s += std::pow(bright, k - 1) / k * std::sin(2 * kPi * hz * k * t + 0.3 * std::sin(2 * kPi * 5.5 * t));
        out[from + i] += static_cast<float>(gain * amp * s);
    }
}

// Raises the level gently (soft saturation), normalises the peak to -1 dBFS
// and ramps both ends so the sound starts and stops without a click.
void finish(Buffer& b, double drive)
{
    for (float& s : b)
        s = static_cast<float>(std::tanh(drive * s));
    float peak = 1e-9f;
    for (float s : b)
        peak = std::max(peak, std::fabs(s));
    const double scale = kPeak / peak;
    const size_t in = kRate / 1000, out = kRate / 25; // 1 ms in, 40 ms out
    for (size_t i = 0; i < b.size(); ++i) {
        double g = scale;
        if (i < in)
            g *= static_cast<double>(i) / in;
        if (b.size() - i <= out)
            g *= static_cast<double>(b.size() - 1 - i) / out;
        b[i] = static_cast<float>(b[i] * g);
    }
}

bool save(const Buffer& b, const std::string& path)
{
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) {
        std::fprintf(stderr, "cannot write %s: %s\n", path.c_str(), sf_strerror(nullptr));
        return false;
    }
    sf_command(file, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    const sf_count_t written = sf_writef_float(file, b.data(), static_cast<sf_count_t>(b.size()));
    sf_close(file);
    return written == static_cast<sf_count_t>(b.size());
}

// Notice chime: a quick rising E major arpeggio of bright bells, ~0.9 s.
Buffer notice()
{
    Buffer b(static_cast<size_t>(0.9 * kRate));
    const int keys[] = {88, 92, 95, 100}; // E6 G#6 B6 E7
    for (int i = 0; i < 4; ++i) {
        const double start = 0.065 * i;
        const double decay = i == 3 ? 0.22 : 0.12;
        bell(b, start, noteHz(keys[i]), 2.0, 1.6, decay, 0.5);
        bell(b, start, noteHz(keys[i]) * 2.0, 3.5, 0.8, decay * 0.5, 0.12); // glassy overtone
    }
    finish(b, 1.2);
    return b;
}

// Reel stop: a low thud falling in pitch, a short noise click and a brief
// metallic ring of the latch, ~0.15 s.
Buffer reelStop()
{
    Buffer b(static_cast<size_t>(0.15 * kRate));
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> noise(-1.0, 1.0);
    double phase = 0, low = 0, previous = 0;
    for (size_t i = 0; i < b.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double hz = 70 + 130 * std::exp(-t / 0.012);
        phase += 2 * kPi * hz / kRate;
        const double thud = std::sin(phase) * envelope(t, 0.001, 0.03);
        const double n = noise(rng);
        low += 0.25 * (n - low); // one-pole low-pass; n - low is its high-pass
        const double click = (n - low - previous * 0.2) * envelope(t, 0.0003, 0.004);
        previous = n - low;
        double ring = 0;
        for (double hz2 : {1870.0, 2740.0, 4130.0})
            ring += std::sin(2 * kPi * hz2 * t) * envelope(t, 0.0005, 0.018);
        b[i] = static_cast<float>(1.0 * thud + 0.55 * click + 0.12 * ring);
    }
    finish(b, 1.6);
    return b;
}

// Jackpot: a fast bell run up C major, a "ta-ta-ta-taa"
// brass fanfare, and a shimmering bell chord ringing out, ~1.8 s.
Buffer jackpot()
{
    Buffer b(static_cast<size_t>(1.8 * kRate));
    const int run[] = {84, 88, 91, 96, 100, 103}; // C6 .. G7
    for (int i = 0; i < 6; ++i)
        bell(b, 0.045 * i, noteHz(run[i]), 3.0, 1.2 - 0.12 * i, 0.18, 0.22);
    // Fanfare in triplets, then the held chord.
    const double beat = 0.095;
    for (int i = 0; i < 3; ++i)
        for (int key : {67, 72})
            brass(b, 0.05 + beat * i, beat * 0.6, noteHz(key), 0.14);
    for (int key : {60, 64, 67, 72})
        brass(b, 0.05 + beat * 3, 1.05, noteHz(key), 0.12);
    // The ringing bells: a C major chord struck again and again, fading.
    for (int i = 0; i < 14; ++i) {
        const double start = 0.34 + 0.075 * i;
        const double fade = std::exp(-i / 7.0);
        const int key = (i % 2 ? 91 : 96) + (i % 4 == 3 ? 4 : 0); // G6/C7, E7 now and then
        bell(b, start, noteHz(key), 3.5, 1.5, 0.16, 0.2 * fade);
    }
    bell(b, 0.34, noteHz(96), 2.0, 1.0, 0.5, 0.25);
    finish(b, 1.4);
    return b;
}

} // namespace

bool writeAll(const std::string& dir)
{
    bool ok = true;
    ok &= save(notice(), dir + "/YOKOKU.WAV");
    ok &= save(reelStop(), dir + "/STOP.WAV");
    ok &= save(jackpot(), dir + "/ATARI.WAV");
    return ok;
}

} // namespace effects
