// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's background picture, stored in the module as constant data at 1x, 2x and 3x.
#pragma once

#include <juce_graphics/juce_graphics.h>

#include <array>

namespace quane
{
/** Decodes the stored JPEG anew (541 x 341; the panel shows its top-left 540 x 340).
    An invalid image if the data cannot be decoded. */
juce::Image decodeBackgroundPicture();

/** The same picture drawn with 1, 2 or 3 pixels per panel pixel (541 x 341, 1082 x 682,
    1623 x 1023). An invalid image for any other density or data that cannot be decoded. */
juce::Image decodeBackgroundPicture (int pixelsPerUnit);

/** Fills the panel with its picture for the pixels it lands on. Message thread.

    Where a panel pixel is one device pixel or less (100 %, or smaller snapshots) the 1x picture
    is drawn exactly as it always was. Above that the 2x picture (up to 200 %) or the 3x picture
    is drawn at the device's own resolution, brought to it by resampling down, so the panel is
    never a stretched 540 x 340 bitmap. The larger pictures are decoded on first need. */
class PanelBackground
{
public:
    PanelBackground();

    void paint (juce::Graphics& g, juce::Rectangle<int> panelArea);

private:
    const juce::Image& pictureFor (int pixelsPerUnit);

    juce::FillType oneToOne;
    std::array<juce::Image, 2> larger; // 2x, 3x
};
} // namespace quane
