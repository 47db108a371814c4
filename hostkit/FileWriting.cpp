// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Files the tools write whole: a fresh stream, the writability check and plain bytes.
#include "FileWriting.h"

#include "ToolError.h"

namespace quane::hostkit
{
std::unique_ptr<juce::FileOutputStream> createEmptyFile (const juce::File& file)
{
    auto stream = std::make_unique<juce::FileOutputStream> (file);
    if (! stream->openedOk())
        fail (ToolError::Kind::output,
              "cannot write " + file.getFullPathName() + ": " + stream->getStatus().getErrorMessage());
    stream->setPosition (0);
    stream->truncate();
    return stream;
}

void checkWritable (const juce::File& file)
{
    const bool existed = file.exists();
    if (file.isDirectory())
        fail (ToolError::Kind::output, "cannot write " + file.getFullPathName() + ": it is a folder");
    {
        juce::FileOutputStream stream (file);
        if (! stream.openedOk())
            fail (ToolError::Kind::output,
                  "cannot write " + file.getFullPathName() + ": " + stream.getStatus().getErrorMessage());
    }
    if (! existed)
        file.deleteFile();
}

void writeBytes (const juce::File& file, const juce::MemoryBlock& bytes)
{
    auto stream = createEmptyFile (file);
    if (! stream->write (bytes.getData(), bytes.getSize()) || (stream->flush(), stream->getStatus().failed()))
        fail (ToolError::Kind::output,
              "cannot write " + file.getFullPathName() + ": " + stream->getStatus().getErrorMessage());
}
} // namespace quane::hostkit
