// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// quane-stress: soak, lifecycle and memory-checker runs of the module through its VST 2.x entry.
//
// Usage: quane-stress [--module PATH] soak [seconds, default 3600] [seed]
//        quane-stress [--module PATH] instances [count, default 1000]
//        quane-stress [--module PATH] reloads [count, default 100]
//        quane-stress [--module PATH] session
// Exit status: 0 passed, 1 a check failed, 2 bad command line or module not loadable.
#include "devtools/stress/StressCommands.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace
{
int usage()
{
    std::fprintf (stderr, "usage: quane-stress [--module PATH] soak [seconds] [seed] | instances [count] | "
                          "reloads [count] | session\n");
    return 2;
}

double numberOr (int argc, char** argv, int index, double fallback)
{
    return index < argc ? std::atof (argv[index]) : fallback;
}
} // namespace

int main (int argc, char** argv)
{
    using namespace quane::stress;
    std::string modulePath = QUANE_DEFAULT_MODULE_PATH;
    int first = 1;
    if (argc > 2 && std::string (argv[1]) == "--module")
    {
        modulePath = argv[2];
        first = 3;
    }
    if (first >= argc)
        return usage();

    const std::string command = argv[first];
    if (command == "soak")
    {
        const double seconds = numberOr (argc, argv, first + 1, 3600.0);
        return seconds > 0.0 ? runSoak (modulePath, seconds, (unsigned) numberOr (argc, argv, first + 2, 1.0))
                             : usage();
    }
    if (command == "instances" || command == "reloads")
    {
        const int count = (int) numberOr (argc, argv, first + 1, command == "instances" ? 1000 : 100);
        if (count <= 0)
            return usage();
        return command == "instances" ? runInstances (modulePath, count) : runReloads (modulePath, count);
    }
    if (command == "session")
        return runSession (modulePath);
    return usage();
}
