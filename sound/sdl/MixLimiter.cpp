// SPDX-License-Identifier: MIT
#include "sound/sdl/MixLimiter.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace sound {

namespace {

constexpr double FullScale = 32768.0;
constexpr double CeilingLevel = MixLimiter::Ceiling / FullScale;
// The sum's level from a mixed sample: the make-up for the headroom.
constexpr double ToLevel = 1.0 / (MixLimiter::Headroom * FullScale);
// The share of the way back to full gain made each frame: a time constant of
// 100 ms at 44.1 kHz.
constexpr double Recovery = 1.0 / (0.1 * 44100.0);

// The gain that takes a peak of `level` onto the knee's curve, which follows
// the level up to the knee and then approaches the ceiling without reaching it.
double KneeGain(double level)
{
    if (level <= MixLimiter::Knee)
        return 1.0;
    constexpr double Width = CeilingLevel - MixLimiter::Knee;
    return (MixLimiter::Knee + Width * std::tanh((level - MixLimiter::Knee) / Width)) / level;
}

bool AtLimit(std::int16_t sample)
{
    return sample == std::numeric_limits<std::int16_t>::max() || sample == std::numeric_limits<std::int16_t>::min();
}

std::int16_t ToSample(double level)
{
    return std::int16_t(std::clamp(std::lround(level * FullScale), -long(MixLimiter::Ceiling), long(MixLimiter::Ceiling)));
}

} // namespace

void MixLimiter::process(std::int16_t* samples, int frames)
{
    std::int64_t saturated = 0;
    for (std::int16_t* frame = samples; frame < samples + 2 * frames; frame += 2) {
        saturated += int(AtLimit(frame[0])) + int(AtLimit(frame[1]));
        const double left = frame[0] * ToLevel;
        const double right = frame[1] * ToLevel;
        gain_ = std::min(gain_ + (1.0 - gain_) * Recovery, KneeGain(std::max(std::abs(left), std::abs(right))));
        frame[0] = ToSample(left * gain_);
        frame[1] = ToSample(right * gain_);
    }
    if (saturated)
        saturated_.fetch_add(saturated, std::memory_order_relaxed);
}

} // namespace sound
