// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The plug-in model: owns the engine, holds the patch, answers parameters, programs and state.
#pragma once

#include "engine/SynthEngine.h"
#include "host/AudioFilterBase.h"

#include <atomic>
#include <memory>

namespace quane
{
/** The one object behind the host adaptation.

    The patch lives in the engine's block; parameter values are the patch values themselves.
    Every patch or program change is announced through the change broadcaster (posted, collapsed,
    delivered on the message thread). Changes that rewrite voice state take processLock, so they
    never overlap a block being rendered; reads of the patch take it too, since host threads read
    while others write. */
class MyPlugJuceFilter : public AudioFilterBase, public juce::ChangeBroadcaster
{
public:
    MyPlugJuceFilter();
    ~MyPlugJuceFilter() override;

    void describePlugin (PluginDescription& description) override;
    void beginPlayback (double sampleRate, int samplesPerBlock) override;
    void endPlayback() override;
    void processAudioBlock (const juce::AudioBuffer<float>& input, juce::AudioBuffer<float>& output, bool accumulate,
                            juce::MidiBuffer& midi) override;
    AudioFilterEditor* createEditorComponent() override;
    int parameterCount() override;
    juce::String parameterName (int index) override;
    float parameterValue (int index) override;
    juce::String parameterText (int index) override;
    void setParameterValue (int index, float value) override;
    int programCount() override;
    int currentProgramIndex() override;
    void selectProgram (int number) override;
    juce::String programName (int number) override;
    void renameProgram (int number, const juce::String& name) override;
    void saveState (juce::MemoryBlock& destination) override;
    void restoreState (const void* data, int sizeInBytes) override;

    /** setParameterValue and selectProgram without the change message, for callers on the audio
        thread (posting allocates): true when the patch changed; the caller sends the message later. */
    bool storeParameterValue (int index, float value);
    bool loadProgram (int number);

    float getSampleRate() const noexcept { return modelSampleRate; }
    SynthEngine& getEngine() noexcept { return *engine; }

private:
    float modelSampleRate = 44100.0f;
    std::unique_ptr<SynthEngine> engine;
    std::atomic<int> currentProgram { 0 }; // read by host threads while another selects
};

/** The model factory the host adaptation's entry calls, one model per plug-in instance. */
AudioFilterBase* createFilterInstance();
} // namespace quane
