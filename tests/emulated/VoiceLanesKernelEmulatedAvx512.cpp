// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The 16-lane kernel's source built with its AVX-512 intrinsics emulated: its lanes checked on
// any x86 processor.
#include "tests/emulated/Avx512Emulation.h"

#include "engine/VoiceLanesKernel.h"

namespace quane
{
extern const VoiceLanesKernel voiceLanesEmulatedAvx512;
const VoiceLanesKernel voiceLanesEmulatedAvx512 = lanes::kernel<16>;
} // namespace quane
