// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The snapping slider's catch at 0, on its own and under the user's mouse in the editor.
#include "EditorTestSupport.h"

#include <gtest/gtest.h>

namespace quane::test
{
namespace
{
TEST (SnappingSlider, CatchesStrictlyInsideTheSinglePrecisionTolerance)
{
    SnappingSlider slider ("2");
    slider.snapTolerance = 0.05f;
    const struct
    {
        double attempted, expected;
    } cases[] = {
        { 0.049, 0.0 },
        { -0.049, 0.0 },
        { 0.05, 0.0 },
        { -0.05, 0.0 },
        { 0.0500001, 0.0500001 },
        { -0.0500001, -0.0500001 },
        { 0.3, 0.3 },
        { -1.0, -1.0 },
        // The float tolerance itself lies at the distance and is kept.
        { (double) 0.05f, (double) 0.05f },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "attempted " << c.attempted);
        EXPECT_EQ (slider.snapValue (c.attempted, juce::Slider::absoluteDrag), c.expected);
        EXPECT_EQ (slider.snapValue (c.attempted, juce::Slider::notDragging), c.expected);
    }
}

TEST (SnappingSlider, ToleranceZeroNeverSnapsAndTargetIsHonoured)
{
    SnappingSlider slider ("0");
    EXPECT_EQ (slider.getName(), "0");
    EXPECT_EQ (slider.snapTarget, 0.0f);
    EXPECT_EQ (slider.snapTolerance, 0.0f);
    for (double attempted : { 0.0, 1e-12, -1e-12, 0.3 })
        EXPECT_EQ (slider.snapValue (attempted, juce::Slider::absoluteDrag), attempted);

    slider.snapTarget = 0.5f;
    slider.snapTolerance = 0.1f;
    EXPECT_EQ (slider.snapValue (0.45, juce::Slider::absoluteDrag), 0.5);
    EXPECT_EQ (slider.snapValue (0.35, juce::Slider::absoluteDrag), 0.35);
}

TEST (SnappingSlider, ProgramValuesAreNeverSnapped)
{
    MyPlugJuceFilter model;
    model.setParameterValue (2, 0.02f);
    model.setParameterValue (18, -0.03f);
    MyPlugEditorComponent editor (model);
    EXPECT_EQ (editor.getSlider (2).getValue(), (double) 0.02f);
    EXPECT_EQ (editor.getSlider (18).getValue(), (double) -0.03f);
}

TEST (SnappingSlider, DraggingABipolarSliderNearZeroSendsExactlyZero)
{
    MyPlugJuceFilter model;
    RecordingHost host (model);
    model.attachHost (&host);
    MyPlugEditorComponent editor (model);
    pumpMessages();

    for (int index : { 2, 18, 23, 25, 27, 28, 29 })
    {
        SCOPED_TRACE (testing::Message() << "slider " << index);
        auto& slider = editor.getSlider (index);
        dragSliderToValue (slider, 0.6);
        host.changes.clear();

        dragSliderToValue (slider, 0.03);
        ASSERT_EQ (host.changes.size(), 1u);
        EXPECT_EQ (host.changes[0].index, index);
        EXPECT_EQ (host.changes[0].value, 0.0f);
        EXPECT_EQ (model.parameterValue (index), 0.0f);

        host.changes.clear();
        dragSliderToValue (slider, -0.3);
        ASSERT_EQ (host.changes.size(), 1u);
        EXPECT_NEAR (host.changes[0].value, -0.3f, 1e-3f);
    }

    // A unit slider has no catch: a drag close to 0 is sent as it is.
    auto& phase = editor.getSlider (0);
    host.changes.clear();
    dragSliderToValue (phase, 0.02);
    ASSERT_EQ (host.changes.size(), 1u);
    EXPECT_NEAR (host.changes[0].value, 0.02f, 1e-3f);
    EXPECT_GT (host.changes[0].value, 0.0f);
}

TEST (SnappingSlider, WholeNumberSlidersAndTheSpreadFloor)
{
    MyPlugJuceFilter model;
    RecordingHost host (model);
    model.attachHost (&host);
    MyPlugEditorComponent editor (model);
    pumpMessages();

    for (int index : { 3, 4 })
    {
        auto& slider = editor.getSlider (index);
        // Sweep the whole travel in small steps; every value sent is a whole number in range.
        host.changes.clear();
        for (float y = (float) slider.getHeight(); y >= 0.0f; y -= 1.5f)
            dragSliderTo (slider, y);
        ASSERT_FALSE (host.changes.empty());
        for (const auto& change : host.changes)
        {
            EXPECT_EQ (change.index, index);
            EXPECT_EQ (change.value, std::round (change.value)) << "slider " << index;
            EXPECT_GE (change.value, 0.0f);
            EXPECT_LE (change.value, index == 3 ? 3.0f : 12.0f);
        }
        EXPECT_EQ (host.changes.back().value, index == 3 ? 3.0f : 12.0f);
    }

    auto& spread = editor.getSlider (9);
    dragSliderToValue (spread, 0.9);
    host.changes.clear();
    dragSliderTo (spread, (float) spread.getHeight() + 40.0f);
    ASSERT_EQ (host.changes.size(), 1u);
    EXPECT_EQ (host.changes[0].value, 0.5f);
    EXPECT_EQ (model.parameterValue (9), 0.5f);
}
} // namespace
} // namespace quane::test
