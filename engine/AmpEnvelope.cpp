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
} // namespace quane
