// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The picture of a render: stereo waveform over a spectrogram, titled with program and file.
#pragma once

#include "Renderer.h"
#include "Spectrogram.h"
#include "WaveformColumns.h"

namespace quane::render
{
struct PictureLabels
{
    juce::String programLabel;  // "03 Pulse Lead"
    juce::String audioFileName; // the WAV file shown, or what was played when none is written
    juce::String sourceName;    // "demo" or the MIDI file's name
};

/** Takes what the picture shows as the render streams past (each channel per pixel column, the
    spectrogram), in memory that does not grow with the render's length, then draws it. */
class RenderPicture : public RenderSink
{
public:
    explicit RenderPicture (juce::int64 numSamples);

    void addBlock (const float* left, const float* right, int numSamples) override;

    /** Draws the picture and writes it as PNG; throws ToolError (output) when it cannot be written. */
    void write (const juce::File& pngFile, const RenderResult& render, const PictureLabels& labels);

private:
    WaveformColumns lanes[2];
    Spectrogram spectrogram;
};
} // namespace quane::render
