// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Parameter operations of the model: names, clamping, the repeat rule, text, hostile indices and values.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <limits>

namespace quane
{
namespace
{
TEST (Parameters, NamesAndCount)
{
    MyPlugJuceFilter model;
    EXPECT_EQ (model.parameterCount(), patch::parameterCount);
    EXPECT_EQ (model.parameterName (0), "Phase");
    EXPECT_EQ (model.parameterName (4), "Bend range");
    EXPECT_EQ (model.parameterName (29), "Modwheel Depth");
    EXPECT_EQ (model.parameterName (patch::parameterCount), "");
    EXPECT_EQ (model.parameterName (-1), "");
}

TEST (Parameters, SetStoresByClampingClass)
{
    MyPlugJuceFilter model;
    const struct
    {
        int index;
        float sent, stored;
    } cases[] = {
        { 0, 0.0f, 0.001f }, { 0, 1.0f, 0.999f }, { 0, 0.5f, 0.5f }, { 18, -3.0f, -1.0f }, { 18, 0.0f, 0.0f },
        { 29, 1.5f, 1.0f },  { 4, 12.0f, 12.0f }, { 3, 7.0f, 7.0f }, { 9, 0.2f, 0.2f },    { 30, 12.0f, 12.0f },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "index " << c.index << " value " << c.sent);
        model.setParameterValue (c.index, c.sent);
        EXPECT_EQ (model.parameterValue (c.index), c.stored);
    }
}

TEST (Parameters, TextIsNineSignificantDigits)
{
    MyPlugJuceFilter model;
    EXPECT_EQ (model.parameterText (0), "0.5625");
    EXPECT_EQ (model.parameterText (1), "0.999000013");
    EXPECT_EQ (model.parameterText (3), "2");
    EXPECT_EQ (model.parameterText (10), "0.00100000005");
    model.selectProgram (6);
    EXPECT_EQ (model.parameterText (23), "-0.375");
    model.selectProgram (1);
    EXPECT_EQ (model.parameterText (0), "0.828119993");
    model.setParameterValue (2, 1e-7f);
    EXPECT_EQ (model.parameterText (2), "1.00000001e-07");
}

TEST (Parameters, IndicesOutsideThePatchAreAnsweredHarmlessly)
{
    MyPlugJuceFilter model;
    for (const int index : { -1, (int) patch::modwheelPosition, (int) patch::pitchBend, (int) patch::entryCount, 1000,
                             std::numeric_limits<int>::min(), std::numeric_limits<int>::max() })
    {
        SCOPED_TRACE (index);
        EXPECT_EQ (model.parameterValue (index), 0.0f);
        EXPECT_EQ (model.parameterText (index), "");
        model.setParameterValue (index, 0.7f);
    }
    // The wheel entries are the processing entry's alone.
    EXPECT_EQ (model.getEngine().getPatch()[patch::modwheelPosition], 0.0f);
    EXPECT_EQ (model.getEngine().getPatch()[patch::pitchBend], 0.0f);
}

TEST (Parameters, NonFiniteValuesNeverEnterThePatch)
{
    MyPlugJuceFilter model;
    const float hostile[] = { std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                              -std::numeric_limits<float>::infinity() };
    for (int index = 0; index < patch::valueCount; ++index)
    {
        const float before = model.parameterValue (index);
        for (const float value : hostile)
            model.setParameterValue (index, value);
        EXPECT_EQ (model.parameterValue (index), before) << index;
    }
}

TEST (Parameters, OctaveChangeSilencesAndRepeatDoesNot)
{
    MyPlugJuceFilter model;
    juce::MidiBuffer midi;
    midi.addEvent (juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100), 0);
    midi.addEvent (juce::MidiMessage::noteOn (1, 64, (juce::uint8) 100), 0);
    test::renderThroughModel (model, 64, midi);
    ASSERT_EQ (test::activeVoiceCount (model), 2);

    model.setParameterValue (patch::octave, 2.0f); // the stored value: nothing happens
    EXPECT_EQ (test::activeVoiceCount (model), 2);
    model.setParameterValue (patch::octave, 1.0f);
    EXPECT_EQ (test::activeVoiceCount (model), 0);
}

TEST (Parameters, PlaybackRateReachesTheEngineOnlyWhenItChanges)
{
    MyPlugJuceFilter model;
    model.beginPlayback (44100.0, 512);
    EXPECT_EQ (model.getEngine().getSampleRate(), 44100.0f);
    model.beginPlayback (48000.0, 512);
    EXPECT_EQ (model.getSampleRate(), 48000.0f);
    EXPECT_EQ (model.getEngine().getSampleRate(), 48000.0f);
}

TEST (Parameters, DescriptionOfTheModel)
{
    MyPlugJuceFilter model;
    model.attachHost (nullptr);
    const auto& d = model.getDescription();
    EXPECT_EQ (d.uniqueId, 0x11149876);
    EXPECT_EQ (d.inputChannels, 0);
    EXPECT_EQ (d.outputChannels, 2);
    EXPECT_TRUE (d.isSynth);
    EXPECT_TRUE (d.acceptsMidi);
    EXPECT_FALSE (d.producesMidi);
    EXPECT_FALSE (d.silentWhenStopped);
    EXPECT_FALSE (d.needsKeyEvents);
}
} // namespace
} // namespace quane
