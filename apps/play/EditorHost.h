// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The module's editor inside the player's window, hosted as a VST 2.x host does it.
#pragma once

#include "hostkit/HostedEffect.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace quane::play
{
/** A component that holds a native child window of the player's own window and opens the
    module's editor in it (effEditGetRect, effEditOpen with the window's id), gives it idle time
    (effEditIdle) and follows the size the editor asks for (audioMasterSizeWindow). The
    keyboard stays the player's: input focus left on the editor is taken back.
    JUCE's XEmbedComponent would need JUCE's GUI module built with its embedding hook, which the
    module's shared JUCE library leaves out; a plain child window is what VST hosts hand over. */
class EditorHost : public juce::Component, private juce::Timer
{
public:
    explicit EditorHost (hostkit::HostedEffect& effect);
    ~EditorHost() override;

    /** The editor's size from effEditGetRect, or a placeholder when the module shows none. */
    juce::Rectangle<int> getEditorBounds() const noexcept { return editorBounds; }

    /** Called after the X input focus was taken back from the editor to the player's window. */
    std::function<void()> onKeyboardTakenBack;

    /** Called after the editor asked for a new size and this component took it. */
    std::function<void()> onEditorResized;

    void paint (juce::Graphics& g) override;
    void resized() override;
    void moved() override;
    void parentHierarchyChanged() override;

private:
    struct NativeWindow;

    void timerCallback() override;
    void openWhenShowing();
    void closeEditor();
    void placeNativeWindow();

    hostkit::HostedEffect& effect;
    juce::Rectangle<int> editorBounds;
    std::unique_ptr<NativeWindow> window;
    bool open = false, hasEditor = false;
};
} // namespace quane::play
