// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The names and numbers the module reports to hosts.
#pragma once

#include "host/VstAbi.h"

namespace quane::identity
{
constexpr const char* effectName = "Quane";
constexpr const char* vendorName = "Brelloux";
constexpr vst::int32 vendorVersion = 1000;
constexpr vst::int32 vstVersion = 2300;
constexpr vst::int32 identifyAnswer = 0x4E764566; // "NvEf"

// Text limits of the interface, in characters before the zero byte.
constexpr int parameterNameLength = 8;
constexpr int programNameLength = 24;
constexpr int longTextLength = 64;
} // namespace quane::identity
