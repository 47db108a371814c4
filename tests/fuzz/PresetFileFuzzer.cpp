// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any bytes as a program or bank file, read by the host kit as the tools read it.
//
// The input is the file. It is either refused with the tools' own error, or read into a preset
// that writes and reads back to itself (its name cut to what the file format holds); neither may
// take more than 100 ms of processor time nor hold more heap than a few copies of the file.
#include "tests/fuzz/FileFuzzing.h"

#include "hostkit/PresetFile.h"

using namespace quane;

namespace
{
constexpr double maximumMilliseconds = 100.0;

size_t memoryBound (size_t fileSize)
{
    return 8 * fileSize + (64 << 10);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size)
{
    fuzz::requireReadOrRefused ("fuzz.fxp", maximumMilliseconds, memoryBound (size), [&] {
        const juce::MemoryBlock bytes (data, size);
        const auto preset = hostkit::decodePreset (bytes, "fuzz.fxp");
        const auto again = hostkit::decodePreset (hostkit::encodePreset (preset), "again.fxp");
        fuzz::require (again.isBank == preset.isBank && again.uniqueId == preset.uniqueId
                           && again.moduleVersion == preset.moduleVersion && again.count == preset.count
                           && again.chunk == preset.chunk,
                       "a preset that does not read back to itself");
        fuzz::require (preset.programName.startsWith (again.programName), "a program name that changed");
    });
    return 0;
}
