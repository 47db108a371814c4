// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Output files: the WAV file written as the render is made, and the summary line.
#pragma once

#include "Renderer.h"

#include <juce_audio_formats/juce_audio_formats.h>

namespace quane::render
{
/** A stereo WAV file, 32-bit float or 24-bit integer, written block by block as the render is
    made. Throws ToolError (output) when the file cannot be made or the disk refuses samples. */
class WavFileWriter : public RenderSink
{
public:
    WavFileWriter (const juce::File& file, double sampleRate, int bitsPerSample);

    void addBlock (const float* left, const float* right, int numSamples) override;

    /** Writes the header with the final length; the file is complete after it. */
    void finish();

private:
    juce::File file;
    std::unique_ptr<juce::AudioFormatWriter> writer;
};

/** The one line printed per render: program, length, levels per channel, real-time factor. */
juce::String summaryLine (const juce::String& programLabel, const RenderResult& render,
                          const juce::String& destination);
} // namespace quane::render
