// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice's output stage: drive, cubic clip, volume, 2:1 folding and Spread panning.
#pragma once

#include "engine/DspHelpers.h"

namespace quane
{
/** One internal value (after the amplitude envelope) driven, clipped and scaled, and split into
    the first array's spread share and the second's rest: for one voice or for lanes. */
template <typename T>
struct OutputShares
{
    T first, second;
};

template <typename T, typename Parameter>
inline OutputShares<T> outputShares (T value, Parameter saturation, Parameter volume, Parameter spread) noexcept
{
    // The cubic meets the opposite bound at |z| = 2 and only moves beyond it further out, so
    // holding the drive at +-2 changes no result; it keeps the limit exact where a huge z (a
    // runaway filter) would make |p + 1| - |p - 1| round to 0.
    const T z = limit (saturation * value, -2.0f, 2.0f);
    const T q = limitToUnitRange (cubicShape (z));
    const T w = q * volume * 0.5f;
    return { w * spread, w * (1.0f - spread) };
}

/** Adds count internal values (after the amplitude envelope) as count / 2 output samples:
    first gets the spread share of each pair, second the rest. Each output sample is the mean of
    two consecutive values, with no further filtering. */
inline void addOutputStage (const float* values, int count, float saturation, float volume, float spread, float* first,
                            float* second) noexcept
{
    for (int n = 0; n < count; ++n)
    {
        const auto shares = outputShares (values[n], saturation, volume, spread);
        first[n / 2] += shares.first;
        second[n / 2] += shares.second;
    }
}
} // namespace quane
