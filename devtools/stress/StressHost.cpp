// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The stress tool's host: the module and playing instances, the checks and figures of a run.
#include "devtools/stress/StressHost.h"

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <ctime>
#include <malloc.h>
#include <unistd.h>

namespace quane::stress
{
std::unique_ptr<hostkit::LoadedModule> loadModule (const std::string& path)
{
    auto module = std::make_unique<hostkit::LoadedModule> (path);
    if (module->isLoaded())
        return module;
    std::fprintf (stderr, "cannot load %s: %s\n", path.c_str(), module->getError().c_str());
    return nullptr;
}

std::unique_ptr<hostkit::HostedEffect> startInstance (const hostkit::LoadedModule& module, double sampleRate,
                                                      int maximumBlockSize)
{
    auto instance = std::make_unique<hostkit::HostedEffect> (module.getEntry(), hostkit::HostSetup { "quane-stress" });
    if (instance->getEffect() == nullptr)
        return nullptr;
    instance->open (sampleRate, maximumBlockSize);
    instance->resume();
    return instance;
}

long countBadSamples (const float* samples, int count)
{
    long bad = 0;
    for (int i = 0; i < count; ++i)
        bad += std::fabs (samples[i]) <= outputBound ? 0 : 1;
    return bad;
}

MemoryFigures measureMemory()
{
    MemoryFigures figures;
    long pages = 0, residentPages = 0;
    if (auto* statm = std::fopen ("/proc/self/statm", "r"))
    {
        if (std::fscanf (statm, "%ld %ld", &pages, &residentPages) != 2)
            residentPages = 0;
        std::fclose (statm);
    }
    constexpr double mebibyte = 1024.0 * 1024.0;
    figures.residentMiB = (double) residentPages * (double) sysconf (_SC_PAGESIZE) / mebibyte;
    const auto heap = mallinfo2();
    figures.heapInUseMiB = (double) (heap.uordblks + heap.hblkhd) / mebibyte;
    return figures;
}

double cpuSecondsOfThisThread()
{
    timespec now {};
    clock_gettime (CLOCK_THREAD_CPUTIME_ID, &now);
    return (double) now.tv_sec + (double) now.tv_nsec * 1.0e-9;
}
} // namespace quane::stress
