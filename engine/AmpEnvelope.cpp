// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The amplitude envelope: attack, decay, sustain and release, with note-event delays.
#include "engine/AmpEnvelope.h"

namespace quane
{
void AmpEnvelope::setUp (float attackTime, float decayTime, float sustain, float releaseTime) noexcept
{
    attackRate = envelopeRate (attackTime);
    decayRate = envelopeRate (decayTime);
    releaseRate = envelopeRate (releaseTime);
    sustainLevel = sustain;
}

void AmpEnvelope::stepAttack() noexcept
{
    // Once the delay has run out its value no longer matters, so it stops counting at 0 rather
    // than running on towards an overflow.
    if (attackDelay > 0)
        attackDelay -= 1;
    if (attackDelay < 1)
        level += attackRate;

    if (! (level < 1.0f))
    {
        level = 1.0f;
        stage = EnvelopeStage::decay;
    }
}

void AmpEnvelope::stepDecay() noexcept
{
    // No snapping: the level stays up to one rate below the sustain level.
    level -= decayRate;
    if (level <= sustainLevel)
        stage = EnvelopeStage::sustain;
}

void AmpEnvelope::stepRelease() noexcept
{
    // Counts down by two while holding, so a delay of d holds for d / 2 steps.
    const int remaining = releaseDelay - 1;
    if (remaining < 1)
        level -= releaseRate;
    releaseDelay = remaining > 0 ? remaining - 1 : remaining;

    if (level <= 0.0f)
    {
        level = 0.0f;
        stage = EnvelopeStage::idle;
    }
}
} // namespace quane
