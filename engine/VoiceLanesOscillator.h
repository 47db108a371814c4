// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice-lanes oscillator: phases, table positions and the two cubic readings of each value.
//
// Included only through engine/VoiceLanesKernel.h, by sources built for one instruction set.
#pragma once

#include "engine/DspHelpers.h"
#include "engine/VectorShims.h"
#include "engine/VoiceLanes.h"
#include "engine/WavetableOscillator.h"

namespace quane::lanes
{
namespace
{
constexpr float tableLength = (float) WavetableOscillator::length;

/** With increments in 0..length one subtraction always brings an advanced phase back into the
    table; other increments (extreme pitch, odd sample rates) take the voice's full wrap. */
template <typename F>
inline bool incrementsArePlain (F increment) noexcept
{
    return all ((increment >= 0.0f) & (increment < tableLength));
}

template <bool plainIncrements, typename F>
inline F advancedPhase (F phase, F increment) noexcept
{
    if constexpr (plainIncrements)
        return subtractLengthOnce (phase + increment, tableLength);
    else
        return wrapPhase (phase + increment, tableLength);
}

/** Where values read: the segments' offsets in floats from the table's start (4 floats per
    segment, unsigned so that no sign extension is needed) and the fractions, for count vectors
    of values. */
template <int width, int count>
struct Readings
{
    std::uint32_t first[count][width];
    std::uint32_t second[count][width];
    Floats<width> fraction[count];

    /** Notes where the values at position read, as the voice's oscillator does: the second
        reading lies offset further on and borrows the first one's fraction. */
    void note (int n, Floats<width> position, Floats<width> offset) noexcept
    {
        const auto i = segmentIndex (position);
        const auto j = segmentIndex (position + offset) & (WavetableOscillator::length - 1);
        fraction[n] = position - toFloat (i);
        store (first[n], i << 2);
        store (second[n], j << 2);
    }

    /** The oscillator's value n: the first reading minus the second one scaled by level. */
    template <int blocks>
    Floats<width> value (const float* table, int n, Floats<width> level) const noexcept
    {
        return read<blocks> (table, first[n], fraction[n]) - read<blocks> (table, second[n], fraction[n]) * level;
    }

    /** The cubic reading of every lane at its own segment. */
    template <int blocks>
    static Floats<width> read (const float* table, const std::uint32_t (&offset)[width], Floats<width> f) noexcept
    {
        Floats<width> abcs[4];
        loadSegments<width, blocks> (table, offset, abcs);
        return cubicReading (abcs[0], abcs[1], abcs[2], abcs[3], f);
    }
};

/** The pair's phases, in the first two lanes of a vector of 4, advanced value by value beside a
    group's, noting both voices' positions. */
struct PairPhases
{
    Floats<4> phase, increment;
    float (&positions)[valuesPerChunk][2];

    PairPhases (const VoiceLanes& lanes, float (&notedPositions)[valuesPerChunk][2]) noexcept
        : phase (loadTwo (lanes.phase + VoiceLanes::pairFirst)),
          increment (loadTwo (lanes.increment + VoiceLanes::pairFirst)),
          positions (notedPositions)
    {
    }

    bool plain() const noexcept { return incrementsArePlain (increment); }

    template <bool plainIncrements>
    void step (int n) noexcept
    {
        storeTwo (positions[n], phase);
        phase = advancedPhase<plainIncrements> (phase, increment);
    }
};

/** Advances the phases of a group of lanes over the chunk, noting where every value reads, and
    returns the phases after it; the pair's phases, if given, advance in the same loop. */
template <int width, bool plainIncrements, typename... Pair>
inline Floats<width> advancePhases (const VoiceLanes& lanes, int firstLane, Readings<width, valuesPerChunk>& readings,
                                    Pair&... pair) noexcept
{
    using F = Floats<width>;
    F phase = load<F> (lanes.phase + firstLane);
    const F increment = load<F> (lanes.increment + firstLane);
    const F offset = load<F> (lanes.secondOffset + firstLane);

    for (int n = 0; n < valuesPerChunk; ++n)
    {
        readings.note (n, phase, offset);
        phase = advancedPhase<plainIncrements> (phase, increment);
        (pair.template step<plainIncrements> (n), ...);
    }
    return phase;
}

template <int width, typename... Pair>
inline Floats<width> advancePhases (const VoiceLanes& lanes, int firstLane, Readings<width, valuesPerChunk>& readings,
                                    Pair&... pair) noexcept
{
    if (incrementsArePlain (load<Floats<width>> (lanes.increment + firstLane)) && (pair.plain() && ...))
        return advancePhases<width, true> (lanes, firstLane, readings, pair...);
    return advancePhases<width, false> (lanes, firstLane, readings, pair...);
}

/** The pair's phases alone, for a chunk in which no group sounds. */
inline void advancePairPhases (PairPhases& pair) noexcept
{
    if (pair.plain())
        for (int n = 0; n < valuesPerChunk; ++n)
            pair.step<true> (n);
    else
        for (int n = 0; n < valuesPerChunk; ++n)
            pair.step<false> (n);
}

/** The inputs of the pair's filters, cubicShape of the oscillator's values, computed width at
    a time: width / 2 internal values of both voices in each vector. */
template <int width>
inline void pairFilterInputs (const VoiceLanes& lanes, const float (&positions)[valuesPerChunk][2],
                              float (*inputs)[2]) noexcept
{
    using F = Floats<width>;
    constexpr int count = 2 * valuesPerChunk / width;
    constexpr int blocks = width / 4;

    float offsets[width], levels[width];
    for (int k = 0; k < width; ++k)
    {
        offsets[k] = lanes.secondOffset[VoiceLanes::pairFirst + k % 2];
        levels[k] = lanes.secondLevel[VoiceLanes::pairFirst + k % 2];
    }
    const F offset = load<F> (offsets), level = load<F> (levels);

    Readings<width, count> readings;
    for (int n = 0; n < count; ++n)
        readings.note (n, load<F> (positions[n * width / 2]), offset);

    const float* table = &lanes.table[0].a;
    for (int n = 0; n < count; ++n)
        store (inputs[n * width / 2], cubicShape (readings.template value<blocks> (table, n, level)));
}
} // namespace
} // namespace quane::lanes
