// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A hosting tool's command line read front to back, with the options every such tool has.
#pragma once

#include <juce_core/juce_core.h>

namespace quane::hostkit
{
/** What every tool that hosts the module takes from its command line. */
struct HostingOptions
{
    juce::String modulePath;
    juce::String program; // number or factory name
    juce::File loadFile;  // a .fxp or .fxb restored after the program
    bool showHelp = false;
};

/** The arguments after the program's name, one option at a time. Every failure is a ToolError
    (usage) that points to --help. */
class ToolArguments
{
public:
    explicit ToolArguments (const juce::StringArray& arguments) : words (arguments) {}

    /** Moves to the next option; false after the last. */
    bool next() noexcept { return ++position < words.size(); }
    const juce::String& option() const { return words.getReference (position); }

    /** The word after the option, which it takes as its value. */
    juce::String value();
    /** The value as a file, relative to the current folder. */
    juce::File fileValue();

    /** Reads --help (-h), --module, --program and --load; false, reading nothing, for any other option. */
    bool readHostingOption (HostingOptions& options);
    [[noreturn]] void rejectOption() const;

private:
    const juce::StringArray& words;
    int position = -1;
};

/** Throws ToolError (usage) unless the file, when given, is named as a program (.fxp) or bank (.fxb) file. */
void checkPresetFileName (const juce::File& file);
} // namespace quane::hostkit
