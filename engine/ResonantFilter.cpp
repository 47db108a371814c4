// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice's filter: a cubic input shaper into two one-pole low-pass sections with feedback.
#include "engine/ResonantFilter.h"

#include "engine/DspHelpers.h"

#include <algorithm>
#include <cmath>

namespace quane
{
bool ResonantFilter::process (float* values, int count, float cutoff, float feedback) noexcept
{
    float first = s1;
    float second = s2;

    for (int n = 0; n < count; ++n)
    {
        // No limit before the cube: above |v| = 1 the curve turns back (2 enters as -1).
        const float u = cubicShape (values[n]);
        first = first + cutoff * (u - first + feedback * (first - second));
        second = second + cutoff * (first - second);
        values[n] = second;
    }

    // Once a value overflows, the memory stays infinite or NaN for good: checking it at the end
    // of the chunk catches every chunk that produced one.
    if (std::isfinite (first) && std::isfinite (second))
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
