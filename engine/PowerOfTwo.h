// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The pitch's power of two: 2^x rounded to float, the same for one voice and for lanes of voices.
#pragma once

#include "engine/DspHelpers.h"

#include <cmath>

namespace quane
{
/** The definition: 2^x in double precision (the C library's exp2) stored as a float. */
inline float libraryPowerOfTwo (float x) noexcept
{
    return narrowToFloat (std::exp2 ((double) x));
}

/** libraryPowerOfTwo, evaluated so that it runs in vector lanes: for every float x it gives the
    same float (the engine's exhaustive test compares all 2^32 of them).

    x = n + r with n the nearest integer and |r| <= 1/2, both exact; 2^r is the Taylor series to
    r^13 in double (truncation below 2^-58, rounding a few units of the last place) and 2^n an
    exact scale. The double result then rounds to the float the library's result rounds to,
    unless it lies within 2^-16 of its float unit from the halfway point between two floats;
    those values, the ones beyond the normal floats' range and NaN take the definition itself. */
template <typename F>
inline F powerOfTwo (F x) noexcept
{
    const auto normalRange = (x >= -126.0f) & (x < 127.5f); // false for NaN
    const F inRange = select (normalRange, x, F (0.0f));
    const auto n = roundToInt (inRange);
    const auto r = widen (inRange - toFloat (n));

    constexpr double terms[] = { 0x1.62e42fefa39efp-1,  0x1.ebfbdff82c58fp-3,  0x1.c6b08d704a0cp-5,
                                 0x1.3b2ab6fba4e77p-7,  0x1.5d87fe78a6731p-10, 0x1.430912f86c787p-13,
                                 0x1.ffcbfc588b0c7p-17, 0x1.62c0223a5c824p-20, 0x1.b5253d395e7c4p-24,
                                 0x1.e4cf5158b8ecap-28, 0x1.e8cac7351bb25p-32, 0x1.c3bd650fc2986p-36,
                                 0x1.816193166d0f9p-40 }; // (ln 2)^k / k!, k = 1..13
    auto series = r * terms[12];
    for (int k = 11; k >= 0; --k)
        series = (series + terms[k]) * r;
    const auto power = (series + 1.0) * widen (floatPowerOfTwo (n));

    const auto fromHalfway = bitsBelowFloatPrecision (power) - 0x10000000;
    const auto nearHalfway = (fromHalfway > -0x2000) & (fromHalfway < 0x2000);
    return exceptWhere (normalRange & ! nearHalfway, narrow (power), x, libraryPowerOfTwo);
}
} // namespace quane
