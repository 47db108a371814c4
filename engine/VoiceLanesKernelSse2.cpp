// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice-lanes kernel built for SSE2, which every x86-64 processor has: 4 voices per vector.
#include "engine/VoiceLanesKernel.h"

namespace quane
{
const VoiceLanesKernel voiceLanesSse2 = lanes::kernel<4>;
} // namespace quane
