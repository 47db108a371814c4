// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's size factors and which of their sources decides.
#include "editor/EditorScale.h"

#include "host/ScaleFactorRange.h"

#include <cmath>

namespace quane::scale
{
int toPercent (float factor)
{
    return (int) std::lround (factor * 100.0f);
}

std::optional<float> offeredPercent (int percent)
{
    for (int offered : offeredPercents)
        if (offered == percent)
            return (float) offered / 100.0f;
    return std::nullopt;
}

std::optional<float> nearestOffered (float factor)
{
    if (! isUsableScaleFactor (factor))
        return std::nullopt;

    int nearest = offeredPercents.front();
    for (int offered : offeredPercents)
        if (std::abs (factor * 100.0f - (float) offered) < std::abs (factor * 100.0f - (float) nearest))
            nearest = offered;
    return (float) nearest / 100.0f;
}
} // namespace quane::scale
