// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Where the tools find the module when no --module is given.
#pragma once

#include <juce_core/juce_core.h>

namespace quane::hostkit
{
/** The module installed beside the running tool (PREFIX/lib/vst/Kolv.so for PREFIX/bin/tool)
    when there is one, else the module of the build the tool came from. */
juce::String defaultModulePath (const juce::String& builtModulePath);
} // namespace quane::hostkit
