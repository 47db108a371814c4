// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor panel: thirty sliders and nine selectors over the background picture.
#pragma once

#include "editor/BackgroundPicture.h"
#include "editor/EditorLayout.h"
#include "editor/EditorScale.h"
#include "editor/SnappingSlider.h"
#include "editor/ValueBubble.h"
#include "plugin/MyPlugJuceFilter.h"

#include <array>
#include <memory>

namespace quane
{
/** The plug-in's editor, 540 x 340 panel pixels, made by the model and owned by the host adaptation.

    Slider i edits patch value i, selector j patch value 30 + j; each is named by its index.
    Everything runs on the message thread. The model's change message makes the editor copy all
    39 values under processLock and then, with the lock released, move its controls without
    announcing the sliders; a selector whose selection really changes announces itself (posted)
    and writes its value back once. User changes go to the model through setParameterAndNotifyHost, which also tells the host.

    The panel is shown at one of the offered factors (100 % to 300 %) through its transform: its
    own bounds, its controls and every mouse position stay in panel pixels, and everything is
    drawn anew at the device's resolution. The factor is the user's choice (its right-click menu,
    kept in the user's settings file), else the host's, else the display's, else 100 %. A change
    moves the panel's bounds in its parent, which the host adaptation passes on to the host.

    The controls never take the keyboard on a click: keys stay with the host, except while a
    selector's or the scale's menu is open (wantsKeyboard).

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
    void mouseDown (const juce::MouseEvent& e) override;
    void parentHierarchyChanged() override;

    /** The host's factor (1 = 100 %), from whichever plug-in format hosts the panel; the nearest
        offered factor is taken, a value that is no factor (0, negative, NaN, < 0.5, > 4) ignored. */
    void setHostScaleFactor (float factor) override;
    /** The display's factor, as the window system tells it; taken like the host's. */
    void setDisplayScaleFactor (float factor) override;
    bool wantsKeyboard() const override;

    /** The factor the panel is shown at (1 = 100 %). */
    float getScaleFactor() const { return sources.effective(); }
    /** Fixes the factor as if the user had picked it in the menu (none: follow the display). */
    void chooseScale (std::optional<float> fixedFactor);

    SnappingSlider& getSlider (int index) const { return *sliders[(size_t) index]; }
    juce::ComboBox& getSelector (int index) const { return *selectors[(size_t) index]; }

private:
    void changeListenerCallback (juce::ChangeBroadcaster* source) override;
    void actionListenerCallback (const juce::String& message) override;
    void sliderValueChanged (juce::Slider* slider) override;

    void addSelector (int index);
    void addSlider (int index);
    void refreshFromModel();
    void applyScale();
    juce::String describeSlider (int index);

    MyPlugJuceFilter& model;
    PanelBackground background;
    scale::ScaleSources sources;
    bool scaleMenuOpen = false;
    // Declared before the controls so that it outlives the selectors that announce through it.
    juce::ActionBroadcaster selectorAnnouncements;
    // Before the controls they watch, so that they outlive them.
    ValueBubble bubble { [this] (int index) { return describeSlider (index); } };
    juce::TooltipWindow tooltips { this };
    std::array<std::unique_ptr<SnappingSlider>, layout::sliderCount> sliders;
    std::array<std::unique_ptr<juce::ComboBox>, layout::selectorCount> selectors;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (MyPlugEditorComponent)
};
} // namespace quane
