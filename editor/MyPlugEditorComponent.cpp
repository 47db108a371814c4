// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor panel: thirty sliders and nine selectors over the background picture.
#include "editor/MyPlugEditorComponent.h"

#include "editor/ScaleMenu.h"
#include "editor/ScalePreference.h"
#include "editor/ShinyLookAndFeel.h"

#include <algorithm>
#include <cmath>

namespace quane
{
MyPlugEditorComponent::MyPlugEditorComponent (MyPlugJuceFilter& modelToEdit)
    : AudioFilterEditor (modelToEdit), model (modelToEdit)
{
    setSize (layout::editorWidth, layout::editorHeight);
    model.addChangeListener (this);

    // The default must be in place before the controls exist, or they keep JUCE's own colours.
    juce::LookAndFeel::setDefaultLookAndFeel (&ShinyLookAndFeel::getShared());

    selectorAnnouncements.addActionListener (this);
    for (int j = 0; j < layout::selectorCount; ++j)
        addSelector (j);
    for (int i = 0; i < layout::sliderCount; ++i)
        addSlider (i);
    addChildComponent (bubble);

    // A click leaves the keyboard with the host: only the menus take it, while they are open.
    for (auto* component : getChildren())
    {
        component->setMouseClickGrabsKeyboardFocus (false);
        component->setWantsKeyboardFocus (false);
    }
    setMouseClickGrabsKeyboardFocus (false);

    sources.user = scalepreference::read();
    applyScale();
    refreshFromModel();
}

MyPlugEditorComponent::~MyPlugEditorComponent()
{
    model.removeChangeListener (this);
    selectorAnnouncements.removeActionListener (this);
    // The controls go with their owners below; the look-and-feel stays for the next editor.
}

void MyPlugEditorComponent::addSelector (int index)
{
    const auto& control = patch::rows[patch::firstSelector + index].control;
    auto selector = std::make_unique<juce::ComboBox> (juce::String (index));
    selector->setBounds (control.x, control.y, control.width, control.height);
    for (int item = 0; item < control.itemCount; ++item)
        selector->addItem (control.items[item], item + 1);

    // The selection change is delivered asynchronously by the ComboBox; it is passed on as an
    // action message carrying the selector's name, as the panel's announcements always were.
    selector->onChange = [this, name = selector->getName()] { selectorAnnouncements.sendActionMessage (name); };
    selector->setTooltip (patch::rows[patch::firstSelector + index].name);
    addAndMakeVisible (*selector);
    selectors[(size_t) index] = std::move (selector);
}

void MyPlugEditorComponent::addSlider (int index)
{
    const auto& control = patch::rows[index].control;
    auto slider = std::make_unique<SnappingSlider> (juce::String (index));
    slider->setSliderStyle (juce::Slider::LinearVertical);
    slider->setTextBoxStyle (juce::Slider::NoTextBox, false, 0, 0);
    slider->addListener (this);
    addAndMakeVisible (*slider);

    slider->setRange (control.minimum, control.maximum, control.step);
    slider->setBounds (control.x, control.y, control.width, control.height);
    if (control.squareLaw)
        slider->setSkewFactor (layout::squareLawSkew);
    slider->snapTarget = control.snapTarget;
    slider->snapTolerance = control.snapTolerance;
    slider->setTooltip (model.parameterName (index));
    bubble.watch (*slider, index);
    sliders[(size_t) index] = std::move (slider);
}

void MyPlugEditorComponent::paint (juce::Graphics& g)
{
    background.paint (g, getLocalBounds());
}

void MyPlugEditorComponent::mouseDown (const juce::MouseEvent& e)
{
    // Only a click on the panel's own background: the controls have their own right-click use.
    if (! e.mods.isPopupMenu() || e.eventComponent != this)
        return;

    scaleMenuOpen = true;
    showScaleMenu (
        *this, sources.user, [this] (std::optional<float> pick) { chooseScale (pick); },
        [this] { scaleMenuOpen = false; });
}

void MyPlugEditorComponent::chooseScale (std::optional<float> fixedFactor)
{
    sources.user = fixedFactor;
    scalepreference::write (fixedFactor);
    applyScale();
}

void MyPlugEditorComponent::setHostScaleFactor (float factor)
{
    if (const auto offered = scale::nearestOffered (factor))
    {
        sources.host = offered;
        applyScale();
    }
}

void MyPlugEditorComponent::setDisplayScaleFactor (float factor)
{
    if (const auto offered = scale::nearestOffered (factor))
    {
        sources.display = offered;
        applyScale();
    }
}

bool MyPlugEditorComponent::wantsKeyboard() const
{
    return scaleMenuOpen
           || std::any_of (selectors.begin(), selectors.end(), [] (const auto& s) { return s->isPopupActive(); });
}

void MyPlugEditorComponent::parentHierarchyChanged()
{
    // The window the panel lands in may already scale by itself (a DPI-aware Windows host).
    applyScale();
}

void MyPlugEditorComponent::applyScale()
{
    const auto* peer = getPeer();
    const float windowScale = peer != nullptr ? (float) peer->getPlatformScaleFactor() : 1.0f;
    const float factor = sources.effective() / windowScale;
    // At 100 % there is no transform at all: the panel draws exactly as it always did.
    setTransform (std::abs (factor - 1.0f) < 1.0e-4f ? juce::AffineTransform() : juce::AffineTransform::scale (factor));
}

juce::String MyPlugEditorComponent::describeSlider (int index)
{
    return model.parameterName (index) + "\n" + model.parameterText (index);
}

void MyPlugEditorComponent::changeListenerCallback (juce::ChangeBroadcaster* source)
{
    if (source == &model)
        refreshFromModel();
}

void MyPlugEditorComponent::refreshFromModel()
{
    // The lock is held only for the copy: moving controls and asking for repaints must never keep
    // the audio thread waiting for its next block.
    std::array<float, patch::valueCount> values;
    {
        const juce::ScopedLock lock (model.processLock);
        for (int i = 0; i < patch::valueCount; ++i)
            values[(size_t) i] = model.parameterValue (i);
    }

    // The slider limits the value to its range and step; nothing is announced and nothing snaps.
    for (int i = 0; i < layout::sliderCount; ++i)
        sliders[(size_t) i]->setValue ((double) values[(size_t) i], juce::dontSendNotification);
    bubble.refresh();

    // A selection that really changes is announced later and written back once; a value that is
    // no item id of the selector leaves it as it is (ComboBox would otherwise clear it).
    for (int j = 0; j < layout::selectorCount; ++j)
    {
        auto& selector = *selectors[(size_t) j];
        const int id = truncateToInt (values[(size_t) (patch::firstSelector + j)]);
        if (selector.indexOfItemId (id) >= 0)
            selector.setSelectedId (id, juce::sendNotificationAsync);
    }
}

void MyPlugEditorComponent::sliderValueChanged (juce::Slider* slider)
{
    // Only user changes arrive here: the refresh sets sliders without notification.
    for (int i = 0; i < layout::sliderCount; ++i)
    {
        if (sliders[(size_t) i].get() == slider)
        {
            model.setParameterAndNotifyHost (i, (float) slider->getValue());
            bubble.refresh();
            return;
        }
    }
}

void MyPlugEditorComponent::actionListenerCallback (const juce::String& message)
{
    for (int j = 0; j < layout::selectorCount; ++j)
    {
        auto& selector = *selectors[(size_t) j];
        if (message == selector.getName())
        {
            model.setParameterAndNotifyHost (patch::firstSelector + j, (float) selector.getSelectedId());
            return;
        }
    }
}
} // namespace quane
