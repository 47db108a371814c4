// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The rendering loop: events into blocks, blocks through the effect, samples into one buffer.
#pragma once

#include "Hosting.h"
#include "Performance.h"

#include <juce_audio_basics/juce_audio_basics.h>

namespace quane::render
{
struct RenderResult
{
    juce::AudioBuffer<float> audio; // two channels, the whole render
    double sampleRate = 0.0;
    double wallSeconds = 0.0; // time the effect took, for the real-time factor
};

/** Plays the performance on a resumed effect, block by block, from sample 0 until tailSeconds
    after the last event, and suspends the effect afterwards. Each block's events go to
    effProcessEvents with deltaFrames inside the block, just before the block's processReplacing.
    Draws a progress bar on stderr when showProgress is set. */
RenderResult renderPerformance (HostedEffect& effect, const Performance& performance, double sampleRate, int blockSize,
                                double tailSeconds, bool showProgress);
} // namespace quane::render
