// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// quane-render's editor screenshot: the editor opened in the tool's own window, captured as painted.
#include "ToolTestSupport.h"

#include <gtest/gtest.h>
#include <juce_graphics/juce_graphics.h>
#include <cstdlib>
#include <set>
#include <string>

namespace quane::test
{
TEST (EditorPicture, CapturesThePaintedEditorAtItsSize)
{
    ScratchFolder scratch;
    const auto run = runTool ({ "--editor-png", scratch.path ("editor.png") });
    ASSERT_EQ (run.exitCode, 0) << run.output;
    EXPECT_TRUE (run.output.contains ("editor picture -> ")) << run.output;

    const auto picture = juce::ImageFileFormat::loadFrom (scratch.file ("editor.png"));
    ASSERT_TRUE (picture.isValid());
    EXPECT_EQ (picture.getWidth(), 540);
    EXPECT_EQ (picture.getHeight(), 340);

    // The background picture and the controls give many colours; an unpainted window gives one.
    std::set<juce::uint32> colours;
    for (int y = 0; y < picture.getHeight(); y += 4)
        for (int x = 0; x < picture.getWidth(); x += 4)
            colours.insert (picture.getPixelAt (x, y).getARGB());
    EXPECT_GT (colours.size(), 100u);
}

TEST (EditorPicture, WithoutADisplayTheToolStartsItsOwnAndEndsWell)
{
    const char* const suiteDisplay = std::getenv ("DISPLAY");
    const std::string display = suiteDisplay != nullptr ? suiteDisplay : "";
    unsetenv ("DISPLAY");
    ScratchFolder scratch;
    const auto run = runTool ({ "--editor-png", scratch.path ("editor.png") });
    if (! display.empty())
        setenv ("DISPLAY", display.c_str(), 1);

    EXPECT_EQ (run.exitCode, 0) << run.output;
    EXPECT_TRUE (scratch.file ("editor.png").existsAsFile());
}
} // namespace quane::test
