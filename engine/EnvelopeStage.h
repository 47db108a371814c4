// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The stages and values shared by the amplitude and modulation envelopes, and their rate constant.
#pragma once

namespace quane
{
enum class EnvelopeStage : int
{
    idle,
    attack,
    decay,
    sustain,
    release
};

/** What every envelope holds: its stage and level, and the rates and sustain level of its times. */
struct EnvelopeValues
{
    EnvelopeStage stage = EnvelopeStage::attack;
    float attackRate = 0.0f;
    float decayRate = 0.0f;
    float sustainLevel = 0.0f;
    float releaseRate = 0.0f;
    float level = 0.0f;
};

/** A stage as an envelope keeps it: the enum itself, or a vector of stage numbers in lanes. */
template <typename Stage>
inline Stage stageAs (EnvelopeStage stage) noexcept
{
    return Stage ((int) stage);
}

/** Steps per unit of envelope time for a full-scale change: a time of 1 rises from 0 to 1 in
    220500 steps, five seconds' worth of samples at 44100 Hz. Fixed, whatever the sample rate, so
    envelope times scale with the host's rate. */
constexpr double envelopeStepsPerTime = 220500.0;

/** The level change per step of a full-scale ramp lasting time, times multiplier, computed in
    double precision. */
inline float envelopeRate (double time, double multiplier = 1.0) noexcept
{
    return (float) (1.0 / (time * envelopeStepsPerTime) * multiplier);
}
} // namespace quane
