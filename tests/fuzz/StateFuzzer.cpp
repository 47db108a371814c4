// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: any bytes as a saved state, then the state handed back and a block of audio.
//
// Input: one mode byte, then the chunk. Mode bit 0 wraps the rest in a valid header (magic and
// its own length, terminator and spare byte), so the mutations reach the XML reader; without it
// the bytes are the chunk as they stand. Bit 1 picks the bank (0) or program (1) request. Reading
// the state may take at most 100 ms of processor time.
#include "tests/fuzz/FuzzBounds.h"
#include "tests/fuzz/FuzzHost.h"

#include "engine/PatchParams.h"

#include <cmath>

using namespace quane;

namespace
{
// A host's window waits for effSetChunk: any input, up to the megabyte the fuzzer is given, is
// read or refused within this much processor time (sanitizers and coverage included).
constexpr double maximumMilliseconds = 100.0;
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size)
{
    fuzz::FuzzInput input (data, size);
    const auto mode = input.byte();
    const auto rest = input.bytes (size);
    const bool isProgram = ((mode >> 1) & 1) != 0;

    // Handed over in a copy of exactly its size, so that reading past it is caught.
    const auto chunk = (mode & 1) != 0 ? fuzz::withValidHeader (rest) : rest;
    fuzz::FuzzInstance instance;
    const auto startMilliseconds = fuzz::threadMilliseconds();
    instance.setChunk (std::vector<std::uint8_t> (chunk.begin(), chunk.end()), isProgram);
    fuzz::require (fuzz::threadMilliseconds() - startMilliseconds <= maximumMilliseconds,
                   "reading the state took more than 100 ms");

    // Whatever was read, the patch holds only finite values...
    for (int i = 0; i < patch::valueCount; ++i)
        fuzz::require (std::isfinite (instance.getParameter (i)), "a non-finite patch value");

    // ...the state handed out reads back to itself in a fresh instance...
    const auto saved = instance.getChunk (isProgram);
    fuzz::require (! saved.empty(), "no chunk handed out");
    fuzz::FuzzInstance other;
    other.setChunk (saved, ! isProgram);
    fuzz::require (other.getChunk (isProgram) == saved, "the state handed out does not read back to itself");

    // ...and it plays within bounds: a chord with the wheel up.
    instance.sendMidi (
        { { 0, { 0x90, 36, 127 } }, { 7, { 0x90, 60, 100 } }, { 14, { 0x90, 96, 1 } }, { 21, { 0xB0, 1, 127 } } });
    instance.renderChecked (512, true);
    return 0;
}
