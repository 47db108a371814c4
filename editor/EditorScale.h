// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's size factors and which of their sources decides.
#pragma once

#include <array>
#include <optional>

namespace quane::scale
{
/** The factors the editor offers, in percent. The panel is 540 x 340 times the factor; every
    one of them gives whole pixels. */
constexpr std::array<int, 7> offeredPercents { 100, 125, 150, 175, 200, 250, 300 };

/** The offered factor nearest to one given from outside (a host, the display), or none for a
    value that is no factor: not finite, below 0.5 or above 4. */
std::optional<float> nearestOffered (float factor);

/** The offered factor of a whole percentage, or none if that percentage is not offered. */
std::optional<float> offeredPercent (int percent);

/** The factor as the menu and the settings file write it, a whole percentage. */
int toPercent (float factor);

/** Where a factor comes from. The first that is set decides: the user's own choice, the
    host's, the display's; without any of them 100 %. Each is an offered factor or unset. */
struct ScaleSources
{
    std::optional<float> user, host, display;

    float effective() const { return user ? *user : host ? *host : display ? *display : 1.0f; }
};
} // namespace quane::scale
