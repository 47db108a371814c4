// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The background picture's drawing layout against the controls' bounds in the patch value table.
#include "engine/PatchValueTable.h"
#include "tests/common/LayoutScript.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quane
{
namespace
{
/** Every match of the pattern, its groups as whole numbers. */
std::vector<std::vector<int>> tuples (const std::string& text, const std::string& pattern)
{
    std::vector<std::vector<int>> found;
    for (const auto& groups : test::matchGroups (text, pattern))
    {
        std::vector<int> numbers;
        for (const auto& group : groups)
            numbers.push_back (std::stoi (group));
        found.push_back (numbers);
    }
    return found;
}

TEST (BackgroundLayout, DrawsEveryControlWhereTheEditorPutsIt)
{
    const auto sliderSize = tuples (test::layoutAssignment ("SLIDER_SIZE"), R"(\((\d+), (\d+)\))");
    const auto sliders = tuples (test::layoutAssignment ("SLIDERS"), R"(\((\d+), (\d+), "[^"]*"\))");
    const auto selectors = tuples (test::layoutAssignment ("SELECTORS"), R"(\((\d+), (\d+), (\d+), (\d+)\))");
    ASSERT_EQ (sliderSize.size(), 1u);
    ASSERT_EQ (sliders.size(), (size_t) patch::parameterCount);
    ASSERT_EQ (selectors.size(), (size_t) patch::selectorCount);

    for (int i = 0; i < patch::valueCount; ++i)
    {
        SCOPED_TRACE (patch::rows[i].name);
        const auto& control = patch::rows[i].control;
        const std::vector<int> bounds { control.x, control.y, control.width, control.height };
        if (i < patch::parameterCount)
            EXPECT_EQ (bounds, (std::vector<int> { sliders[(size_t) i][0], sliders[(size_t) i][1], sliderSize[0][0],
                                                   sliderSize[0][1] }));
        else
            EXPECT_EQ (bounds, selectors[(size_t) (i - patch::firstSelector)]);
    }
}
} // namespace
} // namespace quane
