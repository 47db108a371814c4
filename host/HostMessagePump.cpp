// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Giving JUCE's messages time on the host's thread.
#include "host/HostMessagePump.h"

#include "host/HostIdle.h"
#include "host/MessageLoop.h"
#include "host/NativeWindow.h"

#include <juce_events/juce_events.h>

namespace quane
{
namespace
{
constexpr juce::uint32 minimumPumpIntervalMs = 5;
// Bounded so that a message that keeps posting itself cannot hold the host's thread.
constexpr int maximumMessagesPerPump = 64;

bool pumping = false;
juce::uint32 lastPumpTime = 0;
} // namespace

void giveMessagesTime (bool force)
{
    if (! isMessageThread() || pumping || isHostIdleGuardSet())
        return;

    const auto now = juce::Time::getMillisecondCounter();
    if (! force && now - lastPumpTime < minimumPumpIntervalMs)
        return;

    lastPumpTime = now;
    pumping = true;
    {
        // Messages may paint or handle the editor's window events: its X errors stay in the module.
        const native::ScopedErrorTrap trap;
        dispatchPendingMessages (maximumMessagesPerPump);
    }
    pumping = false;
}
} // namespace quane
