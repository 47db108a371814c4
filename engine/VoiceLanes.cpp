// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Chooses the widest voice-lanes kernel that the processor runs.
#include "engine/VoiceLanes.h"

namespace quane
{
int VoiceLanesKernels::available (Entry* entries, int capacity) noexcept
{
    int count = 0;
    auto add = [&] (const char* name, VoiceLanesKernel kernel) {
        if (count < capacity)
            entries[count++] = { name, kernel };
    };

#if defined(QUANE_HAS_VOICE_LANES)
    __builtin_cpu_init();
    if (__builtin_cpu_supports ("avx512f"))
        add ("AVX-512", voiceLanesAvx512);
    if (__builtin_cpu_supports ("avx2"))
        add ("AVX2", voiceLanesAvx2);
    add ("SSE2", voiceLanesSse2);
#else
    (void) add;
#endif
    return count;
}

VoiceLanesKernel VoiceLanesKernels::best() noexcept
{
    Entry widest {};
    return available (&widest, 1) > 0 ? widest.kernel : VoiceLanesKernel {};
}
} // namespace quane
