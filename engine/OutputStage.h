// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice's output stage: drive, cubic clip, volume, 2:1 folding and Spread panning.
#pragma once

#include "engine/DspHelpers.h"

#include <algorithm>

namespace quane
{
/** Adds count internal values (after the amplitude envelope) as count / 2 output samples:
    first gets the spread share of each pair, second the rest. Each output sample is the mean of
    two consecutive values, with no further filtering. */
inline void addOutputStage (const float* values, int count, float saturation, float volume, float spread, float* first,
                            float* second) noexcept
{
    const float firstShare = spread;
    const float secondShare = 1.0f - spread;

    for (int n = 0; n < count; ++n)
    {
        // The cubic meets the opposite bound at |z| = 2 and only moves beyond it further out, so
        // holding the drive at +-2 changes no result; it keeps the limit exact where a huge z (a
        // runaway filter) would make |p + 1| - |p - 1| round to 0.
        const float z = std::min (std::max (saturation * values[n], -2.0f), 2.0f);
        const float q = limitToUnitRange (cubicShape (z));
        const float w = q * volume * 0.5f;
        first[n / 2] += w * firstShare;
        second[n / 2] += w * secondShare;
    }
}
} // namespace quane
