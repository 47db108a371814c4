// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor panel as built: size, controls, ranges, steps, skews, items, and what a fresh editor shows.
#include "EditorTestSupport.h"

#include "plugin/FactoryPrograms.h"

#include <gtest/gtest.h>

namespace quane::test
{
namespace
{
constexpr int bipolarSliders[] = { 2, 18, 23, 25, 27, 28, 29 };
constexpr int skewedSliders[] = { 6, 10, 11, 13, 14, 15, 17, 19, 20, 22 };

bool contains (const int* first, const int* last, int value)
{
    return std::find (first, last, value) != last;
}

TEST (EditorPanel, SizeNamesAndBounds)
{
    MyPlugJuceFilter model;
    MyPlugEditorComponent editor (model);
    EXPECT_EQ (editor.getWidth(), 540);
    EXPECT_EQ (editor.getHeight(), 340);
    // The controls, the value bubble and the tooltip window.
    EXPECT_EQ (editor.getNumChildComponents(), patch::valueCount + 2);

    EXPECT_EQ (editor.getSlider (0).getBounds(), juce::Rectangle<int> (120, 10, 12, 80));
    EXPECT_EQ (editor.getSlider (18).getBounds(), juce::Rectangle<int> (268, 120, 12, 80));
    EXPECT_EQ (editor.getSlider (29).getBounds(), juce::Rectangle<int> (510, 230, 12, 80));
    EXPECT_EQ (editor.getSelector (0).getBounds(), juce::Rectangle<int> (16, 50, 85, 20));
    EXPECT_EQ (editor.getSelector (8).getBounds(), juce::Rectangle<int> (408, 298, 80, 20));

    for (int i = 0; i < patch::parameterCount; ++i)
    {
        SCOPED_TRACE (testing::Message() << "slider " << i);
        auto& slider = editor.getSlider (i);
        EXPECT_EQ (slider.getName(), juce::String (i));
        EXPECT_EQ (slider.getSliderStyle(), juce::Slider::LinearVertical);
        EXPECT_EQ (slider.getTextBoxPosition(), juce::Slider::NoTextBox);
        EXPECT_TRUE (slider.isVisible());
        EXPECT_TRUE (editor.getLocalBounds().contains (slider.getBounds()));
    }
    for (int j = 0; j < patch::selectorCount; ++j)
    {
        SCOPED_TRACE (testing::Message() << "selector " << j);
        EXPECT_EQ (editor.getSelector (j).getName(), juce::String (j));
        EXPECT_TRUE (editor.getLocalBounds().contains (editor.getSelector (j).getBounds()));
    }
}

TEST (EditorPanel, RangesStepsSkewsAndCatches)
{
    MyPlugJuceFilter model;
    MyPlugEditorComponent editor (model);
    for (int i = 0; i < patch::parameterCount; ++i)
    {
        SCOPED_TRACE (testing::Message() << "slider " << i);
        auto& slider = editor.getSlider (i);
        const bool bipolar = contains (std::begin (bipolarSliders), std::end (bipolarSliders), i);
        const bool skewed = contains (std::begin (skewedSliders), std::end (skewedSliders), i);
        const double minimum = bipolar ? -1.0 : (i == 9 ? 0.5 : 0.0);
        const double maximum = i == 3 ? 3.0 : (i == 4 ? 12.0 : 1.0);

        EXPECT_EQ (slider.getMinimum(), minimum);
        EXPECT_EQ (slider.getMaximum(), maximum);
        EXPECT_EQ (slider.getInterval(), (i == 3 || i == 4) ? 1.0 : 0.0);
        EXPECT_EQ (slider.snapTarget, 0.0f);
        EXPECT_EQ (slider.snapTolerance, bipolar ? 0.05f : 0.0f);

        // Square law: the middle of the travel stands for a quarter of the range.
        const double middle = slider.proportionOfLengthToValue (0.5);
        EXPECT_NEAR (middle, minimum + (maximum - minimum) * (skewed ? 0.25 : 0.5), 1e-12);
        // Vertical: the bottom end is the minimum.
        EXPECT_LT (slider.getPositionOfValue (maximum), slider.getPositionOfValue (minimum));
    }
}

TEST (EditorPanel, SelectorItems)
{
    MyPlugJuceFilter model;
    MyPlugEditorComponent editor (model);
    const int itemCounts[] = { 9, 8, 8, 4, 6, 4, 8, 8, 8 };
    for (int j = 0; j < patch::selectorCount; ++j)
    {
        SCOPED_TRACE (testing::Message() << "selector " << j);
        auto& selector = editor.getSelector (j);
        ASSERT_EQ (selector.getNumItems(), itemCounts[j]);
        for (int k = 0; k < itemCounts[j]; ++k)
            EXPECT_EQ (selector.getItemId (k), k + 1);
    }
    EXPECT_EQ (editor.getSelector (0).getItemText (5), "Staggred Pulses");
    EXPECT_EQ (editor.getSelector (0).getItemText (8), "Soft Noisef.");
    EXPECT_EQ (editor.getSelector (3).getItemText (3), "Triangle");
    EXPECT_EQ (editor.getSelector (4).getItemText (5), "Volume");
    EXPECT_EQ (editor.getSelector (8).getItemText (7), "LFO1 Depth");
    EXPECT_EQ (editor.getSelector (4).indexOfItemId (7), -1);
}

TEST (EditorPanel, FreshEditorShowsEveryProgram)
{
    for (int program = 0; program < factoryProgramCount; ++program)
    {
        SCOPED_TRACE (testing::Message() << "program " << program);
        MyPlugJuceFilter model;
        model.selectProgram (program);
        MyPlugEditorComponent editor (model);
        for (int i = 0; i < patch::parameterCount; ++i)
        {
            auto& slider = editor.getSlider (i);
            const double expected = juce::jlimit (slider.getMinimum(), slider.getMaximum(),
                                                  (double) model.parameterValue (i));
            EXPECT_NEAR (slider.getValue(), expected, 1e-6) << "slider " << i;
        }
        for (int j = 0; j < patch::selectorCount; ++j)
        {
            auto& selector = editor.getSelector (j);
            const int id = (int) model.parameterValue (patch::firstSelector + j);
            EXPECT_EQ (selector.getSelectedId(), selector.indexOfItemId (id) >= 0 ? id : 0) << "selector " << j;
        }
    }
}

TEST (EditorPanel, OpeningWritesEachSelectorBackOnceAndChangesNothing)
{
    MyPlugJuceFilter model;
    model.selectProgram (5);
    RecordingHost host (model);
    model.attachHost (&host);
    float before[patch::valueCount];
    for (int i = 0; i < patch::valueCount; ++i)
        before[i] = model.parameterValue (i);

    MyPlugEditorComponent editor (model);
    pumpMessages();

    for (int i = 0; i < patch::parameterCount; ++i)
        EXPECT_EQ (host.countFor (i), 0) << "slider " << i;
    for (int j = 0; j < patch::selectorCount; ++j)
        EXPECT_EQ (host.countFor (patch::firstSelector + j), 1) << "selector " << j;
    for (const auto& change : host.changes)
        EXPECT_EQ (change.value, before[change.index]) << "index " << change.index;
    for (int i = 0; i < patch::valueCount; ++i)
        EXPECT_EQ (model.parameterValue (i), before[i]) << "index " << i;
}

TEST (EditorPanel, ShowsOutOfRangeValuesAtTheNearestEnd)
{
    MyPlugJuceFilter model;
    model.setParameterValue (3, 7.0f); // free class: stored as sent
    model.setParameterValue (9, 0.2f);
    model.setParameterValue (4, 5.4f);
    MyPlugEditorComponent editor (model);
    EXPECT_EQ (editor.getSlider (3).getValue(), 3.0);
    EXPECT_EQ (editor.getSlider (9).getValue(), 0.5);
    EXPECT_EQ (editor.getSlider (4).getValue(), 5.0);
    EXPECT_EQ (model.parameterValue (3), 7.0f);
}
} // namespace
} // namespace quane::test
