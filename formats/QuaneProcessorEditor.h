// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor panel inside JUCE's editor window of the VST3 and LV2 plug-ins.
#pragma once

#include "formats/QuaneAudioProcessor.h"

namespace quane
{
/** The same 540 x 340 panel the VST 2.x module shows (made by the model), as the host's editor.

    Message thread only. A slider's drag is one gesture for the host (begin at the press, end at
    the release); other edits are gestures of their own. A timer sends the model's change message
    for patch changes that host parameters made on the audio thread, so the panel follows them.
    The host's scale factor arrives in setScaleFactor and goes to the panel; the window takes the
    size the panel shows at (540 x 340 at 100 %). */
class QuaneProcessorEditor : public juce::AudioProcessorEditor, private juce::Slider::Listener, private juce::Timer
{
public:
    explicit QuaneProcessorEditor (QuaneAudioProcessor& processor);
    ~QuaneProcessorEditor() override;

    void setScaleFactor (float newScale) override;
    void childBoundsChanged (juce::Component* child) override;

    AudioFilterEditor& getPanel() const noexcept { return *panel; }

private:
    void sliderValueChanged (juce::Slider*) override {}
    void sliderDragStarted (juce::Slider* slider) override;
    void sliderDragEnded (juce::Slider* slider) override;
    void timerCallback() override;
    int sliderIndex (const juce::Slider* slider) const;

    QuaneAudioProcessor& quane;
    std::unique_ptr<AudioFilterEditor> panel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QuaneProcessorEditor)
};
} // namespace quane
