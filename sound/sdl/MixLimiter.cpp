// SPDX-License-Identifier: MIT
#include "sound/sdl/MixLimiter.h"

#include <algorithm>
#include <cmath>

namespace sound {

namespace {

// The share of the way back to full gain made each frame: a time constant of
// 100 ms at 44.1 kHz.
constexpr double Recovery = 1.0 / (0.1 * 44100.0);

// The gain that takes a peak of `level` onto the knee's curve, which follows
// the level up to the knee and then approaches the ceiling without reaching it.
double KneeGain(double level)
{
    if (level <= MixLimiter::Knee)
        return 1.0;
    constexpr double Width = MixLimiter::Ceiling - MixLimiter::Knee;
    return (MixLimiter::Knee + Width * std::tanh((level - MixLimiter::Knee) / Width)) / level;
}

bool AtFullScale(float sample)
{
    return std::abs(sample) == 1.0f;
}

// The ceiling holds even where the curve, rounded to float, would touch it.
float ToSample(double level)
{
    return float(std::clamp(level, -MixLimiter::Ceiling, MixLimiter::Ceiling));
}

} // namespace

void MixLimiter::process(float* samples, int frames)
{
    std::int64_t saturated = 0;
    for (float* frame = samples; frame < samples + 2 * frames; frame += 2) {
        saturated += int(AtFullScale(frame[0])) + int(AtFullScale(frame[1]));
        const double left = frame[0];
        const double right = frame[1];
        gain_ = std::min(gain_ + (1.0 - gain_) * Recovery, KneeGain(std::max(std::abs(left), std::abs(right))));
        frame[0] = ToSample(left * gain_);
        frame[1] = ToSample(right * gain_);
    }
    if (saturated)
        saturated_.fetch_add(saturated, std::memory_order_relaxed);
}

} // namespace sound
