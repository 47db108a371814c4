// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Source files read as text by the tests: the editor picture's layout script and the manual.
#include "tests/common/LayoutScript.h"

#include <fstream>
#include <regex>
#include <sstream>

namespace quane::test
{
std::string readSourceFile (const std::string& relativePath)
{
    std::ifstream file (std::string (QUANE_SOURCE_DIR) + "/" + relativePath);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string layoutAssignment (const std::string& name)
{
    const auto script = readSourceFile ("generators/background/layout.py");
    const auto start = script.find ("\n" + name + " = ");
    if (start == std::string::npos)
        return {};
    return script.substr (start, script.find ("\n\n", start) - start);
}

std::vector<std::vector<std::string>> matchGroups (const std::string& text, const std::string& pattern)
{
    std::vector<std::vector<std::string>> found;
    const std::regex expression (pattern);
    for (auto match = std::sregex_iterator (text.begin(), text.end(), expression); match != std::sregex_iterator();
         ++match)
    {
        std::vector<std::string> groups;
        for (size_t group = 1; group < match->size(); ++group)
            groups.push_back ((*match)[group].str());
        found.push_back (groups);
    }
    return found;
}
} // namespace quane::test
