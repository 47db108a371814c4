// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice's filter: a cubic input shaper into two one-pole low-pass sections with feedback.
#include "engine/ResonantFilter.h"

#include <algorithm>

namespace quane
{
bool ResonantFilter::process (float* values, int count, float cutoff, float feedback) noexcept
{
    float first = s1;
    float second = s2;

    for (int n = 0; n < count; ++n)
    {
        step (values[n], cutoff, feedback, first, second);
        values[n] = second;
    }

    if (memoryIsFinite (first, second))
    {
        s1 = first;
        s2 = second;
        return true;
    }

    s1 = 0.0f;
    s2 = 0.0f;
    std::fill (values, values + count, 0.0f);
    return false;
}
} // namespace quane
