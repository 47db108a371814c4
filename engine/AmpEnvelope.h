// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The amplitude envelope: attack, decay, sustain and release, with note-event delays.
#pragma once

#include "engine/DspHelpers.h"
#include "engine/EnvelopeStage.h"

namespace quane
{
/*  The stage steps, written once for one envelope (Flag is bool, Envelope an AmpEnvelope) and
    for envelopes side by side in vector lanes (Flag a lane mask): each step changes only the
    envelopes whose flag is set, and moves those that finish their stage to the next one. */

template <typename Envelope, typename Flag>
inline void stepAttack (Envelope& e, Flag attacking) noexcept
{
    // Once the delay has run out its value no longer matters, so it stops counting at 0 rather
    // than running on towards an overflow. Both choices are computed, so the count down is taken
    // from at least 1: a delay of INT_MIN must not overflow in the choice that is not taken.
    e.attackDelay = select (attacking & (e.attackDelay > 0), higher (e.attackDelay, 1) - 1, e.attackDelay);
    e.level = select (attacking & (e.attackDelay < 1), e.level + e.attackRate, e.level);

    const Flag full = attacking & ! (e.level < 1.0f);
    e.level = select (full, 1.0f, e.level);
    e.stage = select (full, stageAs<decltype (e.stage)> (EnvelopeStage::decay), e.stage);
}

template <typename Envelope, typename Flag>
inline void stepDecay (Envelope& e, Flag decaying) noexcept
{
    // No snapping: the level stays up to one rate below the sustain level.
    e.level = select (decaying, e.level - e.decayRate, e.level);
    const Flag sustained = decaying & (e.level <= e.sustainLevel);
    e.stage = select (sustained, stageAs<decltype (e.stage)> (EnvelopeStage::sustain), e.stage);
}

template <typename Envelope, typename Flag>
inline void stepRelease (Envelope& e, Flag releasing) noexcept
{
    // Counts down by two while holding, so a delay of d holds for d / 2 steps. The count
    // saturates at 0: a note-off offset near INT_MIN would otherwise wrap to a hold of hours.
    const auto remaining = higher (e.releaseDelay, 1) - 1;
    e.level = select (releasing & (remaining < 1), e.level - e.releaseRate, e.level);
    e.releaseDelay = select (releasing, higher (remaining - 1, 0), e.releaseDelay);

    const Flag ended = releasing & (e.level <= 0.0f);
    e.level = select (ended, 0.0f, e.level);
    e.stage = select (ended, stageAs<decltype (e.stage)> (EnvelopeStage::idle), e.stage);
}

/** Stepped by the voice for every internal value (twice per output sample). Its idle stage ends
    the voice. The delays hold back the attack and the release after their note event; the voice
    writes stage, level and delays directly at note start and release. */
class AmpEnvelope : public EnvelopeValues
{
public:
    /** Times in envelope units (0.001..0.999); stage and level are left as they are. */
    void setUp (float attackTime, float decayTime, float sustain, float releaseTime) noexcept;

    void step() noexcept
    {
        switch (stage)
        {
            case EnvelopeStage::attack: stepAttack (*this, true); break;
            case EnvelopeStage::decay: stepDecay (*this, true); break;
            case EnvelopeStage::release: stepRelease (*this, true); break;
            case EnvelopeStage::idle:
            case EnvelopeStage::sustain: break;
        }
    }

    // The delays are set from the note events' sample offsets but counted down in internal steps,
    // two per output sample: the attack holds for attackDelay - 1 steps (about half the offset in
    // output samples), the release for releaseDelay / 2 steps (about a quarter of it).
    int releaseDelay = 0;
    int attackDelay = 0;
};
} // namespace quane
