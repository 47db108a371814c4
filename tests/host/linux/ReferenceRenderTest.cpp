// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Renders and a saved state of this build, written for the Windows build's tests to reproduce.
#include "tests/host/CrossPlatformPhrase.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

namespace quane::test
{
TEST (CrossPlatformReference, PhraseRendersAndStateAreWritten)
{
    const auto folder = std::filesystem::path (QUANE_BINARY_DIR) / "cross-platform";
    std::filesystem::create_directories (folder);

    for (int blockSize : crossPlatformBlockSizes)
        for (bool replacing : { true, false })
        {
            SCOPED_TRACE (phraseFileName (blockSize, replacing));
            const auto samples = renderCrossPlatformPhrase (blockSize, replacing);
            ASSERT_FALSE (samples.empty());
            float peak = 0.0f;
            for (float sample : samples)
            {
                ASSERT_TRUE (std::isfinite (sample));
                peak = std::max (peak, std::abs (sample));
            }
            EXPECT_GT (peak, 0.01f) << "the phrase must sound to prove anything";
            EXPECT_TRUE (writeFloats ((folder / phraseFileName (blockSize, replacing)).string(), samples));
        }

    Instance instance;
    ASSERT_NE (instance.getEffect(), nullptr);
    setCrossPlatformPatch (instance);
    const auto chunk = instance.getChunk();
    ASSERT_FALSE (chunk.empty());
    EXPECT_TRUE (writeBytes ((folder / "state.chunk").string(), chunk.data(), chunk.size()));
    EXPECT_TRUE (writeFloats ((folder / "state-values.f32").string(), instance.allValues()));
}
} // namespace quane::test
