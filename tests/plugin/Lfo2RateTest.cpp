// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// LFO2 runs at 12.5 x speed Hz at the host's rate, whenever the host set that rate.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

namespace quane
{
namespace
{
/** The rate of LFO2 heard as a square wave on the volume: the level jumps between loud and a
    thousand times quieter, and the rising jumps are counted. The level of a chunk is the peak
    of the last 3 ms, which spans a few cycles of the note. */
double lfo2RateHeard (const std::vector<float>& left, double sampleRate)
{
    const auto window = (size_t) (0.003 * sampleRate);
    std::vector<double> chunkLevels;
    for (size_t end = 16; end <= left.size(); end += 16)
    {
        double peak = 0.0;
        for (size_t i = end > window ? end - window : 0; i < end; ++i)
            peak = std::max (peak, (double) std::fabs (left[i]));
        chunkLevels.push_back (peak);
    }

    const double threshold = 0.03 * *std::max_element (chunkLevels.begin(), chunkLevels.end());
    std::vector<size_t> risingChunks;
    for (size_t k = 1; k < chunkLevels.size(); ++k)
        if (chunkLevels[k - 1] < threshold && chunkLevels[k] >= threshold)
            risingChunks.push_back (k);

    if (risingChunks.size() < 3)
        return 0.0;
    const double chunksPerPeriod = (double) (risingChunks.back() - risingChunks.front())
                                   / (double) (risingChunks.size() - 1);
    return sampleRate / (16.0 * chunksPerPeriod);
}

TEST (Lfo2Rate, FollowsTheHostsRateSetAfterTheProgramLoad)
{
    constexpr float speed = 0.8f; // 10 Hz
    for (int sampleRate : { 44100, 48000, 96000 })
    {
        SCOPED_TRACE (std::to_string (sampleRate) + " Hz");
        // The program load at construction computed LFO2's rate at 44100 Hz; the host's rate
        // arrives later, and the speed the host then sets may equal the stored one.
        MyPlugJuceFilter model;
        model.selectProgram (8);
        model.beginPlayback (sampleRate, 512);
        model.setParameterValue (patch::lfo2Speed, speed);
        model.setParameterValue (patch::volume, 0.5f);
        model.setParameterValue (patch::lfo2Shape, 3.0f);       // square
        model.setParameterValue (patch::lfo2Destination, 6.0f); // volume
        model.setParameterValue (patch::lfo2Depth, 1.0f);
        model.setParameterValue (patch::lfo2Speed, speed); // a repeat: ignored

        juce::MidiBuffer midi;
        midi.addEvent (juce::MidiMessage::noteOn (1, 93, (juce::uint8) 100), 0); // sounds at 880 Hz
        const auto block = test::renderThroughModel (model, 2 * sampleRate, midi);
        const std::vector<float> left (block.begin(), block.begin() + 2 * sampleRate);

        EXPECT_NEAR (lfo2RateHeard (left, sampleRate), 12.5 * speed, 12.5 * speed * 0.01);
    }
}
} // namespace
} // namespace quane
