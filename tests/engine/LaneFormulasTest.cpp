// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice's formulas run on lane vectors give, lane by lane, the bits they give for one float.
#include "engine/OutputStage.h"
#include "engine/ResonantFilter.h"
#include "engine/VoiceLanes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#if defined(QUANE_HAS_VOICE_LANES)
#include "engine/VectorShims.h"

namespace quane
{
namespace
{
using Lanes = lanes::Floats<4>;

std::uint32_t bitsOf (float x)
{
    std::uint32_t bits;
    std::memcpy (&bits, &x, sizeof bits);
    return bits;
}

float floatOf (std::uint32_t bits)
{
    float x;
    std::memcpy (&x, &bits, sizeof x);
    return x;
}

/** Special values, values around the limits' edges, and random bit patterns of every kind. */
std::vector<float> awkwardValues()
{
    constexpr float inf = std::numeric_limits<float>::infinity();
    std::vector<float> values { 0.0f,
                                -0.0f,
                                std::numeric_limits<float>::denorm_min(),
                                -std::numeric_limits<float>::min(),
                                0x1p-36f,
                                -0x1p-35f,
                                0x1.fffffep-36f,
                                0.5f,
                                -1.0f,
                                1.0000001f,
                                2.0f,
                                -2.5f,
                                1.0e30f,
                                std::numeric_limits<float>::max(),
                                -std::numeric_limits<float>::max(),
                                inf,
                                -inf,
                                std::numeric_limits<float>::quiet_NaN(),
                                floatOf (0xff800001u), // signalling NaN, sign set
                                floatOf (0x7fffffffu) };
    std::mt19937 random (17);
    while (values.size() % 4 != 0 || values.size() < 4000)
        values.push_back (floatOf ((std::uint32_t) random()));
    return values;
}

/** Runs a formula on four values at a time and one at a time, and compares every lane's bits. */
template <typename Formula>
void expectLanesMatchScalar (Formula formula, const char* what)
{
    const auto values = awkwardValues();
    for (size_t i = 0; i < values.size(); i += 4)
    {
        float results[4];
        lanes::store (results, formula (lanes::load<Lanes> (values.data() + i)));
        for (int k = 0; k < 4; ++k)
            ASSERT_EQ (bitsOf (results[k]), bitsOf (formula (values[i + (size_t) k])))
                << what << " of " << values[i + (size_t) k] << " (bits " << std::hex << bitsOf (values[i + (size_t) k])
                << ")";
    }
}

TEST (LaneFormulas, RunawayTestAgreesForEveryKindOfValue)
{
    const auto values = awkwardValues();
    for (size_t i = 0; i < values.size(); i += 4)
    {
        std::int32_t masks[4];
        lanes::store (masks, isFiniteValue (lanes::load<Lanes> (values.data() + i)));
        for (int k = 0; k < 4; ++k)
        {
            const float x = values[i + (size_t) k];
            EXPECT_EQ (isFiniteValue (x), (bool) std::isfinite (x)) << x;
            EXPECT_EQ (masks[k], isFiniteValue (x) ? -1 : 0) << x;
        }
    }
}

TEST (LaneFormulas, ShaperLimitsAndOutputStageGiveTheSameBits)
{
    expectLanesMatchScalar ([] (auto x) { return cubicShape (x); }, "cubicShape");
    expectLanesMatchScalar ([] (auto x) { return limitToUnitRange (x); }, "limitToUnitRange");
    for (const float spread : { 0.75f, -0.0f, 2.0f })
        for (const float saturation : { 1.0f, -0.0f, 37.5f })
        {
            expectLanesMatchScalar ([=] (auto x) { return outputShares (x, saturation, 0.8f, spread).first; },
                                    "first share");
            expectLanesMatchScalar ([=] (auto x) { return outputShares (x, saturation, 0.8f, spread).second; },
                                    "second share");
        }
}

TEST (LaneFormulas, FilterStepAndCubicReadingGiveTheSameBits)
{
    expectLanesMatchScalar (
        [] (auto x) {
            decltype (x) first = 0.25f, second = -0.0f;
            ResonantFilter::step (x, decltype (x) (0.9f), decltype (x) (3.5f), first, second);
            ResonantFilter::step (x * 0.5f, decltype (x) (0.9f), decltype (x) (3.5f), first, second);
            return first - second;
        },
        "filter step");
    expectLanesMatchScalar (
        [] (auto x) {
            using T = decltype (x);
            return cubicReading (x, T (-0.5f), x * x, T (0.25f), T (0.375f));
        },
        "cubic reading");
}
} // namespace
} // namespace quane
#endif
