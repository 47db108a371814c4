// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Finite output and in-range phases for every value the patch can hold, and odd sample rates.
#include "VoiceTestSupport.h"

#include "engine/PatchValueTable.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace quane
{
namespace
{
using test::TestEngine;

constexpr float inf = std::numeric_limits<float>::infinity();
const float nan = std::numeric_limits<float>::quiet_NaN();

struct Hostile
{
    const char* name;
    int index;
    float value;
};

/** Plays a chord up to the top note, bends, moves the wheel and releases, checking every block. */
void playAndCheck (TestEngine& engine, const std::string& what)
{
    SCOPED_TRACE (what);
    engine->noteOn (127, 127, 3);
    engine->noteOn (60, 90, 50);
    engine->noteOn (0, 10, 100);
    for (float bend : { 0.0f, 0.99987793f, -1.0f })
    {
        engine->getPatch()[patch::pitchBend] = bend;
        engine->getPatch()[patch::modwheelPosition] = bend < 0.0f ? 1.0f : 0.0f;
        const auto block = engine.render (8820, 301);
        ASSERT_TRUE (test::allFinite (block)) << "bend " << bend;
        for (int v = 0; v < voiceCount; ++v)
        {
            const auto& oscillator = engine.voice (v).getOscillator();
            ASSERT_TRUE (oscillator.phase >= 0.0f && oscillator.phase < (float) WavetableOscillator::length);
            ASSERT_TRUE (engine.voice (v).getLfo1().phase >= 0.0f && engine.voice (v).getLfo1().phase < 256.0f);
            ASSERT_TRUE (engine.voice (v).getLfo2().phase >= 0.0f && engine.voice (v).getLfo2().phase < 256.0f);
        }
    }
    engine->noteOff (127, 0);
    engine->noteOff (60, 0);
    engine->noteOff (0, 0);
    ASSERT_TRUE (test::allFinite (engine.render (4410)));
}

/** A patch that modulates everything it can, so that every control path is exercised. */
PatchProgram busyProgram()
{
    auto program = test::plainSawProgram();
    auto& v = program.values;
    v[patch::phaserLevel] = 0.8f;
    v[patch::resonance] = patch::unitMaximum;
    v[patch::saturation] = patch::unitMaximum;
    v[patch::volume] = patch::unitMaximum;
    v[patch::bendRange] = 12.0f;
    v[patch::env1Depth] = 1.0f;
    v[patch::env1Destination] = 8.0f;
    v[patch::env2Depth] = -1.0f;
    v[patch::env2Destination] = 5.0f;
    v[patch::lfo1Depth] = 1.0f;
    v[patch::lfo1Destination] = 4.0f;
    v[patch::lfo2Depth] = 1.0f;
    v[patch::lfo2Destination] = 2.0f;
    v[patch::velocityDepth] = 1.0f;
    v[patch::velocityDestination] = 3.0f;
    v[patch::modwheelDepth] = 1.0f;
    v[patch::modwheelDestination] = 7.0f;
    return program;
}

TEST (HostileValues, FreeValuesOfAnySizeKeepTheOutputFinite)
{
    const Hostile cases[] = {
        { "Detune 1e30", patch::detune, 1.0e30f },
        { "Detune -1e30", patch::detune, -1.0e30f },
        { "Detune inf", patch::detune, inf },
        { "Detune NaN", patch::detune, nan },
        { "Spread 1e30", patch::spread, 1.0e30f },
        { "Spread -3e38", patch::spread, -3.0e38f },
        { "Spread inf", patch::spread, inf },
        { "Spread NaN", patch::spread, nan },
        { "Bend range 1e30", patch::bendRange, 1.0e30f },
        { "Bend range -inf", patch::bendRange, -inf },
        { "Bend range NaN", patch::bendRange, nan },
        { "Octave 1e10", patch::octave, 1.0e10f },
        { "Octave -1e10", patch::octave, -1.0e10f },
        { "Octave 9", patch::octave, 9.0f },
        { "Octave NaN", patch::octave, nan },
        { "Osc Wave 1e9", patch::oscWave, 1.0e9f },
        { "LFO1 Shape -3", patch::lfo1Shape, -3.0f },
        { "LFO2 Shape NaN", patch::lfo2Shape, nan },
        { "Env1 Destination 9", patch::env1Destination, 9.0f },
        { "LFO1 Destination 1e30", patch::lfo1Destination, 1.0e30f },
        { "LFO2 Destination -7", patch::lfo2Destination, -7.0f },
        { "Velocity Destination 0", patch::velocityDestination, 0.0f },
        { "Modwheel Destination NaN", patch::modwheelDestination, nan },
    };

    for (const auto& hostile : cases)
    {
        TestEngine engine (busyProgram());
        engine.set (hostile.index, hostile.value);
        playAndCheck (engine, hostile.name);
    }
}

TEST (HostileValues, UnitAndBipolarValuesAreLimitedBeforeTheyReachTheVoice)
{
    TestEngine engine (busyProgram());
    for (int index = 0; index < patch::parameterCount; ++index)
        if (patch::clampClassOf (index) != patch::ClampClass::free)
            engine.set (index, index % 2 == 0 ? inf : -inf);
    playAndCheck (engine, "every limited value at an infinity");
}

TEST (HostileValues, OddSampleRatesKeepTheOutputFinite)
{
    for (float rate : { 0.0f, 1.0f, 8000.0f, 192000.0f, 1.0e9f, -44100.0f })
    {
        TestEngine engine (busyProgram(), rate);
        engine.set (patch::lfo2Speed, patch::unitMaximum);
        playAndCheck (engine, "sample rate " + std::to_string (rate));
    }
}

TEST (HostileValues, NoteOffAtAnyOffsetReleasesWithEveryKernel)
{
    VoiceLanesKernels::Entry kernels[8];
    const int kernelCount = VoiceLanesKernels::available (kernels, 8);
    for (int k = -1; k < kernelCount; ++k) // -1: the voices one at a time
    {
        // A host's garbage deltaFrames down to INT_MIN acts as no delay at all.
        for (int offset : { std::numeric_limits<int>::min(), -1 })
        {
            SCOPED_TRACE (std::string (k < 0 ? "voices" : kernels[k].name) + ", offset " + std::to_string (offset));
            TestEngine engine (test::plainSawProgram());
            engine->useVoiceLanesKernel (k < 0 ? VoiceLanesKernel {} : kernels[k].kernel);
            engine->noteOn (69, 100, 0);
            engine.render (4410);
            engine->noteOff (69, offset);
            engine.render (4410);
            EXPECT_FALSE (engine.voice (0).isActive());
        }
    }
}

TEST (HostileValues, RecoversWhenTheFilterMemoryIsPoisoned)
{
    TestEngine engine (test::plainSawProgram());
    engine->noteOn (69, 100, 0);
    engine.render (4410);
    auto& filter = const_cast<ResonantFilter&> (engine.voice (0).getFilter());
    filter.s2 = nan;
    const auto after = engine.render (4410);
    EXPECT_TRUE (test::allFinite (after));
    EXPECT_TRUE (std::isfinite (engine.voice (0).getFilter().s2));
    // The voice plays on after the silenced chunk.
    EXPECT_GT (test::peakOf ({ after.begin() + 2000, after.begin() + 4410 }), 0.05);
}
} // namespace
} // namespace quane
