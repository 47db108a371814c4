// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The rendering loop, its level meter and its progress bar.
#include "Renderer.h"

#include "hostkit/VstEventList.h"

#include <iostream>

namespace quane::render
{
namespace
{
class ProgressBar
{
public:
    explicit ProgressBar (bool enabled) : enabled (enabled), lastDrawMs (juce::Time::getMillisecondCounter()) {}

    /** Draws at most every 100 ms, and only once the render has run for half a second: most
        renders finish sooner and need no bar. */
    void update (double fraction)
    {
        const auto now = juce::Time::getMillisecondCounter();
        if (! enabled || now - lastDrawMs < (drawn ? 100u : 500u))
            return;
        lastDrawMs = now;
        constexpr int width = 40;
        const auto filled = juce::jlimit (0, width, (int) (fraction * width));
        std::cerr << "\r[" << std::string ((size_t) filled, '#') << std::string ((size_t) (width - filled), '.') << "] "
                  << juce::roundToInt (fraction * 100.0) << "% " << std::flush;
        drawn = true;
    }

    void finish()
    {
        if (drawn)
            std::cerr << "\r" << std::string (60, ' ') << "\r" << std::flush;
    }

private:
    bool enabled, drawn = false;
    juce::uint32 lastDrawMs;
};

/** Peak and RMS of each channel, the RMS summed in double precision as the library's buffer does. */
class LevelMeter : public RenderSink
{
public:
    void addBlock (const float* left, const float* right, int numSamples) override
    {
        for (int channel = 0; channel < 2; ++channel)
        {
            const auto* samples = channel == 0 ? left : right;
            for (int i = 0; i < numSamples; ++i)
            {
                peaks[channel] = juce::jmax (peaks[channel], std::abs (samples[i]));
                sumsOfSquares[channel] += samples[i] * samples[i];
            }
        }
        count += numSamples;
    }

    ChannelLevels levels (int channel) const
    {
        // Silence reads as this floor rather than minus infinity.
        constexpr float silenceDb = -200.0f;
        const auto rms = count > 0 ? (float) std::sqrt (sumsOfSquares[channel] / (double) count) : 0.0f;
        return { juce::Decibels::gainToDecibels (peaks[channel], silenceDb),
                 juce::Decibels::gainToDecibels (rms, silenceDb) };
    }

private:
    float peaks[2] {};
    double sumsOfSquares[2] {};
    juce::int64 count = 0;
};
} // namespace

juce::int64 renderLength (const Performance& performance, double sampleRate, double tailSeconds)
{
    return juce::jmax<juce::int64> (1,
                                    performance.lastEventSample() + (juce::int64) std::ceil (tailSeconds * sampleRate));
}

RenderResult renderPerformance (HostedEffect& effect, const Performance& performance, double sampleRate, int blockSize,
                                juce::int64 numSamples, bool showProgress, const std::vector<RenderSink*>& sinks)
{
    // The effect writes into scratch outputs of the block size and as many channels as it has.
    juce::AudioBuffer<float> scratch (juce::jmax (2, effect.getEffect()->numOutputs), blockSize);
    hostkit::VstEventList blockEvents (64);
    ProgressBar progress (showProgress && numSamples > (juce::int64) sampleRate);
    LevelMeter meter;

    RenderResult result;
    result.numSamples = numSamples;
    result.sampleRate = sampleRate;
    juce::int64 effectTicks = 0;

    effect.resume();
    auto nextEvent = performance.events.begin();
    for (juce::int64 blockStart = 0; blockStart < numSamples; blockStart += blockSize)
    {
        const auto blockLength = (int) juce::jmin<juce::int64> (blockSize, numSamples - blockStart);

        blockEvents.clear();
        for (; nextEvent != performance.events.end() && nextEvent->samplePosition < blockStart + blockLength;
             ++nextEvent)
        {
            if (blockEvents.isFull())
                blockEvents.reserve (blockEvents.size() * 2);
            blockEvents.add (nextEvent->bytes, 3, (int) (nextEvent->samplePosition - blockStart));
        }

        scratch.clear();
        const auto seconds = (double) blockStart / sampleRate;
        const auto startTicks = juce::Time::getHighResolutionTicks();
        effect.processBlock (
            blockEvents.record(), scratch.getArrayOfWritePointers(), blockLength,
            { blockStart, performance.tempo.tempoAt (seconds), performance.tempo.quarterNotesAt (seconds), true });
        effectTicks += juce::Time::getHighResolutionTicks() - startTicks;

        meter.addBlock (scratch.getReadPointer (0), scratch.getReadPointer (1), blockLength);
        for (auto* sink : sinks)
            sink->addBlock (scratch.getReadPointer (0), scratch.getReadPointer (1), blockLength);
        progress.update ((double) (blockStart + blockLength) / (double) numSamples);
    }

    result.wallSeconds = juce::Time::highResolutionTicksToSeconds (effectTicks);
    effect.suspend();
    progress.finish();
    result.levels[0] = meter.levels (0);
    result.levels[1] = meter.levels (1);
    return result;
}
} // namespace quane::render
