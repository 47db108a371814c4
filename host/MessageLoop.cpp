// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Running JUCE's messages on the host's thread, which the module does not own.
#include "host/MessageLoop.h"

#include <juce_events/juce_events.h>

#include <atomic>

namespace juce
{
// Part of juce_events on every desktop platform, though not in its public headers.
bool dispatchNextMessageOnSystemQueue (bool returnIfNoPendingMessages);
} // namespace juce

namespace quane
{
namespace
{
// The module never moves the message thread, so its id, once known, stays valid.
std::atomic<juce::Thread::ThreadID> messageThreadId { nullptr };
std::atomic<int> liveInstances { 0 };

/** Destroyed at process exit before the static objects made when the module was loaded. With an
    instance still alive (a host that exits without closing it) JUCE is left as it is. */
struct JuceShutdownAtExit
{
    ~JuceShutdownAtExit()
    {
        if (liveInstances.load() == 0 && juce::MessageManager::getInstanceWithoutCreating() != nullptr)
            juce::shutdownJuce_GUI();
    }
};
} // namespace

void ensureMessageManager()
{
    if (messageThreadId.load() == nullptr)
        messageThreadId = juce::MessageManager::getInstance()->getCurrentMessageThread();
}

void noteInstanceCreated() noexcept
{
    ++liveInstances;
}

void noteInstanceDeleted() noexcept
{
    --liveInstances;
}

void shutDownJuceAtProcessExit()
{
    static JuceShutdownAtExit atExit;
}

bool isMessageThread() noexcept
{
    const auto id = messageThreadId.load();
    return id != nullptr && id == juce::Thread::getCurrentThreadId();
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
