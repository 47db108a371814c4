// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/common/DisplayLock.h"

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace quane::test
{
DisplayLock::DisplayLock()
{
    const char* display = std::getenv ("DISPLAY");
    const auto path = std::string ("/tmp/quane-editor-host") + (display != nullptr ? display : "") + ".lock";
    fd = open (path.c_str(), O_CREAT | O_RDWR, 0666);
    if (fd >= 0)
        flock (fd, LOCK_EX);
}

DisplayLock::~DisplayLock()
{
    if (fd >= 0)
        close (fd);
}
} // namespace quane::test
