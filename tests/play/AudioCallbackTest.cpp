// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The player's audio callback driving the built module: notes from every source in, sound out,
// the held-note count, and not one allocation on the audio path, watched through malloc().
#include "apps/play/EffectPlayer.h"
#include "apps/play/MidiPortIntake.h"
#include "hostkit/ModuleOpening.h"

#include <gtest/gtest.h>

#include <iostream>

// The sanitizers own the allocator and cannot have malloc() replaced; the audio path is checked
// in the plain build.
#if ! defined(__SANITIZE_ADDRESS__) && ! defined(__SANITIZE_THREAD__)

extern "C" void* __libc_malloc (size_t);
extern "C" void* __libc_calloc (size_t, size_t);
extern "C" void* __libc_realloc (void*, size_t);

namespace
{
thread_local bool watching = false;
std::atomic<int> allocationsWatched { 0 };
} // namespace

// The module's and JUCE's allocations resolve to these too.
extern "C" void* malloc (size_t size)
{
    if (watching)
        ++allocationsWatched;
    return __libc_malloc (size);
}

extern "C" void* calloc (size_t count, size_t size)
{
    if (watching)
        ++allocationsWatched;
    return __libc_calloc (count, size);
}

extern "C" void* realloc (void* block, size_t size)
{
    if (watching)
        ++allocationsWatched;
    return __libc_realloc (block, size);
}

namespace quane::test
{
namespace
{
/** A device that only reports a rate and a block size, as the player asks at its start. */
class FixedDevice : public juce::AudioIODevice
{
public:
    FixedDevice() : juce::AudioIODevice ("fixed", "test") {}
    juce::StringArray getOutputChannelNames() override { return { "left", "right" }; }
    juce::StringArray getInputChannelNames() override { return {}; }
    juce::Array<double> getAvailableSampleRates() override { return { sampleRate }; }
    juce::Array<int> getAvailableBufferSizes() override { return { blockSize }; }
    int getDefaultBufferSize() override { return blockSize; }
    juce::String open (const juce::BigInteger&, const juce::BigInteger&, double, int) override { return {}; }
    void close() override {}
    bool isOpen() override { return true; }
    void start (juce::AudioIODeviceCallback*) override {}
    void stop() override {}
    bool isPlaying() override { return true; }
    juce::String getLastError() override { return {}; }
    int getCurrentBufferSizeSamples() override { return blockSize; }
    double getCurrentSampleRate() override { return sampleRate; }
    int getCurrentBitDepth() override { return 32; }
    juce::BigInteger getActiveOutputChannels() const override { return 3; }
    juce::BigInteger getActiveInputChannels() const override { return {}; }
    int getOutputLatencyInSamples() override { return 0; }
    int getInputLatencyInSamples() override { return 0; }

    static constexpr double sampleRate = 48000.0;
    static constexpr int blockSize = 256;
};

void queue (juce::MidiMessageCollector& collector, const juce::MidiMessage& message)
{
    collector.addMessageToQueue (message.withTimeStamp (juce::Time::getMillisecondCounterHiRes() * 0.001));
}

/** The player on the built module, started on a fixed device and stopped after the test. */
class AudioCallback : public ::testing::Test
{
protected:
    AudioCallback() { player.audioDeviceAboutToStart (&device); }
    ~AudioCallback() override { player.audioDeviceStopped(); }

    /** One callback into output; answers how often it allocated. */
    int allocationsOfOneBlock (juce::AudioBuffer<float>& output)
    {
        watching = true;
        const auto before = allocationsWatched.load();
        player.audioDeviceIOCallbackWithContext (nullptr, 0, output.getArrayOfWritePointers(), 2,
                                                 FixedDevice::blockSize, {});
        const auto allocations = allocationsWatched.load() - before;
        watching = false;
        return allocations;
    }

    const std::unique_ptr<hostkit::LoadedModule> module = hostkit::openModule (QUANE_MODULE_PATH);
    const std::unique_ptr<hostkit::HostedEffect> effect = hostkit::openEffect (*module, 44100.0, 512, "test");
    play::EffectPlayer player { *effect };
    FixedDevice device;
};
} // namespace

TEST_F (AudioCallback, PlaysEverySourceWithoutAllocatingAndCountsHeldNotes)
{
    juce::AudioBuffer<float> output (2, FixedDevice::blockSize);
    auto& collector = player.getCollector();
    double loudest = 0.0;
    int allocations = 0;

    for (int block = 0; block < 400; ++block)
    {
        // Ten notes, the wheels, a burst of messages and all notes off, spread over the blocks.
        if (block < 10)
            queue (collector, juce::MidiMessage::noteOn (1 + block % 16, 48 + 3 * block, (juce::uint8) 100));
        if (block == 20)
        {
            EXPECT_EQ (player.getHeldNoteCount(), 10);
            queue (collector, juce::MidiMessage::pitchWheel (1, 12000));
            queue (collector, juce::MidiMessage::controllerEvent (1, 1, 90));
            for (int i = 0; i < 200; ++i)
                queue (collector, juce::MidiMessage::controllerEvent (2, 7, i % 128));
        }
        if (block == 300)
            queue (collector, juce::MidiMessage::allNotesOff (5));

        output.clear();
        allocations += allocationsOfOneBlock (output);

        for (int channel = 0; channel < 2; ++channel)
            for (int i = 0; i < FixedDevice::blockSize; ++i)
                ASSERT_TRUE (std::isfinite (output.getSample (channel, i))) << "block " << block;
        loudest = juce::jmax (loudest, (double) output.getMagnitude (0, FixedDevice::blockSize));
    }

    EXPECT_EQ (allocations, 0) << "the audio callback allocated";
    EXPECT_GT (loudest, 0.05) << "the notes did not sound";
    EXPECT_EQ (player.getHeldNoteCount(), 0) << "controller 123 on any channel releases every note";
    EXPECT_EQ (player.getDroppedEventCount(), 0);
}

TEST_F (AudioCallback, TakesTenThousandMessagesInOneCycleWithoutAllocatingAndCountsWhatDoesNotFit)
{
    // One cycle of a JACK port: notes on and off by running status, an event of three bytes
    // and then events of two.
    constexpr int messages = 10000;
    play::MidiPortIntake intake (player.getCollector());
    intake.startCycle();
    const uint8_t first[] { 0x90, 0x3c, 0x64 }, off[] { 0x3c, 0x00 }, on[] { 0x3c, 0x64 };
    intake.read (first, sizeof first, juce::Time::getMillisecondCounterHiRes() * 0.001);
    for (int i = 1; i < messages; ++i)
        intake.read (i % 2 == 0 ? on : off, 2, juce::Time::getMillisecondCounterHiRes() * 0.001);

    juce::AudioBuffer<float> output (2, FixedDevice::blockSize);
    const auto start = juce::Time::getMillisecondCounterHiRes();
    const auto allocations = allocationsOfOneBlock (output);
    const auto milliseconds = juce::Time::getMillisecondCounterHiRes() - start;

    std::cout << "[ measured ] a block with " << messages << " messages took " << milliseconds << " ms\n";
    EXPECT_EQ (allocations, 0) << "the audio callback allocated";
    EXPECT_EQ (intake.getDroppedCount(), messages - play::MidiPortIntake::messagesPerCycle);
    EXPECT_EQ (player.getDroppedEventCount(),
               play::MidiPortIntake::messagesPerCycle - play::EffectPlayer::eventCapacity);
    EXPECT_EQ (player.getHeldNoteCount(), 0);
}
} // namespace quane::test

#endif
