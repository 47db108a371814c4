// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// What the fuzz targets over files people hand the tools check alike: read, or refused by name, within bounds.
#pragma once

#include "tests/fuzz/FuzzBounds.h"
#include "tests/fuzz/FuzzHost.h"

#include "hostkit/ToolError.h"

namespace quane::fuzz
{
/** Runs read, which checks what it read; a refusal must be the tools' input error naming the
    file. Either way the input may take at most maximumMilliseconds of processor time and hold at
    most maximumBytes more heap. */
template <typename Read>
void requireReadOrRefused (const juce::String& fileName, double maximumMilliseconds, size_t maximumBytes, Read&& read)
{
    const InputCost cost;
    try
    {
        read();
    }
    catch (const hostkit::ToolError& error)
    {
        require (error.kind == hostkit::ToolError::Kind::input && error.message.startsWith (fileName + " "),
                 "a refusal that does not name the file");
    }
    cost.requireWithin (maximumMilliseconds, maximumBytes);
}
} // namespace quane::fuzz
