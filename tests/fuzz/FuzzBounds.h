// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The time and memory one fuzz input may cost, measured while it runs.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quane::fuzz
{
/** Processor time of the calling thread, in milliseconds, unaffected by other load on the machine. */
double threadMilliseconds();

/** Measures from its construction: the calling thread's processor time, and the most heap the
    process held beyond what it held at the start (counted through the address sanitizer's
    allocation hooks, so the fuzz targets must be built with it). One at a time. */
class InputCost
{
public:
    InputCost();

    double milliseconds() const;
    size_t peakExtraBytes() const;

    /** Aborts, so the fuzzer keeps the input, when it took longer or held more than this. */
    void requireWithin (double maximumMilliseconds, size_t maximumBytes) const;

private:
    double startMilliseconds;
    std::int64_t startHeld;
};
} // namespace quane::fuzz
