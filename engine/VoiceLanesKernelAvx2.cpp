// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice-lanes kernel built for AVX2: 8 voices per vector.
#include "engine/VoiceLanesKernel.h"

namespace quane
{
const VoiceLanesKernel voiceLanesAvx2 = lanes::kernel<8>;
} // namespace quane
