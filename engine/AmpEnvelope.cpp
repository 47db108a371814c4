// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The amplitude envelope: attack, decay, sustain and release, with note-event delays.
#include "engine/AmpEnvelope.h"

#include <algorithm>

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
    // Counts down by two while holding, so a delay of d holds for d / 2 steps. The count
    // saturates at 0: a note-off offset near INT_MIN would otherwise wrap to a hold of hours.
    const int remaining = std::max (releaseDelay, 1) - 1;
    if (remaining < 1)
        level -= releaseRate;
    releaseDelay = std::max (remaining - 1, 0);

    if (level <= 0.0f)
    {
        level = 0.0f;
        stage = EnvelopeStage::idle;
    }
}
} // namespace quane
