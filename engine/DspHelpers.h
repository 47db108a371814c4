// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Small pure helpers of the voice: the branchless limits, table index rounding, phase wrapping.
//
// The formulas here are templates over the value type: float for one voice, and the lane vectors
// of engine/VectorShims.h for voices side by side. They are written in the primitives below
// (absolute, limit, higher, select, any, roundToInt, toFloat), which VectorShims.h gives lane by lane
// with the same results, so each formula exists once and both paths agree to the bit.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace quane
{
inline float absolute (float x) noexcept
{
    return std::fabs (x);
}

/** std::min (std::max (x, lo), hi): NaN stays NaN. */
inline float limit (float x, float lo, float hi) noexcept
{
    return std::min (std::max (x, lo), hi);
}

/** std::min (x, hi): NaN stays NaN. */
inline float lower (float x, float hi) noexcept
{
    return std::min (x, hi);
}

inline int higher (int x, int y) noexcept
{
    return std::max (x, y);
}

/** The value of a condition that holds, else the other: the ?: of one value, written as a
    function so that lane masks can take its place. */
template <typename T>
inline T select (bool condition, T whenTrue, T whenFalse) noexcept
{
    return condition ? whenTrue : whenFalse;
}

inline bool any (bool condition) noexcept
{
    return condition;
}

/** Round to the nearest integer, ties to even (the default rounding mode). */
inline int roundToInt (float x) noexcept
{
    return (int) std::lrintf (x);
}

inline float toFloat (int x) noexcept
{
    return (float) x;
}

inline double widen (float x) noexcept
{
    return (double) x;
}

/** Rounded to float as a conversion rounds it. */
inline float narrow (double x) noexcept
{
    return (float) x;
}

/** The 29 bits of the significand that a conversion to float rounds away. */
inline int bitsBelowFloatPrecision (double x) noexcept
{
    std::uint64_t bits;
    std::memcpy (&bits, &x, sizeof bits);
    return (int) (bits & 0x1fffffff);
}

/** 2^n as a float for whole n in -126..127. */
inline float floatPowerOfTwo (int n) noexcept
{
    const auto bits = (std::uint32_t) (n + 127) << 23;
    float x;
    std::memcpy (&x, &bits, sizeof x);
    return x;
}

/** f (input) where holds is false: the rare values a formula does not cover. */
template <typename Function>
inline float exceptWhere (bool holds, float value, float input, Function f) noexcept
{
    return holds ? value : f (input);
}

/** The runaway test: false for infinity and NaN. The largest float compares as finite, and so
    it does in every lane. */
template <typename T>
inline auto isFiniteValue (T x) noexcept
{
    return absolute (x) <= std::numeric_limits<float>::max();
}

/*  The voice's limits are defined as the branchless expression
        (|x - lo| + (lo + hi) - |x - hi|) x 0.5
    evaluated in extended precision (64-bit significand) with lo + hi held as one constant, and
    rounded to a float. The functions below give that float without extended arithmetic, which
    neither vectorises nor survives a host that runs the x87 unit at double precision:

    - For a float x with |x| < 2^24 and bounds that are not 0, the expression is x plus an error
      far below half a unit in the last place of x or of the bound, so it rounds to the plain
      min (max (x, lo), hi) with the bounds rounded to floats. The voice's sums of a patch value
      and its modulation stay within +-16.
    - Next to a bound of 0 the terms 1 + x and 1 - x are rounded to 64 bits and the result no
      longer equals x once |x| < 2^-40 (see extendedSymmetricLimitOfTiny). */

/** The extended evaluation of ((1 + x) - (1 - x)) x 0.5 for |x| < 2^-35: 1 + x and 1 - x land in
    binades whose units are 2^-63 and 2^-64, so the result is (2 k1 + k2) x 2^-65 with k1 and k2
    x scaled by 2^63 and 2^64 and rounded to the nearest integer, ties to even. The integer sum is
    exact and its one conversion to float is the rounding of the extended result. */
template <typename T>
inline T extendedSymmetricLimitOfTiny (T x) noexcept
{
    // x scaled by a power of two is exact, and k1, k2 and their sum stay below 2^30.
    const auto k1 = roundToInt (x * 0x1p63f);
    const auto k2 = roundToInt (x * 0x1p64f);
    return toFloat (2 * k1 + k2) * 0x1p-65f;
}

constexpr float tinyLimitInput = 0x1p-35f;

/** The output stage's clip to -1..1: (|p + 1| - |p - 1|) x 0.5 in extended precision. Exact for
    |p| < 2^63; the output stage keeps p within about +-1. */
template <typename T>
inline T limitToUnitRange (T p) noexcept
{
    const auto tiny = absolute (p) < tinyLimitInput;
    if (! any (tiny))
        return limit (p, -1.0f, 1.0f);
    return select (tiny, extendedSymmetricLimitOfTiny (select (tiny, p, T (0.0f))), limit (p, -1.0f, 1.0f));
}

/** The second reading's level, limited to 0..1: (|x| + 1 - |x - 1|) x 0.5 in extended precision.
    Every x at or below 0 gives +0, since |x| + 1 and |x - 1| round alike. */
template <typename T>
inline T limitToLevelRange (T x) noexcept
{
    const auto tiny = x < tinyLimitInput;
    if (! any (tiny))
        return lower (x, 1.0f);
    const auto tinyAbove0 = tiny & (x > 0.0f);
    const T nearZero = select (tinyAbove0, extendedSymmetricLimitOfTiny (select (tinyAbove0, x, T (0.0f))), T (0.0f));
    return select (tiny, nearZero, lower (x, 1.0f));
}

/** A limit whose bounds are both away from 0: lo + hi is one constant and lands exactly on the
    float bounds for every |x| < 2^24. */
struct NonZeroLimit
{
    float lo, hi;

    template <typename T>
    T operator() (T x) const noexcept
    {
        return limit (x, lo, hi);
    }
};

constexpr NonZeroLimit coefficientLimit { 0.01f, 0.99f }; // phase offset, cutoff
constexpr NonZeroLimit lfoSpeedLimit { 0.01f, 1.0f };
constexpr NonZeroLimit volumeLimit { 0.001f, 1.0f };

/** The segment a table position lies in: the nearest integer to (position - 0.5), ties to even,
    so that the fraction position - index lies in 0..1. Needs the default rounding mode. */
template <typename T>
inline auto segmentIndex (T position) noexcept
{
    return roundToInt (position - 0.5f);
}

/** The cubic curve of the filter input and the output drive; it turns back beyond |x| = 1. */
template <typename T>
inline T cubicShape (T x) noexcept
{
    return 1.5f * x - 0.5f * x * x * x;
}

/** A phase increment that cannot leave a table: anything non-finite stops the phase. */
template <typename T>
inline T finiteIncrement (T increment) noexcept
{
    return select (isFiniteValue (increment), increment, T (0.0f));
}

/** A double narrowed to float without the undefined conversion of values beyond the float range:
    those become infinity (NaN stays NaN). */
inline float narrowToFloat (double value) noexcept
{
    constexpr double largest = (double) std::numeric_limits<float>::max();
    if (std::fabs (value) <= largest || value != value)
        return (float) value;
    return value > 0.0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
}

/** The last result of a pure function of a few floats, kept so that an unchanged control value
    costs a comparison instead of a division or a power. The arguments are compared bit for bit,
    so the result is always the one the function gives. */
template <int argumentCount>
class LastResult
{
public:
    template <typename Compute>
    float get (const std::array<float, argumentCount>& arguments, Compute&& compute) noexcept
    {
        if (! known || std::memcmp (arguments.data(), lastArguments.data(), sizeof lastArguments) != 0)
        {
            lastArguments = arguments;
            lastValue = compute();
            known = true;
        }
        return lastValue;
    }

    void forget() noexcept { known = false; }

private:
    std::array<float, argumentCount> lastArguments {};
    float lastValue = 0.0f;
    bool known = false;
};

/** The rare part of wrapPhase: a phase that one subtraction did not bring into 0..length. */
float reducePhase (float phase, float length) noexcept;

/** A phase advanced by an increment in 0..length, back in 0..length. */
template <typename T>
inline T subtractLengthOnce (T phase, float length) noexcept
{
    return select (phase >= length, phase - length, phase);
}

/** Brings an advanced phase back into 0..length. One subtraction serves every increment below
    the table length; larger or negative increments (extreme pitch, odd sample rates) need more. */
template <typename T>
inline T wrapPhase (T phase, float length) noexcept
{
    phase = subtractLengthOnce (phase, length);
    return exceptWhere ((phase >= 0.0f) & (phase < length), phase, phase,
                        [length] (float outside) { return reducePhase (outside, length); });
}
} // namespace quane
