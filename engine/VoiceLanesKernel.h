// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice-lanes kernel, written once for any vector width and compiled once per instruction set.
//
// Included only by the VoiceLanesKernel*.cpp files, each built for its instruction set. The leaf
// formulas are the voice's own (cubic reading, filter step, runaway test, envelope steps, output
// stage), run on lane vectors, so the result is the same to the last bit; stage decisions are
// masks instead of branches.
#pragma once

#include "engine/AmpEnvelope.h"
#include "engine/OutputStage.h"
#include "engine/PowerOfTwo.h"
#include "engine/ResonantFilter.h"
#include "engine/VectorShims.h"
#include "engine/VoiceLanes.h"

#include <algorithm>

namespace quane::lanes
{
/** Where each lane reads: the segment's offset in floats from the table's start (4 floats per
    segment, unsigned so that no sign extension is needed) and the fraction. */
template <int width>
struct Readings
{
    std::uint32_t first[valuesPerChunk][width];
    std::uint32_t second[valuesPerChunk][width];
    Floats<width> fraction[valuesPerChunk];
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

    for (int n = 0; n < valuesPerChunk; ++n)
    {
        const auto i = segmentIndex (phase);
        const auto j = segmentIndex (phase + offset) & (WavetableOscillator::length - 1);
        readings.fraction[n] = phase - toFloat (i);
        store (readings.first[n], i << 2);
        store (readings.second[n], j << 2);

        if constexpr (plainIncrements)
            phase = subtractLengthOnce (phase + increment, tableLength);
        else
            phase = wrapPhase (phase + increment, tableLength);
    }
    store (lanes.phase + firstLane, phase);
}

template <int width>
inline void advancePhases (VoiceLanes& lanes, int firstLane, Readings<width>& readings) noexcept
{
    const auto increment = load<Floats<width>> (lanes.increment + firstLane);
    if (all ((increment >= 0.0f) & (increment < (float) WavetableOscillator::length)))
        advancePhases<width, true> (lanes, firstLane, readings);
    else // an increment beyond the table or below zero (extreme pitch, odd sample rates)
        advancePhases<width, false> (lanes, firstLane, readings);
}

/** The cubic reading of every lane at its own segment, with the fraction f. */
template <int width, int blocks>
inline Floats<width> readTable (const float* table, const std::uint32_t (&offset)[width], Floats<width> f) noexcept
{
    Floats<width> abcs[4];
    loadSegments<width, blocks> (table, offset, abcs);
    return cubicReading (abcs[0], abcs[1], abcs[2], abcs[3], f);
}

/** The envelopes of a group of lanes, as the shared step formulas want them. */
template <int width>
struct EnvelopeValueLanes
{
    Ints<width> stage;
    Floats<width> level, attackRate, decayRate, sustainLevel, releaseRate;

    EnvelopeValueLanes (const VoiceLanes::Envelopes& lanes, int firstLane) noexcept
        : stage (load<Ints<width>> (lanes.stage + firstLane)),
          level (load<Floats<width>> (lanes.level + firstLane)),
          attackRate (load<Floats<width>> (lanes.attackRate + firstLane)),
          decayRate (load<Floats<width>> (lanes.decayRate + firstLane)),
          sustainLevel (load<Floats<width>> (lanes.sustainLevel + firstLane)),
          releaseRate (load<Floats<width>> (lanes.releaseRate + firstLane))
    {
    }

    /** What a chunk changes: the stage and the level. */
    void storeTo (VoiceLanes::Envelopes& lanes, int firstLane) const noexcept
    {
        store (lanes.stage + firstLane, stage);
        store (lanes.level + firstLane, level);
    }
};

/** The amplitude envelopes of a group of lanes, each stepped in the stage it is in. */
template <int width>
struct EnvelopeLanes : EnvelopeValueLanes<width>
{
    using I = Ints<width>;
    using EnvelopeValueLanes<width>::stage;

    I attackDelay, releaseDelay;

    EnvelopeLanes (const VoiceLanes& lanes, int firstLane) noexcept
        : EnvelopeValueLanes<width> (lanes.amp, firstLane),
          attackDelay (load<I> (lanes.attackDelay + firstLane)),
          releaseDelay (load<I> (lanes.releaseDelay + firstLane))
    {
    }

    /** Idle and sustaining envelopes hold their level: a chunk of them needs no steps. */
    bool holding() const noexcept
    {
        return ! any ((stage != (int) EnvelopeStage::idle) & (stage != (int) EnvelopeStage::sustain));
    }

    void step() noexcept
    {
        const I attacking = stage == (int) EnvelopeStage::attack;
        const I decaying = stage == (int) EnvelopeStage::decay;
        const I releasing = stage == (int) EnvelopeStage::release;
        stepAttack (*this, attacking);
        stepDecay (*this, decaying);
        stepRelease (*this, releasing);
    }

    void storeTo (VoiceLanes& lanes, int firstLane) const noexcept
    {
        EnvelopeValueLanes<width>::storeTo (lanes.amp, firstLane);
        store (lanes.attackDelay + firstLane, attackDelay);
        store (lanes.releaseDelay + firstLane, releaseDelay);
    }
};

/** The 32 internal values of one group of lanes: oscillator, filter and amplitude envelope in
    one pass, so that the filter's and the envelope's chains of dependent steps overlap with the
    table readings. */
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

    for (int n = 0; n < valuesPerChunk; ++n)
    {
        const F f = readings.fraction[n];
        const F v = readTable<width, blocks> (table, readings.first[n], f)
                    - readTable<width, blocks> (table, readings.second[n], f) * level;
        ResonantFilter::step (v, cutoff, feedback, s1, s2);

        if constexpr (envelopeMoves)
        {
            envelope.step();
            gain = envelope.level * envelope.level;
        }
        store (lanes.shaped[n] + firstLane, s2 * gain);
    }

    // A lane whose filter memory ran away is silenced for the whole chunk and its memory cleared.
    const auto ranAway = ! ResonantFilter::memoryIsFinite (s1, s2);
    if (any (ranAway))
        for (auto& shaped : lanes.shaped)
            store (shaped + firstLane, select (ranAway, 0.0f, load<F> (shaped + firstLane)));

    store (lanes.s1 + firstLane, select (ranAway, 0.0f, s1));
    store (lanes.s2 + firstLane, select (ranAway, 0.0f, s2));
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

/** Output stage and mix: each lane's 32 values, moved into vectors of time, go through the
    output stage and are added into the chunk's arrays lane by lane in order, every output sample
    receiving the even and then the odd internal value, as the voices' own output stage does.
    The arrays must not overlap. */
template <int width>
inline void outputAndMix (const VoiceLanes& lanes, float* left, float* right) noexcept
{
    using F = Floats<width>;
    constexpr int timeVectors = valuesPerChunk / width;
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
#pragma GCC unroll 8
        for (int t = 0; t < timeVectors; ++t)
        {
            for (int i = 0; i < width; ++i)
                values[t][i] = load<F> (lanes.shaped[t * width + i] + firstLane);
            transpose<width> (values[t]);
        }

        for (int k = 0; k < width && firstLane + k < lanes.count; ++k)
        {
            const int lane = firstLane + k;
            const float saturation = lanes.saturation[lane], volume = lanes.volume[lane], spread = lanes.spread[lane];
            F firstPart[timeVectors], secondPart[timeVectors];
            for (int t = 0; t < timeVectors; ++t)
            {
                const auto shares = outputShares (values[t][k], saturation, volume, spread);
                firstPart[t] = shares.first;
                secondPart[t] = shares.second;
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

/** One LFO step of a group of lanes, each reading its voice's own table. */
template <int width>
inline Floats<width> stepLfos (VoiceLanes::Lfos& lfos, int firstLane, int lanesInUse) noexcept
{
    using F = Floats<width>;
    F phase = load<F> (lfos.phase + firstLane);
    const F value = TableLfo::stepOf (phase, load<F> (lfos.increment + firstLane),
                                      [&] (Ints<width> i, F& sample, F& difference) {
                                          std::int32_t index[width];
                                          float samples[width] {}, differences[width] {};
                                          store (index, i);
                                          for (int k = 0; k < lanesInUse; ++k)
                                          {
                                              const float* point = lfos.points[firstLane + k] + 2 * index[k];
                                              samples[k] = point[0];
                                              differences[k] = point[1];
                                          }
                                          sample = load<F> (samples);
                                          difference = load<F> (differences);
                                      });
    store (lfos.phase + firstLane, phase);
    return value;
}

template <int width>
inline void controlGroup (VoiceLanes& lanes, int firstLane) noexcept
{
    using F = Floats<width>;
    const int lanesInUse = std::min (width, lanes.count - firstLane);
    const PatchParams& patch = *lanes.patch;

    EnvelopeValueLanes<width> env1 (lanes.env1, firstLane), env2 (lanes.env2, firstLane);
    F slots[modulation::slotCount];
    modulation::routeModulation (
        slots, lanes.destinations, patch, env1, env2,
        [&] { return stepLfos<width> (lanes.lfo1, firstLane, lanesInUse); },
        [&] { return stepLfos<width> (lanes.lfo2, firstLane, lanesInUse); }, load<F> (lanes.velocity + firstLane));
    env1.storeTo (lanes.env1, firstLane);
    env2.storeTo (lanes.env2, firstLane);

    const auto values = modulation::controlValues (slots, patch);
    const F sampleRate = load<F> (lanes.sampleRate + firstLane);
    store (lanes.secondOffset + firstLane, values.secondOffset);
    store (lanes.secondLevel + firstLane, values.secondLevel);
    store (lanes.lfo1.increment + firstLane, modulation::lfoIncrement (values.lfo1Speed, sampleRate));
    store (lanes.cutoff + firstLane, values.cutoff);
    store (lanes.feedback + firstLane, values.feedback);
    store (lanes.volume + firstLane, values.volume);
    store (lanes.increment + firstLane,
           modulation::pitchIncrement (values.pitchExponent, sampleRate, load<F> (lanes.frequencyHz + firstLane)));
}

template <int width>
inline void controls (VoiceLanes& lanes) noexcept
{
    for (int firstLane = 0; firstLane < lanes.count; firstLane += width)
        controlGroup<width> (lanes, firstLane);
}

template <int width>
inline void powersOfTwo (const float* x, float* powers, int count) noexcept
{
    for (int i = 0; i < count; i += width)
        store (powers + i, powerOfTwo (load<Floats<width>> (x + i)));
}

/** Runs the lanes in groups of width, or narrower for the last few lanes; a group reads the
    tables only for its lanes in use, rounded up to a multiple of four, or two. */
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
        if (remaining > 2)
            renderGroup<4, 1> (lanes, firstLane);
        else
            renderGroup<4, 0> (lanes, firstLane);
        firstLane += 4;
    }
}
} // namespace quane::lanes
