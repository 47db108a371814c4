// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Many instances, and many loadings of the module, with the process's memory before and after.
#include "devtools/stress/StressCommands.h"
#include "devtools/stress/StressHost.h"

#include <cstdio>

namespace quane::stress
{
namespace
{
// What the heap may keep beyond its start without counting as growth: allocator and library
// caches, not a per-instance leak (a leak of 1 KiB per instance would already pass this).
constexpr double allowedHeapGrowthMiB = 0.5;

/** One instance's life as a host gives it: open, a chord, a few blocks, close. */
bool playOneInstance (const hostkit::LoadedModule& module)
{
    const auto instance = startInstance (module, 44100.0, 512);
    if (instance == nullptr)
        return false;
    instance->sendMidi ({ { 0, { 0x90, 48, 100 } }, { 10, { 0x90, 55, 100 } }, { 20, { 0x90, 64, 100 } } });
    float left[512], right[512];
    float* outputs[] = { left, right };
    for (int block = 0; block < 4; ++block)
        instance->render (outputs, 512);
    return countBadSamples (left, 512) == 0 && countBadSamples (right, 512) == 0;
}

int report (const char* what, int count, const MemoryFigures& before, const MemoryFigures& after, bool played)
{
    const double growth = after.heapInUseMiB - before.heapInUseMiB;
    std::printf ("%s: %d\n", what, count);
    std::printf ("memory before: resident %.2f MiB, heap in use %.3f MiB\n", before.residentMiB, before.heapInUseMiB);
    std::printf ("memory after:  resident %.2f MiB, heap in use %.3f MiB\n", after.residentMiB, after.heapInUseMiB);
    std::printf ("heap growth: %.3f MiB (%.1f bytes per cycle; limit %.1f MiB)\n", growth,
                 growth * 1024.0 * 1024.0 / count, allowedHeapGrowthMiB);
    const bool passed = played && growth <= allowedHeapGrowthMiB;
    std::printf ("%s\n", passed ? "passed" : "FAILED");
    return passed ? 0 : 1;
}
} // namespace

int runInstances (const std::string& modulePath, int count)
{
    const auto module = loadModule (modulePath);
    if (module == nullptr)
        return 2;

    // The first instance makes what the process keeps for good (JUCE's message manager, its timer
    // thread, fonts): measured from after it.
    bool played = playOneInstance (*module);
    const auto before = measureMemory();
    for (int i = 0; i < count; ++i)
        played = playOneInstance (*module) && played;
    return report ("instances created, played and closed", count, before, measureMemory(), played);
}

int runReloads (const std::string& modulePath, int count)
{
    bool played = true;
    const auto cycle = [&] {
        const auto module = loadModule (modulePath);
        played = module != nullptr && playOneInstance (*module) && played;
    };

    cycle();
    const auto before = measureMemory();
    for (int i = 0; i < count; ++i)
        cycle();
    return report ("module loaded, played and unloaded", count, before, measureMemory(), played);
}
} // namespace quane::stress
