// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The user's own sounds: program files in a folder beside the player's settings.
#pragma once

#include <juce_core/juce_core.h>

namespace quane::play
{
/** The .fxp files of the user's sound folder, read on rescan(), in the order of their names.
    A sound's name is the one stored in its file, else the file's name. Files that are not
    program files of this module (foreign, cut short, banks) are left out and named in
    getSkipped(). */
class SoundLibrary
{
public:
    struct Sound
    {
        juce::String name;
        juce::File file;
    };

    SoundLibrary (juce::File folder, juce::int32 moduleId);

    void rescan();

    const juce::File& getFolder() const noexcept { return folder; }
    const std::vector<Sound>& getSounds() const noexcept { return sounds; }
    const juce::StringArray& getSkipped() const noexcept { return skipped; }

    /** The place of the sound stored in this file, or -1. */
    int indexOf (const juce::File& file) const;

    /** Where a sound of this name is saved (the folder is made when missing). */
    juce::File fileFor (const juce::String& name) const;

private:
    juce::File folder;
    juce::int32 moduleId;
    std::vector<Sound> sounds;
    juce::StringArray skipped;
};
} // namespace quane::play
