// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A modulation envelope: attack, decay, sustain and release, stepped once per chunk.
#include "engine/ModEnvelope.h"

namespace quane
{
void ModEnvelope::setUp (float attackTime, float decayTime, float sustain, float releaseTime) noexcept
{
    attackRate = envelopeRate (attackTime, rateMultiplier);
    decayRate = envelopeRate (decayTime, rateMultiplier);
    releaseRate = envelopeRate (releaseTime, rateMultiplier);
    sustainLevel = sustain;
}

} // namespace quane
