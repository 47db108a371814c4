// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The rendering loop and its progress bar.
#include "Renderer.h"

#include <iostream>

namespace quane::render
{
namespace
{
/** The VstEvents record for one block: hosts allocate the pointer array as long as they need. */
class BlockEvents
{
public:
    void clear() { midiEvents.clear(); }

    void add (const TimedMidi& event, juce::int64 blockStart)
    {
        vst::VstMidiEvent midi {};
        midi.type = vst::kVstMidiType;
        midi.byteSize = (vst::int32) sizeof (vst::VstMidiEvent);
        midi.deltaFrames = (vst::int32) (event.samplePosition - blockStart);
        midi.flags = vst::kVstMidiEventIsRealtime;
        for (int i = 0; i < 3; ++i)
            midi.midiData[i] = (char) event.bytes[i];
        midiEvents.push_back (midi);
    }

    const vst::VstEvents& record()
    {
        const auto count = midiEvents.size();
        storage.assign (sizeof (vst::VstEvents) + count * sizeof (vst::VstEvent*), 0);
        auto* events = reinterpret_cast<vst::VstEvents*> (storage.data());
        events->numEvents = (vst::int32) count;
        vst::VstEvent** slots = &events->events[0]; // as many entries as events, not the declared two
        for (size_t i = 0; i < count; ++i)
            slots[i] = reinterpret_cast<vst::VstEvent*> (&midiEvents[i]);
        return *events;
    }

private:
    std::vector<vst::VstMidiEvent> midiEvents;
    std::vector<char> storage;
};

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

RenderResult renderPerformance (HostedEffect& effect, const Performance& performance, double sampleRate, int blockSize, double tailSeconds, bool showProgress)
{
    const auto totalSamples = performance.lastEventSample() + (juce::int64) std::ceil (tailSeconds * sampleRate);

    RenderResult result;
    result.sampleRate = sampleRate;
    result.audio.setSize (2, (int) juce::jmax<juce::int64> (1, totalSamples));
    result.audio.clear();

    // The effect writes into scratch outputs of the block size and as many channels as it has.
    juce::AudioBuffer<float> scratch (juce::jmax (2, effect.getEffect().numOutputs), blockSize);
    BlockEvents blockEvents;
    ProgressBar progress (showProgress && totalSamples > (juce::int64) sampleRate);

    effect.resume();
    const auto startTicks = juce::Time::getHighResolutionTicks();
    auto nextEvent = performance.events.begin();

    for (juce::int64 blockStart = 0; blockStart < totalSamples; blockStart += blockSize)
    {
        const auto numSamples = (int) juce::jmin<juce::int64> (blockSize, totalSamples - blockStart);

        blockEvents.clear();
        for (; nextEvent != performance.events.end() && nextEvent->samplePosition < blockStart + numSamples; ++nextEvent)
            blockEvents.add (*nextEvent, blockStart);

        scratch.clear();
        const auto seconds = (double) blockStart / sampleRate;
        effect.processBlock (blockEvents.record(), scratch.getArrayOfWritePointers(), numSamples, blockStart,
                             performance.tempo.tempoAt (seconds), performance.tempo.quarterNotesAt (seconds));

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
