// SPDX-License-Identifier: MIT
// The last stage of the mix, on SDL's audio thread. The device mixes in
// floating point, which has no ceiling: the music and the effects add up at
// their own levels however loud their sum, and nothing before this stage
// clamps it. This stage bends every peak that would reach the ceiling under
// it: a soft knee from -3 dBFS, no lookahead (the gain falls on the very
// sample that needs it) and a recovery over about 100 ms, so a loud bell over
// the music is turned down smoothly rather than clipped. It is the only stage
// that limits; it allocates nothing and takes no lock.
#pragma once

#include <atomic>
#include <cstdint>

namespace sound {

class MixLimiter {
public:
    // The level, as a fraction of full scale, where the gain starts to fall.
    static constexpr double Knee = 0.708; // -3 dBFS
    // No output sample's magnitude passes this: -1.07 dBFS (29000 in 16 bits).
    static constexpr double Ceiling = 29000.0 / 32768.0;

    // Interleaved stereo frames, in place; both sides get one gain.
    void process(float* samples, int frames);
    // Input samples at exactly full scale, the mark a clamp leaves: a stage
    // before this one had clipped the mix (in floating point none does).
    std::int64_t saturatedSamples() const { return saturated_.load(std::memory_order_relaxed); }

private:
    double gain_ = 1.0; // in double: in float, the last steps back to 1 would round away
    std::atomic<std::int64_t> saturated_{0};
};

} // namespace sound
