// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Small pure helpers of the voice: the rare reduction of a phase far outside its table.
#include "engine/DspHelpers.h"

namespace quane
{
float reducePhase (float phase, float length) noexcept
{
    phase = std::fmod (phase, length);
    if (phase < 0.0f)
        phase += length;
    if (! (phase < length)) // a tiny negative remainder rounds up to the length; or NaN
        phase = 0.0f;
    return phase;
}
} // namespace quane
