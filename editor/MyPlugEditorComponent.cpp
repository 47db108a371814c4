// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor panel: thirty sliders and nine selectors over the background picture.
#include "editor/MyPlugEditorComponent.h"

#include "editor/BackgroundPicture.h"
#include "editor/ShinyLookAndFeel.h"

namespace quane
{
MyPlugEditorComponent::MyPlugEditorComponent (MyPlugJuceFilter& modelToEdit)
    : AudioFilterEditor (modelToEdit), model (modelToEdit)
{
    setSize (layout::editorWidth, layout::editorHeight);
    model.addChangeListener (this);

    // The default must be in place before the controls exist, or they keep JUCE's own colours.
    juce::LookAndFeel::setDefaultLookAndFeel (&ShinyLookAndFeel::getShared());

    background = juce::FillType (decodeBackgroundPicture(), juce::AffineTransform());
    background.setOpacity (1.0f);

    selectorAnnouncements.addActionListener (this);
    for (int j = 0; j < layout::selectorCount; ++j)
        addSelector (j);
    for (int i = 0; i < layout::sliderCount; ++i)
        addSlider (i);

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
    sliders[(size_t) index] = std::move (slider);
}

void MyPlugEditorComponent::paint (juce::Graphics& g)
{
    g.setFillType (background);
    g.fillRect (getLocalBounds());
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
