// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// What the format tests do with a plug-in, whichever host library loads it.
#pragma once

#include "tests/common/GoldenPhrase.h"

#include <memory>
#include <string>
#include <vector>

namespace quane::test
{
/** One plug-in instance in a format's own host library. Renders are left then right. */
class PluginUnderTest
{
public:
    virtual ~PluginUnderTest() = default;

    /** Plays the events in blocks of blockSize (the last one shorter) up to length samples. */
    virtual std::vector<float> render (const std::vector<TimedEvent>& events, int length, int blockSize) = 0;

    /** A host parameter by its patch index, as a normalised value (0..1 for a sane host). */
    virtual void setParameter (int patchIndex, float normalised) = 0;

    /** The format's own state entry; restore answers whether the plug-in took the bytes. */
    virtual std::vector<unsigned char> saveState() = 0;
    virtual void restoreState (const std::vector<unsigned char>& bytes) = 0;

    /** A factory program through the format's own program or preset mechanism. */
    virtual void selectProgram (int number) = 0;
};

/** A patch value's parameter identifier, as saved projects and LV2 URIs hold it for ever. */
std::string parameterIdentifier (int patchIndex);

enum class Format
{
    lv2,
    vst3
};

std::string formatName (Format format);

/** A fresh instance of the built plug-in bundle, prepared for the rate and block size. */
std::unique_ptr<PluginUnderTest> loadPlugin (Format format, double sampleRate, int maximumBlockSize);
} // namespace quane::test
