// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Running JUCE's messages on the host's thread, which the module does not own: JUCE's own queue and X connection.
#include "host/MessageLoop.h"

#include <juce_events/juce_events.h>

namespace juce
{
// Part of juce_events on every desktop platform, though not in its public headers.
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce

namespace quane
{
namespace
{
/** Destroyed at process exit (the module is never unloaded before, see QuaneModule.cmake) ahead of
    the static objects made when the module was loaded. With an instance still alive (a host that
    exits without closing it) JUCE is left as it is. */
struct JuceShutdownAtExit
{
    ~JuceShutdownAtExit()
    {
        if (liveInstanceCount() == 0 && juce::MessageManager::getInstanceWithoutCreating() != nullptr)
            juce::shutdownJuce_GUI();
    }
};
} // namespace

void shutDownJuceAtProcessExit()
{
    static JuceShutdownAtExit atExit;
}

int dispatchPendingMessages (int maxMessages)
{
    if (juce::MessageManager::getInstanceWithoutCreating() == nullptr)
        return 0;

    int count = 0;
    while (count < maxMessages && juce::dispatchNextMessageOnSystemQueue (true))
        ++count;
    return count;
}
} // namespace quane
