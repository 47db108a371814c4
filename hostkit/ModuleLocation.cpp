// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ModuleLocation.h"

namespace quane::hostkit
{
juce::String defaultModulePath (const juce::String& builtModulePath)
{
    const auto toolFolder = juce::File::getSpecialLocation (juce::File::currentExecutableFile).getParentDirectory();
    if (toolFolder.getFileName() == "bin")
    {
        const auto installed = toolFolder.getSiblingFile ("lib").getChildFile ("vst").getChildFile ("Kolv.so");
        if (installed.existsAsFile())
            return installed.getFullPathName();
    }
    return builtModulePath;
}
} // namespace quane::hostkit
