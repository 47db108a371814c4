// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The AVX-512 intrinsics the 16-lane kernel uses, carried out by portable code, so that a
// processor without AVX-512 runs the kernel's own source. Included before everything else.
#pragma once

#include <immintrin.h>

#define SIMDE_ENABLE_NATIVE_ALIASES
#include <simde/x86/avx512.h>

#include <cstdint>
#include <cstring>

// The three this SIMDe release lacks, with the instructions' documented results.
namespace quane::emulated
{
/** vcvtps2dq: rounded as the rounding mode rounds (ties to even); NaN and values outside int32
    give 0x80000000. */
inline simde__m512i roundToInt32 (simde__m512 x) noexcept
{
    float in[16];
    std::int32_t out[16];
    std::memcpy (in, &x, sizeof in);
    for (int k = 0; k < 16; ++k)
    {
        const float rounded = __builtin_rintf (in[k]);
        out[k] = rounded >= -2147483648.0f && rounded < 2147483648.0f ? (std::int32_t) rounded : INT32_MIN;
    }
    simde__m512i result;
    std::memcpy (&result, out, sizeof out);
    return result;
}

inline simde__mmask16 lanesNotEqual (simde__m512i x, simde__m512i y) noexcept
{
    std::int32_t a[16], b[16];
    std::memcpy (a, &x, sizeof a);
    std::memcpy (b, &y, sizeof b);
    simde__mmask16 mask = 0;
    for (int k = 0; k < 16; ++k)
        mask = (simde__mmask16) (mask | (a[k] != b[k] ? 1u << k : 0u));
    return mask;
}

/** vgatherdps: the float at base + scale * index for every lane, the index signed. */
inline simde__m512 gather (simde__m512i index, const void* base, int scale) noexcept
{
    std::int32_t at[16];
    float out[16];
    std::memcpy (at, &index, sizeof at);
    for (int k = 0; k < 16; ++k)
        std::memcpy (&out[k], static_cast<const char*> (base) + (std::ptrdiff_t) at[k] * scale, sizeof (float));
    simde__m512 result;
    std::memcpy (&result, out, sizeof out);
    return result;
}
} // namespace quane::emulated

#undef _mm512_cvtps_epi32
#undef _mm512_cmpneq_epi32_mask
#undef _mm512_i32gather_ps
#define _mm512_cvtps_epi32(x) quane::emulated::roundToInt32 (x)
#define _mm512_cmpneq_epi32_mask(x, y) quane::emulated::lanesNotEqual (x, y)
#define _mm512_i32gather_ps(index, base, scale) quane::emulated::gather (index, base, scale)
