// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice's filter: a cubic input shaper into two one-pole low-pass sections with feedback.
#pragma once

#include "engine/DspHelpers.h"

namespace quane
{
/** Two cascaded one-pole sections sharing the coefficient H, with the difference of their
    memories fed back into the first. The memory is kept from note to note on a voice.

    The loop is stable for a resonance below 1 at every cutoff in 0.01..0.99 (the determinant of
    its update is (1 - H)^2 + H x resonance x (2 - H)); at the top of the range the feedback is
    about 100 and the loop rings close to that limit. Should the memory still become non-finite
    (a resonance of 1 or more, or a non-finite input), the chunk is silenced and the memory
    cleared, so the voice recovers at its next chunk and no infinity or NaN reaches the output
    stage, which copes with any finite value. */
class ResonantFilter
{
public:
    /** Feedback for a cutoff coefficient: resonance x (1 / (1 - cutoff) + 1). */
    template <typename T>
    static T feedbackFor (T resonance, T cutoff) noexcept
    {
        return resonance * (1.0f / (1.0f - cutoff) + 1.0f);
    }

    /** One internal value through the shaper and both sections, for one voice or for lanes. */
    template <typename T>
    static void step (T value, T cutoff, T feedback, T& first, T& second) noexcept
    {
        // No limit before the cube: above |v| = 1 the curve turns back (2 enters as -1).
        stepShaped (cubicShape (value), cutoff, feedback, first, second);
    }

    /** Both sections' step for an input already through the shaper. */
    template <typename T>
    static void stepShaped (T u, T cutoff, T feedback, T& first, T& second) noexcept
    {
        first = first + cutoff * (u - first + feedback * (first - second));
        second = second + cutoff * (first - second);
    }

    /** The runaway test of a memory: once a value overflows, the memory stays infinite or NaN
        for good, so testing it at the end of a chunk catches every chunk that produced one. */
    template <typename T>
    static auto memoryIsFinite (T first, T second) noexcept
    {
        return isFiniteValue (first) & isFiniteValue (second);
    }

    /** Filters count values in place with cutoff coefficient H and feedback F. Returns false,
        with the values zeroed and the memory cleared, when the memory ran away. */
    bool process (float* values, int count, float cutoff, float feedback) noexcept;

    float s1 = 0.0f; // first section
    float s2 = 0.0f; // second section, the output
};
} // namespace quane
