// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The component that carries the editor into the host's window.
#include "host/EditorCompWrapper.h"

#include "host/JuceVSTWrapper.h"
#include "host/NativeWindow.h"

namespace quane
{
EditorCompWrapper::EditorCompWrapper (JuceVSTWrapper& owner, AudioFilterEditor& editor) : wrapper (owner)
{
    setOpaque (true);
    setBounds (editor.getBounds());
    editor.setTopLeftPosition (0, 0);
    addAndMakeVisible (editor);
}

EditorCompWrapper::~EditorCompWrapper()
{
    // A repaint's idle request still queued must not reach a wrapper that is going.
    cancelPendingUpdate();
    deleteAllChildren();
}

AudioFilterEditor* EditorCompWrapper::getEditor() const
{
    return dynamic_cast<AudioFilterEditor*> (getChildComponent (0));
}

void EditorCompWrapper::paintOverChildren (juce::Graphics&)
{
    triggerAsyncUpdate();
}

void EditorCompWrapper::handleAsyncUpdate()
{
    wrapper.tryHostIdle();
}

void EditorCompWrapper::resized()
{
    if (auto* child = getChildComponent (0))
        child->setBounds (getLocalBounds());
}

void EditorCompWrapper::childBoundsChanged (juce::Component* child)
{
    child->setTopLeftPosition (0, 0);
    const int width = child->getWidth(), height = child->getHeight();
    wrapper.resizeHostWindow (width, height);
    setSize (width, height);
}

void EditorCompWrapper::broughtToFront()
{
    if (auto* frame = native::findMdiFrame (getWindowHandle()))
        native::bringToTop (frame);
}
} // namespace quane
