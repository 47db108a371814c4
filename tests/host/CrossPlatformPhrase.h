// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The phrase and the patch state that every build of the module must render and store alike.
#pragma once

#include "tests/host/HostTestSupport.h"

#include <string>
#include <vector>

namespace quane::test
{
constexpr int crossPlatformBlockSizes[] = { 64, 100, 512 };

/** Chords, pitch bends, a mod-wheel sweep and program changes from the host, 1.5 s at 44.1 kHz,
    rendered through a fresh instance in blocks of the given size with processReplacing or with
    process (into silent buffers). Left then right. */
std::vector<float> renderCrossPlatformPhrase (int blockSize, bool replacing);

/** The reference file name of one render, e.g. "phrase-100-process.f32". */
std::string phraseFileName (int blockSize, bool replacing);

/** A patch away from every factory program, with values that print in exponent notation. */
void setCrossPlatformPatch (Instance& instance);

/** Raw bytes to and from a file; empty when the file cannot be read. */
bool writeBytes (const std::string& path, const void* data, size_t size);
std::vector<unsigned char> readBytes (const std::string& path);

/** Little-endian 32-bit floats, the reference format. */
bool writeFloats (const std::string& path, const std::vector<float>& samples);
std::vector<float> readFloats (const std::string& path);
} // namespace quane::test
