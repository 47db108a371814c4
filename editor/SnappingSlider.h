// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A slider that catches values the user produces near one target value.
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace quane
{
/** A JUCE Slider with a catch: a value the user produces (dragging, the wheel, the buttons) that
    lies strictly closer than snapTolerance to snapTarget becomes snapTarget. Values set by the
    program never pass through the catch. With a tolerance of 0 nothing ever snaps.

    Both fields are single precision on purpose: a tolerance of 0.05f is slightly above 0.05, so
    an attempted value of exactly +-0.05 snaps. */
class SnappingSlider : public juce::Slider
{
public:
    explicit SnappingSlider (const juce::String& name);
    ~SnappingSlider() override;

    double snapValue (double attemptedValue, DragMode dragMode) override;

    float snapTarget = 0.0f;
    float snapTolerance = 0.0f;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (SnappingSlider)
};
} // namespace quane
