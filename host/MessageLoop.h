// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Running JUCE's messages on the host's thread, which the module does not own.
#pragma once

namespace quane
{
/** Makes sure JUCE's message manager exists; the first caller's thread becomes the message thread. */
void ensureMessageManager();

/** True on the message thread, answered without a lock: JUCE asks under a mutex, and hosts make
    several dispatcher calls from their audio thread. False before ensureMessageManager. */
bool isMessageThread() noexcept;

/** Live plug-in instances in the process; each wrapper counts itself for its lifetime. */
void noteInstanceCreated() noexcept;
void noteInstanceDeleted() noexcept;
int liveInstanceCount() noexcept;

/** Arranges, once, for JUCE to be shut down at the end of the process if no instance is alive by
    then: its message manager and singletons, the timer thread among them, go before the module's
    static objects, which that thread would otherwise go on using. Call after a timer has started,
    so that everything the shutdown touches was made before the arrangement. Per platform: where
    the module's static objects go at unloading under a loader lock, nothing is arranged. */
void shutDownJuceAtProcessExit();

/** Runs the messages that are ready on the message thread (timer ticks, change messages, async
    updates), at most maxMessages of them, without waiting. Returns how many ran.

    Inside a host nothing else runs them: the host owns the thread's event loop and only lends
    the module time through its idle calls. */
int dispatchPendingMessages (int maxMessages = 256);
} // namespace quane
