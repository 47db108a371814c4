// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows module against the Linux module: the same phrase gives the same samples to the bit,
// and saved states pass between the two unchanged. The Linux test suite writes the references
// (CrossPlatformReference) into the folder named by QUANE_LINUX_REFERENCE.
#include "tests/host/CrossPlatformPhrase.h"
#include "tests/windows/WineTestEnvironment.h"

#include <gtest/gtest.h>

#include <float.h>
#include <cmath>
#include <cstring>

namespace quane::test
{
namespace
{
std::string referencePath (const std::string& name)
{
    return inFolder (environmentPath ("QUANE_LINUX_REFERENCE"), name);
}

/** Renders every block size and mode and compares with the Linux render; answers the largest
    absolute difference seen. */
double compareWithLinux()
{
    double largest = 0.0;
    for (int blockSize : crossPlatformBlockSizes)
        for (bool replacing : { true, false })
        {
            const auto name = phraseFileName (blockSize, replacing);
            SCOPED_TRACE (name);
            const auto reference = readFloats (referencePath (name));
            const auto rendered = renderCrossPlatformPhrase (blockSize, replacing);
            EXPECT_FALSE (reference.empty()) << "no Linux render at " << referencePath (name);
            if (reference.size() != rendered.size())
            {
                ADD_FAILURE() << "lengths differ: " << rendered.size() << " here, " << reference.size() << " on Linux";
                continue;
            }

            size_t differing = 0, first = 0;
            for (size_t i = 0; i < rendered.size(); ++i)
            {
                if (std::memcmp (&rendered[i], &reference[i], sizeof (float)) != 0)
                    first = differing++ == 0 ? i : first;
                largest = std::max (largest, std::fabs ((double) rendered[i] - (double) reference[i]));
            }
            EXPECT_EQ (differing, 0u) << "first at sample " << first << " of " << rendered.size();
        }
    return largest;
}
} // namespace

TEST (LinuxAgreement, PhraseRendersMatchBitForBit)
{
    std::cout << "largest difference against Linux: " << compareWithLinux() << std::endl;
}

#if defined(__i386__)
// MinGW programs start with the x87 unit at 64-bit precision; hosts built with MSVC run their
// threads at 53 bits. Floats and doubles live in SSE registers, so neither may change the sound.
TEST (LinuxAgreement, PhraseRendersMatchUnderTheX87PrecisionOfMsvcHosts)
{
    const auto saved = _controlfp (0, 0);
    EXPECT_EQ (saved & _MCW_PC, (unsigned int) _PC_64) << "the other precision is the one the first test ran at";
    _controlfp (_PC_53, _MCW_PC);
    ASSERT_EQ (_controlfp (0, 0) & _MCW_PC, (unsigned int) _PC_53);
    std::cout << "largest difference against Linux at 53-bit x87 precision: " << compareWithLinux() << std::endl;
    _controlfp (saved, _MCW_PC);
}
#endif

TEST (LinuxAgreement, StatesPassBetweenThePlatformsUnchanged)
{
    const auto linuxChunk = readBytes (referencePath ("state.chunk"));
    const auto linuxValues = readFloats (referencePath ("state-values.f32"));
    ASSERT_FALSE (linuxChunk.empty()) << "no Linux state at " << referencePath ("state.chunk");
    ASSERT_EQ (linuxValues.size(), (size_t) patch::valueCount);

    // Linux to Windows: every value restored to the bit.
    Instance restored;
    ASSERT_NE (restored.getEffect(), nullptr);
    restored.setChunk (linuxChunk);
    const auto values = restored.allValues();
    EXPECT_EQ (std::memcmp (values.data(), linuxValues.data(), values.size() * sizeof (float)), 0);

    // Windows to Linux: the state written here is the very bytes the Linux module wrote, both after
    // the restore and for the same patch set by hand, so the Linux module reads it as its own.
    EXPECT_EQ (restored.getChunk(), linuxChunk);
    Instance own;
    setCrossPlatformPatch (own);
    EXPECT_EQ (own.getChunk(), linuxChunk);
}
} // namespace quane::test
