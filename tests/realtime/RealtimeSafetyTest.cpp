// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The audio thread allocates nothing and takes no lock but processLock: counted through the
// process's malloc and pthread_mutex_lock while a host drives the loaded module.
#include "tests/host/HostTestSupport.h"
#include "tests/realtime/AudioThreadCounters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <iterator>
#include <thread>

namespace quane::test
{
namespace
{
// Audio-thread requests of later hosts, above the module's request table.
constexpr vst::int32 effSetProcessPrecision = 77;
constexpr vst::int32 audioThreadRequests[] = { vst::effStartProcess, vst::effGetTailSize, vst::effGetProgram,
                                               effSetProcessPrecision, vst::effStopProcess };
constexpr int warmUpBlocks = 4;
constexpr int countedFrames = 1 << 16;

/** A host's event list for one block: note churn with the wheel and bend moving. Made outside
    the counted calls, as a host prepares its list before it passes it. */
void fillBlockEvents (hostkit::VstEventList& events, int block, int blockSize)
{
    const unsigned char messages[][3] = {
        { 0x80, (unsigned char) (40 + (block + 20) % 40), 0 }, // notes of twenty blocks ago...
        { 0x80, (unsigned char) (40 + (block + 21) % 40), 0 },
        { 0x90, (unsigned char) (40 + block % 40), 100 }, // ...and new ones, beyond ten voices
        { 0x90, (unsigned char) (40 + (block + 1) % 40), 80 },
        { 0x90, (unsigned char) (40 + (block + 2) % 40), 60 },
        { 0xB0, 1, (unsigned char) (block * 5 % 128) },
        { 0xE0, 0, (unsigned char) (block * 3 % 128) },
    };
    events.clear();
    for (int i = 0; i < (int) std::size (messages); ++i)
        events.add (messages[i], 3, (i * 13 + block) % blockSize);
}

struct AudioThreadRun
{
    AudioThreadCounts blocks, events, requests, changes;
    int countedBlocks = 0;
    float peak = 0.0f;
    bool finite = true;
};

/** Drives the instance as a host's audio thread does; counts everything after the warm-up. */
AudioThreadRun runAudioThread (hostkit::HostedEffect& instance, int blockSize)
{
    AudioThreadRun run;
    std::vector<float> left ((size_t) blockSize), right ((size_t) blockSize);
    float* outputs[] = { left.data(), right.data() };
    hostkit::VstEventList events (8);
    const int blocks = warmUpBlocks + countedFrames / blockSize;

    for (int block = 0; block < blocks; ++block)
    {
        const bool counted = block >= warmUpBlocks;
        AudioThreadCounts ignored;
        const auto count = [&] (AudioThreadCounts& counts) -> AudioThreadCounts& { return counted ? counts : ignored; };
        fillBlockEvents (events, block, blockSize);

        {
            // Parameter and program changes between blocks, as automation and a host's program lane.
            const ScopedCounting counting (count (run.changes));
            const int index = block % patch::parameterCount;
            const float value = index == 3 || index == 4 ? 2.0f : 0.1f + 0.08f * (float) (block % 10);
            instance.setParameter (index, value);
            if (block % 16 == 15)
                instance.dispatch (vst::effSetProgram, 0, block / 16 % 12);
        }
        {
            const ScopedCounting counting (count (run.requests));
            for (auto opcode : audioThreadRequests)
                instance.dispatch (opcode);
        }
        {
            const ScopedCounting counting (count (run.events));
            instance.sendEvents (events.record());
        }
        {
            const ScopedCounting counting (count (run.blocks));
            instance.render (outputs, blockSize, block % 2 == 0);
        }

        run.countedBlocks += counted ? 1 : 0;
        for (const auto* channel : { &left, &right })
            for (float sample : *channel)
            {
                run.finite = run.finite && std::isfinite (sample);
                run.peak = std::max (run.peak, std::fabs (sample));
            }
    }
    return run;
}

void expectNoHeapUse (const AudioThreadCounts& counts, const char* what)
{
    EXPECT_EQ (counts.allocations, 0) << what;
    EXPECT_EQ (counts.frees, 0) << what;
}

TEST (RealtimeSafety, AudioThreadAllocatesNothingAndLocksOnlyProcessLock)
{
    for (int blockSize : { 64, 512, 4096 })
    {
        SCOPED_TRACE ("block size " + std::to_string (blockSize));
        // The host's answers keep no record: the module may call them from the audio thread.
        hostkit::HostedEffect instance (sharedModule().getPluginMain());
        ASSERT_NE (instance.getEffect(), nullptr);
        instance.open (44100.0, blockSize);
        instance.resume();

        AudioThreadRun run;
        std::thread audio ([&] { run = runAudioThread (instance, blockSize); });
        audio.join();
        instance.close();

        std::printf ("block size %d, %d blocks: allocations %ld/%ld/%ld/%ld, frees %ld/%ld/%ld/%ld, "
                     "locks %ld/%ld/%ld/%ld on %d/%d/%d/%d mutexes (blocks/events/requests/changes)\n",
                     blockSize, run.countedBlocks, run.blocks.allocations, run.events.allocations,
                     run.requests.allocations, run.changes.allocations, run.blocks.frees, run.events.frees,
                     run.requests.frees, run.changes.frees, run.blocks.locks, run.events.locks, run.requests.locks,
                     run.changes.locks, run.blocks.distinctMutexes, run.events.distinctMutexes,
                     run.requests.distinctMutexes, run.changes.distinctMutexes);

        EXPECT_TRUE (run.finite);
        EXPECT_GT (run.peak, 0.01f) << "the notes were heard";
        expectNoHeapUse (run.blocks, "blocks");
        expectNoHeapUse (run.events, "effProcessEvents");
        expectNoHeapUse (run.requests, "audio-thread requests");
        expectNoHeapUse (run.changes, "parameter and program changes");

        // Each block takes one lock, once: processLock. Parameter and program changes take it
        // too (and nothing else), which is how it is known to be that lock.
        EXPECT_EQ (run.blocks.distinctMutexes, 1);
        EXPECT_EQ (run.blocks.locks, run.countedBlocks);
        EXPECT_GT (run.changes.locks, 0);
        EXPECT_TRUE (run.changes.onlyLocked (run.blocks.mutexes[0]));
        EXPECT_EQ (run.events.locks, 0);
        EXPECT_EQ (run.requests.locks, 0);
    }
}
} // namespace
} // namespace quane::test
