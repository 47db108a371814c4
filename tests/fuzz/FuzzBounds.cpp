// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The time and memory one fuzz input may cost, measured while it runs.
#include "tests/fuzz/FuzzBounds.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sanitizer/allocator_interface.h>

namespace quane::fuzz
{
namespace
{
std::atomic<std::int64_t> heldBytes { 0 }, peakHeldBytes { 0 };

void countAllocation (const volatile void*, size_t size)
{
    const auto held = heldBytes.fetch_add ((std::int64_t) size) + (std::int64_t) size;
    auto peak = peakHeldBytes.load();
    while (held > peak && ! peakHeldBytes.compare_exchange_weak (peak, held))
    {
    }
}

void countRelease (const volatile void* pointer)
{
    if (pointer != nullptr && __sanitizer_get_ownership (pointer) != 0)
        heldBytes.fetch_sub ((std::int64_t) __sanitizer_get_allocated_size (pointer));
}

// Installed before the fuzzer starts; allocations made earlier are released uncounted, so only
// differences within one input mean anything.
const bool hooksInstalled = __sanitizer_install_malloc_and_free_hooks (countAllocation, countRelease) != 0;
} // namespace

double threadMilliseconds()
{
    timespec now {};
    clock_gettime (CLOCK_THREAD_CPUTIME_ID, &now);
    return (double) now.tv_sec * 1000.0 + (double) now.tv_nsec / 1.0e6;
}

InputCost::InputCost() : startMilliseconds (threadMilliseconds())
{
    if (! hooksInstalled)
    {
        std::fprintf (stderr, "fuzz check failed: no allocation hooks (build with the address sanitizer)\n");
        std::abort();
    }
    peakHeldBytes.store (heldBytes.load());
    startHeld = heldBytes.load();
}

double InputCost::milliseconds() const
{
    return threadMilliseconds() - startMilliseconds;
}

size_t InputCost::peakExtraBytes() const
{
    return (size_t) std::max<std::int64_t> (0, peakHeldBytes.load() - startHeld);
}

void InputCost::requireWithin (double maximumMilliseconds, size_t maximumBytes) const
{
    const auto taken = milliseconds();
    const auto held = peakExtraBytes();
    if (taken <= maximumMilliseconds && held <= maximumBytes)
        return;
    std::fprintf (stderr,
                  "fuzz check failed: the input took %.1f ms of processor time (bound %.0f) and held %zu bytes more "
                  "(bound %zu)\n",
                  taken, maximumMilliseconds, held, maximumBytes);
    std::abort();
}
} // namespace quane::fuzz
