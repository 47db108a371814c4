// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The size factors the editor takes from hosts and displays.
#pragma once

namespace quane
{
/** Whether a factor given from outside (a host, the display) can be one: 0.5 to 4. Anything else,
    NaN included, is garbage and ignored, not clamped. */
constexpr bool isUsableScaleFactor (float factor) noexcept
{
    return factor >= 0.5f && factor <= 4.0f;
}
} // namespace quane
