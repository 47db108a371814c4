// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice-lanes kernels this build has, and the one that renders.
#include "engine/VoiceLanes.h"

#include <iterator>

namespace quane
{
namespace
{
VoiceLanesKernel kernelOf (int kind) noexcept
{
#if defined(QUANE_HAS_VOICE_LANES)
    const VoiceLanesKernel kernels[] = { voiceLanesAvx512, voiceLanesAvx2, voiceLanesSse2 };
    if (kind >= 0 && kind < (int) std::size (kernels))
        return kernels[kind];
#else
    (void) kind;
#endif
    return {};
}
} // namespace

int VoiceLanesKernels::available (Entry* entries, int capacity) noexcept
{
    const char* labels[] = { "AVX-512", "AVX2", "SSE2" };
    int count = 0;
    for (int kind = 0; kind < (int) std::size (labels) && count < capacity; ++kind)
        if (voiceLanesChoice::runs (kind) && kernelOf (kind))
            entries[count++] = { labels[kind], kernelOf (kind) };
    return count;
}

VoiceLanesKernel VoiceLanesKernels::best() noexcept
{
    return kernelOf (voiceLanesChoice::chosen());
}
} // namespace quane
