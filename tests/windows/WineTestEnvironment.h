// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Where the Windows tests find the module, the Linux build's references and their artefact folder.
#pragma once

#include <string>

namespace quane::test
{
/** The value of an environment variable naming a file or folder (a Windows path such as
    Z:\work\build\...), or empty when it is not set. */
std::string environmentPath (const char* name);

/** path + "\\" + name. */
std::string inFolder (const std::string& path, const std::string& name);
} // namespace quane::test
