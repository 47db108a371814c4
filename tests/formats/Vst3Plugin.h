// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The VST3 plug-in in JUCE's VST3 host: processing, parameters, the component's state, programs.
#pragma once

#include "tests/formats/PluginUnderTest.h"

#include <juce_audio_processors/juce_audio_processors.h>

namespace quane::test
{
/** The built Quane.vst3 loaded through JUCE's VST3PluginFormat, as a JUCE-based host loads it.
    The calling thread must be JUCE's message thread. MIDI controllers and the pitch wheel reach
    the plug-in as JUCE's host sends them, through the plug-in's MIDI mapping. */
class Vst3Plugin : public PluginUnderTest
{
public:
    Vst3Plugin (double sampleRate, int maximumBlockSize);

    bool isLoaded() const { return instance != nullptr; }
    juce::AudioPluginInstance& getInstance() { return *instance; }
    juce::String getLoadError() const { return loadError; }

    std::vector<float> render (const std::vector<TimedEvent>& events, int length, int blockSize) override;
    void setParameter (int patchIndex, float normalised) override;
    std::vector<unsigned char> saveState() override;
    void restoreState (const std::vector<unsigned char>& bytes) override;
    void selectProgram (int number) override;

    /** The host parameter of a patch value, found by its name. */
    juce::AudioProcessorParameter* parameterOf (int patchIndex);

    /** The bundle (on Windows its inner file), from QUANE_VST3_PATH when that is set. */
    static juce::String bundlePath();

    /** The bundle's description as JUCE's scan reports it. */
    static juce::OwnedArray<juce::PluginDescription> scanBundle();

private:
    std::unique_ptr<juce::AudioPluginInstance> instance;
    juce::String loadError;
};
} // namespace quane::test
