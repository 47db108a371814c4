// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Small pure helpers of the voice: the branchless limit, table index rounding, phase wrapping.
#pragma once

#include <cmath>

namespace quane
{
/** A range for clampBranchless, with lo + hi held as one constant so that the sum is exact. */
struct ClampRange
{
    double lo, hi, sum;
};

constexpr ClampRange coefficientRange { 0.01, 0.99, 1.0 };  // phase offset, cutoff
constexpr ClampRange lfoSpeedRange { 0.01, 1.0, 1.01 };
constexpr ClampRange volumeRange { 0.001, 1.0, 1.001 };
constexpr ClampRange levelRange { 0.0, 1.0, 1.0 };          // second-reading level

/** min (max (x, lo), hi) up to the rounding of its last bit, without a branch. */
inline float clampBranchless (double x, const ClampRange& range) noexcept
{
    return (float) ((std::fabs (x - range.lo) + range.sum - std::fabs (x - range.hi)) * 0.5);
}

/** The segment a table position lies in: the nearest integer to (position - 0.5), ties to even,
    so that the fraction position - index lies in 0..1. Needs the default rounding mode. */
inline int segmentIndex (float position) noexcept
{
    return (int) std::lrintf (position - 0.5f);
}

/** The cubic curve of the filter input and the output drive; it turns back beyond |x| = 1. */
inline float cubicShape (float x) noexcept
{
    return 1.5f * x - 0.5f * x * x * x;
}

/** A phase increment that cannot leave a table: anything non-finite stops the phase. */
inline float finiteIncrement (double increment) noexcept
{
    // Checked in double first: narrowing a value beyond the float range is undefined.
    return std::fabs (increment) <= 3.0e38 ? (float) increment : 0.0f;
}

/** Brings an advanced phase back into 0..length. One subtraction serves every increment below
    the table length; larger or negative increments (extreme pitch, odd sample rates) need more. */
inline float wrapPhase (float phase, float length) noexcept
{
    if (phase >= length)
        phase -= length;

    if (! (phase >= 0.0f && phase < length))
    {
        phase = std::fmod (phase, length);
        if (phase < 0.0f)
            phase += length;
        if (! (phase < length)) // a tiny negative remainder rounds up to the length; or NaN
            phase = 0.0f;
    }
    return phase;
}
} // namespace quane
