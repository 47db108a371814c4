// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Patch values as text and back, independent of the process locale.
#pragma once

#include <juce_core/juce_core.h>

namespace quane
{
/** The value widened to double and written like "%.9g" (nine significant digits, which read
    back as the identical float), always with a '.' whatever locale the host has set. */
juce::String formatPatchValue (float value);

/** Reads a decimal number: leading white space, an optional sign, digits with an optional
    point, an optional exponent, rounded to single precision. Text that holds no number reads
    as 0; a number beyond the float range reads as an infinity of its sign. */
float readPatchValue (const juce::String& text);
} // namespace quane
