// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Factory programs: names, loading, unknown numbers, silencing and what a load leaves alone.
#include "TestSupport.h"

#include "engine/PatchValueTable.h"
#include "plugin/FactoryPrograms.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quane
{
namespace
{
TEST (Programs, NamesInOrder)
{
    MyPlugJuceFilter model;
    const char* expected[] = { "Chordy",     "Basic",       "Siddish",         "Pulse Lead",
                               "Bell Lead",  "Pluck Me",    "Chordy Again",    "Rezzy Bass",
                               "Simple Saw", "Pluck Again", "Bell Lead Again", "Sawish Power Chord" };
    ASSERT_EQ (model.programCount(), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ (model.programName (i), expected[i]) << i;
    EXPECT_EQ (model.programName (12), "");
    EXPECT_EQ (model.programName (-1), "");
    model.renameProgram (0, "Mine");
    EXPECT_EQ (model.programName (0), "Chordy");
}

TEST (Programs, FreshModelHoldsProgramZero)
{
    MyPlugJuceFilter model;
    EXPECT_EQ (model.currentProgramIndex(), 0);
    EXPECT_EQ (model.parameterValue (0), 0.5625f);
    const float expected[] = { 0.5625f,  0.999f,   0,        2,        0,        0.999f,  0.02954f, 0.001f,
                               0.39062f, 0.60156f, 0.001f,   0.12915f, 0.96875f, 0.0791f, 0.001f,   0.21972f,
                               0.001f,   0.61035f, 0.28125f, 0.001f,   0.0039f,  0.001f,  0.001f,   0.40625f,
                               0.15625f, 0.25f,    0.001f,   0,        0,        0,       8,        5,
                               4,        2,        2,        1,        1,        1,       1 };
    for (int i = 0; i < patch::valueCount; ++i)
        EXPECT_EQ (model.parameterValue (i), expected[i]) << i;
}

TEST (Programs, SelectedValuesMatchTheTable)
{
    MyPlugJuceFilter model;
    model.selectProgram (6);
    EXPECT_EQ (model.currentProgramIndex(), 6);
    EXPECT_EQ (model.parameterValue (23), -0.375f);
    EXPECT_EQ (model.parameterValue (4), 12.0f);
    model.selectProgram (3);
    EXPECT_EQ (model.parameterValue (31), 1.0f);
    EXPECT_EQ (model.parameterValue (27), -0.09375f);
    model.selectProgram (11);
    EXPECT_EQ (model.parameterValue (8), 0.59375f);
    EXPECT_EQ (model.parameterValue (30), 2.0f);
}

TEST (Programs, EveryProgramLiesWithinItsRowsAndSharesTheCommonValues)
{
    const auto table = factoryPrograms();
    int withVelocity = 0;
    for (int p = 0; p < table.count; ++p)
    {
        SCOPED_TRACE (table.programs[p].name);
        const float* v = table.programs[p].values;
        for (int i = 0; i < patch::valueCount; ++i)
        {
            // A value slipped into another row would rarely fit that row's class, range and step.
            const auto& control = patch::rows[i].control;
            EXPECT_EQ (patch::clampToClass (i, v[i]), v[i]) << "index " << i;
            EXPECT_TRUE (v[i] >= control.minimum && v[i] <= control.maximum) << "index " << i;
            if (control.step > 0.0)
            {
                EXPECT_EQ (std::fmod (v[i], control.step), 0.0) << "index " << i;
            }
        }
        EXPECT_EQ (v[patch::detune], 0.0f);
        EXPECT_EQ (v[patch::saturation], 0.999f);
        EXPECT_EQ (v[patch::ampAttack], 0.001f);
        EXPECT_EQ (v[patch::env1Attack], 0.001f);
        EXPECT_EQ (v[patch::env1Sustain], 0.001f);
        EXPECT_EQ (v[patch::env2Sustain], 0.001f);
        EXPECT_EQ (v[patch::modwheelDestination], 1.0f);
        withVelocity += v[patch::velocityDepth] != 0.0f ? 1 : 0;
    }
    EXPECT_EQ (withVelocity, 1);
    EXPECT_EQ (table.programs[9].values[patch::velocityDepth], 0.625f);
}

TEST (Programs, UnknownNumbersChangeNothing)
{
    MyPlugJuceFilter model;
    model.selectProgram (4);
    model.setParameterValue (0, 0.3f);
    for (const int number : { 12, -1, 1000 })
    {
        model.selectProgram (number);
        EXPECT_EQ (model.currentProgramIndex(), 4);
        EXPECT_EQ (model.parameterValue (0), 0.3f);
    }
}

TEST (Programs, ReselectingRestoresValuesAndEditsKeepTheProgramNumber)
{
    MyPlugJuceFilter model;
    model.setParameterValue (0, 0.3f);
    EXPECT_EQ (model.currentProgramIndex(), 0);
    model.selectProgram (0);
    EXPECT_EQ (model.parameterValue (0), 0.5625f);
}

TEST (Programs, LoadingSilencesHeldNotesAndKeepsTheWheels)
{
    for (const int number : { 0, 5 })
    {
        SCOPED_TRACE (number);
        MyPlugJuceFilter model;
        juce::MidiBuffer midi;
        midi.addEvent (juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100), 0);
        midi.addEvent (juce::MidiMessage::controllerEvent (1, 1, 64), 0);
        midi.addEvent (juce::MidiMessage::pitchWheel (1, 0), 0);
        test::renderThroughModel (model, 32, midi);
        ASSERT_EQ (test::activeVoiceCount (model), 1);

        model.selectProgram (number);
        EXPECT_EQ (test::activeVoiceCount (model), 0);
        EXPECT_EQ (model.getEngine().getPatch()[patch::modwheelPosition], 0.50393701f);
        EXPECT_EQ (model.getEngine().getPatch()[patch::pitchBend], -1.0f);
    }
}
} // namespace
} // namespace quane
