// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The resonant filter with its shaper and recovery, and the output stage's drive, clip and panning.
#include "engine/OutputStage.h"
#include "engine/ResonantFilter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <string>

namespace quane
{
namespace
{
std::array<float, 32> constantValues (float value)
{
    std::array<float, 32> values;
    values.fill (value);
    return values;
}

TEST (ResonantFilter, OpenFilterFollowsTheShapedInput)
{
    // Resonance 0.001 at cutoff 0.99: F = 0.101, each section moves 99 % per value.
    const float feedback = ResonantFilter::feedbackFor (0.001f, 0.99f);
    EXPECT_NEAR (feedback, 0.101f, 1.0e-6);

    for (float input : { 1.0f, 2.0f, 0.5f })
    {
        SCOPED_TRACE ("input " + std::to_string (input));
        ResonantFilter filter;
        auto values = constantValues (input);
        EXPECT_TRUE (filter.process (values.data(), 32, 0.99f, feedback));
        // 2 enters as -1, 1 as 1, 0.5 as 0.6875.
        EXPECT_NEAR (values[31], 1.5 * input - 0.5 * input * input * input, 1.0e-4);
    }
}

TEST (ResonantFilter, ClosedFilterMovesOnePercentPerSection)
{
    ResonantFilter filter;
    float value = 1.0f;
    filter.process (&value, 1, 0.01f, 0.0f);
    EXPECT_FLOAT_EQ (filter.s1, 0.01f);
    EXPECT_FLOAT_EQ (filter.s2, 0.0001f);
    EXPECT_EQ (value, filter.s2);

    // An old memory decays slowly under a silent input.
    filter.s1 = 0.8f;
    filter.s2 = 0.8f;
    auto values = constantValues (0.0f);
    filter.process (values.data(), 32, 0.01f, ResonantFilter::feedbackFor (0.001f, 0.01f));
    EXPECT_GT (values[31], 0.7f);
    EXPECT_LT (values[31], values[0]);
}

TEST (ResonantFilter, RunawayMemoryIsClearedAndTheChunkSilenced)
{
    for (float poison : { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity() })
    {
        SCOPED_TRACE ("memory " + std::to_string (poison));
        ResonantFilter filter;
        filter.s1 = poison;
        auto values = constantValues (0.5f);
        EXPECT_FALSE (filter.process (values.data(), 32, 0.5f, 1.0f));
        EXPECT_EQ (filter.s1, 0.0f);
        EXPECT_EQ (filter.s2, 0.0f);
        for (float v : values)
            ASSERT_EQ (v, 0.0f);

        // The next chunk plays again from the cleared memory.
        values = constantValues (0.5f);
        EXPECT_TRUE (filter.process (values.data(), 32, 0.5f, 1.0f));
        EXPECT_GT (values[31], 0.0f);
    }
}

TEST (ResonantFilter, HighestStorableResonanceStaysBounded)
{
    // F is about 100 here, yet a resonance below 1 keeps the loop stable.
    const float feedback = ResonantFilter::feedbackFor (0.999f, 0.99f);
    ResonantFilter filter;
    float peak = 0.0f;
    for (int chunk = 0; chunk < 3000; ++chunk)
    {
        auto values = constantValues (chunk % 2 == 0 ? 0.3f : -0.3f);
        ASSERT_TRUE (filter.process (values.data(), 32, 0.99f, feedback)) << "chunk " << chunk;
        for (float v : values)
            peak = std::max (peak, std::fabs (v));
    }
    EXPECT_GT (peak, 1.0f);  // it overshoots the 0.4 of the input,
    EXPECT_LT (peak, 10.0f); // but does not run away
}

TEST (ResonantFilter, RunawayLoopIsSilencedAndRecovers)
{
    // A resonance of 1.5 puts the poles outside the unit circle: the memory overflows after some
    // chunks, the filter clears it and the loop builds up again.
    const float feedback = ResonantFilter::feedbackFor (1.5f, 0.5f);
    ResonantFilter filter;
    int silencedChunks = 0, firstSilenced = -1;
    for (int chunk = 0; chunk < 3000; ++chunk)
    {
        auto values = constantValues (chunk % 2 == 0 ? 0.3f : -0.3f);
        if (! filter.process (values.data(), 32, 0.5f, feedback))
        {
            firstSilenced = firstSilenced < 0 ? chunk : firstSilenced;
            ++silencedChunks;
        }
        for (float v : values)
            ASSERT_TRUE (std::isfinite (v)) << "chunk " << chunk;
        ASSERT_TRUE (std::isfinite (filter.s1) && std::isfinite (filter.s2));
    }
    SCOPED_TRACE ("first silenced chunk " + std::to_string (firstSilenced));
    EXPECT_GT (firstSilenced, 3);
    EXPECT_GT (silencedChunks, 1); // it runs away again after each recovery
    EXPECT_LT (silencedChunks, 1500);
}

TEST (OutputStage, DriveClipVolumeAndPanning)
{
    float first[1] = {}, second[1] = {};
    const float values[2] = { 1.0f, 0.0f };
    addOutputStage (values, 2, 0.999f, 0.8f, 0.75f, first, second);
    // z = 0.999 gives p = 0.9999985; each value contributes p x V x 0.5 to its pair's sample.
    const double share = 0.9999985 * 0.8 * 0.5;
    EXPECT_NEAR (first[0], share * 0.75, 1.0e-7);
    EXPECT_NEAR (second[0], share * 0.25, 1.0e-7);
}

TEST (OutputStage, CubicTurnsBackAndTheClipHoldsTheOppositeBound)
{
    struct Case
    {
        float value, expected;
    };
    // After the cubic: 1 at z = 1, 0 at sqrt 3, -1 from z = 2 on; mirrored for negative z.
    for (const auto& c : { Case { 1.0f, 1.0f }, Case { 1.7320508f, 0.0f }, Case { 2.0f, -1.0f }, Case { 50.0f, -1.0f },
                           Case { -3.0f, 1.0f }, Case { 1.0e12f, -1.0f }, Case { -3.0e38f, 1.0f },
                           Case { std::numeric_limits<float>::infinity(), -1.0f } })
    {
        SCOPED_TRACE ("value " + std::to_string (c.value));
        float first[1] = {}, second[1] = {};
        const float values[2] = { c.value, 0.0f };
        addOutputStage (values, 2, 1.0f, 1.0f, 1.0f, first, second);
        EXPECT_NEAR (first[0], c.expected * 0.5f, 1.0e-6);
        EXPECT_EQ (second[0], 0.0f);
    }
}

TEST (OutputStage, FoldsPairsAndSpreadZeroLeavesTheFirstArraySilent)
{
    std::array<float, 32> values {};
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = 0.01f * (float) i;
    float first[16] = {}, second[16] = {};
    addOutputStage (values.data(), 32, 0.5f, 1.0f, 0.0f, first, second);
    for (int k = 0; k < 16; ++k)
    {
        SCOPED_TRACE ("sample " + std::to_string (k));
        EXPECT_EQ (first[k], 0.0f);
        const auto drive = [] (float v) { return cubicShape (0.5f * v) * 0.5f; };
        EXPECT_NEAR (second[k], drive (values[(size_t) (2 * k)]) + drive (values[(size_t) (2 * k + 1)]), 1.0e-7);
    }
}
} // namespace
} // namespace quane
