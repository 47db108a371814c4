// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's background picture, stored in the module as constant data.
#pragma once

#include <juce_graphics/juce_graphics.h>

namespace quane
{
/** Decodes the stored JPEG anew (541 x 341; the panel shows its top-left 540 x 340).
    An invalid image if the data cannot be decoded. */
juce::Image decodeBackgroundPicture();
} // namespace quane
