// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Flush-to-zero and denormals-are-zero for the length of a render, restoring the caller's mode.
#pragma once

#if defined(__SSE__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 1)
#include <xmmintrin.h>
#define QUANE_HAS_MXCSR 1
#elif defined(__aarch64__)
#include <cstdint>
#endif

namespace quane
{
/** Decaying filter memories and envelope tails reach subnormal values, which cost some
    processors a hundred times the time of a normal operation. */
class ScopedFlushDenormals
{
public:
    ScopedFlushDenormals() noexcept
    {
#if defined(QUANE_HAS_MXCSR)
        savedMode = _mm_getcsr();
        _mm_setcsr (savedMode | 0x8040u); // FTZ (bit 15) and DAZ (bit 6)
#elif defined(__aarch64__)
        asm volatile("mrs %0, fpcr" : "=r"(savedMode));
        asm volatile("msr fpcr, %0" : : "r"(savedMode | (1ull << 24)));
#endif
    }

    ~ScopedFlushDenormals() noexcept
    {
#if defined(QUANE_HAS_MXCSR)
        _mm_setcsr (savedMode);
#elif defined(__aarch64__)
        asm volatile("msr fpcr, %0" : : "r"(savedMode));
#endif
    }

    ScopedFlushDenormals (const ScopedFlushDenormals&) = delete;
    ScopedFlushDenormals& operator= (const ScopedFlushDenormals&) = delete;

private:
#if defined(QUANE_HAS_MXCSR)
    unsigned int savedMode = 0;
#elif defined(__aarch64__)
    unsigned long long savedMode = 0;
#endif
};
} // namespace quane
