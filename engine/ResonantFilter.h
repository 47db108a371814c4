// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice's filter: a cubic input shaper into two one-pole low-pass sections with feedback.
#pragma once

namespace quane
{
/** Two cascaded one-pole sections sharing the coefficient H, with the difference of their
    memories fed back into the first. The memory is kept from note to note on a voice.

    With a high resonance and a cutoff near 0.99 the feedback reaches about 100 and the loop
    grows without bound. A chunk whose values leave the safe range (or whose memory is no longer
    finite) is silenced and the memory cleared, so the voice recovers at its next chunk and no
    infinity or NaN reaches the output stage. */
class ResonantFilter
{
public:
    /** Beyond this a value cubed by the output stage would overflow a float. */
    static constexpr float safeMagnitude = 1.0e12f;

    /** Feedback for a cutoff coefficient: resonance x (1 / (1 - cutoff) + 1). */
    static float feedbackFor (float resonance, float cutoff) noexcept
    {
        return (float) ((double) resonance * (1.0 / (1.0 - (double) cutoff) + 1.0));
    }

    /** Filters count values in place with cutoff coefficient H and feedback F. Returns false,
        with the values zeroed and the memory cleared, when the chunk went out of range. */
    bool process (float* values, int count, float cutoff, float feedback) noexcept;

    float s1 = 0.0f;  // first section
    float s2 = 0.0f;  // second section, the output
};
} // namespace quane
