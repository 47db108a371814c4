// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The 64-bit Windows VST3 in JUCE's VST3 host under Wine: the golden renders of Linux to the bit,
// and its state carried to a fresh instance.
#include "tests/formats/Vst3Plugin.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <gtest/gtest.h>

#include <cstring>

namespace quane::test
{
namespace
{
constexpr int goldenBlockSize = 301;

/** A golden render (tests/golden, in QUANE_GOLDEN_DIR): left then right. */
std::vector<float> goldenRender (int program)
{
    const auto folder = juce::SystemStats::getEnvironmentVariable ("QUANE_GOLDEN_DIR", {});
    const auto name = juce::String ("program-") + (program < 10 ? "0" : "") + juce::String (program) + "-44100.wav";
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatReader> reader (
        wav.createReaderFor (juce::File (folder).getChildFile (name).createInputStream().release(), true));
    if (reader == nullptr)
        return {};
    juce::AudioBuffer<float> buffer (2, (int) reader->lengthInSamples);
    reader->read (&buffer, 0, buffer.getNumSamples(), 0, true, true);
    std::vector<float> samples (buffer.getReadPointer (0), buffer.getReadPointer (0) + buffer.getNumSamples());
    samples.insert (samples.end(), buffer.getReadPointer (1), buffer.getReadPointer (1) + buffer.getNumSamples());
    return samples;
}

void expectSameBits (const std::vector<float>& rendered, const std::vector<float>& reference)
{
    ASSERT_EQ (rendered.size(), reference.size());
    for (size_t i = 0; i < rendered.size(); ++i)
        ASSERT_EQ (std::memcmp (&rendered[i], &reference[i], sizeof (float)), 0)
            << "sample " << i << ": " << rendered[i] << " instead of " << reference[i];
}

TEST (Vst3UnderWine, PlaysTheGoldenRendersOfLinux)
{
    for (const int program : { 0, 7 })
    {
        SCOPED_TRACE ("program " + std::to_string (program));
        Vst3Plugin plugin (44100.0, goldenBlockSize);
        ASSERT_TRUE (plugin.isLoaded()) << plugin.getLoadError();
        if (program != 0)
            plugin.selectProgram (program);
        const auto reference = goldenRender (program);
        ASSERT_FALSE (reference.empty()) << "no golden render of program " << program;
        expectSameBits (plugin.render (goldenPhrase(), goldenPhraseLength, goldenBlockSize), reference);
    }
}

TEST (Vst3UnderWine, StateRestoresInAFreshInstance)
{
    Vst3Plugin edited (44100.0, goldenBlockSize);
    ASSERT_TRUE (edited.isLoaded()) << edited.getLoadError();
    edited.selectProgram (7);
    Vst3Plugin fresh (44100.0, goldenBlockSize);
    fresh.restoreState (edited.saveState());
    expectSameBits (fresh.render (goldenPhrase(), goldenPhraseLength, goldenBlockSize), goldenRender (7));
}
} // namespace
} // namespace quane::test
