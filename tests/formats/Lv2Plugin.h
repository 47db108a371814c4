// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The LV2 plug-in in a host of lilv's making: ports, atom sequences, patch:Set, state and presets.
#pragma once

#include "tests/formats/PluginUnderTest.h"

#include <lilv/lilv.h>
#include <lv2/options/options.h>

#include <array>
#include <map>

namespace quane::test
{
/** The built Quane.lv2 loaded through lilv (the library LV2 hosts use), instantiated with the
    features it requires. Parameters go in as patch:Set messages at the start of a run, MIDI as
    atom events at their frames; the state is the plug-in's state interface. */
class Lv2Plugin : public PluginUnderTest
{
public:
    Lv2Plugin (double sampleRate, int maximumBlockSize, bool connectEventInput = true);
    ~Lv2Plugin() override;

    bool isLoaded() const { return instance != nullptr; }
    int audioOutputCount() const { return audioOutputs; }
    int presetCount();

    std::vector<float> render (const std::vector<TimedEvent>& events, int length, int blockSize) override;
    void setParameter (int patchIndex, float normalised) override;
    std::vector<unsigned char> saveState() override;
    void restoreState (const std::vector<unsigned char>& bytes) override;
    void selectProgram (int number) override;

    /** The output buffers' length: runs may exceed the announced maximum block up to it. */
    static constexpr int bufferFrames = 16384;

    /** One run of frames (at most bufferFrames) with the parameters set since the last run
        (patch:Set at frame 0) and the MIDI. */
    void run (const juce::MidiBuffer& midi, int frames);

    const std::vector<float>& leftChannel() const { return left; }
    const std::vector<float>& rightChannel() const { return right; }

private:
    const LilvPlugin* plugin = nullptr;
    LilvInstance* instance = nullptr;
    int32_t minimumBlockLength = 0;
    int32_t maximumBlock;
    LV2_Options_Option blockLengthOptions[3] {};
    LV2_Feature mapFeature {}, optionsFeature {}, boundedFeature {};
    std::array<const LV2_Feature*, 4> features {};
    std::vector<float> left, right;
    std::vector<uint64_t> eventInput = std::vector<uint64_t> (8192), eventOutput = std::vector<uint64_t> (8192);
    std::map<std::string, float> controls;
    int audioOutputs = 0;
    std::vector<std::pair<int, float>> pendingParameters;
};
} // namespace quane::test
