// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the editor tests: the message thread, a recording host and mouse drags.
#include "EditorTestSupport.h"

#include <gtest/gtest.h>

namespace quane::test
{
namespace
{
juce::MouseEvent mouseEventAt (juce::Slider& slider, juce::Point<float> position, juce::Point<float> downPosition,
                               juce::ModifierKeys mods, bool dragged)
{
    const auto now = juce::Time::getCurrentTime();
    return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), position, mods,
                             juce::MouseInputSource::defaultPressure, 0.0f, 0.0f, 0.0f, 0.0f, &slider, &slider, now,
                             downPosition, now, 1, dragged);
}
} // namespace

void RecordingHost::reportParameterChange (int index, float value)
{
    changes.push_back ({ index, value });
    model.setParameterValue (index, value);
}

int RecordingHost::countFor (int index) const
{
    int count = 0;
    for (const auto& change : changes)
        count += change.index == index ? 1 : 0;
    return count;
}

void dragSliderTo (juce::Slider& slider, float position)
{
    // Pressing on the track puts the thumb under the mouse at once, so pressing where the drag
    // ends gives one change, as a click on the track would.
    const juce::Point<float> target ((float) slider.getWidth() * 0.5f, position);
    const juce::ModifierKeys left (juce::ModifierKeys::leftButtonModifier);

    slider.mouseDown (mouseEventAt (slider, target, target, left, false));
    slider.mouseDrag (mouseEventAt (slider, target, target, left, true));
    slider.mouseUp (mouseEventAt (slider, target, target, juce::ModifierKeys(), true));
}

void dragSliderToValue (juce::Slider& slider, double value)
{
    dragSliderTo (slider, slider.getPositionOfValue (value));
}
} // namespace quane::test
