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

// The contents have internal linkage (an unnamed namespace): every kernel's source compiles the same
// templates for its own instruction set, and the linker must keep each source's own copy.
namespace quane::lanes
{
namespace
{
template <int width>
struct Registers;

template <>
struct Registers<4>
{
    typedef float Floats __attribute__ ((vector_size (16)));
    typedef std::int32_t Ints __attribute__ ((vector_size (16)));
    typedef double Doubles __attribute__ ((vector_size (32)));
    typedef std::int64_t DoubleBits __attribute__ ((vector_size (32)));
};

template <>
struct Registers<8>
{
    typedef float Floats __attribute__ ((vector_size (32)));
    typedef std::int32_t Ints __attribute__ ((vector_size (32)));
    typedef double Doubles __attribute__ ((vector_size (64)));
    typedef std::int64_t DoubleBits __attribute__ ((vector_size (64)));
};

template <>
struct Registers<16>
{
    typedef float Floats __attribute__ ((vector_size (64)));
    typedef std::int32_t Ints __attribute__ ((vector_size (64)));
    typedef double Doubles __attribute__ ((vector_size (128)));
    typedef std::int64_t DoubleBits __attribute__ ((vector_size (128)));
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
    // An unaligned vector type that may alias anything: a plain vector load or store.
    typedef typename V::Register Unaligned __attribute__ ((aligned (4), may_alias));
    return V (*reinterpret_cast<const Unaligned*> (source));
}

template <typename V, typename T>
inline void store (T* destination, V v) noexcept
{
    typedef typename V::Register Unaligned __attribute__ ((aligned (4), may_alias));
    *reinterpret_cast<Unaligned*> (destination) = v.r;
}

/** Stores value into the lanes whose mask is set; the others keep what they hold. */
template <typename V, typename T, typename Mask>
inline void storeWhere (T* destination, Mask mask, V value) noexcept
{
    store (destination, select (mask, value, load<V> (destination)));
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

/** The bits of each lane's float. */
template <int width>
inline Ints<width> bitsOf (Floats<width> x) noexcept
{
    return (typename Ints<width>::Register) x.r;
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

/** The 29 bits of each lane's significand that a conversion to float rounds away. */
template <int width>
inline Ints<width> bitsBelowFloatPrecision (Doubles<width> x) noexcept
{
    // The low half of each double's bits: a truncating conversion of the 64-bit integers.
    using Bits = typename Registers<width>::DoubleBits;
    return __builtin_convertvector((Bits) x.r, typename Ints<width>::Register) & 0x1fffffff;
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

/** Four vectors from groups of four floats: block (q, c) = at (q + 4 c), for q = 0..3 and the first
    blocks 128-bit blocks c of a vector (blocks 0: the first two floats of each group, q = 0..1,
    in a vector of 4), transposed so that element 4 c + i of vector r is element r of block
    (i, c). So with at (k) the four floats of lane k, vector r holds field r of every lane in lane
    order; with at (q + 4 c) four lanes' values at time 4 c + q, vector r holds lane r's values
    in time order. Later elements hold anything. The blocks after the first come in by loads that
    fill a block (insert, masked broadcast), which need the load unit rather than a shuffle. */
template <int width, int blocks, typename At>
inline void transposeBlocks (At at, Floats<width> (&columns)[4]) noexcept
{
    using F = typename Floats<width>::Register;

    if constexpr (width == 4 && blocks == 0)
    {
        // Two groups: a0 a1 b0 b1 and c0 c1 d0 d1, the upper halves moved down for b and d.
        const __m128 r0 = at (0), r1 = at (1);
        const __m128 ab = _mm_unpacklo_ps (r0, r1), cd = _mm_unpackhi_ps (r0, r1);
        columns[0] = (F) ab;
        columns[1] = (F) _mm_movehl_ps (ab, ab);
        columns[2] = (F) cd;
        columns[3] = (F) _mm_movehl_ps (cd, cd);
        return;
    }
    else if constexpr (width == 4)
    {
        __m128 r0 = at (0), r1 = at (1), r2 = at (2), r3 = at (3);
        _MM_TRANSPOSE4_PS (r0, r1, r2, r3);
        columns[0] = (F) r0;
        columns[1] = (F) r1;
        columns[2] = (F) r2;
        columns[3] = (F) r3;
        return;
    }
    else
    {
        // Row q holds the groups q, q + 4, ... in its 128-bit blocks; the same 4 x 4 transpose
        // in every block then gives the columns.
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
        columns[0] = lo64 (t0, t2);
        columns[1] = hi64 (t0, t2);
        columns[2] = lo64 (t1, t3);
        columns[3] = hi64 (t1, t3);
    }
}

/** The segments {a, b, c, sample} at the given offsets (in floats from the table's start),
    transposed into the vectors of a, b, c and sample. */
template <int width, int blocks>
inline void loadSegments (const float* table, const std::uint32_t (&offset)[width], Floats<width> (&abcs)[4]) noexcept
{
    transposeBlocks<width, blocks> ([&] (int k) { return _mm_loadu_ps (table + offset[k]); }, abcs);
}

/** base[index], lane by lane. */
template <int width>
inline Floats<width> gather (const float* base, Ints<width> index) noexcept
{
#if defined(__AVX2__)
    using F = typename Floats<width>::Register;
    if constexpr (width == 4)
        return (F) _mm_i32gather_ps (base, (__m128i) index.r, 4);
    else if constexpr (width == 8)
        return (F) _mm256_i32gather_ps (base, (__m256i) index.r, 4);
    else
        return (F) _mm512_i32gather_ps ((__m512i) index.r, base, 4);
#else
    std::int32_t at[width];
    float values[width];
    store (at, index);
    for (int k = 0; k < width; ++k)
        values[k] = base[at[k]];
    return load<Floats<width>> (values);
#endif
}

/** The mask of the lanes whose bit is set, lane k taking bit k. */
template <int width>
inline Ints<width> laneMask (unsigned bits) noexcept
{
    std::int32_t laneBits[width];
    for (int k = 0; k < width; ++k)
        laneBits[k] = 1 << k;
    return (Ints<width> ((std::int32_t) bits) & load<Ints<width>> (laneBits)) != 0;
}

/** Two floats into the first two lanes of a vector of 4 (the others 0), and back. */
inline Floats<4> loadTwo (const float* source) noexcept
{
    return (Registers<4>::Floats) _mm_castsi128_ps (_mm_loadl_epi64 ((const __m128i*) source));
}

inline void storeTwo (float* destination, Floats<4> x) noexcept
{
    _mm_storel_epi64 ((__m128i*) destination, _mm_castps_si128 ((__m128) x.r));
}
} // namespace
} // namespace quane::lanes
