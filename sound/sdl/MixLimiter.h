// SPDX-License-Identifier: MIT
// The last stage of the mix, on SDL's audio thread. The music and the effects
// enter the mixer at half their level (Headroom, 6 dB down), so that their sum
// stays inside 16 bits where SDL_mixer adds and clamps them. This stage
// brings the sum back up to its level and bends every peak that would reach
// the ceiling under it: a soft knee from -3 dBFS, no lookahead (the gain
// falls on the very sample that needs it) and a recovery over about 100 ms,
// so a loud bell over the music is turned down smoothly rather than clipped.
// It allocates nothing and takes no lock.
#pragma once

#include <atomic>
#include <cstdint>

namespace sound {

class MixLimiter {
public:
    // The level each source enters the mix at.
    static constexpr double Headroom = 0.5;
    // The level, as a fraction of full scale, where the gain starts to fall.
    static constexpr double Knee = 0.708; // -3 dBFS
    // No output sample's magnitude passes this: -1.07 dBFS.
    static constexpr int Ceiling = 29000;

    // Interleaved stereo 16-bit frames, in place; both sides get one gain.
    void process(std::int16_t* samples, int frames);
    // Input samples found at a 16-bit limit: the mix had clipped before this
    // stage (with the headroom it does not).
    std::int64_t saturatedSamples() const { return saturated_.load(std::memory_order_relaxed); }

private:
    double gain_ = 1.0; // in float, the last steps back to 1 would round away
    std::atomic<std::int64_t> saturated_{0};
};

} // namespace sound
