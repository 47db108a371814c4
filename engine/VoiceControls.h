// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice's per-chunk control values, written once for one voice and for voices side by side in lanes.
#pragma once

#include "engine/DspHelpers.h"
#include "engine/EngineLimits.h"
#include "engine/EnvelopeStage.h"
#include "engine/ModEnvelope.h"
#include "engine/PatchParams.h"
#include "engine/PowerOfTwo.h"
#include "engine/ResonantFilter.h"
#include "engine/TableLfo.h"
#include "engine/WavetableOscillator.h"

#include <algorithm>
#include <array>

namespace quane::modulation
{
/** Modulation sources in the order of their destinations. */
enum Source : int
{
    env1Source,
    env2Source,
    lfo1Source,
    lfo2Source,
    velocitySource,
    modwheelSource,
    sourceCount
};

/** What each slot is added to; slot 0 collects the sources routed "Off" and is never read. */
enum Slot : int
{
    offSlot,
    phaseSlot,
    phaserLevelSlot,
    detuneSlot,
    cutoffSlot,
    volumeSlot,
    lfo1SpeedSlot,
    lfo1DepthSlot,
    slotCount
};

using Destinations = std::array<int, sourceCount>;

/** Steps both modulation envelopes and LFOs once and adds every source into the slot its
    destination names, in source order. T is float or a lane vector; lfo1Step and lfo2Step step
    an LFO and return its value. */
template <typename T, typename Envelope, typename Lfo1Step, typename Lfo2Step>
inline void routeModulation (T (&slots)[slotCount], const Destinations& destinations, const PatchParams& patch,
                             Envelope& env1, Envelope& env2, Lfo1Step&& lfo1Step, Lfo2Step&& lfo2Step,
                             T velocity) noexcept
{
    using namespace patch;
    for (auto& slot : slots)
        slot = T (0.0f);
    auto slot = [&] (Source source) -> T& { return slots[destinations[(size_t) source]]; };

    stepModEnvelope (env1);
    const T level1 = env1.level;
    slot (env1Source) += patch[env1Depth] * level1 * level1 * level1;

    stepModEnvelope (env2);
    const T level2 = env2.level;
    slot (env2Source) += patch[env2Depth] * level2 * level2 * level2;

    slot (lfo2Source) += lfo2Step() * patch[lfo2Depth];

    // LFO1's depth slot is read here, so only the envelopes and LFO2 can reach it.
    slot (lfo1Source) += lfo1Step() * (patch[lfo1Depth] + slots[lfo1DepthSlot]);

    slot (velocitySource) += patch[velocityDepth] * velocity;
    slot (modwheelSource) += T (patch[modwheelPosition] * patch[modwheelDepth]);
}

/** The chunk's control values from the patch and the slots. */
template <typename T>
struct ControlValues
{
    T secondOffset, secondLevel, lfo1Speed, cutoff, feedback, volume, pitchExponent;
};

template <typename T>
inline ControlValues<T> controlValues (const T (&slots)[slotCount], const PatchParams& patch) noexcept
{
    ControlValues<T> values;
    // The second reading lies at most half the table away.
    values.secondOffset = coefficientLimit (patch[patch::phase] + slots[phaseSlot]) * 256.0f;
    values.secondLevel = limitToLevelRange (patch[patch::phaserLevel] + slots[phaserLevelSlot]);
    values.lfo1Speed = lfoSpeedLimit (patch[patch::lfo1Speed] + slots[lfo1SpeedSlot]);
    values.cutoff = coefficientLimit (patch[patch::cutoff] + slots[cutoffSlot]);
    values.feedback = ResonantFilter::feedbackFor (T (patch[patch::resonance]), values.cutoff);
    values.volume = volumeLimit (patch[patch::volume] + slots[volumeSlot]);

    // Bend in semitones, Detune and the "Osc Tune" slot in tenths of an octave.
    values.pitchExponent = patch[patch::pitchBend] * patch[patch::bendRange] * (1.0f / 12.0f)
                           + (patch[patch::detune] + slots[detuneSlot]) * 0.1f;
    return values;
}

/** Spread within spreadLowest..spreadHighest, so that the output stays within outputBound. */
inline float guardedSpread (float value) noexcept
{
    if (! (value == value))
        return 0.5f;
    return std::min (std::max (value, spreadLowest), spreadHighest);
}

/** An LFO's increment: one step per chunk of 16 output samples, 12.5 x speed Hz at any rate. */
template <typename T>
inline T lfoIncrement (T speed, T sampleRate) noexcept
{
    return finiteIncrement ((float) TableLfo::length / (2.0f * sampleRate / (speed * 400.0f)));
}

/** The oscillator's increment for the pitch exponent: the power of two is defined in double and
    stored as a float; everything else is single precision. */
template <typename T>
inline T pitchIncrement (T exponent, T sampleRate, T frequencyHz) noexcept
{
    const T ratio = powerOfTwo (exponent);
    return finiteIncrement ((float) WavetableOscillator::length / (sampleRate / (ratio * frequencyHz)));
}
} // namespace quane::modulation
