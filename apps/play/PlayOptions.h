// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The settings of one quane-play run, as read from its command line.
#pragma once

#include "hostkit/ToolError.h"

namespace quane::play
{
using hostkit::fail;
using hostkit::ToolError;

struct PlayOptions
{
    juce::String modulePath;
    juce::String program;         // number or factory name; empty: the last state
    juce::File loadFile;          // a .fxp or .fxb restored after the program
    juce::String audioType;       // "JACK" or "ALSA"; empty: the last set-up, else the first that has a device
    juce::StringArray midiInputs; // names (or parts of names) of MIDI inputs to enable
    bool headless = false;
    bool listDevices = false;
    bool showHelp = false;
};

/** Reads the arguments after the program name; throws ToolError (usage) on anything it cannot use. */
PlayOptions parseCommandLine (const juce::StringArray& arguments);

juce::String helpText();
} // namespace quane::play
