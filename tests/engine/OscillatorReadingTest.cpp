// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The oscillator's and the LFOs' table copies, coefficients, readings and phase wrapping.
#include "engine/DspHelpers.h"
#include "engine/TableLfo.h"
#include "engine/WavetableOscillator.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace quane
{
namespace
{
constexpr int n = WavetableOscillator::length;

TEST (WavetableOscillator, CubicReadingMeetsTheSamplesAtBothEndsOfEverySegment)
{
    WavetableOscillator oscillator (1);
    for (int wave = 1; wave <= waveformCount; ++wave)
    {
        oscillator.selectWave (wave);
        for (int i = 0; i < n; ++i)
        {
            SCOPED_TRACE ("wave " + std::to_string (wave) + " segment " + std::to_string (i));
            EXPECT_EQ (oscillator.read (i, 0.0f), waveformTables[wave - 1][i]);
            // The last segment closes the cycle: at f = 1 it reaches sample 0.
            EXPECT_NEAR (oscillator.read (i, 1.0f), waveformTables[wave - 1][(i + 1) % n], 2.0e-6);
        }
    }
}

TEST (WavetableOscillator, FirstSegmentLooksBackToTheLastSample)
{
    WavetableOscillator oscillator (4);
    const float* s = waveformTables[3];
    // The Catmull-Rom tangent at sample 0 is (s[1] - s[511]) / 2; its slope at f = 0 is C[0].
    const float slopeAtStart = (oscillator.read (0, 1.0e-3f) - oscillator.read (0, 0.0f)) / 1.0e-3f;
    EXPECT_NEAR (slopeAtStart, (s[1] - s[511]) * 0.5f, 2.0e-3);

    // Midpoint of a Catmull-Rom segment: (-p + 9 i + 9 q - r) / 16.
    const double midpoint = (-(double) s[511] + 9.0 * s[0] + 9.0 * s[1] - s[2]) / 16.0;
    EXPECT_NEAR (oscillator.read (0, 0.5f), midpoint, 1.0e-6);
    const double lastMidpoint = (-(double) s[510] + 9.0 * s[511] + 9.0 * s[0] - s[1]) / 16.0;
    EXPECT_NEAR (oscillator.read (511, 0.5f), lastMidpoint, 1.0e-6);
}

TEST (WavetableOscillator, TypesOutsideTwoToNineSelectTheSaw)
{
    for (int type : { 1, 0, -3, 10, 12 })
    {
        SCOPED_TRACE ("wave type " + std::to_string (type));
        WavetableOscillator oscillator (3);
        oscillator.selectWave (type);
        for (int i = 0; i < n; i += 7)
            ASSERT_EQ (oscillator.sample (i), waveformTables[0][i]);
    }

    WavetableOscillator oscillator (1);
    oscillator.selectWave (9);
    EXPECT_EQ (oscillator.sample (147), waveformTables[8][147]);
}

TEST (WavetableOscillator, SecondReadingUsesTheFirstReadingsFraction)
{
    WavetableOscillator oscillator (2);
    oscillator.phase = 10.25f;
    oscillator.increment = 0.0f;
    oscillator.secondOffset = 2.56f; // lands on 12.81: its own fraction would be 0.81
    oscillator.secondLevel = 1.0f;

    float value = 0.0f;
    oscillator.render (&value, 1);
    EXPECT_FLOAT_EQ (value, oscillator.read (10, 0.25f) - oscillator.read (12, 0.25f));
}

TEST (WavetableOscillator, LargeOrNonFiniteIncrementsKeepThePhaseInTheTable)
{
    WavetableOscillator oscillator (1);
    for (float increment : { 511.9f, 512.0f, 600.0f, 5000.5f, 1.0e9f, -3.0f, -70000.0f })
    {
        SCOPED_TRACE ("increment " + std::to_string (increment));
        oscillator.phase = 300.0f;
        oscillator.increment = increment;
        oscillator.secondOffset = 253.44f;
        oscillator.secondLevel = 1.0f;

        float values[64];
        oscillator.render (values, 64);
        EXPECT_GE (oscillator.phase, 0.0f);
        EXPECT_LT (oscillator.phase, (float) n);
        for (float v : values)
            ASSERT_TRUE (std::isfinite (v) && std::fabs (v) < 4.0f);
    }

    EXPECT_EQ (finiteIncrement (std::numeric_limits<double>::infinity()), 0.0f);
    EXPECT_EQ (finiteIncrement (std::nan ("")), 0.0f);
    EXPECT_EQ (finiteIncrement (1.0e300), 0.0f); // overflows the float
    EXPECT_FLOAT_EQ (finiteIncrement (2.5541950), 2.5541950f);
}

TEST (PhaseWrapping, OneSubtractionForOrdinaryIncrementsAndAReductionBeyond)
{
    EXPECT_FLOAT_EQ (wrapPhase (511.5f + 2.5541950f, 512.0f), 511.5f + 2.5541950f - 512.0f);
    EXPECT_EQ (wrapPhase (100.0f, 512.0f), 100.0f);
    EXPECT_EQ (wrapPhase (512.0f, 512.0f), 0.0f);
    EXPECT_FLOAT_EQ (wrapPhase (1100.0f, 512.0f), 76.0f);
    EXPECT_FLOAT_EQ (wrapPhase (-1.0f, 512.0f), 511.0f);
    EXPECT_EQ (wrapPhase (std::nanf (""), 512.0f), 0.0f);
    const float justBelowZero = -std::numeric_limits<float>::denorm_min();
    const float wrapped = wrapPhase (justBelowZero, 256.0f);
    EXPECT_TRUE (wrapped >= 0.0f && wrapped < 256.0f);
}

TEST (TableLfo, DifferencesWrapFromTheLastSampleToTheFirst)
{
    TableLfo lfo;
    lfo.selectShape (3);
    EXPECT_FLOAT_EQ (lfo.difference (255), 1.0865f);
    EXPECT_FLOAT_EQ (lfo.difference (128), -1.0865f);
    EXPECT_EQ (lfo.difference (0), 0.0f);

    for (int shape = 1; shape <= lfoShapeCount; ++shape)
    {
        SCOPED_TRACE ("shape " + std::to_string (shape));
        lfo.selectShape (shape);
        for (int i = 0; i < TableLfo::length; ++i)
            ASSERT_NEAR (lfo.sample (i) + lfo.difference (i), lfoShapeTables[shape - 1][(i + 1) % TableLfo::length],
                         1.0e-7)
                << "at " << i;
    }
}

TEST (TableLfo, ShapesOutsideOneToFourFallBackToTheSaw)
{
    for (int type : { 0, 5, -1, 1000 })
    {
        SCOPED_TRACE ("shape type " + std::to_string (type));
        TableLfo lfo;
        lfo.selectShape (2);
        lfo.selectShape (type);
        for (int i = 0; i < TableLfo::length; ++i)
            ASSERT_EQ (lfo.sample (i), lfoShapeTables[0][i]);
    }
}

TEST (TableLfo, StepReadsBeforeAdvancingAndWrapsPastTheEnd)
{
    TableLfo lfo;
    EXPECT_EQ (lfo.increment, 0.0580499f);
    lfo.phase = 255.99f;
    const float expected = lfo.sample (255) + (255.99f - 255.0f) * lfo.difference (255);
    EXPECT_FLOAT_EQ (lfo.step(), expected);
    EXPECT_NEAR (lfo.phase, 0.048, 1.0e-4);

    // Rounding ties go to even: at a whole position the reading takes the previous segment at
    // fraction 1 or the segment itself at fraction 0, which meet at the same sample.
    lfo.selectShape (4);
    for (float position : { 1.0f, 2.0f, 64.0f, 129.0f })
    {
        SCOPED_TRACE ("phase " + std::to_string (position));
        lfo.phase = position;
        EXPECT_NEAR (lfo.step(), lfo.sample ((int) position), 1.0e-6);
    }
}

TEST (TableLfo, ExtremeIncrementsKeepThePhaseInTheTable)
{
    TableLfo lfo;
    for (float increment : { 300.0f, 1.0e7f, -0.5f })
    {
        SCOPED_TRACE ("increment " + std::to_string (increment));
        lfo.phase = 10.0f;
        lfo.increment = increment;
        for (int k = 0; k < 100; ++k)
        {
            ASSERT_TRUE (std::isfinite (lfo.step()));
            ASSERT_TRUE (lfo.phase >= 0.0f && lfo.phase < 256.0f);
        }
    }
}
} // namespace
} // namespace quane
