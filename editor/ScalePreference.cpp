// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The user's own choice of the editor's size, kept for the person in a small settings file.
#include "editor/ScalePreference.h"

#include "editor/EditorScale.h"

namespace quane::scalepreference
{
namespace
{
// One line: "scale=150", or "scale=display" to follow the host and the display.
constexpr const char* key = "scale=";
constexpr const char* followDisplay = "display";
// Anything longer was not written by the editor.
constexpr juce::int64 largestFile = 64;

juce::File configurationFolder()
{
#if JUCE_LINUX
    // JUCE reads only user-dirs.dirs; the environment's setting comes first where it is absolute.
    const auto fromEnvironment = juce::SystemStats::getEnvironmentVariable ("XDG_CONFIG_HOME", {});
    if (juce::File::isAbsolutePath (fromEnvironment))
        return juce::File (fromEnvironment);
#endif
    return juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory);
}
} // namespace

juce::File location()
{
    return configurationFolder().getChildFile ("Quane").getChildFile ("editor-scale.settings");
}

std::optional<float> read()
{
    const auto file = location();
    if (! file.existsAsFile() || file.getSize() > largestFile)
        return std::nullopt;

    const auto line = file.loadFileAsString().trim();
    if (! line.startsWith (key))
        return std::nullopt;
    const auto value = line.fromFirstOccurrenceOf (key, false, false);
    if (value.isEmpty() || ! value.containsOnly ("0123456789"))
        return std::nullopt;
    return scale::offeredPercent (value.getIntValue());
}

void write (std::optional<float> fixedFactor)
{
    const auto file = location();
    const auto value = fixedFactor ? juce::String (scale::toPercent (*fixedFactor)) : juce::String (followDisplay);
    // Written beside the file and moved over it, so a reader never sees half a line.
    if (file.getParentDirectory().createDirectory())
        file.replaceWithText (juce::String (key) + value + "\n", false, false, "\n");
}
} // namespace quane::scalepreference
