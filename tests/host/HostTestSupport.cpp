// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A test host: the built module loaded through the host kit and driven only through its AEffect.
#include "tests/host/HostTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>

namespace quane::test
{
std::string modulePath()
{
#ifdef QUANE_MODULE_PATH
    return QUANE_MODULE_PATH;
#else
    const char* path = std::getenv ("QUANE_MODULE_PATH");
    return path != nullptr ? path : "";
#endif
}

hostkit::LoadedModule& sharedModule()
{
    static hostkit::LoadedModule module (modulePath());
    return module;
}

Instance::Instance (hostkit::EntryFunction entry, vst::intptr vstVersion)
    : HostedEffect (entry, { "Quane tests", vstVersion, true })
{
}

std::vector<float> Instance::allValues() const
{
    std::vector<float> values;
    for (int i = 0; i < patch::valueCount; ++i)
        values.push_back (getParameter (i));
    return values;
}

void expectOneWayAutomation (const Instance& instance, int index, bool rising)
{
    const auto automates = instance.getRequests (vst::audioMasterAutomate);
    ASSERT_GE (automates.size(), 4u);
    for (size_t k = 0; k < automates.size(); ++k)
    {
        SCOPED_TRACE (testing::Message() << "automation " << k);
        EXPECT_EQ (automates[k].index, index);
        if (k > 0)
        {
            const auto previous = automates[k - 1].opt, value = automates[k].opt;
            EXPECT_TRUE (rising ? value > previous : value < previous)
                << "one report per change, in the drag's direction: " << previous << " then " << value;
        }
    }
    EXPECT_EQ (instance.getParameter (index), automates.back().opt);
}

void expectSingleAutomation (const Instance& instance, int index, float value)
{
    const auto automates = instance.getRequests (vst::audioMasterAutomate);
    ASSERT_EQ (automates.size(), 1u);
    EXPECT_EQ (automates[0].index, index);
    EXPECT_EQ (automates[0].opt, value);
    EXPECT_EQ (instance.getParameter (index), value);
}

std::vector<unsigned char> makeChunkDeclaring (const std::string& xml, unsigned int declaredLength)
{
    std::vector<unsigned char> bytes { 0x56, 0x43, 0x32, 0x21 };
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back ((unsigned char) (declaredLength >> shift));
    bytes.insert (bytes.end(), xml.begin(), xml.end());
    return bytes;
}

std::vector<unsigned char> makeChunk (const std::string& xml)
{
    auto bytes = makeChunkDeclaring (xml, (unsigned int) xml.size());
    bytes.push_back (0);
    bytes.push_back (0);
    return bytes;
}

double rms (const std::vector<float>& samples, size_t from, size_t to)
{
    double sum = 0.0;
    for (size_t i = from; i < to; ++i)
        sum += (double) samples[i] * samples[i];
    return to > from ? std::sqrt (sum / (double) (to - from)) : 0.0;
}

double bestMilliseconds (int runs, const std::function<void()>& call)
{
    using Clock = std::chrono::steady_clock;
    auto best = Clock::duration::max();
    for (int run = 0; run < runs; ++run)
    {
        const auto start = Clock::now();
        call();
        best = std::min (best, Clock::now() - start);
    }
    return std::chrono::duration<double, std::milli> (best).count();
}
} // namespace quane::test
