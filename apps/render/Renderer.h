// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The rendering loop: events into blocks, blocks through the effect, samples on to where they go.
#pragma once

#include "Hosting.h"
#include "Performance.h"

#include <juce_audio_basics/juce_audio_basics.h>

namespace quane::render
{
/** Takes the render as it is made: every block once, in order, both channels. */
class RenderSink
{
public:
    virtual ~RenderSink() = default;
    virtual void addBlock (const float* left, const float* right, int numSamples) = 0;
};

struct ChannelLevels
{
    float peakDb, rmsDb;
};

/** What remains of a render besides the samples its sinks took. */
struct RenderResult
{
    juce::int64 numSamples = 0;
    double sampleRate = 0.0;
    double wallSeconds = 0.0; // time the effect took, for the real-time factor
    ChannelLevels levels[2] {};

    double seconds() const noexcept { return (double) numSamples / sampleRate; }
};

/** The samples a render of the performance lasts: from sample 0 until tailSeconds after its
    last event, and never less than one. */
juce::int64 renderLength (const Performance& performance, double sampleRate, double tailSeconds);

/** Plays the performance on a resumed effect, block by block, for numSamples, and suspends the
    effect afterwards; each block goes to every sink as it is made, so memory does not grow with
    the length. Each block's events go to effProcessEvents with deltaFrames inside the block, just
    before the block's processReplacing. Draws a progress bar on stderr when showProgress is set. */
RenderResult renderPerformance (HostedEffect& effect, const Performance& performance, double sampleRate, int blockSize,
                                juce::int64 numSamples, bool showProgress, const std::vector<RenderSink*>& sinks);
} // namespace quane::render
