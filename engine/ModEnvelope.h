// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A modulation envelope: attack, decay, sustain and release, stepped once per chunk.
#pragma once

#include "engine/EnvelopeStage.h"

namespace quane
{
/** Feeds a modulation slot of the voice. It steps once per 16-sample chunk with rates 16 times
    those the amplitude envelope gets for the same times; the amplitude envelope steps 32 times per
    chunk, so a modulation envelope runs at half its speed: a full rise over time a takes
    a x 220500 output samples (a x 5 s at 44100 Hz), the amplitude envelope's a x 2.5 s. */
class ModEnvelope
{
public:
    static constexpr double rateMultiplier = 16.0;

    /** Times in envelope units (0.001..0.999); stage and level are left as they are. */
    void setUp (float attackTime, float decayTime, float sustain, float releaseTime) noexcept;

    void step() noexcept
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
            case EnvelopeStage::sustain: break;
        }
    }

    EnvelopeStage stage = EnvelopeStage::attack;
    float attackRate = 0.0f;
    float decayRate = 0.0f;
    float sustainLevel = 0.0f;
    float releaseRate = 0.0f;
    float level = 0.0f;
};
} // namespace quane
