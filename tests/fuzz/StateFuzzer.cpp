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

#include <cmath>

using namespace quane;

namespace
{
std::vector<std::uint8_t> withValidHeader (const std::vector<std::uint8_t>& text)
{
    const auto length = (std::uint32_t) text.size();
    std::vector<std::uint8_t> chunk { 0x56, 0x43, 0x32, 0x21 };
    for (int shift = 0; shift < 32; shift += 8)
        chunk.push_back ((std::uint8_t) (length >> shift));
    chunk.insert (chunk.end(), text.begin(), text.end());
    chunk.push_back (0);
    chunk.push_back (0);
    return chunk;
}

constexpr int numPatchValues = 39;
// A host's window waits for effSetChunk: any input, up to the megabyte the fuzzer is given, is
// read or refused within this much processor time (sanitizers and coverage included).
constexpr double maximumMilliseconds = 100.0;
} // namespace

extern "C" int LLVMFuzzerTestOneInput (const std::uint8_t* data, size_t size)
{
    fuzz::FuzzInput input (data, size);
    const auto mode = input.byte();
    const auto rest = input.bytes (size);
    const vst::int32 index = (mode >> 1) & 1;

    fuzz::FuzzInstance instance;
    const auto chunk = (mode & 1) != 0 ? withValidHeader (rest) : rest;
    const auto startMilliseconds = fuzz::threadMilliseconds();
    instance.setChunk (chunk, index);
    fuzz::require (fuzz::threadMilliseconds() - startMilliseconds <= maximumMilliseconds,
                   "reading the state took more than 100 ms");

    // Whatever was read, the patch holds only finite values...
    for (int i = 0; i < numPatchValues; ++i)
        fuzz::require (std::isfinite (instance.effect->getParameter (instance.effect, i)), "a non-finite patch value");

    // ...the state handed out reads back to itself in a fresh instance...
    const auto saved = instance.chunk (index);
    fuzz::require (! saved.empty(), "no chunk handed out");
    fuzz::FuzzInstance other;
    other.setChunk (saved, 1 - index);
    fuzz::require (other.chunk (index) == saved, "the state handed out does not read back to itself");

    // ...and it plays within bounds: a chord with the wheel up.
    const unsigned char chord[][3] = { { 0x90, 36, 127 }, { 0x90, 60, 100 }, { 0x90, 96, 1 }, { 0xB0, 1, 127 } };
    vst::VstMidiEvent events[4] {};
    std::vector<vst::VstEvent*> pointers;
    for (int i = 0; i < 4; ++i)
    {
        events[i].type = vst::kVstMidiType;
        events[i].byteSize = 24;
        events[i].deltaFrames = i * 7;
        for (int b = 0; b < 3; ++b)
            events[i].midiData[b] = (char) chord[i][b];
        pointers.push_back (reinterpret_cast<vst::VstEvent*> (&events[i]));
    }
    instance.sendEvents (pointers);
    instance.render (512, true);
    return 0;
}
