// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Program and bank files in and out of a hosted instance.
#pragma once

#include "hostkit/HostedEffect.h"
#include "hostkit/PresetFile.h"

#include <juce_core/juce_core.h>

namespace quane::hostkit
{
/** Restores a .fxp or .fxb file (by its content, not its name) into the instance and answers
    what the file held. Throws ToolError (input) when the file is unreadable, not a chunk
    preset, or for another module. */
PresetFile loadPreset (HostedEffect& effect, const juce::File& file);

/** Writes the instance's state as a program file (.fxp: the current program's chunk, index 1)
    or a bank file (.fxb: the bank chunk, index 0), chosen by the file's extension. A program
    file holds the given name, else the current program's. */
void savePreset (HostedEffect& effect, const juce::File& file, const juce::String& programName = {});
} // namespace quane::hostkit
