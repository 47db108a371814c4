// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The shared object's dynamic symbol table: the two entry names and nothing else.
#include "tests/host/HostTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <set>

namespace quane::test
{
namespace
{
std::set<std::string> definedDynamicSymbols()
{
    std::set<std::string> symbols;
    const std::string command = std::string ("nm -D --defined-only '") + QUANE_MODULE_PATH + "'";
    if (FILE* pipe = popen (command.c_str(), "r"))
    {
        char line[512];
        while (std::fgets (line, sizeof (line), pipe) != nullptr)
        {
            std::string entry (line);
            const auto lastSpace = entry.find_last_of (' ');
            symbols.insert (entry.substr (lastSpace + 1, entry.find_last_not_of ("\r\n") - lastSpace));
        }
        pclose (pipe);
    }
    return symbols;
}
} // namespace

TEST (ModuleEntry, ExportsExactlyTheTwoEntrySymbols)
{
    EXPECT_EQ (definedDynamicSymbols(), (std::set<std::string> { "VSTPluginMain", "main" }));
}
} // namespace quane::test
