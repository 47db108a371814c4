// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Output files: the WAV writer and the level summary.
#pragma once

#include "Renderer.h"

namespace quane::render
{
/** Writes the render as a stereo WAV file: 32-bit float or 24-bit integer. */
void writeWav (const juce::File& file, const RenderResult& render, int bitsPerSample);

struct ChannelLevels
{
    float peakDb, rmsDb;
};

ChannelLevels levelsOf (const RenderResult& render, int channel);

/** The one line printed per render: program, length, levels per channel, real-time factor. */
juce::String summaryLine (const juce::String& programLabel, const RenderResult& render,
                          const juce::String& destination);
} // namespace quane::render
