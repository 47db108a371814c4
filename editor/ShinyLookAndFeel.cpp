// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's glossy look: JUCE's V2 look in the colours of the panel picture.
#include "editor/ShinyLookAndFeel.h"

namespace quane
{
namespace
{
const juce::Colour knobBlue (0xff3a63b8);
const juce::Colour panelGrey (0xffd6d6d6);
const juce::Colour engravedGrey (0xff5a5a5a);
} // namespace

ShinyLookAndFeel::ShinyLookAndFeel()
{
    setColour (juce::Slider::thumbColourId, knobBlue);
    setColour (juce::Slider::trackColourId, engravedGrey);
    setColour (juce::ComboBox::backgroundColourId, juce::Colour (0xfff4f4f4));
    setColour (juce::ComboBox::outlineColourId, engravedGrey.withAlpha (0.7f));
    setColour (juce::ComboBox::buttonColourId, knobBlue.brighter (0.6f));
    setColour (juce::ComboBox::textColourId, juce::Colours::black);
    setColour (juce::ComboBox::arrowColourId, juce::Colours::black.withAlpha (0.7f));
    setColour (juce::PopupMenu::backgroundColourId, juce::Colour (0xfff4f4f4));
    setColour (juce::PopupMenu::highlightedBackgroundColourId, knobBlue);
    setColour (juce::PopupMenu::highlightedTextColourId, juce::Colours::white);
    setColour (juce::ResizableWindow::backgroundColourId, panelGrey);
}

ShinyLookAndFeel& ShinyLookAndFeel::getShared()
{
    static auto* const shared = new ShinyLookAndFeel();
    return *shared;
}

void ShinyLookAndFeel::drawLinearSliderBackground (juce::Graphics& g, int x, int y, int width, int height,
                                                   float sliderPos, float minSliderPos, float maxSliderPos,
                                                   juce::Slider::SliderStyle style, juce::Slider& slider)
{
    if (style != juce::Slider::LinearVertical)
    {
        // Only vertical sliders appear on the panel; anything else keeps JUCE's groove.
        juce::LookAndFeel_V2::drawLinearSliderBackground (g, x, y, width, height, sliderPos, minSliderPos, maxSliderPos,
                                                          style, slider);
        return;
    }

    const float grooveWidth = 4.0f;
    const auto groove = juce::Rectangle<float> ((float) x + ((float) width - grooveWidth) * 0.5f, (float) y,
                                                grooveWidth, (float) height)
                            .expanded (0.0f, 2.0f);
    g.setColour (slider.findColour (juce::Slider::trackColourId).withAlpha (0.85f));
    g.fillRoundedRectangle (groove, grooveWidth * 0.5f);
    // A light lower edge makes the groove look cut into the surface.
    g.setColour (juce::Colours::white.withAlpha (0.6f));
    g.drawRoundedRectangle (groove.translated (0.5f, 0.5f), grooveWidth * 0.5f, 0.6f);
}
} // namespace quane
