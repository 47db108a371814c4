// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the model tests: the message thread and rendering a block through the model.
#include "TestSupport.h"

#include "host/MessageLoop.h"

#include <gtest/gtest.h>

namespace quane::test
{
namespace
{
/** The test program's main thread is JUCE's message thread, as a host's GUI thread would be. */
class MessageThreadEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { initialiser = std::make_unique<juce::ScopedJuceInitialiser_GUI>(); }
    void TearDown() override { initialiser.reset(); }

private:
    std::unique_ptr<juce::ScopedJuceInitialiser_GUI> initialiser;
};

[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment (new MessageThreadEnvironment);
} // namespace

void pumpMessages (int minimumMs)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) minimumMs;
    do
    {
        dispatchPendingMessages();
        juce::Thread::sleep (1);
    } while (juce::Time::getMillisecondCounter() < end);
    dispatchPendingMessages();
}

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
    for (int i = 0; i < SynthEngine::voiceCount; ++i)
        count += model.getEngine().getVoice (i).isActive() ? 1 : 0;
    return count;
}
} // namespace quane::test
