// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Files people hand the tools (MIDI files, presets), read whole within a size bound.
#include "FileReading.h"

#include "ToolError.h"

namespace quane::hostkit
{
juce::MemoryBlock readWholeFile (const juce::File& file, juce::int64 maximumBytes, const juce::String& kindOfFile)
{
    const auto tooLarge = [&] {
        fail (ToolError::Kind::input, file.getFullPathName() + " is larger than any " + kindOfFile + " read here ("
                                          + juce::String (maximumBytes / (1024 * 1024)) + " MB)");
    };
    if (file.getSize() > maximumBytes)
        tooLarge();

    juce::FileInputStream stream (file);
    if (! file.existsAsFile() || ! stream.openedOk())
        fail (ToolError::Kind::input,
              "cannot read the " + kindOfFile + " " + file.getFullPathName()
                  + (stream.openedOk() ? juce::String() : ": " + stream.getStatus().getErrorMessage()));

    // The file may have grown since its size was read.
    juce::MemoryBlock bytes;
    stream.readIntoMemoryBlock (bytes, maximumBytes + 1);
    if ((juce::int64) bytes.getSize() > maximumBytes)
        tooLarge();
    if (stream.getStatus().failed())
        fail (ToolError::Kind::input, "cannot read the " + kindOfFile + " " + file.getFullPathName() + ": "
                                          + stream.getStatus().getErrorMessage());
    return bytes;
}
} // namespace quane::hostkit
