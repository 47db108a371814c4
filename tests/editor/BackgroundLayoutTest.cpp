// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The background picture's drawing layout against the controls' bounds in the patch value table.
#include "engine/PatchValueTable.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace quane
{
namespace
{
std::string layoutScript()
{
    std::ifstream file (QUANE_SOURCE_DIR "/generators/background/layout.py");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

/** The text of "NAME = ..." up to the next blank line. */
std::string assignment (const std::string& script, const std::string& name)
{
    const auto start = script.find ("\n" + name + " = ");
    if (start == std::string::npos)
        return {};
    return script.substr (start, script.find ("\n\n", start) - start);
}

/** Every parenthesised group of whole numbers matching the pattern, as numbers. */
std::vector<std::vector<int>> tuples (const std::string& text, const std::string& pattern)
{
    std::vector<std::vector<int>> found;
    const std::regex tuple (pattern);
    for (auto match = std::sregex_iterator (text.begin(), text.end(), tuple); match != std::sregex_iterator(); ++match)
    {
        std::vector<int> numbers;
        for (size_t group = 1; group < match->size(); ++group)
            numbers.push_back (std::stoi ((*match)[group].str()));
        found.push_back (numbers);
    }
    return found;
}

TEST (BackgroundLayout, DrawsEveryControlWhereTheEditorPutsIt)
{
    const auto script = layoutScript();
    ASSERT_FALSE (script.empty());

    const auto sliderSize = tuples (assignment (script, "SLIDER_SIZE"), R"(\((\d+), (\d+)\))");
    const auto sliders = tuples (assignment (script, "SLIDERS"), R"(\((\d+), (\d+), "[^"]*"\))");
    const auto selectors = tuples (assignment (script, "SELECTORS"), R"(\((\d+), (\d+), (\d+), (\d+)\))");
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
