// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The VST 2.x instance: the editor's window inside the host's, its idle time and its size.
#include "host/JuceVSTWrapper.h"

#include "host/EditorCompWrapper.h"
#include "host/HostIdle.h"
#include "host/MessageLoop.h"
#include "host/NativeWindow.h"
#include "host/ScaleFactorRange.h"

namespace quane
{
namespace
{
// The host is asked for idle time at most this often while the user holds a mouse button.
constexpr juce::uint32 hostIdleIntervalMs = 20;
// Bounded, so that a message that keeps posting itself cannot hold the host's thread.
constexpr int maximumMessagesPerIdle = 64;
} // namespace

vst::intptr JuceVSTWrapper::editorGetRect (void* ptr)
{
    // Without a place to put the rectangle's address the host learns nothing: no editor is made.
    if (ptr == nullptr)
        return 0;

    ensureEditorWrapper();
    if (editorComp == nullptr)
        return 0;

    // The size on screen, through the editor's size factor.
    const auto size = static_cast<EditorCompWrapper&> (*editorComp).sizeOnScreen();
    editorRect.top = 0;
    editorRect.left = 0;
    editorRect.bottom = (vst::int16) size.y;
    editorRect.right = (vst::int16) size.x;
    *static_cast<vst::ERect**> (ptr) = &editorRect;
    return (vst::intptr) &editorRect;
}

vst::intptr JuceVSTWrapper::editorOpen (void* parentWindow)
{
    const native::ScopedErrorTrap trap;

    // An editor already open, or made only to answer effEditGetRect, is replaced.
    deleteEditor();
    ensureEditorWrapper();
    if (editorComp == nullptr)
        return 0;

    editorComp->setOpaque (true);
    editorComp->setVisible (false);
    if (! native::placeInHostWindow (*editorComp, parentWindow))
    {
        // No window to live in (null, stale or not a window at all): show nothing, keep nothing.
        deleteEditor();
        return 0;
    }

    hostWindow = parentWindow;
    refreshDisplayScale();
    updateKeyboard (false);
    editorComp->setVisible (true);
    return 1;
}

vst::intptr JuceVSTWrapper::editorClose()
{
    deleteEditor();
    return 0;
}

vst::intptr JuceVSTWrapper::editorIdle()
{
    runEditorIdle();
    return 0;
}

void JuceVSTWrapper::ensureEditorWrapper()
{
    if (editorComp != nullptr)
        return;

    auto* editor = filter->obtainEditor();
    if (editor == nullptr)
        return;

    editor->setOpaque (true);
    editor->setVisible (true);
    // The factors first, so that the wrapper starts at the editor's size on screen.
    editor->setDisplayScaleFactor (native::displayScaleFactor (nullptr));
    hostScaleFactorGiven = hostScaleFactor.load();
    if (hostScaleFactorGiven != 0.0f)
        editor->setHostScaleFactor (hostScaleFactorGiven);
    editorComp = std::make_unique<EditorCompWrapper> (*this, *editor);
}

void JuceVSTWrapper::takeHostScaleFactor (float factor)
{
    // Garbage is dropped here, so that it cannot displace a factor the host gave before.
    if (! isUsableScaleFactor (factor))
        return;
    hostScaleFactor = factor;
    if (juce::MessageManager::existsAndIsCurrentThread())
        passOnHostScaleFactor();
}

void JuceVSTWrapper::passOnHostScaleFactor()
{
    const float factor = hostScaleFactor.load();
    if (factor == hostScaleFactorGiven || editorComp == nullptr)
        return;
    hostScaleFactorGiven = factor;
    if (auto* editor = static_cast<EditorCompWrapper&> (*editorComp).getEditor())
        editor->setHostScaleFactor (factor);
}

void JuceVSTWrapper::refreshDisplayScale()
{
    if (editorComp == nullptr)
        return;
    const native::ScopedErrorTrap trap;
    if (auto* editor = static_cast<EditorCompWrapper&> (*editorComp).getEditor())
        editor->setDisplayScaleFactor (native::displayScaleFactor (hostWindow));
}

void JuceVSTWrapper::updateKeyboard (bool wantedByEditor)
{
    if (editorComp != nullptr && hostWindow != nullptr)
        native::setKeyboardTaken (*editorComp, hostWindow, wantedByEditor);
}

void JuceVSTWrapper::deleteEditor()
{
    const ScopedHostIdleGuard guard;
    if (editorComp == nullptr)
        return;

    const native::ScopedErrorTrap trap;
    filter->editorClosing (static_cast<EditorCompWrapper&> (*editorComp).getEditor());
    // The wrapper deletes the editor; both go before the model they refer to.
    editorComp.reset();
    hostWindow = nullptr;
}

void JuceVSTWrapper::runEditorIdle()
{
    if (isHostIdleGuardSet())
        return;

    const ScopedHostIdleGuard guard;
    const native::ScopedErrorTrap trap;
    // Timers, repaints and posted messages are due; a dispatched message may close the editor.
    dispatchPendingMessages (maximumMessagesPerIdle);
    if (editorComp != nullptr && editorComp->getPeer() != nullptr)
        native::dispatchPendingEvents (*editorComp);
}

void JuceVSTWrapper::tryHostIdle()
{
    // Only while the user presses or drags in one of JUCE's windows.
    if (! juce::ModifierKeys::currentModifiers.isAnyMouseButtonDown() || isHostIdleGuardSet())
        return;

    const auto now = juce::Time::getMillisecondCounter();
    if (now > lastHostIdleTime() + hostIdleIntervalMs && editorComp != nullptr)
    {
        setLastHostIdleTime (now);
        const ScopedHostIdleGuard guard;
        // The host may close the editor or the whole instance in here: nothing of this object
        // is touched afterwards.
        callHost (vst::audioMasterIdle);
    }
}

void JuceVSTWrapper::resizeHostWindow (int width, int height)
{
    if (editorComp == nullptr)
        return;

    const bool hostResized = callHost (vst::audioMasterCanDo, 0, 0, const_cast<char*> ("sizeWindow")) != 0
                             && callHost (vst::audioMasterSizeWindow, width, height) != 0;
    if (! hostResized)
        native::resizeWindowChain (*editorComp, width, height);

    if (auto* peer = editorComp->getPeer())
        peer->handleMovedOrResized();
}
} // namespace quane
