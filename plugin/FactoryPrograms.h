// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The factory program table built into the module.
#pragma once

#include "engine/PatchProgram.h"

namespace quane
{
constexpr int factoryProgramCount = 12;

/** The twelve fixed programs; their names and values never change. */
PatchProgramTable factoryPrograms() noexcept;
} // namespace quane
