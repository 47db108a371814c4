// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Checks the compiled LFO shapes against their rules and exactly stored values.

#include <gtest/gtest.h>

#include "engine/WaveformData.h"

#include <cmath>
#include <string>

namespace
{
using quane::lfoShapeCount;
using quane::lfoShapeLength;
using quane::lfoShapeTables;

constexpr double pi = 3.14159265358979323846;

std::string where (int shapeType, int index)
{
    return "shape type " + std::to_string (shapeType) + ", sample " + std::to_string (index);
}

// The ideal value of each shape; every stored value lies within ruleTolerance of it.
double rule (int shapeType, int i)
{
    switch (shapeType)
    {
        case 1: return i < 128 ? 0.00340908 * (129 - i) : -0.00339754 * (i - 128);
        case 2: return 26377.0 / 32768.0 * std::sin (2.0 * pi * i / lfoShapeLength);
        case 3: return i <= 128 ? 0.54325 : -0.54325;
        default: return 0.0122265 * (i <= 64 ? i : i <= 192 ? 128 - i : i - 256);
    }
}

constexpr double ruleTolerance[lfoShapeCount] = { 0.0005, 0.0002, 0.0, 0.00011 };

TEST (LfoShapeData, EveryShapeFollowsItsRule)
{
    for (int type = 1; type <= lfoShapeCount; ++type)
        for (int i = 0; i < lfoShapeLength; ++i)
        {
            SCOPED_TRACE (where (type, i));
            if (ruleTolerance[type - 1] == 0.0)
                EXPECT_EQ (lfoShapeTables[type - 1][i], static_cast<float> (rule (type, i)));
            else
                EXPECT_NEAR (lfoShapeTables[type - 1][i], rule (type, i), ruleTolerance[type - 1]);
        }
}

TEST (LfoShapeData, StatedValuesAreStoredExactly)
{
    struct Exact
    {
        int type, index;
        float value;
    };
    const Exact values[] = {
        { 1, 0, 0.43977073f },
        { 1, 127, 0.0068181511f },
        { 1, 128, 0.0f },
        { 1, 129, -0.0033975437f },
        { 1, 255, -0.43148804f },
        { 2, 0, 0.0f },
        { 2, 64, 0.80496216f },
        { 2, 128, 0.000030517578f },
        { 2, 192, -0.80496216f },
        { 2, 255, -0.019866943f },
        { 4, 0, 0.0f },
        { 4, 64, 0.78249747f },
        { 4, 128, 0.000051103543f },
        { 4, 192, -0.78244638f },
        { 4, 255, -0.012328729f },
    };
    for (const auto& v : values)
    {
        SCOPED_TRACE (where (v.type, v.index));
        EXPECT_EQ (lfoShapeTables[v.type - 1][v.index], v.value);
    }
    EXPECT_EQ (lfoShapeTables[1][128], 1.0f / 32768.0f);
}

TEST (LfoShapeData, SineHoldsSixteenBitValues)
{
    for (int i = 0; i < lfoShapeLength; ++i)
    {
        SCOPED_TRACE (where (2, i));
        const double steps = static_cast<double> (lfoShapeTables[1][i]) * 32768.0;
        EXPECT_EQ (steps, std::round (steps));
    }
}

TEST (LfoShapeData, SquareHas129HighSamplesThenLowOnes)
{
    int high = 0;
    for (int i = 0; i < lfoShapeLength; ++i)
    {
        SCOPED_TRACE (where (3, i));
        EXPECT_EQ (lfoShapeTables[2][i], i <= 128 ? 0.54325f : -0.54325f);
        high += lfoShapeTables[2][i] > 0.0f ? 1 : 0;
    }
    EXPECT_EQ (high, 129);
}
} // namespace
