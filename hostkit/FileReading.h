// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Files people hand the tools (MIDI files, presets), read whole within a size bound.
#pragma once

#include <juce_core/juce_core.h>

namespace quane::hostkit
{
/** The file's bytes. Throws ToolError (input), naming the file and its kind ("MIDI file"), when
    it is missing or unreadable, or when it holds more than maximumBytes: the size is looked at
    before anything is read, and reading stops one byte past the bound. */
juce::MemoryBlock readWholeFile (const juce::File& file, juce::int64 maximumBytes, const juce::String& kindOfFile);
} // namespace quane::hostkit
