// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The component that carries the editor into the host's window.
#pragma once

#include "host/AudioFilterBase.h"

namespace quane
{
class JuceVSTWrapper;

/** Holds the model's editor as its only child, owns it, and is the component whose native window
    becomes a child of the host's window. Message thread only.

    It keeps the host's window sized to the editor as it appears on screen (its bounds through its
    size factor), raises the host's frame when brought to the front, and after every repaint asks
    its wrapper (asynchronously) whether the host wants an idle call, since a host may starve its
    own idle loop while the user drags a control. After every click, and whenever the editor's wish
    changes, it tells its wrapper whether the editor wants the keyboard. */
class EditorCompWrapper : public juce::Component, private juce::AsyncUpdater, private juce::Timer
{
public:
    /** Takes the editor at its current bounds and shows it at (0, 0). */
    EditorCompWrapper (JuceVSTWrapper& owner, AudioFilterEditor& editor);
    ~EditorCompWrapper() override;

    /** The editor child, or null if the child is no editor. */
    AudioFilterEditor* getEditor() const;

    /** The wrapper's size in the window system's pixels (JUCE's own window scale applied). */
    juce::Point<int> sizeOnScreen() const;

    void paintOverChildren (juce::Graphics&) override;
    void resized() override;
    void childBoundsChanged (juce::Component* child) override;
    void broughtToFront() override;
    void handleCommandMessage (int commandId) override;
    void mouseDown (const juce::MouseEvent&) override;
    void mouseUp (const juce::MouseEvent&) override;

private:
    void handleAsyncUpdate() override;
    void timerCallback() override;
    void passOnKeyboardWish();
    /** JUCE's own scale of the native window: above 1 in a DPI-aware Windows host. */
    double windowScale() const;

    JuceVSTWrapper& wrapper;
    bool keyboardWanted = false;

    JUCE_DECLARE_NON_COPYABLE (EditorCompWrapper)
};
} // namespace quane
