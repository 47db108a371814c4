// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// What the fuzz targets share: an instance made as the entry makes it, the fuzzer's
// bytes read as values, and the check every block of audio must pass.
#pragma once

#include "hostkit/HostedEffect.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace quane::fuzz
{
/** The fuzzer's bytes, read front to back; reads past the end give zeros. */
class FuzzInput
{
public:
    FuzzInput (const std::uint8_t* bytes, size_t count) : data (bytes), size (count) {}

    bool empty() const noexcept { return position >= size; }
    size_t remaining() const noexcept { return empty() ? 0 : size - position; }

    std::uint8_t byte() noexcept;
    std::int32_t int32() noexcept;
    float anyFloat() noexcept;

    /** Mostly the values hosts get wrong (0, -1, one past a range, INT_MIN, INT_MAX), else any. */
    std::int32_t edgyInt() noexcept;
    /** Mostly NaN, infinities, 3.4e38, denormals, 0, 1, 100, 1e9, else any bit pattern. */
    float edgyFloat() noexcept;
    std::vector<std::uint8_t> bytes (size_t count);

private:
    const std::uint8_t* data;
    size_t size;
    size_t position = 0;
};

/** One instance made through the module's factory with the host kit, closed (and so deleted)
    with the object; effOpen, which starts its timer, is left to the input. The calling thread
    is the module's message thread. */
class FuzzInstance : public hostkit::HostedEffect
{
public:
    FuzzInstance();

    /** Asks for frames of audio into arrays of exactly that length (so the address sanitizer
        sees any write beyond them), then aborts unless every sample is finite and bounded. */
    void renderChecked (int frames, bool replacing);
};

/** The text as a state chunk with a valid header (magic and the text's length, the terminator and
    the spare byte after it), so that mutations of the text reach the XML reader. */
std::vector<std::uint8_t> withValidHeader (const std::vector<std::uint8_t>& text);

/** Aborts with the message when the condition does not hold: the fuzzer keeps the input. */
void require (bool condition, const char* message);
} // namespace quane::fuzz
