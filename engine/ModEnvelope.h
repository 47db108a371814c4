// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A modulation envelope: attack, decay, sustain and release, stepped once per chunk.
#pragma once

#include "engine/EnvelopeStage.h"

namespace quane
{
/** Feeds a modulation slot of the voice. It steps once per 16-sample chunk, so its rates are 16
    times those of the amplitude envelope for the same times. */
class ModEnvelope
{
public:
    static constexpr double stepsPerChunk = 16.0;

    /** Times in envelope units (0.001..0.999); stage and level are left as they are. */
    void setUp (float attackTime, float decayTime, float sustain, float releaseTime) noexcept;

    void step() noexcept;

    EnvelopeStage stage = EnvelopeStage::attack;
    float attackRate = 0.0f;
    float decayRate = 0.0f;
    float sustainLevel = 0.0f;
    float releaseRate = 0.0f;
    float level = 0.0f;
};
} // namespace quane
