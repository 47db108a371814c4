// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// How long the chunk handed to the host lives, watched through the process's free().
#include "tests/host/HostTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>

// The sanitizers own the allocator and cannot have free() replaced; the lifetime is checked in
// the plain build. gcc names them with macros, clang through __has_feature.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define QUANE_SANITIZED_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define QUANE_SANITIZED_ALLOCATOR 1
#endif
#endif

#if ! defined(QUANE_SANITIZED_ALLOCATOR)

extern "C" void __libc_free (void*);

namespace
{
std::atomic<void*> watchedBlock { nullptr };
std::atomic<bool> watchedBlockFreed { false };
} // namespace

// The module's free resolves to this one: the only way a host could see the block go.
extern "C" void free (void* block)
{
    if (block != nullptr && block == watchedBlock.load())
        watchedBlockFreed = true;
    __libc_free (block);
}

namespace quane::test
{
namespace
{
using Clock = std::chrono::steady_clock;

void* handOutChunk (Instance& instance)
{
    void* data = nullptr;
    watchedBlockFreed = false;
    instance.dispatch (vst::effGetChunk, 0, 0, &data);
    watchedBlock = data;
    return data;
}

/** Milliseconds until the watched block was freed, or -1 if it still lives after limitMs. */
long long millisecondsUntilFreed (Instance& instance, int limitMs)
{
    const auto start = Clock::now();
    while (Clock::now() - start < std::chrono::milliseconds (limitMs))
    {
        instance.idleEditor (5);
        if (watchedBlockFreed)
            return std::chrono::duration_cast<std::chrono::milliseconds> (Clock::now() - start).count();
    }
    return -1;
}
} // namespace

TEST (ChunkLifetime, ReleasedBetweenTwoAndAboutTwoAndAQuarterSeconds)
{
    Instance instance;
    instance.dispatch (vst::effOpen);
    ASSERT_NE (handOutChunk (instance), nullptr);

    const auto freedAfter = millisecondsUntilFreed (instance, 3500);
    watchedBlock = nullptr;
    EXPECT_GE (freedAfter, 2000);
    EXPECT_LE (freedAfter, 2350); // one 250 ms tick after the lifetime, plus scheduling
}

TEST (ChunkLifetime, KeptUntilTheNextRequestWhenNeverOpened)
{
    Instance instance;
    ASSERT_NE (handOutChunk (instance), nullptr);
    EXPECT_EQ (millisecondsUntilFreed (instance, 2600), -1);

    instance.setChunk (makeChunk ("<FOO1_SETTINGS_01 0=\"0.5\"/>"));
    EXPECT_TRUE (watchedBlockFreed.load());
    watchedBlock = nullptr;
}
} // namespace quane::test
#endif
