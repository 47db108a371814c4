// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A picture of the editor for a person to look at, and checks that it shows the panel and its controls.
#include "EditorTestSupport.h"

#include "editor/BackgroundPicture.h"

#include <gtest/gtest.h>

#include <set>

namespace quane
{
namespace
{
juce::File artefactDirectory()
{
    auto dir = juce::File (QUANE_BINARY_DIR).getChildFile ("test-artefacts");
    dir.createDirectory();
    return dir;
}

int distinctColours (const juce::Image& image, juce::Rectangle<int> area)
{
    std::set<juce::uint32> colours;
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
            colours.insert (image.getPixelAt (x, y).getARGB());
    return (int) colours.size();
}

/** Mean absolute difference per channel between two images over an area. */
double meanDifference (const juce::Image& a, const juce::Image& b, juce::Rectangle<int> area)
{
    double sum = 0.0;
    for (int y = area.getY(); y < area.getBottom(); ++y)
        for (int x = area.getX(); x < area.getRight(); ++x)
        {
            const auto p = a.getPixelAt (x, y), q = b.getPixelAt (x, y);
            sum += std::abs (p.getRed() - q.getRed()) + std::abs (p.getGreen() - q.getGreen())
                   + std::abs (p.getBlue() - q.getBlue());
        }
    return sum / (3.0 * area.getWidth() * area.getHeight());
}

TEST (EditorSnapshot, BackgroundPictureDecodes)
{
    const auto picture = decodeBackgroundPicture();
    ASSERT_TRUE (picture.isValid());
    EXPECT_EQ (picture.getWidth(), 541);
    EXPECT_EQ (picture.getHeight(), 341);
    // Light grey surface: the average is bright and nearly neutral.
    double red = 0.0, green = 0.0, blue = 0.0;
    for (int y = 0; y < 341; y += 4)
        for (int x = 0; x < 541; x += 4)
        {
            const auto c = picture.getPixelAt (x, y);
            red += c.getRed(), green += c.getGreen(), blue += c.getBlue();
        }
    const double n = (double) ((341 + 3) / 4) * ((541 + 3) / 4);
    EXPECT_GT (green / n, 150.0);
    EXPECT_LT (std::abs (red - green) / n, 25.0);
    EXPECT_GT (distinctColours (picture, { 0, 0, 541, 341 }), 500) << "a textured surface, not a flat fill";
}

TEST (EditorSnapshot, PictureShowsPanelAndControls)
{
    MyPlugJuceFilter model;
    MyPlugEditorComponent editor (model);
    const auto snapshot = editor.createComponentSnapshot (editor.getLocalBounds(), true, 1.0f);
    ASSERT_EQ (snapshot.getWidth(), 540);
    ASSERT_EQ (snapshot.getHeight(), 340);

    const auto file = artefactDirectory().getChildFile ("editor-panel.png");
    file.deleteFile();
    {
        juce::FileOutputStream out (file);
        ASSERT_TRUE (out.openedOk());
        ASSERT_TRUE (juce::PNGImageFormat().writeImageToStream (snapshot, out));
    }
    EXPECT_GT (file.getSize(), 10000);
    std::cout << "editor picture: " << file.getFullPathName() << std::endl;

    // Away from the controls the panel is the background picture itself.
    const auto picture = decodeBackgroundPicture();
    EXPECT_LT (meanDifference (snapshot, picture, { 440, 40, 90, 40 }), 1.0);
    // Every control draws something of its own over the picture.
    for (int i = 0; i < patch::parameterCount; ++i)
        EXPECT_GT (meanDifference (snapshot, picture, editor.getSlider (i).getBounds()), 8.0) << "slider " << i;
    for (int j = 0; j < patch::selectorCount; ++j)
        EXPECT_GT (meanDifference (snapshot, picture, editor.getSelector (j).getBounds()), 8.0) << "selector " << j;
}

TEST (EditorSnapshot, SelectorsShowTheirItemText)
{
    MyPlugJuceFilter model;
    model.setParameterValue (30, 1.0f);
    MyPlugEditorComponent editor (model);
    auto& selector = editor.getSelector (0);
    ASSERT_EQ (selector.getText(), "Saw");
    const auto withText = selector.createComponentSnapshot (selector.getLocalBounds());
    selector.setSelectedId (0, juce::dontSendNotification);
    const auto empty = selector.createComponentSnapshot (selector.getLocalBounds());
    // Text drawn means fonts were found: a machine without them draws none, silently.
    EXPECT_GT (meanDifference (withText, empty, selector.getLocalBounds()), 2.0);
}
} // namespace
} // namespace quane
