// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice-lanes kernel, written once for any vector width and compiled once per instruction set.
//
// Included only by the VoiceLanesKernel*.cpp files, each built for its instruction set. The leaf
// formulas are the voice's own (control values, cubic reading, filter step, runaway test,
// envelope steps, output stage), run on lane vectors, so the result is the same to the last bit;
// stage decisions are masks instead of branches.
#pragma once

#include "engine/PowerOfTwo.h"
#include "engine/VoiceLanesControls.h"
#include "engine/VoiceLanesMix.h"
#include "engine/VoiceLanesValues.h"

namespace quane::lanes
{
namespace
{
template <int width>
inline void powersOfTwo (const float* x, float* powers, int count) noexcept
{
    for (int i = 0; i < count; i += width)
        store (powers + i, powerOfTwo (load<Floats<width>> (x + i)));
}

template <int width>
constexpr VoiceLanesKernel kernel { controls<width>, render<width>, mix<width>, powersOfTwo<width> };
} // namespace
} // namespace quane::lanes
