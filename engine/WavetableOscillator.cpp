// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice's oscillator: one stored waveform read with cubic interpolation, minus a shifted copy.
#include "engine/WavetableOscillator.h"

#include "engine/DspHelpers.h"

namespace quane
{
WavetableOscillator::WavetableOscillator (int waveType)
{
    selectWave (waveType);
}

void WavetableOscillator::selectWave (int waveType)
{
    row = waveType >= 2 && waveType <= waveformCount ? waveType - 1 : 0;
    const float* source = waveformTables[row];

    for (int i = 0; i < length; ++i)
        segments[(size_t) i].sample = source[i];

    // Catmull-Rom segment coefficients over the cycle: segment i runs from sample i to i + 1,
    // so segment 0 looks back to sample 511 and segment 511 ahead to samples 0 and 1. They are
    // defined in extended precision; for the stored waveforms double gives the same floats.
    for (int i = 0; i < length; ++i)
    {
        const double previous = source[(i + length - 1) % length];
        const double current = source[i];
        const double next = source[(i + 1) % length];
        const double afterNext = source[(i + 2) % length];

        auto& segment = segments[(size_t) i];
        segment.a = (float) (((current - next) * 3.0 - previous + afterNext) * 0.5);
        segment.b = (float) ((2.0 * next + previous) - (5.0 * current + afterNext) * 0.5);
        segment.c = (float) ((next - previous) * 0.5);
    }
}

void WavetableOscillator::render (float* values, int count) noexcept
{
    constexpr auto tableLength = (float) length;
    float position = phase;

    for (int n = 0; n < count; ++n)
    {
        const int i = segmentIndex (position);
        const float f = position - (float) i;
        const int j = segmentIndex (position + secondOffset) & (length - 1);

        // The second reading borrows the first one's fraction: both move in step.
        values[n] = read (i, f) - read (j, f) * secondLevel;

        position = wrapPhase (position + increment, tableLength);
    }

    phase = position;
}
} // namespace quane
