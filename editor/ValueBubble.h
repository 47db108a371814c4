// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The small bubble that shows a slider's parameter name and value while it is hovered or dragged.
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>

namespace quane
{
/** A child of the panel, so it scales with it, that never takes the mouse. It appears beside a
    watched slider when the pointer enters it, follows its value while it is dragged, and goes
    when the pointer has left and the button is up. Message thread. */
class ValueBubble : public juce::Component
{
public:
    /** describe (index) gives the bubble's text for the slider watched with that index. */
    explicit ValueBubble (std::function<juce::String (int)> describe);

    /** Watches the slider, which must outlive the bubble or be unwatched first. */
    void watch (juce::Slider& slider, int index);

    /** Shows the watched slider's text anew, after its value changed. */
    void refresh();

    /** The slider index the bubble shows, or -1 while hidden. */
    int shownIndex() const { return isVisible() ? index : -1; }

    void paint (juce::Graphics& g) override;

private:
    void mouseEnter (const juce::MouseEvent& e) override;
    void mouseExit (const juce::MouseEvent& e) override;
    void mouseUp (const juce::MouseEvent& e) override;
    void showFor (juce::Component& slider);

    std::function<juce::String (int)> describe;
    juce::Component::SafePointer<juce::Component> target;
    int index = -1;
    juce::String text;
};
} // namespace quane
