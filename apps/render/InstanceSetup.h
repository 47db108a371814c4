// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Bringing a fresh instance to the patch the command line asks for.
#pragma once

#include "RenderOptions.h"

namespace quane::render
{
/** Sets every --set value in command-line order, after the program or preset. */
void applySettings (HostedEffect& effect, const juce::Array<ParameterSetting>& settings);

/** "03 Pulse Lead": the instance's current program number and name. */
juce::String currentProgramLabel (HostedEffect& effect);
} // namespace quane::render
