// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The host names of the 30 automatable patch values.
#pragma once

namespace quane
{
/** The name the host shows for a parameter index 0..29; null for any other index. */
const char* hostParameterName (int index) noexcept;
} // namespace quane
