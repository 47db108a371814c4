// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice-lanes kernel, written once for any vector width and compiled once per instruction set.
//
// Included only by the VoiceLanesKernel*.cpp files, each built for its instruction set. Every
// operation is the voice's own scalar operation, lane by lane and in the same order, so the
// result is the same to the last bit; stage decisions are masks instead of branches.
#pragma once

#include "engine/DspHelpers.h"
#include "engine/EnvelopeStage.h"
#include "engine/VoiceLanes.h"

#include <immintrin.h>

#include <cstring>
#include <utility>

namespace quane::lanes
{
template <int width>
struct Vec;

template <>
struct Vec<4>
{
    typedef float Floats __attribute__ ((vector_size (16)));
    typedef std::int32_t Ints __attribute__ ((vector_size (16)));
};

template <>
struct Vec<8>
{
    typedef float Floats __attribute__ ((vector_size (32)));
    typedef std::int32_t Ints __attribute__ ((vector_size (32)));
};

template <>
struct Vec<16>
{
    typedef float Floats __attribute__ ((vector_size (64)));
    typedef std::int32_t Ints __attribute__ ((vector_size (64)));
};

template <int width>
using Floats = typename Vec<width>::Floats;
template <int width>
using Ints = typename Vec<width>::Ints;

template <typename V, typename T>
inline V load (const T* source) noexcept
{
    V v;
    std::memcpy (&v, source, sizeof v);
    return v;
}

template <typename V, typename T>
inline void store (T* destination, V v) noexcept
{
    std::memcpy (destination, &v, sizeof v);
}

/** Round to the nearest integer, ties to even, as lrintf does in the default rounding mode. */
template <int width>
inline Ints<width> roundToInt (Floats<width> x) noexcept
{
    if constexpr (width == 4)
        return (Ints<width>) _mm_cvtps_epi32 ((__m128) x);
    else if constexpr (width == 8)
        return (Ints<width>) _mm256_cvtps_epi32 ((__m256) x);
    else
        return (Ints<width>) _mm512_cvtps_epi32 ((__m512) x);
}

template <int width>
inline Floats<width> toFloats (Ints<width> x) noexcept
{
    return __builtin_convertvector(x, Floats<width>);
}

/** True when every lane of a comparison result is set. */
template <int width>
inline bool allSet (Ints<width> mask) noexcept
{
    if constexpr (width == 4)
        return _mm_movemask_ps ((__m128) mask) == 0xf;
    else if constexpr (width == 8)
        return _mm256_movemask_ps ((__m256) mask) == 0xff;
    else
        return _mm512_cmpeq_epi32_mask ((__m512i) mask, _mm512_set1_epi32 (-1)) == 0xffff;
}

template <int width>
inline Floats<width> absolute (Floats<width> x) noexcept
{
    return (Floats<width>) ((Ints<width>) x & 0x7fffffff);
}

/** std::min (std::max (x, lo), hi), lane by lane, with the same choices for equal values and
    NaN: max (lo, x) and min (hi, m) return their second operand unless the first is larger or
    smaller, as std::max (x, lo) and std::min (m, hi) do. */
template <int width>
inline Floats<width> limit (Floats<width> x, float lo, float hi) noexcept
{
    using F = Floats<width>;
    if constexpr (width == 4)
        return (F) _mm_min_ps (_mm_set1_ps (hi), _mm_max_ps (_mm_set1_ps (lo), (__m128) x));
    else if constexpr (width == 8)
        return (F) _mm256_min_ps (_mm256_set1_ps (hi), _mm256_max_ps (_mm256_set1_ps (lo), (__m256) x));
    else
        return (F) _mm512_min_ps (_mm512_set1_ps (hi), _mm512_max_ps (_mm512_set1_ps (lo), (__m512) x));
}

/** limitToUnitRange of DspHelpers.h, lane by lane. */
template <int width>
inline Floats<width> limitToUnitRange (Floats<width> p) noexcept
{
    const auto k1 = roundToInt<width> (p * 0x1p63f);
    const auto k2 = roundToInt<width> (p * 0x1p64f);
    const auto tiny = toFloats<width> (2 * k1 + k2) * 0x1p-65f;
    return absolute<width> (p) < tinyLimitInput ? tiny : limit<width> (p, -1.0f, 1.0f);
}

/** Where each lane reads: the segment's offset in floats from the table's start (4 floats per
    segment, unsigned so that no sign extension is needed) and the fraction. */
template <int width>
struct Readings
{
    std::uint32_t first[VoiceLanes::valuesPerChunk][width];
    std::uint32_t second[VoiceLanes::valuesPerChunk][width];
    Floats<width> fraction[VoiceLanes::valuesPerChunk];
};

/** Advances the phases over the chunk and notes where every value reads. With increments in
    0..length (plainIncrements) one subtraction always brings a phase back into the table. */
template <int width, bool plainIncrements>
inline void advancePhases (VoiceLanes& lanes, int firstLane, Readings<width>& readings) noexcept
{
    using F = Floats<width>;
    constexpr float tableLength = (float) WavetableOscillator::length;

    F phase = load<F> (lanes.phase + firstLane);
    const F increment = load<F> (lanes.increment + firstLane);
    const F offset = load<F> (lanes.secondOffset + firstLane);

    for (int n = 0; n < VoiceLanes::valuesPerChunk; ++n)
    {
        const auto i = roundToInt<width> (phase - 0.5f);
        const auto j = roundToInt<width> ((phase + offset) - 0.5f) & (WavetableOscillator::length - 1);
        readings.fraction[n] = phase - toFloats<width> (i);
        store (readings.first[n], i << 2);
        store (readings.second[n], j << 2);

        const F advanced = phase + increment;
        phase = advanced >= tableLength ? advanced - tableLength : advanced;
        if constexpr (! plainIncrements)
        {
            const auto inside = (phase >= 0.0f) & (phase < tableLength);
            if (! allSet<width> (inside))
                for (int k = 0; k < width; ++k)
                    if (inside[k] == 0)
                        phase[k] = wrapPhase (advanced[k], tableLength);
        }
    }
    store (lanes.phase + firstLane, phase);
}

template <int width>
inline void advancePhases (VoiceLanes& lanes, int firstLane, Readings<width>& readings) noexcept
{
    const auto increment = load<Floats<width>> (lanes.increment + firstLane);
    if (allSet<width> ((increment >= 0.0f) & (increment < (float) WavetableOscillator::length)))
        advancePhases<width, true> (lanes, firstLane, readings);
    else // an increment beyond the table or below zero (extreme pitch, odd sample rates)
        advancePhases<width, false> (lanes, firstLane, readings);
}

/** The segments {a, b, c, sample} at the given offsets, one 16-byte load per lane of the first
    blocks x 4 lanes, transposed into the vectors of a, b, c and sample. Later lanes hold anything. */
template <int width, int blocks>
inline void loadSegments (const float* table, const std::uint32_t (&offset)[width], Floats<width> (&abcs)[4]) noexcept
{
    using F = Floats<width>;
    auto at = [&] (int k) { return _mm_loadu_ps (table + offset[k]); };

    if constexpr (width == 4)
    {
        __m128 r0 = at (0), r1 = at (1), r2 = at (2), r3 = at (3);
        _MM_TRANSPOSE4_PS (r0, r1, r2, r3);
        abcs[0] = (F) r0;
        abcs[1] = (F) r1;
        abcs[2] = (F) r2;
        abcs[3] = (F) r3;
        return;
    }
    else
    {
        // Row q holds the segments of lanes q, q + 4, ... in its 128-bit blocks; the same 4 x 4
        // transpose in every block then gives a, b, c and sample in lane order. The blocks are
        // filled by masked broadcasts, which need the load unit rather than a shuffle.
        F rows[4];
        for (int q = 0; q < 4; ++q)
        {
            if constexpr (width == 8)
            {
                __m256 row = _mm256_castps128_ps256 (at (q));
                if constexpr (blocks > 1)
                    row = _mm256_insertf128_ps (row, at (q + 4), 1);
                rows[q] = (F) row;
            }
            else
            {
                __m512 row = _mm512_castps128_ps512 (at (q));
                for (int block = 1; block < blocks; ++block)
                    row = _mm512_mask_broadcast_f32x4 (row, (__mmask16) (0xf << (4 * block)), at (q + 4 * block));
                rows[q] = (F) row;
            }
        }

        auto lo = [] (F x, F y) {
            if constexpr (width == 8)
                return (F) _mm256_unpacklo_ps ((__m256) x, (__m256) y);
            else
                return (F) _mm512_unpacklo_ps ((__m512) x, (__m512) y);
        };
        auto hi = [] (F x, F y) {
            if constexpr (width == 8)
                return (F) _mm256_unpackhi_ps ((__m256) x, (__m256) y);
            else
                return (F) _mm512_unpackhi_ps ((__m512) x, (__m512) y);
        };
        auto lo64 = [] (F x, F y) {
            if constexpr (width == 8)
                return (F) _mm256_unpacklo_pd ((__m256d) x, (__m256d) y);
            else
                return (F) _mm512_unpacklo_pd ((__m512d) x, (__m512d) y);
        };
        auto hi64 = [] (F x, F y) {
            if constexpr (width == 8)
                return (F) _mm256_unpackhi_pd ((__m256d) x, (__m256d) y);
            else
                return (F) _mm512_unpackhi_pd ((__m512d) x, (__m512d) y);
        };

        const F t0 = lo (rows[0], rows[1]), t1 = hi (rows[0], rows[1]);
        const F t2 = lo (rows[2], rows[3]), t3 = hi (rows[2], rows[3]);
        abcs[0] = lo64 (t0, t2);
        abcs[1] = hi64 (t0, t2);
        abcs[2] = lo64 (t1, t3);
        abcs[3] = hi64 (t1, t3);
    }
}

/** The cubic reading of every lane at its own segment, with the fraction f. */
template <int width, int blocks>
inline Floats<width> readTable (const float* table, const std::uint32_t (&offset)[width], Floats<width> f) noexcept
{
    Floats<width> abcs[4];
    loadSegments<width, blocks> (table, offset, abcs);
    return ((abcs[0] * f + abcs[1]) * f + abcs[2]) * f + abcs[3];
}

/** A bit per lane: the lanes of a comparison result that are set. */
template <int width>
inline unsigned movemask (Ints<width> mask) noexcept
{
    if constexpr (width == 4)
        return (unsigned) _mm_movemask_ps ((__m128) mask);
    else if constexpr (width == 8)
        return (unsigned) _mm256_movemask_ps ((__m256) mask);
    else
        return (unsigned) _mm512_cmpneq_epi32_mask ((__m512i) mask, _mm512_setzero_si512());
}

/** True when any lane of a comparison result is set. */
template <int width>
inline bool anySet (Ints<width> mask) noexcept
{
    return movemask<width> (mask) != 0;
}

/** True when a lane of inUse (a bit per lane) holds a value that the output limit evaluates
    exactly rather than by min and max. */
template <int width>
inline bool anyTiny (Floats<width> p, unsigned inUse) noexcept
{
    if constexpr (width == 16)
        return _mm512_mask_cmp_ps_mask ((__mmask16) inUse, (__m512) absolute<width> (p),
                                        _mm512_set1_ps (tinyLimitInput), _CMP_LT_OQ)
               != 0;
    else
        return (movemask<width> ((Ints<width>) (absolute<width> (p) < tinyLimitInput)) & inUse) != 0;
}

/** One step of the amplitude envelope in every lane, each in the stage it is in. */
template <int width>
struct EnvelopeLanes
{
    using F = Floats<width>;
    using I = Ints<width>;

    I stage, attackDelay, releaseDelay;
    F level, attackRate, decayRate, sustainLevel, releaseRate;

    EnvelopeLanes (const VoiceLanes& lanes, int firstLane) noexcept
        : stage (load<I> (lanes.stage + firstLane)),
          attackDelay (load<I> (lanes.attackDelay + firstLane)),
          releaseDelay (load<I> (lanes.releaseDelay + firstLane)),
          level (load<F> (lanes.level + firstLane)),
          attackRate (load<F> (lanes.attackRate + firstLane)),
          decayRate (load<F> (lanes.decayRate + firstLane)),
          sustainLevel (load<F> (lanes.sustainLevel + firstLane)),
          releaseRate (load<F> (lanes.releaseRate + firstLane))
    {
    }

    /** Idle and sustaining envelopes hold their level: a chunk of them needs no steps. */
    bool holding() const noexcept
    {
        return ! anySet<width> ((stage != (int) EnvelopeStage::idle) & (stage != (int) EnvelopeStage::sustain));
    }

    void step() noexcept
    {
        const I attacking = stage == (int) EnvelopeStage::attack;
        const I decaying = stage == (int) EnvelopeStage::decay;
        const I releasing = stage == (int) EnvelopeStage::release;

        attackDelay = (attacking & (attackDelay > 0)) ? attackDelay - 1 : attackDelay;
        level = (attacking & (attackDelay < 1)) ? level + attackRate : level;
        const I full = attacking & ((level < 1.0f) == 0);
        level = full ? 1.0f : level;

        level = decaying ? level - decayRate : level;
        const I sustained = decaying & (level <= sustainLevel);

        // Saturating at 0 as the voice's own envelope does: an offset near INT_MIN cannot wrap.
        const I remaining = (releaseDelay > 1 ? releaseDelay : 1) - 1;
        level = (releasing & (remaining < 1)) ? level - releaseRate : level;
        releaseDelay = releasing ? (remaining > 1 ? remaining - 1 : 0) : releaseDelay;
        const I ended = releasing & (level <= 0.0f);
        level = ended ? 0.0f : level;

        stage = full ? (int) EnvelopeStage::decay : stage;
        stage = sustained ? (int) EnvelopeStage::sustain : stage;
        stage = ended ? (int) EnvelopeStage::idle : stage;
    }

    void storeTo (VoiceLanes& lanes, int firstLane) const noexcept
    {
        store (lanes.stage + firstLane, stage);
        store (lanes.attackDelay + firstLane, attackDelay);
        store (lanes.releaseDelay + firstLane, releaseDelay);
        store (lanes.level + firstLane, level);
    }
};

/** The 32 internal values of one group of lanes: oscillator, filter, amplitude envelope and
    output stage in one pass, so that the filter's and the envelope's chains of dependent steps
    overlap with the table readings. */
template <int width, int blocks, bool envelopeMoves>
inline void renderValues (VoiceLanes& lanes, int firstLane, const Readings<width>& readings,
                          EnvelopeLanes<width>& envelope) noexcept
{
    using F = Floats<width>;

    const float* table = &lanes.table[0].a;
    const F level = load<F> (lanes.secondLevel + firstLane);
    const F cutoff = load<F> (lanes.cutoff + firstLane);
    const F feedback = load<F> (lanes.feedback + firstLane);
    F s1 = load<F> (lanes.s1 + firstLane);
    F s2 = load<F> (lanes.s2 + firstLane);

    F gain = envelope.level * envelope.level;

    for (int n = 0; n < VoiceLanes::valuesPerChunk; ++n)
    {
        const F f = readings.fraction[n];
        const F v = readTable<width, blocks> (table, readings.first[n], f)
                    - readTable<width, blocks> (table, readings.second[n], f) * level;

        const F u = 1.5f * v - 0.5f * v * v * v;
        s1 = s1 + cutoff * (u - s1 + feedback * (s1 - s2));
        s2 = s2 + cutoff * (s1 - s2);

        if constexpr (envelopeMoves)
        {
            envelope.step();
            gain = envelope.level * envelope.level;
        }
        store (lanes.shaped[n] + firstLane, s2 * gain);
    }

    // A lane whose filter memory ran away is silenced for the whole chunk and its memory cleared.
    constexpr float largest = 3.40282347e38f;
    const auto ranAway = ((absolute<width> (s1) <= largest) & (absolute<width> (s2) <= largest)) == 0;
    if (anySet<width> (ranAway))
        for (auto& shaped : lanes.shaped)
            store (shaped + firstLane, ranAway ? 0.0f : load<F> (shaped + firstLane));

    store (lanes.s1 + firstLane, ranAway ? 0.0f : s1);
    store (lanes.s2 + firstLane, ranAway ? 0.0f : s2);
}

template <int width, int blocks>
inline void renderGroup (VoiceLanes& lanes, int firstLane) noexcept
{
    Readings<width> readings;
    advancePhases<width> (lanes, firstLane, readings);

    EnvelopeLanes<width> envelope (lanes, firstLane);
    if (envelope.holding())
        renderValues<width, blocks, false> (lanes, firstLane, readings, envelope);
    else
        renderValues<width, blocks, true> (lanes, firstLane, readings, envelope);
    envelope.storeTo (lanes, firstLane);
}

template <int width, bool upperHalves, int... k>
inline Floats<width> zip (Floats<width> x, Floats<width> y, std::integer_sequence<int, k...>) noexcept
{
    return __builtin_shufflevector (x, y, ((k % 2 == 0 ? 0 : width) + k / 2 + (upperHalves ? width / 2 : 0))...);
}

/** Interleaves the first (or second) halves of two vectors: x0 y0 x1 y1 ... */
template <int width, bool upperHalves>
inline Floats<width> zip (Floats<width> x, Floats<width> y) noexcept
{
    return zip<width, upperHalves> (x, y, std::make_integer_sequence<int, width>());
}

/** Transposes width rows of width floats in place: after log2 (width) rounds of zipping row i
    with row i + width / 2, row k holds what was column k. */
template <int width>
inline void transpose (Floats<width> (&rows)[width]) noexcept
{
    for (int round = 1; round < width; round *= 2)
    {
        Floats<width> zipped[width];
        for (int i = 0; i < width / 2; ++i)
        {
            zipped[2 * i] = zip<width, false> (rows[i], rows[i + width / 2]);
            zipped[2 * i + 1] = zip<width, true> (rows[i], rows[i + width / 2]);
        }
        for (int i = 0; i < width; ++i)
            rows[i] = zipped[i];
    }
}

template <int width, bool odd, int... k>
inline Floats<width> everyOther (Floats<width> x, Floats<width> y, std::integer_sequence<int, k...>) noexcept
{
    return __builtin_shufflevector (x, y, (2 * k + (odd ? 1 : 0))...);
}

/** The even (or odd) elements of x followed by those of y. */
template <int width, bool odd>
inline Floats<width> everyOther (Floats<width> x, Floats<width> y) noexcept
{
    return everyOther<width, odd> (x, y, std::make_integer_sequence<int, width>());
}

/** Output stage and mix: each lane's 32 values, moved into vectors of time, are driven,
    limited and scaled, and added into the chunk's arrays lane by lane in order, every output
    sample receiving the even and then the odd internal value, as the voices' own output stage
    does. The arrays must not overlap. */
template <int width>
inline void outputAndMix (const VoiceLanes& lanes, float* left, float* right) noexcept
{
    using F = Floats<width>;
    constexpr int timeVectors = VoiceLanes::valuesPerChunk / width;
    constexpr int outputVectors = timeVectors / 2;

    F outLeft[outputVectors], outRight[outputVectors];
    for (int b = 0; b < outputVectors; ++b)
    {
        outLeft[b] = load<F> (left + b * width);
        outRight[b] = load<F> (right + b * width);
    }

    for (int firstLane = 0; firstLane < lanes.count; firstLane += width)
    {
        // values[t][k]: lane k's values t * width .. t * width + width - 1.
        F values[timeVectors][width];
        for (int t = 0; t < timeVectors; ++t)
        {
            for (int i = 0; i < width; ++i)
                values[t][i] = load<F> (lanes.shaped[t * width + i] + firstLane);
            transpose<width> (values[t]);
        }

        for (int k = 0; k < width && firstLane + k < lanes.count; ++k)
        {
            const int lane = firstLane + k;
            const float saturation = lanes.saturation[lane], volume = lanes.volume[lane];
            const float firstShare = lanes.spread[lane], secondShare = 1.0f - firstShare;

            F firstPart[timeVectors], secondPart[timeVectors];
            for (int t = 0; t < timeVectors; ++t)
            {
                const F z = limit<width> (saturation * values[t][k], -2.0f, 2.0f);
                const F p = 1.5f * z - 0.5f * z * z * z;
                const F q = anyTiny<width> (p, ~0u) ? limitToUnitRange<width> (p) : limit<width> (p, -1.0f, 1.0f);
                const F w = q * volume * 0.5f;
                firstPart[t] = w * firstShare;
                secondPart[t] = w * secondShare;
            }

            F* first = lanes.firstIsLeft[lane] ? outLeft : outRight;
            F* second = lanes.firstIsLeft[lane] ? outRight : outLeft;
            for (int b = 0; b < outputVectors; ++b)
            {
                first[b] = first[b] + everyOther<width, false> (firstPart[2 * b], firstPart[2 * b + 1]);
                first[b] = first[b] + everyOther<width, true> (firstPart[2 * b], firstPart[2 * b + 1]);
                second[b] = second[b] + everyOther<width, false> (secondPart[2 * b], secondPart[2 * b + 1]);
                second[b] = second[b] + everyOther<width, true> (secondPart[2 * b], secondPart[2 * b + 1]);
            }
        }
    }

    for (int b = 0; b < outputVectors; ++b)
    {
        store (left + b * width, outLeft[b]);
        store (right + b * width, outRight[b]);
    }
}

/** outputAndMix with vectors no wider than the lanes in use need. */
template <int width>
inline void mix (const VoiceLanes& lanes, float* left, float* right) noexcept
{
    if constexpr (width >= 16)
        if (lanes.count > 8)
            return outputAndMix<16> (lanes, left, right);
    if constexpr (width >= 8)
        if (lanes.count > 4)
            return outputAndMix<8> (lanes, left, right);
    outputAndMix<4> (lanes, left, right);
}

/** Runs the lanes in groups of width, or narrower for the last few lanes; a group reads the
    tables only for its lanes in use, rounded up to a multiple of four. */
template <int width>
inline void render (VoiceLanes& lanes) noexcept
{
    static_assert (VoiceLanes::maxCount % width == 0);
    for (int firstLane = 0; firstLane < lanes.count;)
    {
        const int remaining = lanes.count - firstLane;
        if constexpr (width >= 16)
            if (remaining > 8)
            {
                if (remaining > 12)
                    renderGroup<16, 4> (lanes, firstLane);
                else
                    renderGroup<16, 3> (lanes, firstLane);
                firstLane += 16;
                continue;
            }
        if constexpr (width >= 8)
            if (remaining > 4)
            {
                renderGroup<8, 2> (lanes, firstLane);
                firstLane += 8;
                continue;
            }
        renderGroup<4, 1> (lanes, firstLane);
        firstLane += 4;
    }
}
} // namespace quane::lanes
