// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Files the tools write whole: a fresh stream, the writability check and plain bytes.
#pragma once

#include <juce_core/juce_core.h>

namespace quane::hostkit
{
/** An output stream on a fresh, empty file (JUCE's file streams append to what is there).
    Throws ToolError (output) when the file cannot be opened. */
std::unique_ptr<juce::FileOutputStream> createEmptyFile (const juce::File& file);

/** Throws ToolError (output) unless the file can be created or overwritten; leaves no new file. */
void checkWritable (const juce::File& file);

/** Writes bytes to a file, replacing what it held. */
void writeBytes (const juce::File& file, const juce::MemoryBlock& bytes);
} // namespace quane::hostkit
