// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Values defined in extended precision: the portable evaluations give the same floats.
#include "engine/DspHelpers.h"
#include "engine/WavetableOscillator.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace quane
{
namespace
{
bool haveExtendedPrecision()
{
    return std::numeric_limits<long double>::digits == 64;
}

float branchlessInExtended (float x, long double lo, long double hi, long double sum)
{
    const long double wide = x;
    return (float) ((std::fabs (wide - lo) + sum - std::fabs (wide - hi)) * 0.5L);
}

float floatFromBits (std::uint32_t bits)
{
    float value;
    std::memcpy (&value, &bits, sizeof value);
    return value;
}

/** Calls check with both signs of floats from every binade: every mantissa of the dense
    binades, a stride of them elsewhere. */
template <typename Check>
void sweepFloats (std::initializer_list<float> denseBinadesOf, Check&& check)
{
    std::vector<int> denseBinades;
    for (float x : denseBinadesOf)
        denseBinades.push_back (std::ilogb (x) + 127);

    for (int exponent = 0; exponent < 255; ++exponent)
    {
        const bool dense = std::find (denseBinades.begin(), denseBinades.end(), exponent) != denseBinades.end();
        const std::uint32_t stride = dense ? 1 : 257;
        for (std::uint32_t mantissa = 0; mantissa < (1u << 23); mantissa += stride)
            for (std::uint32_t sign : { 0u, 0x80000000u })
                if (! check (floatFromBits (sign | ((std::uint32_t) exponent << 23) | mantissa)))
                    return;
    }
}

TEST (ExtendedPrecision, LimitsGiveTheFloatOfTheExtendedBranchlessForm)
{
    if (! haveExtendedPrecision())
        GTEST_SKIP() << "long double is not the 64-bit-significand format here";

    // The constants may be taken as doubles or as extended values: both give the same floats.
    // Dense binades: where the limits next to 0 change method (2^-35), where the extended form
    // stops returning x (2^-40) and where it reaches 0 (2^-65).
    struct Case
    {
        const char* name;
        long double lo, hi, sum;
        float (*limit) (float);
        std::initializer_list<float> denseBinades;
    };
    const Case cases[] = {
        { "output -1..1",
          -1.0L,
          1.0L,
          0.0L,
          [] (float x) { return limitToUnitRange (x); },
          { 0x1p-66f, 0x1p-41f, 0x1p-36f, 0x1p-35f } },
        { "level 0..1",
          0.0L,
          1.0L,
          1.0L,
          [] (float x) { return limitToLevelRange (x); },
          { 0x1p-41f, 0x1p-36f, 0x1p-35f } },
        { "coefficient 0.01..0.99 (double bounds)",
          0.01,
          0.99,
          1.0L,
          [] (float x) { return coefficientLimit (x); },
          {} },
        { "coefficient 0.01..0.99 (extended bounds)",
          0.01L,
          0.99L,
          1.0L,
          [] (float x) { return coefficientLimit (x); },
          {} },
        { "LFO speed 0.01..1", 0.01, 1.0L, 1.01, [] (float x) { return lfoSpeedLimit (x); }, {} },
        { "volume 0.001..1", 0.001L, 1.0L, 1.001L, [] (float x) { return volumeLimit (x); }, {} },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        // The bounded limits are exact for |x| < 2^24, the others for |x| < 2^63.
        const float reach = c.lo == -1.0L || c.lo == 0.0L ? 0x1p63f : 0x1p24f;
        int failures = 0;
        sweepFloats (c.denseBinades, [&] (float x) {
            if (! (std::fabs (x) < reach))
                return true;
            const float expected = branchlessInExtended (x, c.lo, c.hi, c.sum);
            const float actual = c.limit (x);
            if (std::memcmp (&expected, &actual, sizeof (float)) == 0)
                return true;
            ADD_FAILURE() << "x = " << std::hexfloat << x << ": extended " << expected << ", got " << actual;
            return ++failures < 5;
        });
    }
}

TEST (ExtendedPrecision, CubicCoefficientsOfEveryWaveform)
{
    if (! haveExtendedPrecision())
        GTEST_SKIP() << "long double is not the 64-bit-significand format here";

    constexpr int n = WavetableOscillator::length;
    WavetableOscillator oscillator (1);
    for (int wave = 1; wave <= waveformCount; ++wave)
    {
        oscillator.selectWave (wave);
        const float* s = waveformTables[wave - 1];
        for (int i = 0; i < n; ++i)
        {
            SCOPED_TRACE ("wave " + std::to_string (wave) + " segment " + std::to_string (i));
            const long double p = s[(i + n - 1) % n], c = s[i], q = s[(i + 1) % n], r = s[(i + 2) % n];
            const auto expected = std::array<float, 3> { (float) (((c - q) * 3 - p + r) * 0.5L),
                                                         (float) ((2 * q + p) - (5 * c + r) * 0.5L),
                                                         (float) ((q - p) * 0.5L) };
            ASSERT_EQ (oscillator.coefficients (i), expected);
        }
    }
}
} // namespace
} // namespace quane
