// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Counting heap use and mutex acquisitions of one thread, through the process's own malloc and
// pthread_mutex_lock, which the loaded module's calls reach as well.
#pragma once

#include <cstddef>

namespace quane::test
{
/** What a thread did while it was counting. */
struct AudioThreadCounts
{
    static constexpr int maximumMutexes = 8;

    long allocations = 0; // malloc, calloc, realloc, aligned allocations (operator new uses them)
    long frees = 0;
    long locks = 0; // pthread_mutex_lock and pthread_mutex_trylock
    const void* mutexes[maximumMutexes] {};
    int distinctMutexes = 0; // how many different mutexes were taken (the first eight kept)

    bool onlyLocked (const void* mutex) const;
};

/** Adds the calling thread's allocations, frees and locks to counts while the object lives. */
class ScopedCounting
{
public:
    explicit ScopedCounting (AudioThreadCounts& counts) noexcept;
    ~ScopedCounting();

    ScopedCounting (const ScopedCounting&) = delete;
    ScopedCounting& operator= (const ScopedCounting&) = delete;
};
} // namespace quane::test
