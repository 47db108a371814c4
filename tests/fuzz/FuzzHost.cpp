// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// What the fuzz targets share: an instance made as the entry makes it, the fuzzer's
// bytes read as values, and the check every block of audio must pass.
#include "tests/fuzz/FuzzHost.h"

#include "engine/EngineLimits.h"
#include "module/InstanceFactory.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <limits>

namespace quane::fuzz
{
namespace
{
constexpr std::int32_t intMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t intMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t edgyInts[] = { 0,  1,  -1,  2,   11,   12,      29,     30,         38,     39,
                                      40, 41, 127, 128, 4096, 1 << 24, intMin, intMin + 1, intMax, intMax - 1 };

constexpr float infinity = std::numeric_limits<float>::infinity();
const float notANumber = std::numeric_limits<float>::quiet_NaN();
const float edgyFloats[] = { 0.0f,     -0.0f,    1.0f,    -1.0f,    0.5f,       0.999f,   1.25f,
                             2.0f,     3.0f,     12.0f,   100.0f,   1.0e6f,     1.0e9f,   -44100.0f,
                             44100.0f, 1.0e-45f, 3.4e38f, -3.4e38f, notANumber, infinity, -infinity };
} // namespace

std::uint8_t FuzzInput::byte() noexcept
{
    return empty() ? 0 : data[position++];
}

std::int32_t FuzzInput::int32() noexcept
{
    std::uint32_t value = 0;
    for (int shift = 0; shift < 32; shift += 8)
        value |= (std::uint32_t) byte() << shift;
    return (std::int32_t) value;
}

float FuzzInput::anyFloat() noexcept
{
    const auto bits = (std::uint32_t) int32();
    float value;
    std::memcpy (&value, &bits, sizeof (value));
    return value;
}

std::int32_t FuzzInput::edgyInt() noexcept
{
    const auto choice = byte();
    if (choice < 2 * std::size (edgyInts))
        return edgyInts[choice % std::size (edgyInts)];
    return int32();
}

float FuzzInput::edgyFloat() noexcept
{
    const auto choice = byte();
    if (choice < 2 * std::size (edgyFloats))
        return edgyFloats[choice % std::size (edgyFloats)];
    if (choice < 192)
        return (float) byte() / 255.0f; // the host's ordinary 0..1
    return anyFloat();
}

std::vector<std::uint8_t> FuzzInput::bytes (size_t count)
{
    count = std::min (count, remaining());
    std::vector<std::uint8_t> out (data + position, data + position + count);
    position += count;
    return out;
}

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

void require (bool condition, const char* message)
{
    if (condition)
        return;
    std::fprintf (stderr, "fuzz check failed: %s\n", message);
    std::abort();
}

FuzzInstance::FuzzInstance() : HostedEffect (createEffectInstance)
{
    require (getEffect() != nullptr, "the factory made no instance");
}

void FuzzInstance::renderChecked (int frames, bool replacing)
{
    // Never empty, so a block of 0 frames still comes with real arrays, as hosts send it.
    std::vector<float> left ((size_t) std::max (frames, 1), 0.0f), right (left.size(), 0.0f);
    float* outputs[] = { left.data(), right.data() };
    render (outputs, frames, replacing);

    for (const auto* channel : { &left, &right })
        for (float sample : *channel)
            require (std::fabs (sample) <= outputBound, "a sample is not finite or beyond the output bound");
}
} // namespace quane::fuzz
