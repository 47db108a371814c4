// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Modulation routing: destination coding, what reaches LFO1's depth, and Spread panning.
#include "VoiceTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace quane
{
namespace
{
using test::TestEngine;

std::vector<float> renderNote (PatchProgram program, int velocity, int numSamples = 8820)
{
    TestEngine engine (program);
    engine->noteOn (64, velocity, 0);
    return engine.render (numSamples);
}

/** The oscillator increment after each of count single-chunk renders. */
std::vector<float> incrementsPerChunk (TestEngine& engine, int count)
{
    std::vector<float> increments;
    for (int chunk = 0; chunk < count; ++chunk)
    {
        engine.render (chunkSize, chunkSize);
        increments.push_back (engine.voice (0).getOscillator().increment);
    }
    return increments;
}

TEST (ModulationRouting, SelectorValuesMapToSlotsAndAnythingElseToOff)
{
    struct Case
    {
        float value;
        int slot;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const auto& c :
         { Case { 1.0f, 0 }, Case { 2.9f, 1 }, Case { 5.0f, 4 }, Case { 8.0f, 7 }, Case { 8.99f, 7 }, Case { 0.0f, 0 },
           Case { 9.0f, 0 }, Case { -5.0f, 0 }, Case { 1.0e9f, 0 }, Case { -1.0e30f, 0 }, Case { nan, 0 } })
    {
        SCOPED_TRACE ("selector " + std::to_string (c.value));
        TestEngine engine (test::plainSawProgram());
        const int selectors[] = { patch::env1Destination, patch::env2Destination,     patch::lfo1Destination,
                                  patch::lfo2Destination, patch::velocityDestination, patch::modwheelDestination };
        for (int source = 0; source < SynthVoice::sourceCount; ++source)
        {
            engine.set (selectors[source], c.value);
            EXPECT_EQ (engine.voice (3).getDestination ((SynthVoice::Source) source), c.slot);
        }
    }
}

TEST (ModulationRouting, VelocityRoutedOffOrToLfo1DepthChangesNothing)
{
    auto program = test::plainSawProgram();
    program.values[patch::velocityDepth] = 1.0f;

    for (float destination : { 1.0f, 8.0f, 9.0f, -2.0f })
    {
        SCOPED_TRACE ("velocity destination " + std::to_string (destination));
        program.values[patch::velocityDestination] = destination;
        EXPECT_EQ (renderNote (program, 20), renderNote (program, 127));
    }

    // The same velocities routed to "Volume" do make a difference.
    program.values[patch::velocityDestination] = 6.0f;
    program.values[patch::volume] = 0.2f;
    EXPECT_GT (test::peakOf (renderNote (program, 127)), 1.5 * test::peakOf (renderNote (program, 20)));
}

TEST (ModulationRouting, Env1ReachesLfo1DepthButVelocityDoesNot)
{
    // LFO1 at depth 0 on "Osc Tune": only what reaches its depth slot can move the pitch.
    auto program = test::plainSawProgram();
    program.values[patch::lfo1Depth] = 0.0f;
    program.values[patch::lfo1Destination] = 4.0f;
    program.values[patch::lfo1Speed] = patch::unitMaximum;
    program.values[patch::env1Depth] = 1.0f;
    program.values[patch::env1Attack] = patch::unitMinimum;
    program.values[patch::env1Sustain] = patch::unitMaximum;
    program.values[patch::velocityDepth] = 1.0f;
    program.values[patch::velocityDestination] = 8.0f;

    constexpr float unmodulated = 2.5541950f;
    auto spanOf = [] (const std::vector<float>& increments) {
        const auto [low, high] = std::minmax_element (increments.begin(), increments.end());
        return (double) (*high - *low);
    };

    for (float env1Destination : { 1.0f, 8.0f })
    {
        SCOPED_TRACE ("env1 destination " + std::to_string (env1Destination));
        program.values[patch::env1Destination] = env1Destination;
        TestEngine engine (program);
        engine->noteOn (69, 127, 0);
        const auto increments = incrementsPerChunk (engine, 200);

        if (env1Destination == 1.0f)
        {
            EXPECT_EQ (spanOf (increments), 0.0);
            EXPECT_NEAR (increments.front(), unmodulated, 1.0e-6);
        }
        else
        {
            // Env1 at full level gives the LFO a depth of 1: up to +-0.044 octave of the saw shape.
            EXPECT_GT (spanOf (increments), unmodulated * 0.04);
            EXPECT_LT (spanOf (increments), unmodulated * 0.07);
        }
    }
}

TEST (ModulationRouting, Lfo1RoutedToItsOwnSpeedChangesItsRate)
{
    auto program = test::plainSawProgram();
    program.values[patch::lfo1Depth] = 1.0f;
    program.values[patch::lfo1Speed] = 0.3f;

    for (float destination : { 1.0f, 7.0f })
    {
        SCOPED_TRACE ("LFO1 destination " + std::to_string (destination));
        program.values[patch::lfo1Destination] = destination;
        TestEngine engine (program);
        engine->noteOn (69, 127, 0);
        std::vector<float> lfoIncrements;
        for (int chunk = 0; chunk < 50; ++chunk)
        {
            engine.render (chunkSize, chunkSize);
            lfoIncrements.push_back (engine.voice (0).getLfo1().increment);
        }
        // 256 / (2 x 44100 / (0.3 x 400))
        const float plain = (float) (256.0 * 0.3 * 400.0 / (2.0 * 44100.0));
        const bool allPlain = std::all_of (lfoIncrements.begin(), lfoIncrements.end(),
                                           [&] (float increment) { return std::fabs (increment - plain) < 1.0e-6f; });
        EXPECT_EQ (allPlain, destination == 1.0f);
    }
}

TEST (ModulationRouting, EnvelopeOnAnOutOfRangeDestinationActsAsOff)
{
    auto program = test::plainSawProgram();
    program.values[patch::env1Depth] = -1.0f;
    program.values[patch::env1Attack] = patch::unitMinimum;
    program.values[patch::env2Depth] = 1.0f;
    program.values[patch::env1Destination] = 1.0f;
    program.values[patch::env2Destination] = 1.0f;
    const auto reference = renderNote (program, 100);

    program.values[patch::env1Destination] = 9.0f;
    program.values[patch::env2Destination] = -1.0e9f;
    EXPECT_EQ (renderNote (program, 100), reference);

    program.values[patch::env1Destination] = 5.0f; // "Cutoff": now it is heard
    EXPECT_NE (renderNote (program, 100), reference);
}

TEST (ModulationRouting, SpreadOnePutsVoiceZeroLeftAndVoiceOneRight)
{
    auto program = test::plainSawProgram();
    program.values[patch::spread] = 1.0f;

    TestEngine single (program);
    single->noteOn (69, 100, 0);
    const auto one = single.render (4410);
    EXPECT_GT (test::peakOf (test::leftOf (one)), 0.05);
    EXPECT_EQ (test::peakOf (test::rightOf (one)), 0.0);

    TestEngine pair (program);
    pair->noteOn (69, 100, 0);
    pair->noteOn (64, 100, 0);
    const auto two = pair.render (4410);
    EXPECT_EQ (test::leftOf (two), test::leftOf (one));
    EXPECT_GT (test::peakOf (test::rightOf (two)), 0.05);

    // Spread 0 mirrors it: voice 0 only on the right.
    program.values[patch::spread] = 0.0f;
    TestEngine mirrored (program);
    mirrored->noteOn (69, 100, 0);
    const auto flipped = mirrored.render (4410);
    EXPECT_EQ (test::leftOf (flipped), test::rightOf (one));
    EXPECT_EQ (test::rightOf (flipped), test::leftOf (one));
}

TEST (ModulationRouting, SpreadActsWithinMinusOneToTwo)
{
    const auto withSpread = [] (float spread) {
        auto program = test::plainSawProgram();
        program.values[patch::spread] = spread;
        TestEngine engine (program);
        engine->noteOn (69, 127, 0);
        return engine.render (4410);
    };
    const double unitPeak = test::peakOf (test::leftOf (withSpread (1.0f)));

    // A modest value beyond 1 still scales as it stands: 1.25 on one side, -0.25 on the other.
    const auto modest = withSpread (1.25f);
    EXPECT_NEAR (test::peakOf (test::leftOf (modest)), 1.25 * unitPeak, 1.0e-5);
    EXPECT_NEAR (test::peakOf (test::rightOf (modest)), 0.25 * unitPeak, 1.0e-5);

    // A corrupt state's 100 or 1e6 plays as 2, its -1e6 as -1.
    EXPECT_EQ (withSpread (100.0f), withSpread (2.0f));
    EXPECT_EQ (withSpread (1.0e6f), withSpread (2.0f));
    EXPECT_EQ (withSpread (-1.0e6f), withSpread (-1.0f));
    EXPECT_LE (test::peakOf (withSpread (1.0e6f)), 2.0);
}
} // namespace
} // namespace quane
