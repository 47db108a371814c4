// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's glossy look: JUCE's V2 look in the colours of the panel picture.
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace quane
{
/** JUCE's glossy V2 look with colours matched to the light grey panel and its blue lettering.

    One object serves the whole process: the first editor creates it and every editor makes it the
    default look-and-feel. It is never deleted, so it outlives every component of every instance,
    including components torn down while the host exits. */
class ShinyLookAndFeel : public juce::LookAndFeel_V2
{
public:
    ShinyLookAndFeel();

    /** The process-wide object, created on first use (on the message thread). */
    static ShinyLookAndFeel& getShared();

    /** A thinner, darker groove than V2's, so that the narrow sliders read as slots in the panel. */
    void drawLinearSliderBackground (juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                                     float minSliderPos, float maxSliderPos, juce::Slider::SliderStyle style,
                                     juce::Slider& slider) override;

private:
    JUCE_DECLARE_NON_COPYABLE (ShinyLookAndFeel)
};
} // namespace quane
