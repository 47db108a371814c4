// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice-lanes render: the 32 internal values of the voices through filter and amplitude envelope.
//
// Included only through engine/VoiceLanesKernel.h, by sources built for one instruction set.
// Kernels narrower than the voice count run their last two voices as a pair: the pair's
// oscillator values are read several internal values to a vector, and its filter steps go in the
// loop of another group, so that two chains of dependent steps overlap.
#pragma once

#include "engine/AmpEnvelope.h"
#include "engine/ResonantFilter.h"
#include "engine/VoiceLanesEnvelopes.h"
#include "engine/VoiceLanesOscillator.h"

namespace quane::lanes
{
namespace
{
/** The filters and amplitude envelopes of a group of lanes, each envelope stepped in the stage
    it is in; only the lanes of mask keep what a chunk does to them. */
template <int width>
struct FilterLanes : EnvelopeValueLanes<width>
{
    using F = Floats<width>;
    using I = Ints<width>;
    using EnvelopeValueLanes<width>::stage;
    using EnvelopeValueLanes<width>::level;

    I mask;
    F cutoff, feedback, s1, s2, gain;
    I attackDelay, releaseDelay;

    FilterLanes (const VoiceLanes& lanes, int firstLane, I activeLanes) noexcept
        : EnvelopeValueLanes<width> (lanes.amp, firstLane),
          mask (activeLanes),
          cutoff (load<F> (lanes.cutoff + firstLane)),
          feedback (load<F> (lanes.feedback + firstLane)),
          s1 (load<F> (lanes.s1 + firstLane)),
          s2 (load<F> (lanes.s2 + firstLane)),
          attackDelay (load<I> (lanes.attackDelay + firstLane)),
          releaseDelay (load<I> (lanes.releaseDelay + firstLane))
    {
        gain = level * level;
    }

    /** Idle and sustaining envelopes hold their level: a chunk of them needs no steps. */
    bool holding() const noexcept
    {
        return ! any (mask & (stage != (int) EnvelopeStage::idle) & (stage != (int) EnvelopeStage::sustain));
    }

    /** The filter's step for one value (u through the shaper already), then the envelope's. */
    template <bool envelopeMoves>
    F next (F u) noexcept
    {
        ResonantFilter::stepShaped (u, cutoff, feedback, s1, s2);
        if constexpr (envelopeMoves)
        {
            // Each envelope takes one step, in the stage it was in before it.
            const I attacking = stage == (int) EnvelopeStage::attack;
            const I decaying = stage == (int) EnvelopeStage::decay;
            const I releasing = stage == (int) EnvelopeStage::release;
            stepAttack (*this, attacking);
            stepDecay (*this, decaying);
            stepRelease (*this, releasing);
            gain = level * level;
        }
        return s2 * gain;
    }

    /** Stores the state back; returns the lanes whose filter memory ran away, which a chunk
        silences whole while their memory is cleared. */
    I finish (VoiceLanes& lanes, int firstLane) const noexcept
    {
        const auto ranAway = ! ResonantFilter::memoryIsFinite (s1, s2);
        storeWhere (lanes.s1 + firstLane, mask, select (ranAway, 0.0f, s1));
        storeWhere (lanes.s2 + firstLane, mask, select (ranAway, 0.0f, s2));
        EnvelopeValueLanes<width>::storeTo (lanes.amp, firstLane, mask);
        storeWhere (lanes.attackDelay + firstLane, mask, attackDelay);
        storeWhere (lanes.releaseDelay + firstLane, mask, releaseDelay);
        return ranAway;
    }
};

/** A group of width lanes from firstLane, its values read in the loop. */
template <int width, int blocks>
struct GroupValues : FilterLanes<width>
{
    using F = Floats<width>;

    const Readings<width, valuesPerChunk>& readings;
    const float* table;
    F secondLevel;

    GroupValues (const VoiceLanes& lanes, int firstLane, Ints<width> mask,
                 const Readings<width, valuesPerChunk>& notedReadings) noexcept
        : FilterLanes<width> (lanes, firstLane, mask),
          readings (notedReadings),
          table (&lanes.table[0].a),
          secondLevel (load<F> (lanes.secondLevel + firstLane))
    {
    }

    template <bool envelopeMoves>
    void step (VoiceLanes& lanes, int firstLane, int n) noexcept
    {
        const F value = readings.template value<blocks> (table, n, secondLevel);
        store (lanes.shaped[n] + firstLane, this->template next<envelopeMoves> (cubicShape (value)));
    }

    void finish (VoiceLanes& lanes, int firstLane) const noexcept
    {
        const auto ranAway = FilterLanes<width>::finish (lanes, firstLane);
        if (any (ranAway))
            for (auto& shaped : lanes.shaped)
                store (shaped + firstLane, select (ranAway, 0.0f, load<F> (shaped + firstLane)));
    }
};

/** The pair's filters, in the first two lanes of a vector of 4, with their inputs computed
    before the loop. */
struct PairValues : FilterLanes<4>
{
    float (*inputs)[2];

    PairValues (const VoiceLanes& lanes, unsigned bits, float (&filterInputs)[valuesPerChunk][2]) noexcept
        : FilterLanes<4> (lanes, VoiceLanes::pairFirst, laneMask<4> (bits)), inputs (filterInputs)
    {
    }

    template <bool envelopeMoves>
    void step (VoiceLanes& lanes, int n) noexcept
    {
        storeTwo (lanes.pairShaped[n], next<envelopeMoves> (loadTwo (inputs[n])));
    }

    void finish (VoiceLanes& lanes) const noexcept
    {
        const auto ranAway = FilterLanes<4>::finish (lanes, VoiceLanes::pairFirst);
        if (any (ranAway))
            for (auto& shaped : lanes.pairShaped)
                storeTwo (shaped, select (ranAway, 0.0f, loadTwo (shaped)));
    }
};

/** The inputs of the pair's filters from its positions, and its phases after the chunk. */
template <int width>
inline void preparePair (VoiceLanes& lanes, const PairValues& pair, const PairPhases& phases) noexcept
{
    storeWhere (lanes.phase + VoiceLanes::pairFirst, pair.mask, phases.phase);
    pairFilterInputs<width> (lanes, phases.positions, pair.inputs);
}

/** The values of a group, with the pair's filter steps (if given) in the same loop. */
template <bool envelopeMoves, typename Group, typename... Pair>
inline void runValues (VoiceLanes& lanes, int firstLane, Group& group, Pair&... pair) noexcept
{
    for (int n = 0; n < valuesPerChunk; ++n)
    {
        group.template step<envelopeMoves> (lanes, firstLane, n);
        (pair.template step<envelopeMoves> (lanes, n), ...);
    }
}

/** A group's values; the pair's phases and filter steps, when pair is given, go into its loops,
    read pairWidth lanes at a time. */
template <int width, int blocks, int pairWidth>
inline void renderGroup (VoiceLanes& lanes, int firstLane, unsigned bits, PairValues* pair) noexcept
{
    const auto mask = laneMask<width> (bits);
    Readings<width, valuesPerChunk> readings;
    if (pair == nullptr)
        storeWhere (lanes.phase + firstLane, mask, advancePhases<width> (lanes, firstLane, readings));
    else
    {
        float positions[valuesPerChunk][2];
        PairPhases pairPhases (lanes, positions);
        storeWhere (lanes.phase + firstLane, mask, advancePhases<width> (lanes, firstLane, readings, pairPhases));
        preparePair<pairWidth> (lanes, *pair, pairPhases);
    }

    GroupValues<width, blocks> group (lanes, firstLane, mask, readings);
    if (pair == nullptr)
    {
        if (group.holding())
            runValues<false> (lanes, firstLane, group);
        else
            runValues<true> (lanes, firstLane, group);
    }
    else
    {
        PairValues pairHere = *pair; // a local of the loop, which can then stay in registers
        if (group.holding() && pairHere.holding())
            runValues<false> (lanes, firstLane, group, pairHere);
        else
            runValues<true> (lanes, firstLane, group, pairHere);
        *pair = pairHere;
    }
    group.finish (lanes, firstLane);
}

/** A group of up to width lanes from firstLane, run in vectors no wider than its highest active
    lane needs; a group reads the tables only for its lanes up to that one, rounded up to a
    multiple of four, or two. */
template <int width>
inline void renderNarrowest (VoiceLanes& lanes, int firstLane, unsigned bits, PairValues* pair = nullptr) noexcept
{
    const int highest = 31 - __builtin_clz (bits);
    if constexpr (width >= 16)
        if (highest >= 8)
            return highest >= 12 ? renderGroup<16, 4, width> (lanes, firstLane, bits, pair)
                                 : renderGroup<16, 3, width> (lanes, firstLane, bits, pair);
    if constexpr (width >= 8)
        if (highest >= 4)
            return renderGroup<8, 2, width> (lanes, firstLane, bits, pair);
    if (highest >= 2)
        return renderGroup<4, 1, width> (lanes, firstLane, bits, pair);
    renderGroup<4, 0, width> (lanes, firstLane, bits, pair);
}

template <int width>
inline void render (VoiceLanes& lanes) noexcept
{
    static_assert (VoiceLanes::maxCount % width == 0);
    if constexpr (width >= voiceCount)
        renderNarrowest<width> (lanes, 0, lanes.active);
    else
    {
        static_assert (voiceCount % width == 2, "the groups of width lanes leave two voices, the pair");
        const unsigned pairBits = lanes.active >> VoiceLanes::pairFirst;
        float pairInputs[valuesPerChunk][2];
        PairValues pair (lanes, pairBits, pairInputs);

        // The pair's phases and filter steps go into the first group's loops.
        PairValues* pairToRun = pairBits != 0 ? &pair : nullptr;
        for (int firstLane = 0; firstLane < VoiceLanes::pairFirst; firstLane += width)
            if (const unsigned bits = (lanes.active >> firstLane) & ((1u << width) - 1); bits != 0)
            {
                renderNarrowest<width> (lanes, firstLane, bits, pairToRun);
                pairToRun = nullptr;
            }
        if (pairToRun != nullptr)
        {
            float positions[valuesPerChunk][2];
            PairPhases pairPhases (lanes, positions);
            advancePairPhases (pairPhases);
            preparePair<width> (lanes, pair, pairPhases);
            if (pair.holding())
                for (int n = 0; n < valuesPerChunk; ++n)
                    pair.step<false> (lanes, n);
            else
                for (int n = 0; n < valuesPerChunk; ++n)
                    pair.step<true> (lanes, n);
        }
        if (pairBits != 0)
            pair.finish (lanes);
    }
}
} // namespace
} // namespace quane::lanes
