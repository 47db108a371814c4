// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Which voice-lanes kernel renders: the widest the processor runs, or the one QUANE_VOICE_LANES names.
#pragma once

#include <cstdlib>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__) || defined(_M_X64) || defined(_M_IX86)
#define QUANE_HAS_VOICE_LANES 1
#endif

namespace quane
{
/** The kernels by name, widest first; "scalar" renders one voice at a time. Header-only, so that
    the benchmark can name the kernel a module it loads will choose. */
namespace voiceLanesChoice
{
constexpr const char* environmentVariable = "QUANE_VOICE_LANES";
constexpr const char* names[] = { "avx512", "avx2", "sse2", "scalar" };
constexpr int kindCount = 4;

/** True when this build has the kernel and the processor runs it. */
inline bool runs (int kind) noexcept
{
#if defined(QUANE_HAS_VOICE_LANES)
    __builtin_cpu_init();
    switch (kind)
    {
        case 0: return __builtin_cpu_supports ("avx512f");
        case 1: return __builtin_cpu_supports ("avx2");
        default: return kind < kindCount;
    }
#else
    return kind == kindCount - 1;
#endif
}

/** The kernel QUANE_VOICE_LANES names when the processor runs it, else the widest it runs. */
inline int chosen() noexcept
{
    const char* wanted = std::getenv (environmentVariable);
    for (int kind = 0; wanted != nullptr && kind < kindCount; ++kind)
        if (std::strcmp (wanted, names[kind]) == 0 && runs (kind))
            return kind;
    int widest = 0;
    while (! runs (widest))
        ++widest;
    return widest;
}
} // namespace voiceLanesChoice
} // namespace quane
