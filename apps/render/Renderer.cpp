// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The rendering loop and its progress bar.
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
} // namespace

RenderResult renderPerformance (HostedEffect& effect, const Performance& performance, double sampleRate, int blockSize,
                                double tailSeconds, bool showProgress)
{
    const auto totalSamples = performance.lastEventSample() + (juce::int64) std::ceil (tailSeconds * sampleRate);

    RenderResult result;
    result.sampleRate = sampleRate;
    result.audio.setSize (2, (int) juce::jmax<juce::int64> (1, totalSamples));
    result.audio.clear();

    // The effect writes into scratch outputs of the block size and as many channels as it has.
    juce::AudioBuffer<float> scratch (juce::jmax (2, effect.getEffect()->numOutputs), blockSize);
    hostkit::VstEventList blockEvents (64);
    ProgressBar progress (showProgress && totalSamples > (juce::int64) sampleRate);

    effect.resume();
    const auto startTicks = juce::Time::getHighResolutionTicks();
    auto nextEvent = performance.events.begin();

    for (juce::int64 blockStart = 0; blockStart < totalSamples; blockStart += blockSize)
    {
        const auto numSamples = (int) juce::jmin<juce::int64> (blockSize, totalSamples - blockStart);

        blockEvents.clear();
        for (; nextEvent != performance.events.end() && nextEvent->samplePosition < blockStart + numSamples;
             ++nextEvent)
        {
            if (blockEvents.isFull())
                blockEvents.reserve (blockEvents.size() * 2);
            blockEvents.add (nextEvent->bytes, 3, (int) (nextEvent->samplePosition - blockStart));
        }

        scratch.clear();
        const auto seconds = (double) blockStart / sampleRate;
        effect.processBlock (
            blockEvents.record(), scratch.getArrayOfWritePointers(), numSamples,
            { blockStart, performance.tempo.tempoAt (seconds), performance.tempo.quarterNotesAt (seconds), true });

        for (int channel = 0; channel < 2; ++channel)
            result.audio.copyFrom (channel, (int) blockStart, scratch, channel, 0, numSamples);
        progress.update ((double) (blockStart + numSamples) / (double) totalSamples);
    }

    result.wallSeconds = juce::Time::highResolutionTicksToSeconds (juce::Time::getHighResolutionTicks() - startTicks);
    effect.suspend();
    progress.finish();
    return result;
}
} // namespace quane::render
