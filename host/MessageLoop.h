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

/** Runs the messages that are ready on the message thread (timer ticks, change messages, async
    updates), at most maxMessages of them, without waiting. Returns how many ran.

    Inside a host nothing else runs them: the host owns the thread's event loop and only lends
    the module time through its idle calls. */
int dispatchPendingMessages (int maxMessages = 256);
} // namespace quane
