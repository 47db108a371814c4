// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Bringing a fresh instance to the patch the command line asks for, and storing it as a preset.
#pragma once

#include "HostedEffect.h"
#include "RenderOptions.h"

namespace quane::render
{
/** Restores a .fxp or .fxb file (by its content, not its name) into the instance.
    Throws ToolError (input) when the file is unreadable, not a chunk preset, or for another module. */
void loadPreset (HostedEffect& effect, const juce::File& file);

/** Writes the instance's state as a program file (.fxp: the current program's chunk, index 1)
    or a bank file (.fxb: the bank chunk, index 0), chosen by the file's extension. */
void savePreset (HostedEffect& effect, const juce::File& file);

/** Sets every --set value in command-line order, after the program or preset. */
void applySettings (HostedEffect& effect, const juce::Array<ParameterSetting>& settings);

/** "03 Pulse Lead": the instance's current program number and name. */
juce::String currentProgramLabel (HostedEffect& effect);
} // namespace quane::render
