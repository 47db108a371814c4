// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Every voice-lanes kernel of the engine against its voices rendering one at a time, bit for bit.
#include "engine/SynthEngine.h"
#include "engine/SynthVoice.h"
#include "plugin/FactoryPrograms.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace quane
{
#if defined(QUANE_EMULATED_AVX512)
extern const VoiceLanesKernel voiceLanesEmulatedAvx512;
#endif

namespace
{
std::vector<VoiceLanesKernels::Entry> kernelsHere()
{
    VoiceLanesKernels::Entry entries[8];
    return { entries, entries + VoiceLanesKernels::available (entries, 8) };
}

/** The kernels the processor runs, and the 16-lane one emulated, built for AVX2. */
std::vector<VoiceLanesKernels::Entry> kernelsToCompare()
{
    auto kernels = kernelsHere();
#if defined(QUANE_EMULATED_AVX512)
    if (__builtin_cpu_supports ("avx2"))
        kernels.push_back ({ "AVX-512 emulated", voiceLanesEmulatedAvx512 });
#endif
    return kernels;
}

/** A patch of random values: every index gets values inside and outside its editor range,
    selectors every item and numbers beyond them, and now and then a hostile value. */
void randomPatch (SynthEngine& engine, std::mt19937& random)
{
    const float hostile[] = { 0.0f, -0.0f, 1.0e30f, -1.0e30f, 7.0f, -3.5f, std::numeric_limits<float>::infinity() };
    std::uniform_real_distribution<float> unit (-0.2f, 1.2f);
    for (int index = 0; index < patch::valueCount; ++index)
    {
        float value = unit (random);
        if (index >= patch::firstSelector)
            value = (float) (int) (random() % 12) - 1.0f; // -1..10
        else if (index == patch::octave)
            value = (float) (random() % 4) + (random() % 8 == 0 ? 0.4166667f : 0.0f);
        else if (index == patch::bendRange)
            value = (float) (random() % 13);
        else if (index == patch::detune && random() % 2 == 0)
            value = random() % 2 == 0 ? 45.0f : -25.0f; // increments far beyond the table, or tiny
        else if (random() % 40 == 0)
            value = hostile[random() % std::size (hostile)];
        engine.setPatchValue (index, value);
    }
    engine.refreshAllVoices();
}

/** Both engines get the same random events between blocks of random sizes, and each block of
    output must be the same to the last bit. */
void playAlike (SynthEngine& scalar, SynthEngine& lanes, std::mt19937& random, bool sameArrayForBoth)
{
    std::vector<float> a (2 * 700), b (2 * 700);
    for (int block = 0; block < 120; ++block)
    {
        for (int event = (int) (random() % 4); event > 0; --event)
        {
            const int note = 24 + (int) (random() % 80), offset = (int) (random() % 700);
            const int velocity = 1 + (int) (random() % 127), kind = (int) (random() % 10);
            for (auto* engine : { &scalar, &lanes })
            {
                if (kind < 5)
                    engine->noteOn (note, velocity, offset);
                else if (kind < 8)
                    engine->noteOff (note, offset);
                else if (kind == 8)
                    engine->getPatch()[patch::pitchBend] = (float) (block % 7) / 4.0f - 0.8f;
                else
                    engine->getPatch()[patch::modwheelPosition] = (float) (block % 5) / 4.0f;
            }
        }

        const int n = (int) (random() % 700);
        std::fill (a.begin(), a.end(), 0.25f);
        std::fill (b.begin(), b.end(), 0.25f);
        float* secondA = sameArrayForBoth ? a.data() : a.data() + n;
        float* secondB = sameArrayForBoth ? b.data() : b.data() + n;
        scalar.renderBlock (a.data(), secondA, n);
        lanes.renderBlock (b.data(), secondB, n);
        ASSERT_EQ (std::memcmp (a.data(), b.data(), a.size() * sizeof (float)), 0) << "block " << block << " of " << n;
    }
}

TEST (VoiceLanes, EveryKernelMatchesTheVoicesOneAtATime)
{
    const auto kernels = kernelsToCompare();
    if (kernels.empty())
        GTEST_SKIP() << "no voice-lanes kernel is built for this processor";

    for (const auto& kernel : kernels)
        for (int trial = 0; trial < 24; ++trial)
        {
            SCOPED_TRACE (std::string (kernel.name) + ", trial " + std::to_string (trial));
            std::mt19937 random ((unsigned) trial);
            const float rates[] = { 44100.0f, 96000.0f, 8000.0f };
            const float rate = rates[trial % 3];

            SynthEngine scalar (rate, factoryPrograms()), lanes (rate, factoryPrograms());
            scalar.useVoiceLanesKernel ({});
            lanes.useVoiceLanesKernel (kernel.kernel);
            for (auto* engine : { &scalar, &lanes })
                engine->loadProgram (trial % factoryProgramCount);
            if (trial >= factoryProgramCount)
            {
                std::mt19937 patchRandom ((unsigned) trial * 7919u);
                randomPatch (scalar, patchRandom);
                patchRandom.seed ((unsigned) trial * 7919u);
                randomPatch (lanes, patchRandom);
            }
            playAlike (scalar, lanes, random, trial % 5 == 4);
        }
}

TEST (VoiceLanes, TheEnvironmentNamesTheKernel)
{
    const char* before = std::getenv (voiceLanesChoice::environmentVariable);
    const std::string saved = before != nullptr ? before : "";
    auto chosenWith = [] (const char* value) {
        setenv (voiceLanesChoice::environmentVariable, value, 1);
        return VoiceLanesKernels::best();
    };

    EXPECT_FALSE (chosenWith ("scalar"));
    for (const auto& kernel : kernelsHere())
    {
        std::string name = kernel.name;
        name.erase (std::remove (name.begin(), name.end(), '-'), name.end());
        std::transform (name.begin(), name.end(), name.begin(), [] (char c) { return (char) std::tolower (c); });
        EXPECT_EQ (chosenWith (name.c_str()).render, kernel.kernel.render) << name;
    }
    // A name the processor cannot run, or none at all, gives the widest it runs.
    const auto widest = kernelsHere().empty() ? nullptr : kernelsHere().front().kernel.render;
    EXPECT_EQ (chosenWith ("neon").render, widest);

    if (before != nullptr)
        setenv (voiceLanesChoice::environmentVariable, saved.c_str(), 1);
    else
        unsetenv (voiceLanesChoice::environmentVariable);
}

TEST (VoiceLanes, UnusualVoiceStatesStillMatch)
{
    const auto kernels = kernelsToCompare();
    if (kernels.empty())
        GTEST_SKIP() << "no voice-lanes kernel is built for this processor";

    for (const auto& kernel : kernels)
    {
        SCOPED_TRACE (kernel.name);
        SynthEngine scalar (44100.0f, factoryPrograms()), lanes (44100.0f, factoryPrograms());
        scalar.useVoiceLanesKernel ({});
        lanes.useVoiceLanesKernel (kernel.kernel);
        for (auto* engine : { &scalar, &lanes })
        {
            engine->loadProgram (3);
            // A waveform of its own for one voice, and filter memories that ran away for others.
            static_cast<SynthVoice&> (engine->getVoice (1)).oscillatorState().selectWave (7);
            for (int v : { 0, 2, 5 })
                static_cast<SynthVoice&> (engine->getVoice (v)).filterState().s1 =
                    std::numeric_limits<float>::infinity();
            // A routing of its own for another, so that the voices' control values run one at a time.
            auto& routing = engine->getPatch()[patch::lfo1Destination];
            const float shared = routing;
            routing = 4.0f;
            engine->getVoice (4).refresh (patch::lfo1Destination);
            routing = shared;
        }
        std::mt19937 random (5);
        playAlike (scalar, lanes, random, false);
    }
}
} // namespace
} // namespace quane
