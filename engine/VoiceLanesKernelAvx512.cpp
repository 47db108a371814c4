// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice-lanes kernel built for AVX512: 16 voices per vector.
// GCC 12 warns inside its own AVX-512 conversion intrinsics, which leave a pass-through operand
// undefined on purpose.
#pragma GCC diagnostic ignored "-Wuninitialized"
#if ! defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include "engine/VoiceLanesKernel.h"

namespace quane
{
const VoiceLanesKernel voiceLanesAvx512 = lanes::kernel<16>;
} // namespace quane
