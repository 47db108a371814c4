// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A slider that catches values the user produces near one target value.
#include "editor/SnappingSlider.h"

#include <cmath>

namespace quane
{
SnappingSlider::SnappingSlider (const juce::String& name) : juce::Slider (name) {}

SnappingSlider::~SnappingSlider() = default;

double SnappingSlider::snapValue (double attemptedValue, DragMode)
{
    // The distance is taken in double with the target widened, the comparison against the
    // float tolerance widened too; a value exactly at the tolerance is kept.
    const double distance = std::abs (attemptedValue - (double) snapTarget);
    if ((double) snapTolerance > distance)
        return (double) snapTarget;
    return attemptedValue;
}
} // namespace quane
