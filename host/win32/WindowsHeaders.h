// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Windows' own API, without the min and max macros that would hide std::min and std::max.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
