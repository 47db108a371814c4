// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice's oscillator: one stored waveform read with cubic interpolation, minus a shifted copy.
#pragma once

#include "engine/WaveformData.h"

#include <array>
#include <cstddef>

namespace quane
{
/** Holds a copy of one of the nine waveforms with the Catmull-Rom coefficients of each segment,
    and the oscillator's phase. The voice sets increment, offset and level once per chunk and then
    asks for internal values; each value is the table read at the phase minus, scaled by level,
    the table read offset positions further on with the same fraction. */
class WavetableOscillator
{
public:
    static constexpr int length = waveformLength;

    explicit WavetableOscillator (int waveType);

    /** Copies wave type 2..9, or "Saw" (type 1) for any other number, and recomputes A, B and C. */
    void selectWave (int waveType);

    /** The cubic reading at segment i with fraction f (0..1): equals sample i at f = 0 and sample
        i + 1 (cyclically) at f = 1. */
    float read (int segment, float fraction) const noexcept
    {
        const auto i = (std::size_t) segment;
        return ((a[i] * fraction + b[i]) * fraction + c[i]) * fraction + samples[i];
    }

    /** Writes count values and advances the phase by the increment after each. */
    void render (float* values, int count) noexcept;

    float sample (int index) const noexcept { return samples[(std::size_t) index]; }

    /** A, B and C of one segment. */
    std::array<float, 3> coefficients (int segment) const noexcept
    {
        const auto i = (std::size_t) segment;
        return { a[i], b[i], c[i] };
    }

    float phase = 0.0f;           // table positions, 0 <= phase < length
    float increment = 0.0f;       // table positions per internal value
    float secondOffset = 0.0f;    // table positions between the two readings
    float secondLevel = 0.0f;     // weight of the subtracted reading

private:
    std::array<float, length> samples {}, a {}, b {}, c {};
};
} // namespace quane
