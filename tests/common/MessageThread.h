// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The test program's main thread as JUCE's message thread, and running its messages.
#pragma once

namespace quane::test
{
/** Runs messages on this (the message) thread until none is ready, for at least minimumMs. */
void pumpMessages (int minimumMs = 20);
} // namespace quane::test
