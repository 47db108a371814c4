// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's background picture, stored in the module as constant data.
#include "editor/BackgroundPicture.h"

#include "EditorAssets.h"

namespace quane
{
juce::Image decodeBackgroundPicture()
{
    // The generic loader recognises the format from the data itself.
    return juce::ImageFileFormat::loadFrom (editor_assets::background_jpg, (size_t) editor_assets::background_jpgSize);
}
} // namespace quane
