// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The VST 2.x module as the reference of the format tests, and comparing renders.
#pragma once

#include "tests/formats/PluginUnderTest.h"
#include "tests/host/HostTestSupport.h"

#include <functional>

namespace quane::test
{
/** Renders the events through Kolv.so's VST 2.x entry at the rate, in blocks of blockSize,
    after setUp has changed the fresh, resumed instance. Left then right. */
std::vector<float> renderKolv (const std::vector<TimedEvent>& events, int length, int blockSize, double sampleRate,
                               const std::function<void (Instance&)>& setUp = {});

/** Empty when the renders are the same to the bit, else where and how they first differ. */
std::string firstDifference (const std::vector<float>& rendered, const std::vector<float>& reference);

/** True when every sample is finite and within the bound ten voices can reach. */
bool isFiniteAndBounded (const std::vector<float>& samples);
} // namespace quane::test
