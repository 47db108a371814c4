// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A hosting tool's command line read front to back, with the options every such tool has.
#include "hostkit/ToolArguments.h"

#include "hostkit/ToolError.h"

namespace quane::hostkit
{
juce::String ToolArguments::value()
{
    if (position + 1 >= words.size())
        fail (ToolError::Kind::usage, option() + " needs a value (see --help)");
    return words[++position];
}

juce::File ToolArguments::fileValue()
{
    return juce::File::getCurrentWorkingDirectory().getChildFile (value());
}

bool ToolArguments::readHostingOption (HostingOptions& options)
{
    const auto& name = option();
    if (name == "--help" || name == "-h")
        options.showHelp = true;
    else if (name == "--module")
        options.modulePath = fileValue().getFullPathName();
    else if (name == "--program")
        options.program = value();
    else if (name == "--load")
        options.loadFile = fileValue();
    else
        return false;
    return true;
}

void ToolArguments::rejectOption() const
{
    fail (ToolError::Kind::usage, "unknown option \"" + option() + "\" (see --help)");
}

void checkPresetFileName (const juce::File& file)
{
    if (file != juce::File() && ! file.hasFileExtension ("fxp;fxb"))
        fail (ToolError::Kind::usage,
              "preset files end in .fxp (one program) or .fxb (bank): " + file.getFullPathName());
}
} // namespace quane::hostkit
