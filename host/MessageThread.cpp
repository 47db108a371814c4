// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The message thread's identity and the count of live instances, alike on every platform.
#include "host/MessageLoop.h"

#include <juce_events/juce_events.h>

#include <atomic>

namespace quane
{
namespace
{
// The module never moves the message thread, so its id, once known, stays valid.
std::atomic<juce::Thread::ThreadID> messageThreadId { nullptr };
std::atomic<int> liveInstances { 0 };
} // namespace

void ensureMessageManager()
{
    if (messageThreadId.load() == nullptr)
        messageThreadId = juce::MessageManager::getInstance()->getCurrentMessageThread();
}

bool isMessageThread() noexcept
{
    const auto id = messageThreadId.load();
    return id != nullptr && id == juce::Thread::getCurrentThreadId();
}

void noteInstanceCreated() noexcept
{
    ++liveInstances;
}

void noteInstanceDeleted() noexcept
{
    --liveInstances;
}

int liveInstanceCount() noexcept
{
    return liveInstances.load();
}
} // namespace quane
