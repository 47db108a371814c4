// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The soak: a long random performance with every sample checked and the time per sample watched.
#include "devtools/stress/StressCommands.h"
#include "devtools/stress/StressHost.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <random>

namespace quane::stress
{
namespace
{
constexpr float sampleRate = 44100.0f;
constexpr int blockSizes[] = { 64, 128, 256, 512, 1024, 2048 };
constexpr int maximumBlockSize = 2048;
constexpr size_t heldNotes = voiceCount + 2; // more than the voices, so notes are stolen too
constexpr double programChangeSeconds = 2.0; // of audio
constexpr double stateRestoreSeconds = 5.0;
constexpr int timeSections = 10;
// A denormal or leak slow-down multiplies the time per sample; a busy machine moves the median
// of a tenth by up to about 40 %.
constexpr double allowedDrift = 2.0;

/** Processor time per sample of the blocks of one tenth of the run, in quarter-nanosecond bins:
    made before the run, so the soak's own memory does not grow while it is measured. */
class TimeHistogram
{
public:
    TimeHistogram() : counts (binCount, 0) {}

    void add (double nanoseconds)
    {
        const auto bin = (size_t) std::clamp (nanoseconds / binNanoseconds, 0.0, (double) binCount - 1.0);
        ++counts[bin];
        ++total;
    }

    double median() const
    {
        long long seen = 0;
        for (size_t bin = 0; bin < counts.size(); ++bin)
            if ((seen += counts[bin]) * 2 >= total && total > 0)
                return ((double) bin + 0.5) * binNanoseconds;
        return 0.0;
    }

private:
    static constexpr double binNanoseconds = 0.25;
    static constexpr size_t binCount = 40000; // up to 10 microseconds per sample
    std::vector<long long> counts;
    long long total = 0;
};

/** One block's notes, wheel and bend: keeps more notes held than there are voices. */
std::vector<hostkit::TimedMessage> randomMessages (std::mt19937& random, std::deque<int>& held, int blockSize)
{
    std::uniform_int_distribution<int> position (0, blockSize - 1), note (24, 96), velocity (1, 127), seven (0, 127),
        starts (1, 3), oneIn (0, 3);
    std::vector<hostkit::TimedMessage> messages;

    for (int n = starts (random); n > 0; --n)
    {
        const int pitch = note (random);
        messages.push_back ({ position (random), { 0x90, (unsigned char) pitch, (unsigned char) velocity (random) } });
        held.push_back (pitch);
    }
    while (held.size() > heldNotes)
    {
        messages.push_back ({ position (random), { 0x80, (unsigned char) held.front(), 0 } });
        held.pop_front();
    }
    if (oneIn (random) == 0)
        messages.push_back ({ position (random), { 0xB0, 1, (unsigned char) seven (random) } });
    if (oneIn (random) == 0)
        messages.push_back (
            { position (random), { 0xE0, (unsigned char) seven (random), (unsigned char) seven (random) } });
    return messages;
}
} // namespace

int runSoak (const std::string& modulePath, double seconds, unsigned seed)
{
    const auto module = loadModule (modulePath);
    if (module == nullptr)
        return 2;
    const auto playing = startInstance (*module, sampleRate, maximumBlockSize);
    if (playing == nullptr)
        return 2;
    auto& instance = *playing;

    // The states to restore: every factory program's, as a host would have saved them.
    std::vector<std::vector<unsigned char>> states;
    for (int program = 0; program < instance.getNumPrograms(); ++program)
    {
        instance.dispatch (vst::effSetProgram, 0, program);
        states.push_back (instance.getChunk());
    }

    std::mt19937 random (seed);
    std::uniform_int_distribution<int> pickBlock (0, (int) std::size (blockSizes) - 1),
        pickParameter (0, instance.getNumParameters() - 1), pickProgram (0, instance.getNumPrograms() - 1),
        pickState (0, (int) states.size() - 1);
    std::uniform_real_distribution<float> pickValue (0.0f, 1.0f);

    std::vector<float> left (maximumBlockSize), right (maximumBlockSize);
    float* outputs[] = { left.data(), right.data() };
    std::deque<int> held;
    std::vector<TimeHistogram> nanosecondsPerSample (timeSections);
    long long samples = 0, blocks = 0, badSamples = 0;
    long long nextProgramChange = (long long) (programChangeSeconds * sampleRate);
    long long nextRestore = (long long) (stateRestoreSeconds * sampleRate);
    MemoryFigures memoryAtStart;

    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    for (double elapsed = 0.0; elapsed < seconds;
         elapsed = std::chrono::duration<double> (Clock::now() - start).count())
    {
        const int blockSize = blockSizes[pickBlock (random)];

        // Between blocks: automation of two parameters, now and then a program or a saved state.
        for (int n = 0; n < 2; ++n)
            instance.setParameter (pickParameter (random), pickValue (random));
        if (samples >= nextProgramChange)
        {
            instance.dispatch (vst::effSetProgram, 0, pickProgram (random));
            nextProgramChange += (long long) (programChangeSeconds * sampleRate);
        }
        if (samples >= nextRestore)
        {
            instance.setChunk (states[(size_t) pickState (random)]);
            nextRestore += (long long) (stateRestoreSeconds * sampleRate);
        }

        instance.sendMidi (randomMessages (random, held, blockSize));
        const double before = cpuSecondsOfThisThread();
        instance.render (outputs, blockSize);
        const double used = cpuSecondsOfThisThread() - before;

        badSamples += countBadSamples (left.data(), blockSize) + countBadSamples (right.data(), blockSize);
        const auto section = std::min (timeSections - 1, (int) (elapsed / seconds * timeSections));
        nanosecondsPerSample[(size_t) section].add (used * 1.0e9 / blockSize);
        samples += blockSize;
        if (++blocks == 100)
            memoryAtStart = measureMemory(); // after the first blocks, once everything has settled
    }
    const auto memoryAtEnd = measureMemory();

    std::printf ("soak: %.0f s, %lld blocks, %lld samples per channel (%.1f minutes of audio at %.0f Hz)\n", seconds,
                 blocks, samples, (double) samples / sampleRate / 60.0, sampleRate);
    std::printf ("samples not finite or beyond +-%.0f: %lld\n", (double) outputBound, badSamples);
    std::printf ("processor time per sample, median of each tenth of the run (ns):");
    for (const auto& section : nanosecondsPerSample)
        std::printf (" %.1f", section.median());
    // The first two tenths against the last two.
    const double first = nanosecondsPerSample[0].median() + nanosecondsPerSample[1].median();
    const double last = nanosecondsPerSample[timeSections - 2].median()
                        + nanosecondsPerSample[timeSections - 1].median();
    const double drift = first > 0.0 ? last / first : 0.0;
    std::printf ("\ndrift (last fifth / first fifth): %.3f (limit %.2f)\n", drift, allowedDrift);
    std::printf ("memory: resident %.2f -> %.2f MiB, heap in use %.3f -> %.3f MiB\n", memoryAtStart.residentMiB,
                 memoryAtEnd.residentMiB, memoryAtStart.heapInUseMiB, memoryAtEnd.heapInUseMiB);

    const bool passed = badSamples == 0 && drift > 0.0 && drift < allowedDrift;
    std::printf ("%s\n", passed ? "passed" : "FAILED");
    return passed ? 0 : 1;
}
} // namespace quane::stress
