// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The stress tool's host: the module and playing instances through the host kit's plain core,
// and the checks and figures of a run. No GUI library of the tool's own, so the process's memory
// figures and a memory checker's findings are the module's.
#pragma once

#include "engine/EngineLimits.h"
#include "hostkit/HostedEffect.h"

#include <memory>
#include <string>

namespace quane::stress
{
/** The module loaded, or null after saying on stderr why it is not. */
std::unique_ptr<hostkit::LoadedModule> loadModule (const std::string& path);

/** An instance opened at the rate and largest block and resumed, as a host starts to play; null
    when the entry made none. */
std::unique_ptr<hostkit::HostedEffect> startInstance (const hostkit::LoadedModule& module, double sampleRate,
                                                      int maximumBlockSize);

/** Counts the samples that are not finite or lie beyond the engine's output bound. */
long countBadSamples (const float* samples, int count);

/** The process's resident memory and the bytes the heap has handed out and not taken back. */
struct MemoryFigures
{
    double residentMiB = 0.0;
    double heapInUseMiB = 0.0;
};

MemoryFigures measureMemory();
double cpuSecondsOfThisThread();
} // namespace quane::stress
