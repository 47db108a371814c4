// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The component that carries the editor into the host's window.
#include "host/EditorCompWrapper.h"

#include "host/JuceVSTWrapper.h"
#include "host/NativeWindow.h"

namespace quane
{
namespace
{
// How often the editor's wish for the keyboard is looked at: its menus open and close by themselves.
constexpr int keyboardCheckMs = 100;
} // namespace

EditorCompWrapper::EditorCompWrapper (JuceVSTWrapper& owner, AudioFilterEditor& editor) : wrapper (owner)
{
    setOpaque (true);
    // The editor's bounds as they appear, through its size factor.
    setBounds (editor.getBoundsInParent());
    editor.setTopLeftPosition (0, 0);
    addAndMakeVisible (editor);
    addMouseListener (this, true);
    startTimer (keyboardCheckMs);
}

EditorCompWrapper::~EditorCompWrapper()
{
    // A repaint's idle request still queued must not reach a wrapper that is going.
    cancelPendingUpdate();
    removeMouseListener (this);
    deleteAllChildren();
}

AudioFilterEditor* EditorCompWrapper::getEditor() const
{
    return dynamic_cast<AudioFilterEditor*> (getChildComponent (0));
}

double EditorCompWrapper::windowScale() const
{
    return getPeer() != nullptr ? getPeer()->getPlatformScaleFactor() : 1.0;
}

juce::Point<int> EditorCompWrapper::sizeOnScreen() const
{
    return { juce::roundToInt (getWidth() * windowScale()), juce::roundToInt (getHeight() * windowScale()) };
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
    // The child keeps its own units: the wrapper's area is taken back through its size factor.
    if (auto* child = getChildComponent (0))
        child->setBounds (getLocalBounds().transformedBy (child->getTransform().inverted()));
}

void EditorCompWrapper::childBoundsChanged (juce::Component* child)
{
    child->setTopLeftPosition (0, 0);
    const auto shown = child->getBoundsInParent();
    wrapper.resizeHostWindow (juce::roundToInt (shown.getWidth() * windowScale()),
                              juce::roundToInt (shown.getHeight() * windowScale()));
    setSize (shown.getWidth(), shown.getHeight());
}

void EditorCompWrapper::broughtToFront()
{
    if (auto* frame = native::findMdiFrame (getWindowHandle()))
        native::bringToTop (frame);
}

void EditorCompWrapper::handleCommandMessage (int commandId)
{
    if (commandId == native::displayScaleChangedCommand)
        wrapper.refreshDisplayScale();
}

void EditorCompWrapper::mouseDown (const juce::MouseEvent&)
{
    // The window system may have moved the keyboard to the editor's window with the press.
    passOnKeyboardWish();
}

void EditorCompWrapper::mouseUp (const juce::MouseEvent&)
{
    passOnKeyboardWish();
}

void EditorCompWrapper::timerCallback()
{
    const auto* editor = getEditor();
    if ((editor != nullptr && editor->wantsKeyboard()) != keyboardWanted)
        passOnKeyboardWish();
}

void EditorCompWrapper::passOnKeyboardWish()
{
    const auto* editor = getEditor();
    keyboardWanted = editor != nullptr && editor->wantsKeyboard();
    wrapper.updateKeyboard (keyboardWanted);
}
} // namespace quane
