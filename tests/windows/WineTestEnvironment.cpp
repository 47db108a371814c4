// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Where the Windows tests find the module, the Linux build's references and their artefact folder.
#include "tests/windows/WineTestEnvironment.h"

#include <cstdlib>

namespace quane::test
{
std::string environmentPath (const char* name)
{
    const char* value = std::getenv (name);
    return value != nullptr ? std::string (value) : std::string();
}

std::string inFolder (const std::string& path, const std::string& name)
{
    return path + "\\" + name;
}
} // namespace quane::test
