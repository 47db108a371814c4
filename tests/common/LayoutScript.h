// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Source files read as text by the tests: the editor picture's layout script and the manual.
#pragma once

#include <string>
#include <vector>

namespace quane::test
{
/** A file of the source tree, by its path below the root; empty when it cannot be read. */
std::string readSourceFile (const std::string& relativePath);

/** The text of "NAME = ..." in generators/background/layout.py, up to the next blank line. */
std::string layoutAssignment (const std::string& name);

/** The groups of every match of the pattern in the text, in order. */
std::vector<std::vector<std::string>> matchGroups (const std::string& text, const std::string& pattern);
} // namespace quane::test
