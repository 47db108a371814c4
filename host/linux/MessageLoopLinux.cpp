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
void ensureMessageManager()
{
    juce::MessageManager::getInstance();
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
