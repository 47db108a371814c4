// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The picture of a render: stereo waveform over a spectrogram, titled with program and file.
#pragma once

#include "Renderer.h"

namespace quane::render
{
struct PictureLabels
{
    juce::String programLabel;  // "03 Pulse Lead"
    juce::String audioFileName; // the WAV file shown, or what was played when none is written
    juce::String sourceName;    // "demo" or the MIDI file's name
};

/** Draws the picture and writes it as PNG; throws ToolError (output) when it cannot be written. */
void writeRenderPicture (const juce::File& pngFile, const RenderResult& render, const PictureLabels& labels);
} // namespace quane::render
