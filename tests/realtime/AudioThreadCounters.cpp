// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Counting heap use and mutex acquisitions of one thread, through the process's own malloc and
// pthread_mutex_lock, which the loaded module's calls reach as well.
#include "tests/realtime/AudioThreadCounters.h"

#include <cerrno>
#include <pthread.h>

// glibc's own entry points, which the replacements below forward to. The mutex functions are
// reached by their versioned names, bound when the program loads, so no lookup can run inside a
// counted call (or before the counting is ready).
extern "C" void* __libc_malloc (size_t);
extern "C" void* __libc_calloc (size_t, size_t);
extern "C" void* __libc_realloc (void*, size_t);
extern "C" void* __libc_memalign (size_t, size_t);
extern "C" void __libc_free (void*);
extern "C" int glibcMutexLock (pthread_mutex_t*);
extern "C" int glibcMutexTrylock (pthread_mutex_t*);
__asm__(".symver glibcMutexLock, __pthread_mutex_lock@GLIBC_2.2.5");
__asm__(".symver glibcMutexTrylock, __pthread_mutex_trylock@GLIBC_2.2.5");

namespace quane::test
{
namespace
{
// Plain data with static initialisation: reading it never allocates, even inside malloc.
thread_local AudioThreadCounts* counting = nullptr;

void countAllocation() noexcept
{
    if (counting != nullptr)
        ++counting->allocations;
}

void countFree (void* block) noexcept
{
    if (counting != nullptr && block != nullptr)
        ++counting->frees;
}

void countLock (const void* mutex) noexcept
{
    auto* counts = counting;
    if (counts == nullptr)
        return;

    ++counts->locks;
    for (int i = 0; i < counts->distinctMutexes && i < AudioThreadCounts::maximumMutexes; ++i)
        if (counts->mutexes[i] == mutex)
            return;
    if (counts->distinctMutexes < AudioThreadCounts::maximumMutexes)
        counts->mutexes[counts->distinctMutexes] = mutex;
    ++counts->distinctMutexes;
}
} // namespace

bool AudioThreadCounts::onlyLocked (const void* mutex) const
{
    return distinctMutexes == 0 || (distinctMutexes == 1 && mutexes[0] == mutex);
}

ScopedCounting::ScopedCounting (AudioThreadCounts& counts) noexcept
{
    counting = &counts;
}

ScopedCounting::~ScopedCounting()
{
    counting = nullptr;
}
} // namespace quane::test

using quane::test::countAllocation;
using quane::test::countFree;
using quane::test::countLock;

// Default visibility, so the dynamic linker binds the module's calls to these.
#define QUANE_REPLACEMENT __attribute__ ((visibility ("default")))

extern "C"
{
    QUANE_REPLACEMENT void* malloc (size_t size)
    {
        countAllocation();
        return __libc_malloc (size);
    }

    QUANE_REPLACEMENT void* calloc (size_t count, size_t size)
    {
        countAllocation();
        return __libc_calloc (count, size);
    }

    QUANE_REPLACEMENT void* realloc (void* block, size_t size)
    {
        countAllocation();
        return __libc_realloc (block, size);
    }

    QUANE_REPLACEMENT void free (void* block)
    {
        countFree (block);
        __libc_free (block);
    }

    QUANE_REPLACEMENT void* memalign (size_t alignment, size_t size)
    {
        countAllocation();
        return __libc_memalign (alignment, size);
    }

    QUANE_REPLACEMENT void* aligned_alloc (size_t alignment, size_t size)
    {
        countAllocation();
        return __libc_memalign (alignment, size);
    }

    QUANE_REPLACEMENT int posix_memalign (void** result, size_t alignment, size_t size)
    {
        countAllocation();
        if (alignment % sizeof (void*) != 0 || (alignment & (alignment - 1)) != 0)
            return EINVAL;
        *result = __libc_memalign (alignment, size);
        return *result != nullptr || size == 0 ? 0 : ENOMEM;
    }

    QUANE_REPLACEMENT int pthread_mutex_lock (pthread_mutex_t* mutex)
    {
        countLock (mutex);
        return glibcMutexLock (mutex);
    }

    QUANE_REPLACEMENT int pthread_mutex_trylock (pthread_mutex_t* mutex)
    {
        countLock (mutex);
        return glibcMutexTrylock (mutex);
    }
}
