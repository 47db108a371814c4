// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A voice's pitch measured from rendered audio, its increments, and its start and release.
#include "VoiceTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace quane
{
namespace
{
using test::TestEngine;

constexpr int oneSecond = 44100;

TEST (SynthVoice, FreshVoicePlaysTheSawWithSawLfos)
{
    PatchParams patch;
    SynthVoice voice (44100.0f, patch);
    for (int i = 0; i < waveformLength; ++i)
        ASSERT_EQ (voice.getOscillator().sample (i), waveformTables[0][i]);
    for (int i = 0; i < lfoShapeLength; ++i)
    {
        ASSERT_EQ (voice.getLfo1().sample (i), lfoShapeTables[0][i]);
        ASSERT_EQ (voice.getLfo2().sample (i), lfoShapeTables[0][i]);
    }
    EXPECT_FALSE (voice.isActive());
}

TEST (SynthVoice, IncrementsOfNotes69And60)
{
    // 220 Hz divides the rate evenly enough for the float chain to land on the stated value.
    TestEngine engine (test::plainSawProgram());
    engine->noteOn (69, 100, 0);
    engine->noteOn (60, 100, 0);
    engine.render (16);
    EXPECT_EQ (engine.voice (0).getOscillator().increment, 2.5541950f);
    // 1.5187334 is the exact quotient; three float roundings leave the increment within two
    // units of the last place of it.
    EXPECT_NEAR (engine.voice (1).getOscillator().increment, 1.5187334, 2.5e-7);
}

TEST (SynthVoice, SoundingPitchMeasuredFromTheAudio)
{
    struct Case
    {
        int note;
        double hz;
        float sampleRate;
    };
    for (const auto& c : { Case { 69, 440.0, 44100.0f }, Case { 60, 261.63, 44100.0f }, Case { 69, 440.0, 48000.0f },
                           Case { 81, 880.0, 44100.0f } })
    {
        SCOPED_TRACE ("note " + std::to_string (c.note) + " at " + std::to_string (c.sampleRate) + " Hz");
        TestEngine engine (test::plainSawProgram(), c.sampleRate);
        engine->noteOn (c.note, 100, 0);
        const auto left = test::leftOf (engine.render (2 * (int) c.sampleRate));
        const double measured = test::pitchFromFallingCrossings (left, c.sampleRate, 4410);
        std::printf ("note %d at %.0f Hz sounds at %.3f Hz\n", c.note, (double) c.sampleRate, measured);
        EXPECT_NEAR (measured, c.hz, c.hz * 0.005);
    }
}

TEST (SynthVoice, FullDownwardBendOfTwelveSemitonesHalvesThePitch)
{
    TestEngine engine (test::plainSawProgram());
    engine.set (patch::bendRange, 12.0f);
    engine->noteOn (69, 100, 0);
    const double unbent = test::pitchFromFallingCrossings (test::leftOf (engine.render (oneSecond)), 44100.0, 4410);
    const float unbentIncrement = engine.voice (0).getOscillator().increment;

    engine->getPatch()[patch::pitchBend] = -1.0f;
    const double bent = test::pitchFromFallingCrossings (test::leftOf (engine.render (oneSecond)), 44100.0, 4410);
    EXPECT_NEAR (bent, 220.0, 220.0 * 0.005);
    EXPECT_NEAR (bent / unbent, 0.5, 0.0025);
    EXPECT_FLOAT_EQ (engine.voice (0).getOscillator().increment, unbentIncrement * 0.5f);
}

TEST (SynthVoice, DetuneIsInTenthsOfAnOctave)
{
    TestEngine engine (test::plainSawProgram());
    engine.set (patch::detune, -1.0f);
    engine->noteOn (69, 100, 0);
    engine.render (16);
    EXPECT_NEAR (engine.voice (0).getOscillator().increment, 2.5541950 * std::exp2 (-0.1), 1.0e-6);
}

TEST (SynthVoice, NoteOnOffsetDelaysTheAttackInInternalSteps)
{
    // A delay of 100 holds for 99 internal steps: output samples 0..48 stay silent.
    TestEngine engine (test::plainSawProgram());
    engine->noteOn (69, 127, 100);
    const auto left = test::leftOf (engine.render (80));
    for (int i = 0; i <= 48; ++i)
        ASSERT_EQ (left[(size_t) i], 0.0f) << "sample " << i;
    EXPECT_GT (test::peakOf ({ left.begin() + 49, left.end() }), 0.0);
}

TEST (SynthVoice, ReleasedNoteFallsSilentAndFreesItsVoice)
{
    TestEngine engine (test::plainSawProgram());
    engine->noteOn (69, 100, 0);
    EXPECT_GT (test::peakOf (engine.render (4410)), 0.01);
    engine->noteOff (69, 0);
    // Release 0.001 lasts 221 internal steps: about 7 chunks.
    engine.render (300);
    EXPECT_FALSE (engine.voice (0).isActive());
    EXPECT_EQ (test::peakOf (engine.render (1000)), 0.0);
}

TEST (SynthVoice, ReleaseBeforeTheAttackBeganFreesTheVoiceAtTheFirstChunk)
{
    TestEngine engine (test::plainSawProgram());
    engine->noteOn (69, 100, 200);
    engine->noteOff (69, 250);
    EXPECT_EQ (test::peakOf (engine.render (16)), 0.0);
    EXPECT_FALSE (engine.voice (0).isActive());
}

TEST (SynthVoice, InactiveVoiceAddsNothingWhateverItsEnvelope)
{
    TestEngine engine (test::plainSawProgram());
    engine->noteOn (69, 100, 0);
    engine.render (4410);
    engine->silenceAllVoices();
    EXPECT_NE (engine.voice (0).getAmpEnvelope().stage, EnvelopeStage::idle);

    float first[chunkSize] = {}, second[chunkSize] = {};
    engine.voice (0).renderChunk (first, second);
    for (int i = 0; i < chunkSize; ++i)
        ASSERT_TRUE (first[i] == 0.0f && second[i] == 0.0f);
}
} // namespace
} // namespace quane
