// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
#include "SoundLibrary.h"

#include "hostkit/FileReading.h"
#include "hostkit/PresetFile.h"
#include "hostkit/ToolError.h"

namespace quane::play
{
namespace
{
// A sound of ours is some hundred bytes; anything far larger is no sound of this module.
constexpr juce::int64 maximumSoundFileBytes = 1024 * 1024;
} // namespace

SoundLibrary::SoundLibrary (juce::File soundFolder, juce::int32 id) : folder (std::move (soundFolder)), moduleId (id)
{
    rescan();
}

void SoundLibrary::rescan()
{
    sounds.clear();
    skipped.clear();
    auto files = folder.findChildFiles (juce::File::findFiles, false, "*.fxp");
    files.sort();
    for (const auto& file : files)
    {
        try
        {
            const auto preset = hostkit::decodePreset (
                hostkit::readWholeFile (file, maximumSoundFileBytes, "sound file"), file.getFullPathName());
            if (preset.isBank || preset.uniqueId != moduleId || preset.chunk.empty())
                skipped.add (file.getFileName());
            else
                sounds.push_back (
                    { preset.programName.isNotEmpty() ? preset.programName : file.getFileNameWithoutExtension(),
                      file });
        }
        catch (const hostkit::ToolError&)
        {
            skipped.add (file.getFileName());
        }
    }
}

int SoundLibrary::indexOf (const juce::File& file) const
{
    for (size_t i = 0; i < sounds.size(); ++i)
        if (sounds[i].file == file)
            return (int) i;
    return -1;
}

juce::File SoundLibrary::fileFor (const juce::String& name) const
{
    folder.createDirectory();
    return folder.getChildFile (juce::File::createLegalFileName (name) + ".fxp");
}
} // namespace quane::play
