// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The amplitude envelope: attack, decay, sustain and release, with note-event delays.
#pragma once

#include "engine/EnvelopeStage.h"

namespace quane
{
/** Stepped by the voice for every internal value (twice per output sample). Its idle stage ends
    the voice. The delays hold back the attack and the release after their note event; the voice
    writes stage, level and delays directly at note start and release. */
class AmpEnvelope
{
public:
    /** Times in envelope units (0.001..0.999); stage and level are left as they are. */
    void setUp (float attackTime, float decayTime, float sustain, float releaseTime) noexcept;

    void step() noexcept
    {
        switch (stage)
        {
            case EnvelopeStage::attack: stepAttack(); break;
            case EnvelopeStage::decay: stepDecay(); break;
            case EnvelopeStage::release: stepRelease(); break;
            case EnvelopeStage::idle:
            case EnvelopeStage::sustain: break;
        }
    }

    EnvelopeStage stage = EnvelopeStage::attack;
    float attackRate = 0.0f;
    float decayRate = 0.0f;
    float sustainLevel = 0.0f;
    float releaseRate = 0.0f;
    // The delays are set from the note events' sample offsets but counted down in internal steps,
    // two per output sample: the attack holds for attackDelay - 1 steps (about half the offset in
    // output samples), the release for releaseDelay / 2 steps (about a quarter of it).
    int releaseDelay = 0;
    int attackDelay = 0;
    float level = 0.0f;

private:
    void stepAttack() noexcept;
    void stepDecay() noexcept;
    void stepRelease() noexcept;
};
} // namespace quane
