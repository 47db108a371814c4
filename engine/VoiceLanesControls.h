// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice-lanes control values: modulation and the chunk's control values of every voice.
//
// Included only through engine/VoiceLanesKernel.h, by sources built for one instruction set.
#pragma once

#include "engine/ModEnvelope.h"
#include "engine/VectorShims.h"
#include "engine/VoiceLanesEnvelopes.h"
#include "engine/VoiceControls.h"
#include "engine/VoiceLanes.h"

#include <algorithm>

namespace quane::lanes
{
namespace
{
/** One LFO step of a group of lanes; only the lanes of mask keep their new phase. */
template <int width>
inline Floats<width> stepLfos (VoiceLanes::Lfos& lfos, int firstLane, Ints<width> mask) noexcept
{
    using F = Floats<width>;
    F phase = load<F> (lfos.phase + firstLane);
    const F value = TableLfo::stepOf (phase, load<F> (lfos.increment + firstLane),
                                      [&] (Ints<width> i, F& sample, F& difference) {
                                          sample = gather (lfos.points, i + i);
                                          difference = gather (lfos.points + 1, i + i);
                                      });
    storeWhere (lfos.phase + firstLane, mask, phase);
    return value;
}

/** The control values of a group of width lanes from firstLane, whose lanes in bits sound. */
template <int width>
inline void controlGroup (VoiceLanes& lanes, int firstLane, unsigned bits) noexcept
{
    using F = Floats<width>;
    const auto mask = laneMask<width> (bits);
    const PatchParams& patch = *lanes.patch;

    EnvelopeValueLanes<width> env1 (lanes.env1, firstLane), env2 (lanes.env2, firstLane);
    F slots[modulation::slotCount];
    modulation::routeModulation (
        slots, lanes.destinations, patch, env1, env2, [&] { return stepLfos<width> (lanes.lfo1, firstLane, mask); },
        [&] { return stepLfos<width> (lanes.lfo2, firstLane, mask); }, load<F> (lanes.velocity + firstLane));
    env1.storeTo (lanes.env1, firstLane, mask);
    env2.storeTo (lanes.env2, firstLane, mask);

    const auto values = modulation::controlValues (slots, patch);
    const F sampleRate = load<F> (lanes.sampleRate + firstLane);
    storeWhere (lanes.secondOffset + firstLane, mask, values.secondOffset);
    storeWhere (lanes.secondLevel + firstLane, mask, values.secondLevel);
    storeWhere (lanes.lfo1.increment + firstLane, mask, modulation::lfoIncrement (values.lfo1Speed, sampleRate));
    storeWhere (lanes.cutoff + firstLane, mask, values.cutoff);
    storeWhere (lanes.feedback + firstLane, mask, values.feedback);
    storeWhere (lanes.volume + firstLane, mask, values.volume);
    // The pitch's power of two is costly: the increments stay while the exponents do.
    const auto sameExponents = bitsOf (values.pitchExponent) == load<Ints<width>> (lanes.pitchExponent + firstLane);
    const bool known = ((lanes.pitchKnown >> firstLane) & bits) == bits;
    if (! known || ! all (sameExponents | ! mask))
    {
        storeWhere (
            lanes.increment + firstLane, mask,
            modulation::pitchIncrement (values.pitchExponent, sampleRate, load<F> (lanes.frequencyHz + firstLane)));
        storeWhere (lanes.pitchExponent + firstLane, mask, values.pitchExponent);
        lanes.pitchKnown |= bits << firstLane;
    }
}

/** Groups of width lanes; narrower kernels take the pair in a vector of 4. */
template <int width>
inline void controls (VoiceLanes& lanes) noexcept
{
    constexpr int groupLanes = width < voiceCount ? VoiceLanes::pairFirst : voiceCount;
    for (int firstLane = 0; firstLane < groupLanes; firstLane += width)
        if (const unsigned bits = (lanes.active >> firstLane) & ((1u << width) - 1); bits != 0)
            controlGroup<width> (lanes, firstLane, bits);
    if constexpr (width < voiceCount)
        if (const unsigned bits = lanes.active >> VoiceLanes::pairFirst; bits != 0)
            controlGroup<4> (lanes, VoiceLanes::pairFirst, bits);
}
} // namespace
} // namespace quane::lanes
