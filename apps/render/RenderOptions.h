// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The settings of one quane-render run, as read from its command line.
#pragma once

#include "Hosting.h"

#include "hostkit/ToolArguments.h"

namespace quane::render
{
/** One --set: the parameter as typed (full name, host name or index) and its raw value. */
struct ParameterSetting
{
    juce::String name;
    float value = 0.0f;
};

/** Besides the hosting options: an empty program keeps the module's default. */
struct RenderOptions : hostkit::HostingOptions
{
    juce::File midiFile; // none: the embedded demo phrase
    bool allPrograms = false;
    juce::Array<ParameterSetting> settings;
    double sampleRate = 44100.0;
    int blockSize = 512;
    double tailSeconds = 2.0;
    double maximumSeconds = 3600.0; // events of a MIDI file further out are refused
    juce::File wavFile;             // with --all-programs: the folder of the files
    int bitsPerSample = 32;
    juce::File pngFile; // with --all-programs: the folder of the pictures
    juce::File editorPngFile;
    juce::File saveFile;
    bool quiet = false;
};

/** Reads the arguments after the program name; throws ToolError (usage) on anything it cannot use. */
RenderOptions parseCommandLine (const juce::StringArray& arguments);

juce::String helpText();
} // namespace quane::render
