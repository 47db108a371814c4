// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice's output stage: drive, cubic clip, volume, 2:1 folding and Spread panning.
#pragma once

#include "engine/DspHelpers.h"

namespace quane
{
/** Adds count internal values (after the amplitude envelope) as count / 2 output samples:
    first gets the spread share of each pair, second the rest. Each output sample is the mean of
    two consecutive values, with no further filtering. */
inline void addOutputStage (const float* values, int count, float saturation, float volume, float spread,
                            float* first, float* second) noexcept
{
    const float firstShare = spread;
    const float secondShare = 1.0f - spread;

    for (int n = 0; n < count; ++n)
    {
        const float p = cubicShape (saturation * values[n]);
        // Branchless limit to -1..1: beyond |z| = 2 the cubic has passed the opposite bound.
        const float q = (std::fabs (p + 1.0f) - std::fabs (p - 1.0f)) * 0.5f;
        const float w = q * volume * 0.5f;
        first[n / 2] += w * firstShare;
        second[n / 2] += w * secondShare;
    }
}
} // namespace quane
