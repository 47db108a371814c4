// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Finding programs and parameters by the names a person types.
#include "PatchSelection.h"

#include "ToolError.h"

#include "engine/PatchValueTable.h"

namespace quane::hostkit
{
namespace
{
/** Case, spaces, hyphens and underscores do not count when names are compared. */
juce::String comparable (const juce::String& name)
{
    return name.toLowerCase().removeCharacters (" -_");
}

bool isWholeNumber (const juce::String& text)
{
    return text.isNotEmpty() && text.containsOnly ("0123456789");
}

/** The full name of an index from the module's table: the host protocol delivers only the first
    8 characters, so "Amp Release" could not be matched otherwise. It is used only when those
    characters are what the module reports, so a module with other parameters is matched by its
    own names alone. */
juce::String fullNameOf (HostedEffect& effect, int index)
{
    const juce::String hostName (effect.getParameterName (index));
    if (index >= 0 && index < patch::parameterCount
        && juce::String (patch::rows[index].name).substring (0, patch::hostNameLength) == hostName)
        return patch::rows[index].name;
    return hostName;
}
} // namespace

int findProgram (HostedEffect& effect, const juce::String& numberOrName)
{
    const auto count = effect.getNumPrograms();
    const auto wanted = numberOrName.trim();

    if (isWholeNumber (wanted))
    {
        const auto number = wanted.getIntValue();
        if (number < count)
            return number;
    }
    else
    {
        for (int number = 0; number < count; ++number)
            if (comparable (effect.getProgramName (number)) == comparable (wanted))
                return number;
    }

    juce::StringArray known;
    for (int number = 0; number < count; ++number)
        known.add (juce::String (number) + " \"" + effect.getProgramName (number) + "\"");
    fail (ToolError::Kind::usage,
          "unknown program \"" + numberOrName + "\"; the module has " + known.joinIntoString (", "));
}

int findParameter (HostedEffect& effect, const juce::String& nameOrIndex)
{
    const auto count = effect.getNumParameters();
    const auto wanted = comparable (nameOrIndex);

    if (isWholeNumber (wanted))
    {
        const auto index = wanted.getIntValue();
        if (index < count)
            return index;
    }
    else
    {
        // Full names first: a host name is a prefix and must not shadow another full name.
        for (int index = 0; index < count; ++index)
            if (comparable (fullNameOf (effect, index)) == wanted)
                return index;
        for (int index = 0; index < count; ++index)
            if (comparable (effect.getParameterName (index)) == wanted)
                return index;
    }

    juce::StringArray known;
    for (int index = 0; index < count; ++index)
        known.add (juce::String (index) + " \"" + fullNameOf (effect, index) + "\"");
    fail (ToolError::Kind::usage,
          "unknown parameter \"" + nameOrIndex + "\"; the module has " + known.joinIntoString (", "));
}

juce::String programFileStem (int number, const juce::String& name)
{
    juce::String stem;
    for (auto character : name.toLowerCase())
        stem << (juce::CharacterFunctions::isLetterOrDigit (character) ? juce::String::charToString (character)
                                                                       : juce::String ("-"));
    while (stem.contains ("--"))
        stem = stem.replace ("--", "-");
    return juce::String (number).paddedLeft ('0', 2) + "-" + stem.trimCharactersAtStart ("-").trimCharactersAtEnd ("-");
}
} // namespace quane::hostkit
