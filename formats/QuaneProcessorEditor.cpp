// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor panel inside JUCE's editor window of the VST3 and LV2 plug-ins.
#include "formats/QuaneProcessorEditor.h"

#include "editor/MyPlugEditorComponent.h"

namespace quane
{
namespace
{
constexpr int changePollMilliseconds = 30; // the panel follows host automation within a frame or two
} // namespace

QuaneProcessorEditor::QuaneProcessorEditor (QuaneAudioProcessor& processor)
    : AudioProcessorEditor (processor), quane (processor)
{
    auto& model = quane.getModel();
    panel.reset (model.obtainEditor());
    addAndMakeVisible (*panel);
    panel->setTopLeftPosition (0, 0);
    childBoundsChanged (panel.get());

    if (auto* controls = dynamic_cast<MyPlugEditorComponent*> (panel.get()))
        for (int i = 0; i < layout::sliderCount; ++i)
            controls->getSlider (i).addListener (this);

    startTimer (changePollMilliseconds);
}

QuaneProcessorEditor::~QuaneProcessorEditor()
{
    stopTimer();
    for (int i = 0; i < layout::sliderCount; ++i)
        quane.endEditorGesture (i);
    quane.getModel().editorClosing (panel.get());
    panel.reset();
}

void QuaneProcessorEditor::setScaleFactor (float newScale)
{
    // The host's display scale (VST3 content scale, LV2 UI scale factor) goes to the panel, which
    // draws itself anew at that size; the user's own choice in the panel's menu still comes first.
    panel->setHostScaleFactor (newScale);
}

void QuaneProcessorEditor::childBoundsChanged (juce::Component* child)
{
    // The panel scales by its own transform: the window follows the size it takes on screen.
    if (child == panel.get())
    {
        const auto onScreen = panel->getBoundsInParent();
        setSize (onScreen.getWidth(), onScreen.getHeight());
    }
}

int QuaneProcessorEditor::sliderIndex (const juce::Slider* slider) const
{
    if (auto* controls = dynamic_cast<MyPlugEditorComponent*> (panel.get()))
        for (int i = 0; i < layout::sliderCount; ++i)
            if (&controls->getSlider (i) == slider)
                return i;
    return -1;
}

void QuaneProcessorEditor::sliderDragStarted (juce::Slider* slider)
{
    const int index = sliderIndex (slider);
    if (index >= 0)
        quane.beginEditorGesture (index);
}

void QuaneProcessorEditor::sliderDragEnded (juce::Slider* slider)
{
    quane.endEditorGesture (sliderIndex (slider));
}

void QuaneProcessorEditor::timerCallback()
{
    if (quane.takeUnannouncedChange())
        quane.getModel().sendChangeMessage();
}
} // namespace quane
