// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The VST3 and LV2 plug-ins' processor in process: the parameters' round trips, what hosts may
// send them, and the editor's gestures.
#include "formats/QuaneAudioProcessor.h"
#include "formats/QuaneProcessorEditor.h"

#include "editor/MyPlugEditorComponent.h"
#include "engine/PatchValueTable.h"
#include "plugin/FactoryPrograms.h"
#include "tests/editor/EditorTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <thread>

namespace quane::test
{
namespace
{
bool sameBits (float a, float b)
{
    return std::memcmp (&a, &b, sizeof (float)) == 0;
}

/** The value of a patch index after its normalised value went to a host and came back. */
float roundTrip (const PatchParameter& parameter, float value)
{
    return parameter.denormalise (parameter.normalise (value));
}

/** Gestures and changes as JUCE's clients hear them, in order: "+6", "6", "-6". */
struct GestureLog : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float) override
    {
        add (std::to_string (index));
    }
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override
    {
        add ("+" + std::to_string (index));
    }
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override
    {
        add ("-" + std::to_string (index));
    }
    void add (const std::string& entry) { events += (events.empty() ? "" : " ") + entry; }
    std::string events;
};

TEST (PatchParameters, EveryValueOfProgramsRangesAndTheEditorMakesTheRoundTrip)
{
    QuaneAudioProcessor processor;

    for (int program = 0; program < factoryProgramCount; ++program)
        for (int index = 0; index < patch::valueCount; ++index)
        {
            const float value = factoryPrograms().programs[program].values[index];
            EXPECT_TRUE (sameBits (roundTrip (processor.getPatchParameter (index), value), value))
                << "program " << program << ", index " << index << ": " << value;
        }

    // Every 10007th float of the unit range and of Spread's, every whole number and every item.
    const auto sweep = [&] (int index, float from, float to) {
        juce::uint32 bits, last;
        std::memcpy (&bits, &from, sizeof (bits));
        std::memcpy (&last, &to, sizeof (last));
        for (; bits <= last; bits += 10007)
        {
            float value;
            std::memcpy (&value, &bits, sizeof (value));
            ASSERT_TRUE (sameBits (roundTrip (processor.getPatchParameter (index), value), value))
                << index << ": " << value;
        }
    };
    sweep (patch::cutoff, 0.0f, 1.0f);
    sweep (patch::spread, 0.5f, 1.0f);
    for (int index :
         { (int) patch::octave, (int) patch::bendRange, (int) patch::oscWave, (int) patch::lfo1Destination })
    {
        const auto& control = patch::rows[index].control;
        for (double value = control.minimum; value <= control.maximum; value += 1.0)
            EXPECT_TRUE (sameBits (roundTrip (processor.getPatchParameter (index), (float) value), (float) value));
    }

    // What a drag to any pixel of a slider leaves in the patch is what the host recorded.
    QuaneProcessorEditor editor (processor);
    auto& panel = dynamic_cast<MyPlugEditorComponent&> (editor.getPanel());
    for (int index : { (int) patch::detune, (int) patch::cutoff, (int) patch::env1Depth, (int) patch::spread })
    {
        auto& slider = panel.getSlider (index);
        auto& parameter = processor.getPatchParameter (index);
        for (int pixel = 0; pixel <= slider.getHeight(); ++pixel)
        {
            dragSliderTo (slider, (float) pixel);
            const float stored = processor.getModel().parameterValue (index);
            EXPECT_TRUE (sameBits (roundTrip (parameter, stored), stored)) << index << " at pixel " << pixel;
            parameter.setValue (parameter.getValue());
            EXPECT_TRUE (sameBits (processor.getModel().parameterValue (index), stored));
        }
    }
}

TEST (PatchParameters, HostsCannotPushThePatchOutOfItsClasses)
{
    QuaneAudioProcessor processor;
    auto& model = processor.getModel();

    // Free values beyond the editor's range and bipolar values finer than 0..1 can carry stay
    // exact while a host writes back what it read (as hosts do when they restore a session).
    model.setParameterValue (patch::detune, 5.0f);
    model.setParameterValue (patch::env1Depth, 0.1234567f);
    juce::MemoryBlock before, after;
    processor.getStateInformation (before);
    for (auto* parameter : processor.getParameters())
        parameter->setValue (parameter->getValue());
    processor.getStateInformation (after);
    EXPECT_EQ (before, after);

    auto& cutoff = processor.getPatchParameter (patch::cutoff);
    cutoff.setValue (std::numeric_limits<float>::quiet_NaN());
    EXPECT_EQ (model.parameterValue (patch::cutoff), factoryPrograms().programs[0].values[patch::cutoff]);
    cutoff.setValue (5.0f);
    EXPECT_EQ (model.parameterValue (patch::cutoff), patch::unitMaximum);
    cutoff.setValue (-1.0f);
    EXPECT_EQ (model.parameterValue (patch::cutoff), patch::unitMinimum);
    processor.getPatchParameter (patch::oscWave).setValue (7.0f);
    EXPECT_EQ (model.parameterValue (patch::oscWave), 9.0f);
    EXPECT_EQ (processor.getPatchParameter (patch::oscWave).getText (0.25f, 64), "Cliped Sine");
    EXPECT_EQ (processor.getPatchParameter (patch::env1Depth).getText (1.0f, 64), "1");
}

TEST (ProcessorEditor, ADragIsOneGestureAndASelectorPickAnother)
{
    QuaneAudioProcessor processor;
    GestureLog log;
    processor.addListener (&log);
    {
        QuaneProcessorEditor editor (processor);
        EXPECT_EQ (editor.getWidth(), 540);
        EXPECT_EQ (editor.getHeight(), 340);
        pumpMessages(); // the first refresh's selector write-backs
        log.events.clear();

        auto& panel = dynamic_cast<MyPlugEditorComponent&> (editor.getPanel());
        dragSliderToValue (panel.getSlider (patch::cutoff), 0.75);
        EXPECT_EQ (log.events, "+6 6 -6");

        log.events.clear();
        panel.getSelector (0).setSelectedId (3, juce::sendNotificationAsync);
        pumpMessages();
        EXPECT_EQ (log.events, "+30 30 -30");
        EXPECT_EQ (processor.getModel().parameterValue (patch::oscWave), 3.0f);
    }
    processor.removeListener (&log);
}

TEST (ProcessorEditor, TakesTheSizeOfTheHostsScaleFactor)
{
    QuaneAudioProcessor processor;
    QuaneProcessorEditor editor (processor);
    editor.setScaleFactor (2.0f);
    EXPECT_EQ (editor.getWidth(), 1080);
    EXPECT_EQ (editor.getHeight(), 680);
    editor.setScaleFactor (std::numeric_limits<float>::quiet_NaN()); // ignored
    EXPECT_EQ (editor.getWidth(), 1080);
    editor.setScaleFactor (1.5f);
    EXPECT_EQ (editor.getWidth(), 810);
    EXPECT_EQ (editor.getHeight(), 510);
    editor.setScaleFactor (1.0f);
    EXPECT_EQ (editor.getWidth(), 540);
    EXPECT_EQ (editor.getHeight(), 340);
}

TEST (ProcessorEditor, FollowsParametersTheHostSetsOnItsAudioThread)
{
    QuaneAudioProcessor processor;
    QuaneProcessorEditor editor (processor);
    auto& panel = dynamic_cast<MyPlugEditorComponent&> (editor.getPanel());
    pumpMessages();

    std::thread audioThread ([&processor] { processor.getPatchParameter (patch::resonance).setValue (0.625f); });
    audioThread.join();
    EXPECT_EQ (processor.getModel().parameterValue (patch::resonance), 0.625f);
    pumpMessages (100);
    EXPECT_EQ (panel.getSlider (patch::resonance).getValue(), 0.625);
}
} // namespace
} // namespace quane::test
