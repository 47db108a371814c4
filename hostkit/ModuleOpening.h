// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The tools' way to the module: where they find it, and it and an instance opened or a ToolError.
#pragma once

#include "hostkit/HostedEffect.h"

#include <juce_core/juce_core.h>
#include <memory>

namespace quane::hostkit
{
/** The module installed beside the running tool (PREFIX/lib/vst/Kolv.so for PREFIX/bin/tool)
    when there is one, else the module of the build the tool came from. */
juce::String defaultModulePath (const juce::String& builtModulePath);

/** The module file, loaded. Throws ToolError (module) when it is missing, does not load or
    exports no entry. */
std::unique_ptr<LoadedModule> openModule (const juce::String& path);

/** A fresh instance made through the module's entry, opened at the rate and largest block,
    answering as the host hostProductName. Throws ToolError (module) unless the module made a
    VST effect with stereo processReplacing. */
std::unique_ptr<HostedEffect> openEffect (const LoadedModule& module, double sampleRate, int maximumBlockSize,
                                          const juce::String& hostProductName);
} // namespace quane::hostkit
