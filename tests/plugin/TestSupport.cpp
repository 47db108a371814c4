// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the model tests: rendering a block through the model, counting voices.
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace quane::test
{
std::vector<float> renderThroughModel (MyPlugJuceFilter& model, int numSamples, juce::MidiBuffer midi)
{
    std::vector<float> samples ((size_t) numSamples * 2, 0.0f);
    float* channels[] = { samples.data(), samples.data() + numSamples };
    juce::AudioBuffer<float> output (channels, 2, numSamples);
    juce::AudioBuffer<float> input;
    const juce::ScopedLock lock (model.processLock);
    model.processAudioBlock (input, output, false, midi);
    return samples;
}

int activeVoiceCount (MyPlugJuceFilter& model)
{
    int count = 0;
    for (int i = 0; i < voiceCount; ++i)
        count += model.getEngine().getVoice (i).isActive() ? 1 : 0;
    return count;
}
} // namespace quane::test
