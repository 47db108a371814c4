// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any bytes as a MIDI file, read as quane-render reads it.
//
// The input is the file. It is either refused with the tool's own error or read into events in
// time order, each a channel message within the length limit; neither may take more than 100 ms
// of processor time nor hold more heap than a bound linear in the file's size.
#include "tests/fuzz/FileFuzzing.h"

#include "apps/render/MidiFileReader.h"

#include <cmath>

using namespace quane;

namespace
{
constexpr double sampleRate = 44100.0, maximumSeconds = 600.0;
constexpr double maximumMilliseconds = 100.0;

// Each event of the file costs at least two of its bytes and some hundred bytes of records while it
// is read and sorted; a message of system exclusive is copied once.
size_t memoryBound (size_t fileSize)
{
    return 128 * fileSize + (1 << 20);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size)
{
    fuzz::requireReadOrRefused ("fuzz.mid", maximumMilliseconds, memoryBound (size), [&] {
        const auto performance = render::readMidiFile (data, size, "fuzz.mid", sampleRate, maximumSeconds);
        juce::int64 previous = 0;
        for (const auto& event : performance.events)
        {
            fuzz::require (event.samplePosition >= previous, "events out of time order");
            fuzz::require (event.samplePosition <= (juce::int64) std::ceil (maximumSeconds * sampleRate),
                           "an event beyond the length limit");
            fuzz::require (event.bytes[0] >= 0x80 && event.bytes[0] < 0xf0,
                           "a played event that is no channel message");
            previous = event.samplePosition;
        }
    });
    return 0;
}
