// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The small bubble that shows a slider's parameter name and value while it is hovered or dragged.
#include "editor/ValueBubble.h"

namespace quane
{
namespace
{
constexpr const char* indexProperty = "valueBubbleIndex";
// Panel pixels: the text's height, the padding around it and the gap to the slider.
constexpr float textHeight = 11.0f;
constexpr int padding = 4;
constexpr int gap = 3;
} // namespace

ValueBubble::ValueBubble (std::function<juce::String (int)> describeSlider) : describe (std::move (describeSlider))
{
    setInterceptsMouseClicks (false, false);
    setAlwaysOnTop (true);
    setVisible (false);
}

void ValueBubble::watch (juce::Slider& slider, int sliderIndex)
{
    slider.getProperties().set (indexProperty, sliderIndex);
    slider.addMouseListener (this, false);
}

void ValueBubble::mouseEnter (const juce::MouseEvent& e)
{
    showFor (*e.eventComponent);
}

void ValueBubble::mouseExit (const juce::MouseEvent& e)
{
    // A drag keeps the bubble even when the pointer wanders off the slider.
    if (! e.mods.isAnyMouseButtonDown() && e.eventComponent == target.getComponent())
        setVisible (false);
}

void ValueBubble::mouseUp (const juce::MouseEvent& e)
{
    if (! e.eventComponent->isMouseOver())
        setVisible (false);
}

void ValueBubble::showFor (juce::Component& slider)
{
    target = &slider;
    index = slider.getProperties()[indexProperty];
    setVisible (true);
    toFront (false);
    refresh();
}

void ValueBubble::refresh()
{
    auto* slider = dynamic_cast<juce::Slider*> (target.getComponent());
    if (slider == nullptr || ! isVisible() || getParentComponent() == nullptr)
        return;

    text = describe (index);
    const juce::Font font (textHeight, juce::Font::bold);
    int width = 0;
    for (const auto& line : juce::StringArray::fromLines (text))
        width = juce::jmax (width, juce::roundToInt (font.getStringWidthFloat (line) + 0.5f));
    const int lines = juce::StringArray::fromLines (text).size();
    juce::Rectangle<int> area (width + 2 * padding, juce::roundToInt (textHeight * (float) lines) + 2 * padding);

    // Beside the slider at the height of its thumb, inside the panel: right of it if there is room.
    const auto sliderBounds = slider->getBoundsInParent();
    const int thumbY = sliderBounds.getY() + juce::roundToInt (slider->getPositionOfValue (slider->getValue()));
    const auto panel = getParentComponent()->getLocalBounds();
    int x = sliderBounds.getRight() + gap;
    if (x + area.getWidth() > panel.getRight())
        x = sliderBounds.getX() - gap - area.getWidth();
    setBounds (area.withPosition (x, thumbY - area.getHeight() / 2).constrainedWithin (panel));
    repaint();
}

void ValueBubble::paint (juce::Graphics& g)
{
    const auto box = getLocalBounds().toFloat().reduced (0.5f);
    g.setColour (juce::Colour (0xf0fdfdf6));
    g.fillRoundedRectangle (box, 3.0f);
    g.setColour (juce::Colour (0xff3a63b8));
    g.drawRoundedRectangle (box, 3.0f, 1.0f);
    g.setColour (juce::Colours::black);
    g.setFont (juce::Font (textHeight, juce::Font::bold));
    g.drawFittedText (text, getLocalBounds().reduced (padding), juce::Justification::centred,
                      juce::StringArray::fromLines (text).size());
}
} // namespace quane
