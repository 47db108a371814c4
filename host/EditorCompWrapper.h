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

    It keeps the host's window sized to the editor, raises the host's frame when brought to the
    front, and after every repaint asks its wrapper (asynchronously) whether the host wants an
    idle call, since a host may starve its own idle loop while the user drags a control. */
class EditorCompWrapper : public juce::Component, private juce::AsyncUpdater
{
public:
    /** Takes the editor at its current bounds and shows it at (0, 0). */
    EditorCompWrapper (JuceVSTWrapper& owner, AudioFilterEditor& editor);
    ~EditorCompWrapper() override;

    /** The editor child, or null if the child is no editor. */
    AudioFilterEditor* getEditor() const;

    void paintOverChildren (juce::Graphics&) override;
    void resized() override;
    void childBoundsChanged (juce::Component* child) override;
    void broughtToFront() override;

private:
    void handleAsyncUpdate() override;

    JuceVSTWrapper& wrapper;

    JUCE_DECLARE_NON_COPYABLE (EditorCompWrapper)
};
} // namespace quane
