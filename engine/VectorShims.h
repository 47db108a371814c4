// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Vectors of 4, 8 or 16 voice lanes as value types that read like float and int, and their transposes.
//
// Floats<width> and Ints<width> wrap one register (SSE2, AVX2 or AVX-512) so that the formulas of
// engine/DspHelpers.h and the voice's parts, written for float, run lane by lane unchanged:
// arithmetic and comparisons as for float and int (a comparison gives a lane mask, all bits set
// where it holds), and the primitives absolute, limit, lower, higher, select, any, roundToInt and toFloat with
// the results of their float versions in every lane, NaN included. Include only from sources
// built for the instruction set of the width they use.
#pragma once

#include <immintrin.h>

#include <cstdint>
#include <cstring>
#include <utility>

namespace quane::lanes
{
template <int width>
struct Registers;

template <>
struct Registers<4>
{
    typedef float Floats __attribute__ ((vector_size (16)));
    typedef std::int32_t Ints __attribute__ ((vector_size (16)));
    typedef double Doubles __attribute__ ((vector_size (32)));
    typedef std::int32_t DoubleHalves __attribute__ ((vector_size (32)));
};

template <>
struct Registers<8>
{
    typedef float Floats __attribute__ ((vector_size (32)));
    typedef std::int32_t Ints __attribute__ ((vector_size (32)));
    typedef double Doubles __attribute__ ((vector_size (64)));
    typedef std::int32_t DoubleHalves __attribute__ ((vector_size (64)));
};

template <>
struct Registers<16>
{
    typedef float Floats __attribute__ ((vector_size (64)));
    typedef std::int32_t Ints __attribute__ ((vector_size (64)));
    typedef double Doubles __attribute__ ((vector_size (128)));
    typedef std::int32_t DoubleHalves __attribute__ ((vector_size (128)));
};

/** A value in every lane; unlike 0 + value it keeps the sign of -0. */
template <typename Register>
inline Register broadcast (float value) noexcept
{
    if constexpr (sizeof (Register) == 16)
        return (Register) _mm_set1_ps (value);
    else if constexpr (sizeof (Register) == 32)
        return (Register) _mm256_set1_ps (value);
    else
        return (Register) _mm512_set1_ps (value);
}

template <typename Register>
inline Register broadcast (std::int32_t value) noexcept
{
    if constexpr (sizeof (Register) == 16)
        return (Register) _mm_set1_epi32 (value);
    else if constexpr (sizeof (Register) == 32)
        return (Register) _mm256_set1_epi32 (value);
    else
        return (Register) _mm512_set1_epi32 (value);
}

/** width int32 lanes; also the mask a comparison gives. */
template <int width>
struct Ints
{
    using Register = typename Registers<width>::Ints;
    Register r;

    Ints() = default;
    Ints (Register value) noexcept : r (value) {}
    Ints (std::int32_t value) noexcept : r (broadcast<Register> (value)) {}

    friend Ints operator+ (Ints x, Ints y) noexcept { return x.r + y.r; }
    friend Ints operator- (Ints x, Ints y) noexcept { return x.r - y.r; }
    friend Ints operator* (Ints x, Ints y) noexcept { return x.r * y.r; }
    friend Ints operator& (Ints x, Ints y) noexcept { return x.r & y.r; }
    friend Ints operator| (Ints x, Ints y) noexcept { return x.r | y.r; }
    friend Ints operator<< (Ints x, int bits) noexcept { return x.r << bits; }
    friend Ints operator== (Ints x, Ints y) noexcept { return x.r == y.r; }
    friend Ints operator!= (Ints x, Ints y) noexcept { return x.r != y.r; }
    friend Ints operator<(Ints x, Ints y) noexcept { return x.r < y.r; }
    friend Ints operator> (Ints x, Ints y) noexcept { return x.r > y.r; }

    /** The mask of the lanes where a mask is clear. */
    Ints operator!() const noexcept { return r == 0; }

    friend Ints select (Ints mask, Ints whenSet, Ints whenClear) noexcept { return mask.r ? whenSet.r : whenClear.r; }
    friend Ints higher (Ints x, Ints y) noexcept { return x.r > y.r ? x.r : y.r; }
};

/** width float lanes. */
template <int width>
struct Floats
{
    using Register = typename Registers<width>::Floats;
    Register r;

    Floats() = default;
    Floats (Register value) noexcept : r (value) {}
    Floats (float value) noexcept : r (broadcast<Register> (value)) {}

    friend Floats operator+ (Floats x, Floats y) noexcept { return x.r + y.r; }
    friend Floats operator- (Floats x, Floats y) noexcept { return x.r - y.r; }
    friend Floats operator* (Floats x, Floats y) noexcept { return x.r * y.r; }
    friend Floats operator/ (Floats x, Floats y) noexcept { return x.r / y.r; }
    Floats& operator+= (Floats y) noexcept { return *this = r + y.r; }
    friend Ints<width> operator<(Floats x, Floats y) noexcept { return x.r < y.r; }
    friend Ints<width> operator> (Floats x, Floats y) noexcept { return x.r > y.r; }
    friend Ints<width> operator<= (Floats x, Floats y) noexcept { return x.r <= y.r; }
    friend Ints<width> operator>= (Floats x, Floats y) noexcept { return x.r >= y.r; }

    friend Floats select (Ints<width> mask, Floats whenSet, Floats whenClear) noexcept
    {
        return mask.r ? whenSet.r : whenClear.r;
    }
};

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
    using I = typename Ints<width>::Register;
    if constexpr (width == 4)
        return (I) _mm_cvtps_epi32 ((__m128) x.r);
    else if constexpr (width == 8)
        return (I) _mm256_cvtps_epi32 ((__m256) x.r);
    else
        return (I) _mm512_cvtps_epi32 ((__m512) x.r);
}

template <int width>
inline Floats<width> toFloat (Ints<width> x) noexcept
{
    return __builtin_convertvector(x.r, typename Floats<width>::Register);
}

/** A bit per lane: the lanes of a mask that are set. */
template <int width>
inline unsigned movemask (Ints<width> mask) noexcept
{
    if constexpr (width == 4)
        return (unsigned) _mm_movemask_ps ((__m128) mask.r);
    else if constexpr (width == 8)
        return (unsigned) _mm256_movemask_ps ((__m256) mask.r);
    else
        return (unsigned) _mm512_cmpneq_epi32_mask ((__m512i) mask.r, _mm512_setzero_si512());
}

/** True when any lane of a mask is set. */
template <int width>
inline bool any (Ints<width> mask) noexcept
{
    return movemask<width> (mask) != 0;
}

/** True when every lane of a mask is set. */
template <int width>
inline bool all (Ints<width> mask) noexcept
{
    return movemask<width> (mask) == (1u << width) - 1;
}

template <int width>
inline Floats<width> absolute (Floats<width> x) noexcept
{
    return (typename Floats<width>::Register) ((typename Ints<width>::Register) x.r & 0x7fffffff);
}

/** std::min (std::max (x, lo), hi), lane by lane, with the same choices for equal values and
    NaN: max (lo, x) and min (hi, m) return their second operand unless the first is larger or
    smaller, as std::max (x, lo) and std::min (m, hi) do. */
template <int width>
inline Floats<width> limit (Floats<width> x, float lo, float hi) noexcept
{
    using F = typename Floats<width>::Register;
    if constexpr (width == 4)
        return (F) _mm_min_ps (_mm_set1_ps (hi), _mm_max_ps (_mm_set1_ps (lo), (__m128) x.r));
    else if constexpr (width == 8)
        return (F) _mm256_min_ps (_mm256_set1_ps (hi), _mm256_max_ps (_mm256_set1_ps (lo), (__m256) x.r));
    else
        return (F) _mm512_min_ps (_mm512_set1_ps (hi), _mm512_max_ps (_mm512_set1_ps (lo), (__m512) x.r));
}

/** width double lanes, for the few values defined in double precision. The register may be
    wider than the instruction set's; the compiler then splits each operation. */
template <int width>
struct Doubles
{
    using Register = typename Registers<width>::Doubles;
    Register r;

    Doubles() = default;
    Doubles (Register value) noexcept : r (value) {}
    Doubles (double value) noexcept : r (Register {} + value) {} // only for constants other than -0

    friend Doubles operator+ (Doubles x, Doubles y) noexcept { return x.r + y.r; }
    friend Doubles operator- (Doubles x, Doubles y) noexcept { return x.r - y.r; }
    friend Doubles operator* (Doubles x, Doubles y) noexcept { return x.r * y.r; }
};

template <int width>
inline Doubles<width> widen (Floats<width> x) noexcept
{
    return __builtin_convertvector(x.r, typename Doubles<width>::Register);
}

/** Rounded to float as a conversion of each lane rounds it. */
template <int width>
inline Floats<width> narrow (Doubles<width> x) noexcept
{
    return __builtin_convertvector(x.r, typename Floats<width>::Register);
}

template <int width, int... k>
inline Ints<width> evenElements (typename Registers<width>::DoubleHalves x, std::integer_sequence<int, k...>) noexcept
{
    return (typename Ints<width>::Register) __builtin_shufflevector (x, x, (2 * k)...);
}

/** The 29 bits of each lane's significand that a conversion to float rounds away. */
template <int width>
inline Ints<width> bitsBelowFloatPrecision (Doubles<width> x) noexcept
{
    // The low half of each double comes first (little-endian).
    using Halves = typename Registers<width>::DoubleHalves;
    return evenElements<width> ((Halves) x.r, std::make_integer_sequence<int, width>()) & 0x1fffffff;
}

/** 2^n as a float for whole n in -126..127, lane by lane. */
template <int width>
inline Floats<width> floatPowerOfTwo (Ints<width> n) noexcept
{
    return (typename Floats<width>::Register) ((n + 127) << 23).r;
}

/** f (input) in the lanes where holds is clear, one lane at a time: the rare lanes a vector
    formula does not cover. */
template <int width, typename Function>
inline Floats<width> exceptWhere (Ints<width> holds, Floats<width> value, Floats<width> input, Function f) noexcept
{
    if (all (holds))
        return value;
    float values[width], inputs[width];
    std::int32_t held[width];
    store (values, value);
    store (inputs, input);
    store (held, holds);
    for (int k = 0; k < width; ++k)
        if (held[k] == 0)
            values[k] = f (inputs[k]);
    return load<Floats<width>> (values);
}

/** std::min (x, hi) lane by lane, NaN included. */
template <int width>
inline Floats<width> lower (Floats<width> x, float hi) noexcept
{
    using F = typename Floats<width>::Register;
    if constexpr (width == 4)
        return (F) _mm_min_ps (_mm_set1_ps (hi), (__m128) x.r);
    else if constexpr (width == 8)
        return (F) _mm256_min_ps (_mm256_set1_ps (hi), (__m256) x.r);
    else
        return (F) _mm512_min_ps (_mm512_set1_ps (hi), (__m512) x.r);
}

/** The segments {a, b, c, sample} at the given offsets (in floats from the table's start), one
    16-byte load per lane of the first blocks x 4 lanes (blocks 0: the first two lanes), transposed
    into the vectors of a, b, c and sample. Later lanes hold anything. */
template <int width, int blocks>
inline void loadSegments (const float* table, const std::uint32_t (&offset)[width], Floats<width> (&abcs)[4]) noexcept
{
    using F = typename Floats<width>::Register;
    auto at = [&] (int k) { return _mm_loadu_ps (table + offset[k]); };

    if constexpr (width == 4 && blocks == 0)
    {
        // Two lanes in use: a0 a1 b0 b1 and c0 c1 s0 s1, the upper halves moved down for b and s.
        const __m128 r0 = at (0), r1 = at (1);
        const __m128 ab = _mm_unpacklo_ps (r0, r1), cs = _mm_unpackhi_ps (r0, r1);
        abcs[0] = (F) ab;
        abcs[1] = (F) _mm_movehl_ps (ab, ab);
        abcs[2] = (F) cs;
        abcs[3] = (F) _mm_movehl_ps (cs, cs);
        return;
    }
    else if constexpr (width == 4)
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

template <int width, bool upperHalves, int... k>
inline Floats<width> zip (Floats<width> x, Floats<width> y, std::integer_sequence<int, k...>) noexcept
{
    return __builtin_shufflevector (x.r, y.r, ((k % 2 == 0 ? 0 : width) + k / 2 + (upperHalves ? width / 2 : 0))...);
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
    return __builtin_shufflevector (x.r, y.r, (2 * k + (odd ? 1 : 0))...);
}

/** The even (or odd) elements of x followed by those of y. */
template <int width, bool odd>
inline Floats<width> everyOther (Floats<width> x, Floats<width> y) noexcept
{
    return everyOther<width, odd> (x, y, std::make_integer_sequence<int, width>());
}
} // namespace quane::lanes
