// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice's oscillator: one stored waveform read with cubic interpolation, minus a shifted copy.
#pragma once

#include "engine/WaveformData.h"

#include <array>
#include <cstddef>

namespace quane
{
/** The cubic of a segment {a, b, c, sample} at fraction f, for one value or for lanes. */
template <typename T>
inline T cubicReading (T a, T b, T c, T sample, T f) noexcept
{
    return ((a * f + b) * f + c) * f + sample;
}

/** Holds a copy of one of the nine waveforms with the Catmull-Rom coefficients of each segment,
    and the oscillator's phase. The voice sets increment, offset and level once per chunk and then
    asks for internal values; each value is the table read at the phase minus, scaled by level,
    the table read offset positions further on with the same fraction. */
class WavetableOscillator
{
public:
    static constexpr int length = waveformLength;

    /** One segment of the cycle: the cubic from sample i (at f = 0) to sample i + 1 (at f = 1),
        kept together so that one reading touches one 16-byte block. */
    struct Segment
    {
        float a, b, c, sample;

        float read (float fraction) const noexcept { return cubicReading (a, b, c, sample, fraction); }
    };

    explicit WavetableOscillator (int waveType);

    /** Copies wave type 2..9, or "Saw" (type 1) for any other number, and recomputes A, B and C. */
    void selectWave (int waveType);

    /** The cubic reading at segment i with fraction f (0..1): equals sample i at f = 0 and sample
        i + 1 (cyclically) at f = 1. */
    float read (int segment, float fraction) const noexcept { return segments[(std::size_t) segment].read (fraction); }

    /** Writes count values and advances the phase by the increment after each. */
    void render (float* values, int count) noexcept;

    float sample (int index) const noexcept { return segments[(std::size_t) index].sample; }

    /** A, B and C of one segment. */
    std::array<float, 3> coefficients (int segment) const noexcept
    {
        const auto& s = segments[(std::size_t) segment];
        return { s.a, s.b, s.c };
    }

    const Segment* segmentData() const noexcept { return segments.data(); }

    /** The stored waveform in use, 0..8: oscillators with the same one hold the same segments. */
    int waveformRow() const noexcept { return row; }

    float phase = 0.0f;        // table positions, 0 <= phase < length
    float increment = 0.0f;    // table positions per internal value
    float secondOffset = 0.0f; // table positions between the two readings
    float secondLevel = 0.0f;  // weight of the subtracted reading

private:
    std::array<Segment, length> segments {};
    int row = 0;
};
} // namespace quane
