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

void ModEnvelope::step() noexcept
{
    switch (stage)
    {
        case EnvelopeStage::attack:
            level += attackRate;
            if (! (level < 1.0f))
            {
                level = 1.0f;
                stage = EnvelopeStage::decay;
            }
            break;

        case EnvelopeStage::decay:
            level -= decayRate;
            if (level <= sustainLevel)
                stage = EnvelopeStage::sustain;
            break;

        case EnvelopeStage::release:
            level -= releaseRate;
            if (level <= 0.0f)
            {
                level = 0.0f;
                stage = EnvelopeStage::idle;
            }
            break;

        case EnvelopeStage::idle:
        case EnvelopeStage::sustain:
            break;
    }
}
} // namespace quane
