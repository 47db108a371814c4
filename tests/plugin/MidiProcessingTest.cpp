// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The processing entry: classification of MIDI messages, wheel scaling, replacing and accumulating.
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace quane
{
namespace
{
juce::MidiBuffer events (std::initializer_list<std::pair<juce::MidiMessage, int>> list)
{
    juce::MidiBuffer midi;
    for (const auto& [message, position] : list)
        midi.addEvent (message, position);
    return midi;
}

Voice& voice (MyPlugJuceFilter& model, int index)
{
    return model.getEngine().getVoice (index);
}

TEST (MidiProcessing, NoteOnAndBothKindsOfNoteOff)
{
    MyPlugJuceFilter model;
    test::renderThroughModel (model, 16,
                              events ({ { juce::MidiMessage::noteOn (1, 60, (juce::uint8) 90), 3 },
                                        { juce::MidiMessage::noteOn (16, 62, (juce::uint8) 90), 4 },
                                        { juce::MidiMessage::noteOn (7, 64, (juce::uint8) 90), 5 } }));
    ASSERT_EQ (test::activeVoiceCount (model), 3);
    EXPECT_EQ (voice (model, 0).getNote(), 60);
    EXPECT_EQ (voice (model, 1).getNote(), 62);

    // Velocity 0 on another channel, and a note-off with a release velocity.
    test::renderThroughModel (model, 16,
                              events ({ { juce::MidiMessage::noteOn (9, 60, (juce::uint8) 0), 0 },
                                        { juce::MidiMessage::noteOff (2, 62, (juce::uint8) 100), 0 } }));
    EXPECT_TRUE (voice (model, 0).isReleased());
    EXPECT_TRUE (voice (model, 1).isReleased());
    EXPECT_FALSE (voice (model, 2).isReleased());
}

TEST (MidiProcessing, AllNotesOffOnAnyChannelSilencesAtOnceOtherModesDoNot)
{
    MyPlugJuceFilter model;
    test::renderThroughModel (model, 16,
                              events ({ { juce::MidiMessage::noteOn (1, 60, (juce::uint8) 90), 0 },
                                        { juce::MidiMessage::noteOn (1, 67, (juce::uint8) 90), 0 } }));
    test::renderThroughModel (model, 16,
                              events ({ { juce::MidiMessage::noteOff (1, 67), 0 },
                                        { juce::MidiMessage::controllerEvent (1, 120, 0), 1 },
                                        { juce::MidiMessage::controllerEvent (1, 121, 0), 2 } }));
    ASSERT_EQ (test::activeVoiceCount (model), 2);
    test::renderThroughModel (model, 16, events ({ { juce::MidiMessage::controllerEvent (16, 123, 0), 500 } }));
    EXPECT_EQ (test::activeVoiceCount (model), 0);
}

TEST (MidiProcessing, WheelScaling)
{
    MyPlugJuceFilter model;
    const auto& p = model.getEngine().getPatch();
    const struct
    {
        int value;
        float expected;
    } wheel[] = { { 0, 0.0f }, { 127, 1.0f }, { 64, 0.50393701f } };
    for (const auto& c : wheel)
    {
        test::renderThroughModel (model, 1, events ({ { juce::MidiMessage::controllerEvent (3, 1, c.value), 300 } }));
        EXPECT_EQ (p[patch::modwheelPosition], c.expected) << c.value;
    }

    const struct
    {
        juce::uint8 lsb, msb;
        float expected;
    } bend[] = { { 0x00, 0x40, 0.0f }, { 0x00, 0x00, -1.0f }, { 0x7F, 0x7F, 0.9998779296875f } };
    for (const auto& c : bend)
    {
        const juce::uint8 bytes[] = { 0xE5, c.lsb, c.msb };
        juce::MidiBuffer midi;
        midi.addEvent (bytes, 3, 0);
        test::renderThroughModel (model, 1, midi);
        EXPECT_EQ (p[patch::pitchBend], c.expected) << (int) c.lsb << "," << (int) c.msb;
    }

    // Other controllers, pressure and program changes are ignored.
    test::renderThroughModel (model, 1,
                              events ({ { juce::MidiMessage::controllerEvent (1, 7, 10), 0 },
                                        { juce::MidiMessage::programChange (1, 5), 0 },
                                        { juce::MidiMessage::channelPressureChange (1, 90), 0 } }));
    EXPECT_EQ (p[patch::modwheelPosition], 0.50393701f);
    EXPECT_EQ (model.currentProgramIndex(), 0);
}

TEST (MidiProcessing, NoteOnAndOffInOneBlockAreBothAppliedBeforeRendering)
{
    MyPlugJuceFilter model;
    const auto out = test::renderThroughModel (model, 512,
                                               events ({ { juce::MidiMessage::noteOn (1, 60, (juce::uint8) 127), 10 },
                                                         { juce::MidiMessage::noteOff (1, 60), 20 } }));
    EXPECT_TRUE (voice (model, 0).isReleased());
    EXPECT_FALSE (voice (model, 0).isActive());
    for (float sample : out)
        ASSERT_EQ (sample, 0.0f);
}

TEST (MidiProcessing, MidiIsConsumedAndOutputReplacedOrAccumulated)
{
    MyPlugJuceFilter model;
    auto midi = events ({ { juce::MidiMessage::controllerEvent (1, 1, 5), 0 } });
    std::vector<float> samples (64, 0.25f);
    float* channels[] = { samples.data(), samples.data() + 32 };
    juce::AudioBuffer<float> output (channels, 2, 32), input;

    model.processAudioBlock (input, output, true, midi);
    EXPECT_TRUE (midi.isEmpty());
    for (float sample : samples) // no voice sounds, so adding leaves what was there
        ASSERT_EQ (sample, 0.25f);

    model.processAudioBlock (input, output, false, midi);
    for (float sample : samples)
        ASSERT_EQ (sample, 0.0f);
}
} // namespace
} // namespace quane
