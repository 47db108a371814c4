// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The host's request to quit, should the module's own message peeks take it.
#pragma once

#include "host/win32/WindowsHeaders.h"

namespace quane
{
/** Windows hands out WM_QUIT to a peek whatever its window and message filters; it belongs to
    the host's loop, so a peek that took it posts it again. */
void putBackQuit (const MSG& quit);
} // namespace quane
