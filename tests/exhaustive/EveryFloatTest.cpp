// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Formulas checked for every one of the 2^32 float inputs: the pitch's power of two and the runaway test.
#include "engine/PowerOfTwo.h"
#include "engine/VoiceLanes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

namespace quane
{
namespace
{
constexpr std::uint64_t everyFloat = 1ull << 32;
constexpr int blockLength = 4096;

std::uint32_t bitsOf (float x)
{
    std::uint32_t bits;
    std::memcpy (&bits, &x, sizeof bits);
    return bits;
}

/** Runs check on every block of blockLength consecutive bit patterns, split over the machine's
    threads; check returns a description of the first mismatch, or an empty string. */
template <typename Check>
std::string firstMismatchOverEveryFloat (Check check)
{
    const unsigned threads = std::max (1u, std::thread::hardware_concurrency());
    std::atomic<std::uint64_t> nextBlock { 0 };
    std::vector<std::string> mismatches (threads);
    std::vector<std::thread> workers;
    for (unsigned t = 0; t < threads; ++t)
        workers.emplace_back ([&, t] {
            std::vector<float> x (blockLength);
            for (std::uint64_t first; (first = nextBlock.fetch_add (blockLength)) < everyFloat;)
            {
                for (int i = 0; i < blockLength; ++i)
                {
                    const auto bits = (std::uint32_t) (first + (std::uint64_t) i);
                    std::memcpy (&x[(size_t) i], &bits, sizeof bits);
                }
                if (mismatches[t].empty())
                    mismatches[t] = check (x.data());
            }
        });
    for (auto& worker : workers)
        worker.join();
    for (const auto& mismatch : mismatches)
        if (! mismatch.empty())
            return mismatch;
    return {};
}

std::string describe (const char* what, float x, float got, float wanted)
{
    return std::string (what) + ": input bits " + std::to_string (bitsOf (x)) + " gave bits "
           + std::to_string (bitsOf (got)) + ", the definition " + std::to_string (bitsOf (wanted));
}

TEST (EveryFloat, PowerOfTwoIsTheLibraryPowerRoundedToFloatInEveryKernel)
{
    VoiceLanesKernels::Entry kernels[8];
    const int kernelCount = VoiceLanesKernels::available (kernels, 8);

    const auto mismatch = firstMismatchOverEveryFloat ([&] (const float* x) -> std::string {
        float wanted[blockLength], got[blockLength];
        for (int i = 0; i < blockLength; ++i)
        {
            wanted[i] = libraryPowerOfTwo (x[i]);
            got[i] = powerOfTwo (x[i]);
        }
        for (int i = 0; i < blockLength; ++i)
            if (bitsOf (got[i]) != bitsOf (wanted[i]))
                return describe ("one voice", x[i], got[i], wanted[i]);
        for (int k = 0; k < kernelCount; ++k)
        {
            kernels[k].kernel.powersOfTwo (x, got, blockLength);
            for (int i = 0; i < blockLength; ++i)
                if (bitsOf (got[i]) != bitsOf (wanted[i]))
                    return describe (kernels[k].name, x[i], got[i], wanted[i]);
        }
        return {};
    });
    EXPECT_EQ (mismatch, "");
}

TEST (EveryFloat, RunawayTestIsIsFinite)
{
    const auto mismatch = firstMismatchOverEveryFloat ([] (const float* x) -> std::string {
        for (int i = 0; i < blockLength; ++i)
            if ((bool) isFiniteValue (x[i]) != (bool) std::isfinite (x[i]))
                return "input bits " + std::to_string (bitsOf (x[i]));
        return {};
    });
    EXPECT_EQ (mismatch, "");
}
} // namespace
} // namespace quane
