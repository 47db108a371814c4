// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Step counts of the amplitude and modulation envelopes: rates, delays and stage changes.
#include "engine/AmpEnvelope.h"
#include "engine/ModEnvelope.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace quane
{
namespace
{
/** Steps until the condition holds; returns the number of the step at which it first did. */
template <typename Envelope>
int stepsUntil (Envelope& envelope, const std::function<bool()>& condition, int limit = 1000000)
{
    for (int step = 1; step <= limit; ++step)
    {
        envelope.step();
        if (condition())
            return step;
    }
    return -1;
}

AmpEnvelope ampEnvelope (float attack, float decay, float sustain, float release)
{
    AmpEnvelope envelope;
    envelope.setUp (attack, decay, sustain, release);
    return envelope;
}

TEST (AmpEnvelope, RatesDoNotDependOnTheSampleRate)
{
    const auto envelope = ampEnvelope (0.001f, 0.5f, 0.25f, 0.999f);
    EXPECT_FLOAT_EQ (envelope.attackRate, 0.0045351475f);
    EXPECT_FLOAT_EQ (envelope.decayRate, (float) (1.0 / (0.5 * 220500.0)));
    EXPECT_FLOAT_EQ (envelope.releaseRate, (float) (1.0 / ((double) 0.999f * 220500.0)));
    EXPECT_EQ (envelope.sustainLevel, 0.25f);

    ModEnvelope modulation;
    modulation.setUp (0.001f, 0.5f, 0.25f, 0.999f);
    EXPECT_FLOAT_EQ (modulation.attackRate, 16.0f * envelope.attackRate);
    EXPECT_FLOAT_EQ (modulation.releaseRate, 16.0f * envelope.releaseRate);
}

TEST (AmpEnvelope, ShortestAttackReachesFullLevelAtStep221)
{
    auto envelope = ampEnvelope (0.001f, 0.5f, 0.5f, 0.5f);
    EXPECT_EQ (stepsUntil (envelope, [&] { return envelope.stage == EnvelopeStage::decay; }), 221);
    EXPECT_EQ (envelope.level, 1.0f);

    // A long ramp of float sums takes slightly more than a x 220500 steps.
    auto slow = ampEnvelope (0.999f, 0.5f, 0.5f, 0.5f);
    const int steps = stepsUntil (slow, [&] { return slow.stage == EnvelopeStage::decay; });
    SCOPED_TRACE ("steps " + std::to_string (steps));
    EXPECT_GT (steps, 0.999 * 220500.0);
    EXPECT_LT (steps, 0.999 * 220500.0 * 1.003);
}

TEST (AmpEnvelope, AttackDelayHoldsOneStepLessThanItsValue)
{
    // A negative offset (a host's garbage, down to INT_MIN) holds nothing and never overflows.
    for (int delay : { 0, 1, 5, 100, -1, std::numeric_limits<int>::min() })
    {
        SCOPED_TRACE ("delay " + std::to_string (delay));
        auto envelope = ampEnvelope (0.001f, 0.5f, 0.5f, 0.5f);
        envelope.attackDelay = delay;
        const int expected = delay > 1 ? delay : 1;
        EXPECT_EQ (stepsUntil (envelope, [&] { return envelope.level > 0.0f; }), expected);
    }
}

TEST (AmpEnvelope, ReleaseDelayHoldsHalfItsValue)
{
    for (int delay : { 0, 1, 5, 6, 100, -1, std::numeric_limits<int>::min() })
    {
        SCOPED_TRACE ("delay " + std::to_string (delay));
        auto envelope = ampEnvelope (0.001f, 0.5f, 0.5f, 0.01f);
        envelope.level = 0.7f;
        envelope.stage = EnvelopeStage::release;
        envelope.releaseDelay = delay;
        EXPECT_EQ (stepsUntil (envelope, [&] { return envelope.level < 0.7f; }), delay > 0 ? delay / 2 + 1 : 1);
        // The release runs to its end instead of holding again after a wrap.
        const auto idle = [&] { return envelope.stage == EnvelopeStage::idle; };
        EXPECT_GT (stepsUntil (envelope, idle, 20000), 0);
    }
}

TEST (AmpEnvelope, DecayStopsAtTheFirstStepAtOrBelowSustain)
{
    // A decay time giving a rate of 0.003 per step.
    auto envelope = ampEnvelope (0.001f, (float) (1.0 / (0.003 * 220500.0)), 0.5f, 0.5f);
    envelope.level = 1.0f;
    envelope.stage = EnvelopeStage::decay;
    EXPECT_EQ (stepsUntil (envelope, [&] { return envelope.stage == EnvelopeStage::sustain; }), 167);
    EXPECT_NEAR (envelope.level, 0.499, 2.0e-4);

    const float held = envelope.level;
    for (int i = 0; i < 50; ++i)
        envelope.step();
    EXPECT_EQ (envelope.level, held);

    // A sustain raised above the held level does not restart the decay.
    envelope.sustainLevel = 0.9f;
    envelope.step();
    EXPECT_EQ (envelope.stage, EnvelopeStage::sustain);
    EXPECT_EQ (envelope.level, held);
}

TEST (AmpEnvelope, ReleaseFallsFromTheCurrentLevelAndEndsIdle)
{
    auto envelope = ampEnvelope (0.001f, 0.5f, 0.5f, 0.001f);
    envelope.level = 0.3f;
    envelope.stage = EnvelopeStage::release;
    envelope.step();
    EXPECT_FLOAT_EQ (envelope.level, 0.3f - envelope.releaseRate);
    // 0.3 / 0.0045351 = 66.15: idle at the 67th step in all.
    EXPECT_EQ (stepsUntil (envelope, [&] { return envelope.stage == EnvelopeStage::idle; }), 66);
    EXPECT_EQ (envelope.level, 0.0f);

    // From level 0 the level test makes it idle at once, even while the delay holds.
    auto silent = ampEnvelope (0.001f, 0.5f, 0.5f, 0.5f);
    silent.stage = EnvelopeStage::release;
    silent.releaseDelay = 40;
    silent.step();
    EXPECT_EQ (silent.stage, EnvelopeStage::idle);
}

TEST (ModEnvelope, RunsThroughItsStagesWithoutDelays)
{
    ModEnvelope envelope;
    envelope.setUp (0.001f, (float) (16.0 / (0.003 * 220500.0)), 0.5f, 0.001f);
    // 16 x 0.0045351 per step: 1 is reached at the 14th step (13.78 steps).
    EXPECT_EQ (stepsUntil (envelope, [&] { return envelope.stage == EnvelopeStage::decay; }), 14);
    EXPECT_EQ (stepsUntil (envelope, [&] { return envelope.stage == EnvelopeStage::sustain; }), 167);
    EXPECT_NEAR (envelope.level, 0.499, 2.0e-4);

    envelope.stage = EnvelopeStage::release;
    EXPECT_EQ (stepsUntil (envelope, [&] { return envelope.stage == EnvelopeStage::idle; }), 7);
    EXPECT_EQ (envelope.level, 0.0f);

    envelope.step();
    EXPECT_EQ (envelope.level, 0.0f);
}
} // namespace
} // namespace quane
