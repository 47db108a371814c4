// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Text handed to and taken from the host: 8-bit, zero-terminated, cut to the interface's limits.
#pragma once

#include <juce_core/juce_core.h>

namespace quane
{
/** Writes at most maxChars bytes of the text and a zero byte. A null destination gets nothing
    and answers false. */
bool copyHostText (void* destination, const juce::String& text, int maxChars);

/** Reads a zero-terminated host text, never more than maxChars bytes of it; null reads as empty. */
juce::String readHostText (const void* source, int maxChars);
} // namespace quane
