// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Program and parameter names as a person types them, resolved against a running instance.
#pragma once

#include "hostkit/HostedEffect.h"

#include <juce_core/juce_core.h>

namespace quane::hostkit
{
/** The number of a factory program given by number or by name ("Pulse Lead", "pulse-lead",
    any case). Throws ToolError (usage) listing the programs when nothing matches. */
int findProgram (HostedEffect& effect, const juce::String& numberOrName);

/** The index of a parameter given by its full name ("Amp Release"), by the name the host sees
    (cut to 8 characters by the protocol: "Amp Rele") or by its index, any case.
    Throws ToolError (usage) listing the parameters when nothing matches. */
int findParameter (HostedEffect& effect, const juce::String& nameOrIndex);

/** The program's name made fit for a file name: "03-pulse-lead". */
juce::String programFileStem (int number, const juce::String& name);
} // namespace quane::hostkit
