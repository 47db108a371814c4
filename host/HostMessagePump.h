// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Giving JUCE's messages time on the host's thread.
#pragma once

namespace quane
{
/** Runs the messages that are ready (timer ticks, change messages, async updates) when called on
    the message thread, outside any idle work and not from inside another pump; otherwise does
    nothing. Never waits.

    On Linux the host owns the loading thread's event loop and JUCE's queue is only served when
    the module is called there. Hosts call effEditIdle only while an editor is open, so the
    dispatcher also calls this for its other requests made on that thread; with force false a
    pump happens at most every few milliseconds, which keeps a host that floods the dispatcher
    (parameter text for a whole bank, say) from paying a poll per request. */
void giveMessagesTime (bool force);
} // namespace quane
