// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The settings of one quane-play run, as read from its command line.
#pragma once

#include "hostkit/ToolArguments.h"
#include "hostkit/ToolError.h"

namespace quane::play
{
using hostkit::fail;
using hostkit::ToolError;

/** Besides the hosting options: an empty program keeps the last state. */
struct PlayOptions : hostkit::HostingOptions
{
    juce::String audioType;       // "JACK" or "ALSA"; empty: the last set-up, else the first that has a device
    juce::StringArray midiInputs; // names (or parts of names) of MIDI inputs to enable
    bool headless = false;
    bool listDevices = false;
};

/** Reads the arguments after the program name; throws ToolError (usage) on anything it cannot use. */
PlayOptions parseCommandLine (const juce::StringArray& arguments);

juce::String helpText();
} // namespace quane::play
