// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The failures the command-line hosts report with a message of their own and an exit status.
#pragma once

#include <juce_core/juce_core.h>

namespace quane::hostkit
{
/** A failure a tool reports with its own message; the kind is the tool's exit status. */
struct ToolError
{
    enum class Kind
    {
        usage = 1,     // bad command line: option, program or parameter name, value
        module = 2,    // the module is missing, unloadable or not a VST 2.x effect
        input = 3,     // a MIDI, preset or settings file that cannot be read
        output = 4,    // a file that cannot be written
        editor = 5,    // the module shows no editor, or the window cannot be captured
        device = 6,    // no audio device can be opened
        unexpected = 7 // anything else: out of memory, a library's exception
    };

    Kind kind;
    juce::String message;
};

[[noreturn]] void fail (ToolError::Kind kind, const juce::String& message);

/** A command-line tool's main: starts the GUI library (the tool's own copy; a module brings its
    own), gives run the arguments after the program's name, and turns a ToolError into its
    message on stderr, after the tool's name, and its kind as the exit status; any other exception
    gives one such line and the status of an unexpected failure. */
int runToolMain (const char* toolName, int argc, char* argv[], int (*run) (const juce::StringArray& arguments));
} // namespace quane::hostkit
