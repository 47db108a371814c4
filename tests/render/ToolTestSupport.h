// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers for the quane-render tests: running the tool as a process, WAV and MIDI files.
#pragma once

#include "tests/common/ScratchFolder.h"

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_core/juce_core.h>

namespace quane::test
{
struct ToolRun
{
    int exitCode = -1;
    juce::String output; // stdout and stderr together
};

/** Runs the built quane-render with these arguments and waits (at most two minutes). */
ToolRun runTool (const juce::StringArray& arguments);

/** The samples of a WAV file, or an empty buffer when it cannot be read. */
juce::AudioBuffer<float> readWav (const juce::File& file, double* sampleRate = nullptr, int* bitsPerSample = nullptr);

bool identical (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b);

/** RMS over both channels of the difference of two equally long buffers. */
double rmsDifference (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b);

/** Writes a type-1 MIDI file with these tracks (timestamps in ticks). */
void writeMidiFile (const juce::File& file, int ticksPerQuarterNote,
                    const juce::Array<juce::MidiMessageSequence>& tracks);
} // namespace quane::test
