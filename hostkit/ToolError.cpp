// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The tools' failures and their shared main.
#include "ToolError.h"

#include <iostream>
#include <juce_events/juce_events.h>

namespace quane::hostkit
{
void fail (ToolError::Kind kind, const juce::String& message)
{
    throw ToolError { kind, message };
}

int runToolMain (const char* toolName, int argc, char* argv[], int (*run) (const juce::StringArray& arguments))
{
    juce::ScopedJuceInitialiser_GUI libraryInitialiser;

    juce::StringArray arguments;
    for (int i = 1; i < argc; ++i)
        arguments.add (juce::String::fromUTF8 (argv[i]));

    try
    {
        return run (arguments);
    }
    catch (const ToolError& error)
    {
        std::cerr << toolName << ": " << error.message << std::endl;
        return (int) error.kind;
    }
    catch (const std::bad_alloc&)
    {
        std::cerr << toolName << ": out of memory" << std::endl;
    }
    catch (const std::exception& error)
    {
        std::cerr << toolName << ": unexpected failure: " << error.what() << std::endl;
    }
    catch (...)
    {
        std::cerr << toolName << ": unexpected failure" << std::endl;
    }
    return (int) ToolError::Kind::unexpected;
}
} // namespace quane::hostkit
