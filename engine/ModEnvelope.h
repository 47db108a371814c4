// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A modulation envelope: attack, decay, sustain and release, stepped once per chunk.
#pragma once

#include "engine/AmpEnvelope.h"

namespace quane
{
/** One step of a modulation envelope in the stage it is in, for one envelope or for lanes: the
    amplitude envelope's steps without the note-event delays. */
template <typename Envelope>
inline void stepModEnvelope (Envelope& e) noexcept
{
    using Stage = decltype (e.stage);
    const auto attacking = e.stage == stageAs<Stage> (EnvelopeStage::attack);
    const auto decaying = e.stage == stageAs<Stage> (EnvelopeStage::decay);
    const auto releasing = e.stage == stageAs<Stage> (EnvelopeStage::release);

    e.level = select (attacking, e.level + e.attackRate, e.level);
    const auto full = attacking & ! (e.level < 1.0f);
    e.level = select (full, 1.0f, e.level);
    e.stage = select (full, stageAs<Stage> (EnvelopeStage::decay), e.stage);

    stepDecay (e, decaying);

    e.level = select (releasing, e.level - e.releaseRate, e.level);
    const auto ended = releasing & (e.level <= 0.0f);
    e.level = select (ended, 0.0f, e.level);
    e.stage = select (ended, stageAs<Stage> (EnvelopeStage::idle), e.stage);
}

/** Feeds a modulation slot of the voice. It steps once per 16-sample chunk with rates 16 times
    those the amplitude envelope gets for the same times; the amplitude envelope steps 32 times per
    chunk, so a modulation envelope runs at half its speed: a full rise over time a takes
    a x 220500 output samples (a x 5 s at 44100 Hz), the amplitude envelope's a x 2.5 s. */
class ModEnvelope : public EnvelopeValues
{
public:
    static constexpr double rateMultiplier = 16.0;

    /** Times in envelope units (0.001..0.999); stage and level are left as they are. */
    void setUp (float attackTime, float decayTime, float sustain, float releaseTime) noexcept;

    void step() noexcept { stepModEnvelope (*this); }
};
} // namespace quane
