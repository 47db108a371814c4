// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// One benchmark figure: a module played with held notes through its entry, timed on this thread.
#pragma once

#include "hostkit/ModuleOpening.h"

namespace quane::benchmark
{
/** How an instance is played: held notes (0 for none), block size and sample rate. */
struct Setting
{
    const char* label;
    int voices;
    int blockSize;
    double sampleRate;
};

struct Result
{
    double realTimeFactor = 0.0;         // seconds of audio per second of this thread's processor time
    double instructionsPerSample = 0.0;  // per output sample (stereo frame); 0 where not counted
    double worstBlockMicroseconds = 0.0; // the longest block's processor time
    juce::String programName;
};

/** One run on a fresh instance: one second to settle, then at least seconds of audio and a
    quarter of a second of processor time. program -1 keeps the module's own. */
Result measure (const hostkit::LoadedModule& module, int program, const Setting& setting, double seconds);
} // namespace quane::benchmark
