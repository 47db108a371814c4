// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Running JUCE's messages on the host's thread, which the module does not own: due timers and the
// messages posted to JUCE's hidden window, never the host's own messages.
#include "host/MessageLoop.h"
#include "host/win32/QuitMessage.h"

#include <juce_events/juce_events.h>

namespace juce
{
// JUCE's hidden message window, which receives every message JUCE posts (juce_events).
extern HWND juce_messageWindowHandle;
} // namespace juce

namespace quane
{
void putBackQuit (const MSG& quit)
{
    PostQuitMessage ((int) quit.wParam);
}

void shutDownJuceAtProcessExit()
{
    // The DLL's static objects go when it is unloaded, under the loader lock, where JUCE's threads
    // cannot be stopped: nothing is arranged here.
}

int dispatchPendingMessages (int maxMessages)
{
    if (juce::MessageManager::getInstanceWithoutCreating() == nullptr || juce::juce_messageWindowHandle == nullptr)
        return 0;

    juce::Timer::callPendingTimersSynchronously();

    // Filtered to JUCE's window: the host's messages (and its WM_QUIT) stay in its own loop.
    int count = 0;
    MSG message {};
    while (count < maxMessages && PeekMessageW (&message, juce::juce_messageWindowHandle, 0, 0, PM_REMOVE))
    {
        if (message.message == WM_QUIT)
        {
            putBackQuit (message);
            break;
        }
        DispatchMessageW (&message);
        ++count;
    }
    return count;
}
} // namespace quane
