// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Parameter changes, program loads and state restores on one thread while another renders.
#include "plugin/MyPlugJuceFilter.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

namespace quane
{
namespace
{
/** Renders blocks the way the host adaptation does: under processLock, with fresh notes. */
void renderUntilStopped (MyPlugJuceFilter& model, const std::atomic<bool>& stop, std::atomic<int>& blocks,
                         std::atomic<bool>& allFinite)
{
    constexpr int blockSize = 100;
    std::vector<float> samples (2 * blockSize);
    float* channels[] = { samples.data(), samples.data() + blockSize };
    juce::AudioBuffer<float> output (channels, 2, blockSize), input;
    juce::MidiBuffer midi;
    midi.ensureSize (256);

    for (int block = 0; ! stop.load(); ++block)
    {
        const int note = 48 + block % 24;
        midi.addEvent (juce::MidiMessage::noteOn (1, note, (juce::uint8) 100), block % blockSize);
        midi.addEvent (juce::MidiMessage::noteOff (1, note - 5), 0);
        {
            const juce::ScopedLock lock (model.processLock);
            model.processAudioBlock (input, output, false, midi);
        }
        for (float sample : samples)
            if (! std::isfinite (sample))
                allFinite = false;
        ++blocks;
    }
}

TEST (Concurrency, ChangesFromAnotherThreadNeverOverlapARender)
{
    MyPlugJuceFilter model;
    juce::MemoryBlock state;
    model.saveState (state);

    std::atomic<bool> stop { false }, allFinite { true };
    std::atomic<int> blocks { 0 };
    std::thread audio (renderUntilStopped, std::ref (model), std::cref (stop), std::ref (blocks), std::ref (allFinite));

    for (int round = 0; round < 300; ++round)
    {
        for (int index = 0; index < patch::valueCount; ++index)
            model.setParameterValue (index, model.parameterValue (index) * 0.5f + 0.25f);
        model.selectProgram (round % 12);
        model.setParameterValue (patch::octave, (float) (round % 4));
        model.restoreState (state.getData(), (int) state.getSize());
        model.beginPlayback (round % 2 == 0 ? 48000.0 : 44100.0, 512);
    }

    while (blocks.load() < 50)
        std::this_thread::yield();
    stop = true;
    audio.join();
    EXPECT_TRUE (allFinite.load());
    EXPECT_GE (blocks.load(), 50);
}
} // namespace
} // namespace quane
