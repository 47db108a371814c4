// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The manual's tables against the patch value table, the panel's captions and the factory programs.
#include "engine/PatchValueTable.h"
#include "plugin/FactoryPrograms.h"
#include "tests/common/LayoutScript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace quane
{
namespace
{
using TableRow = std::map<std::string, std::string>; // header text to cell text

std::string trimmed (const std::string& text)
{
    const auto first = text.find_first_not_of (' ');
    return first == std::string::npos ? std::string() : text.substr (first, text.find_last_not_of (' ') - first + 1);
}

std::vector<std::string> cellsOf (const std::string& line)
{
    std::vector<std::string> cells;
    std::stringstream stream (line.substr (1, line.find_last_of ('|') - 1));
    for (std::string cell; std::getline (stream, cell, '|');)
        cells.push_back (trimmed (cell));
    return cells;
}

/** The rows of every Markdown table of the manual, each cell named by its column's header. */
std::vector<TableRow> manualTableRows()
{
    std::vector<std::string> lines;
    std::stringstream manual (test::readSourceFile ("docs/manual.md"));
    for (std::string line; std::getline (manual, line);)
        lines.push_back (line);

    std::vector<TableRow> rows;
    std::vector<std::string> header;
    for (size_t i = 0; i < lines.size(); ++i)
    {
        if (lines[i].rfind ("|", 0) != 0)
            header.clear();
        else if (header.empty() && i + 1 < lines.size() && lines[i + 1].rfind ("|---", 0) == 0)
            header = cellsOf (lines[i++]);
        else if (! header.empty())
        {
            TableRow row;
            const auto cells = cellsOf (lines[i]);
            for (size_t column = 0; column < header.size() && column < cells.size(); ++column)
                row[header[column]] = cells[column];
            rows.push_back (row);
        }
    }
    return rows;
}

std::vector<const TableRow*> rowsWhere (const std::vector<TableRow>& rows, const std::string& column,
                                        const std::string& text)
{
    std::vector<const TableRow*> found;
    for (const auto& row : rows)
        if (auto cell = row.find (column); cell != row.end() && cell->second == text)
            found.push_back (&row);
    return found;
}

std::string number (double value)
{
    char text[32];
    std::snprintf (text, sizeof (text), "%g", value);
    return text;
}

/** The Range cell of a control: a slider's bounds, or a selector's items. */
std::string rangeText (const patch::EditorControl& control)
{
    std::string text;
    if (control.items != nullptr)
    {
        for (int item = 0; item < control.itemCount; ++item)
            text += (item == 0 ? "" : ", ") + std::string (control.items[item]);
        return text;
    }
    return number (control.minimum) + " to " + number (control.maximum) + (control.step == 1.0 ? " (whole)" : "");
}

size_t wordCount (const std::string& text)
{
    std::stringstream stream (text);
    return (size_t) std::distance (std::istream_iterator<std::string> (stream), std::istream_iterator<std::string>());
}

TEST (Manual, EveryControlHasItsRowWithTheFactsOfTheTable)
{
    const auto rows = manualTableRows();
    const auto captions = test::matchGroups (test::layoutAssignment ("SLIDERS"), R"re(\(\d+, \d+, "([^"]*)"\))re");
    ASSERT_EQ (captions.size(), (size_t) patch::parameterCount);

    for (int i = 0; i < patch::valueCount; ++i)
    {
        const auto& value = patch::rows[i];
        SCOPED_TRACE (value.name);
        const auto found = rowsWhere (rows, "Control", value.name);
        ASSERT_EQ (found.size(), 1u) << "one row of the manual's control tables per control";
        auto row = *found.front();

        const bool isSlider = i < patch::parameterCount;
        if (isSlider)
        {
            EXPECT_EQ (row["Label"], captions[(size_t) i][0]);
        }
        EXPECT_EQ (row["Host name"],
                   isSlider ? "`" + std::string (value.name).substr (0, patch::hostNameLength) + "`" : "—");
        EXPECT_EQ (row["Range"], rangeText (value.control));
        EXPECT_GE (wordCount (row["What it does"]), 8u) << "a sentence on what the control does";
    }

    for (const auto& row : rows)
    {
        const auto control = row.find ("Control");
        if (control == row.end())
            continue;
        EXPECT_TRUE (std::any_of (std::begin (patch::rows), std::end (patch::rows),
                                  [&] (const auto& value) { return control->second == value.name; }))
            << "the manual describes a control the table does not have: " << control->second;
    }
}

TEST (Manual, EveryProgramHasItsRowAndItsPicture)
{
    const auto rows = manualTableRows();
    const auto programs = factoryPrograms();
    ASSERT_EQ (programs.count, factoryProgramCount);

    for (int number = 0; number < programs.count; ++number)
    {
        char label[64];
        std::snprintf (label, sizeof (label), "%02d %s", number, programs.programs[number].name);
        SCOPED_TRACE (label);
        // quane-render names each picture NN-program-name.
        std::string picture = "pictures/programs/" + std::string (label);
        std::transform (picture.begin(), picture.end(), picture.begin(),
                        [] (char c) { return c == ' ' ? '-' : (char) std::tolower ((unsigned char) c); });
        picture += ".png";

        const auto found = rowsWhere (rows, "program", label);
        ASSERT_EQ (found.size(), 1u);
        EXPECT_NE (found.front()->at ("picture").find ("\"" + picture + "\""), std::string::npos);
        EXPECT_TRUE (std::filesystem::is_regular_file (std::string (QUANE_SOURCE_DIR) + "/docs/" + picture));
        EXPECT_GE (wordCount (found.front()->at ("the sound, and what to play")), 8u);
    }
}

TEST (Manual, EveryPictureItShowsIsCommitted)
{
    const auto manual = test::readSourceFile ("docs/manual.md");
    const auto links = test::matchGroups (manual, R"re((?:\]\(|src=")([^")]+\.(?:png|svg)))re");
    EXPECT_GE (links.size(), 14u); // the editor, the modulation diagram and the twelve programs
    for (const auto& link : links)
        EXPECT_TRUE (std::filesystem::is_regular_file (std::string (QUANE_SOURCE_DIR) + "/docs/" + link[0])) << link[0];
}
} // namespace
} // namespace quane
