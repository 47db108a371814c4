// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's background picture, stored in the module as constant data at 1x, 2x and 3x.
#include "editor/BackgroundPicture.h"

#include "EditorAssets.h"

#include <iterator>
#include <utility>

namespace quane
{
namespace
{
// A device scale this close to 1 is 100 %: the transforms of a host's window may carry rounding.
constexpr float oneToOneTolerance = 1.0e-3f;
} // namespace

juce::Image decodeBackgroundPicture()
{
    return decodeBackgroundPicture (1);
}

juce::Image decodeBackgroundPicture (int pixelsPerUnit)
{
    using namespace editor_assets;
    const std::pair<const char*, int> pictures[] = { { background_jpg, background_jpgSize },
                                                     { background_2x_jpg, background_2x_jpgSize },
                                                     { background_3x_jpg, background_3x_jpgSize } };
    if (pixelsPerUnit < 1 || pixelsPerUnit > (int) std::size (pictures))
        return {};
    const auto [data, size] = pictures[pixelsPerUnit - 1];
    // The generic loader recognises the format from the data itself.
    return juce::ImageFileFormat::loadFrom (data, (size_t) size);
}

PanelBackground::PanelBackground()
{
    oneToOne = juce::FillType (decodeBackgroundPicture(), juce::AffineTransform());
    oneToOne.setOpacity (1.0f);
}

const juce::Image& PanelBackground::pictureFor (int pixelsPerUnit)
{
    auto& picture = larger[(size_t) (pixelsPerUnit - 2)];
    if (! picture.isValid())
        picture = decodeBackgroundPicture (pixelsPerUnit);
    return picture;
}

void PanelBackground::paint (juce::Graphics& g, juce::Rectangle<int> panelArea)
{
    const float deviceScale = g.getInternalContext().getPhysicalPixelScaleFactor();
    if (deviceScale <= 1.0f + oneToOneTolerance)
    {
        g.setFillType (oneToOne);
        g.fillRect (panelArea);
        return;
    }

    const int pixelsPerUnit = deviceScale <= 2.0f + oneToOneTolerance ? 2 : 3;
    // Drawn at 1 / pixelsPerUnit, the picture meets the device pixel for pixel at 200 % and 300 %
    // and is resampled down (never up) at the factors between.
    const juce::Graphics::ScopedSaveState state (g);
    g.reduceClipRegion (panelArea);
    g.setImageResamplingQuality (juce::Graphics::highResamplingQuality);
    g.drawImageTransformed (pictureFor (pixelsPerUnit), juce::AffineTransform::scale (1.0f / (float) pixelsPerUnit));
}
} // namespace quane
