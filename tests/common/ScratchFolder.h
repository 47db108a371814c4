// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh temporary folder for a test, deleted with everything in it when the test is done.
#pragma once

#include <juce_core/juce_core.h>

namespace quane::test
{
/** A fresh folder that is deleted with everything in it when the object goes. */
class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();

    const juce::File& get() const noexcept { return folder; }
    juce::File file (const juce::String& name) const { return folder.getChildFile (name); }
    juce::String path (const juce::String& name) const { return file (name).getFullPathName(); }

private:
    juce::File folder;
};
} // namespace quane::test
