// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A named, fixed set of the patch values, as the engine loads it.
#pragma once

#include "engine/PatchParams.h"

namespace quane
{
struct PatchProgram
{
    const char* name;
    float values[patch::valueCount];
};

/** A table of programs owned elsewhere (the factory programs), read by loadProgram. */
struct PatchProgramTable
{
    const PatchProgram* programs = nullptr;
    int count = 0;
};
} // namespace quane
