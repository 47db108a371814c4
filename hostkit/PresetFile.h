// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Program (.fxp) and bank (.fxb) files in the opaque-chunk form music hosts exchange.
#pragma once

#include <juce_core/juce_core.h>
#include <vector>

namespace quane::hostkit
{
/** The content of a program or bank file. On disk every integer is 32-bit big-endian:
      "CcnK", byte size of everything after this field, "FPCh" (program) or "FBCh" (bank),
      format version 1, the module's unique ID, the module's version, then the number of
      parameters (program) or programs (bank), a 28-byte zero-padded program name (program) or
      128 reserved zero bytes (bank), the chunk size and the chunk from effGetChunk. */
struct PresetFile
{
    bool isBank = false;
    juce::int32 uniqueId = 0;
    juce::int32 moduleVersion = 0;
    juce::int32 count = 0;    // parameters of a program file, programs of a bank file
    juce::String programName; // program files only; at most 27 characters are kept
    std::vector<unsigned char> chunk;
};

juce::MemoryBlock encodePreset (const PresetFile& preset);

/** Throws ToolError (input), naming the file, when the bytes are not an opaque-chunk preset. */
PresetFile decodePreset (const juce::MemoryBlock& bytes, const juce::String& fileName);
} // namespace quane::hostkit
