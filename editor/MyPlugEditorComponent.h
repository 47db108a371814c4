// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor panel: thirty sliders and nine selectors over the background picture.
#pragma once

#include "editor/EditorLayout.h"
#include "editor/SnappingSlider.h"
#include "plugin/MyPlugJuceFilter.h"

#include <array>
#include <memory>

namespace quane
{
/** The plug-in's editor, 540 x 340, made by the model and owned by the host adaptation.

    Slider i edits patch value i, selector j patch value 30 + j; each is named by its index.
    Everything runs on the message thread. The model's change message makes the editor copy all
    39 values under processLock and then, with the lock released, move its controls without
    announcing the sliders; a selector whose selection really changes announces itself (posted)
    and writes its value back once. User changes go to the model through setParameterAndNotifyHost, which also tells the host.

    The model must outlive the editor. Messages still queued when the editor goes (the model's
    change message, a selector's change or announcement) are dropped, never delivered to it. */
class MyPlugEditorComponent : public AudioFilterEditor,
                              private juce::ChangeListener,
                              private juce::ActionListener,
                              private juce::Slider::Listener
{
public:
    explicit MyPlugEditorComponent (MyPlugJuceFilter& model);
    ~MyPlugEditorComponent() override;

    void paint (juce::Graphics& g) override;

    SnappingSlider& getSlider (int index) const { return *sliders[(size_t) index]; }
    juce::ComboBox& getSelector (int index) const { return *selectors[(size_t) index]; }

private:
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;
    void actionListenerCallback (const juce::String& message) override;
    void sliderValueChanged (juce::Slider* slider) override;

    void addSelector (int index);
    void addSlider (int index);
    void refreshFromModel();

    MyPlugJuceFilter& model;
    juce::FillType background;
    // Declared before the controls so that it outlives the selectors that announce through it.
    juce::ActionBroadcaster selectorAnnouncements;
    std::array<std::unique_ptr<SnappingSlider>, layout::sliderCount> sliders;
    std::array<std::unique_ptr<juce::ComboBox>, layout::selectorCount> selectors;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MyPlugEditorComponent)
};
} // namespace quane
