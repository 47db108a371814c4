// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The plug-in model seen as a JUCE AudioProcessor, for JUCE's VST3 and LV2 clients.
#pragma once

#include "formats/PatchParameter.h"
#include "plugin/MyPlugJuceFilter.h"

#include <atomic>
#include <memory>

namespace quane
{
/** One instance of the VST3 or LV2 plug-in: the model MyPlugJuceFilter, which the VST 2.x module
    uses too, behind JUCE's processor interface.

    JUCE's clients call processBlock on the audio thread; it holds processLock around the model's
    processing entry, as the VST 2.x module does, and renders blocks of any length. Host
    parameters (the 30 values and the 9 selectors, PatchParameter) and a VST3 host's automated
    program changes arrive on the audio thread too:
    the patch changes at once, and the change message, whose posting allocates, is sent from the
    message thread by the editor while one is open. Programs and the saved state (the model's
    own bytes, the VST 2.x chunk) arrive on a host thread. The model reaches the host through
    FilterNativeCallbacks: the editor's changes become the host's automation. */
class QuaneAudioProcessor : public juce::AudioProcessor,
                            private PatchValueAccess,
                            private AudioFilterBase::FilterNativeCallbacks
{
public:
    QuaneAudioProcessor();
    ~QuaneAudioProcessor() override;

    const juce::String getName() const override;
    bool isBusesLayoutSupported (const BusesLayout& layouts) const override;
    void prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override;
    void processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    using AudioProcessor::processBlock;

    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;

    bool hasEditor() const override;
    juce::AudioProcessorEditor* createEditor() override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    void setCurrentProgram (int index) override;
    const juce::String getProgramName (int index) override;
    void changeProgramName (int index, const juce::String& newName) override;

    void getStateInformation (juce::MemoryBlock& destination) override;
    void setStateInformation (const void* data, int sizeInBytes) override;

    MyPlugJuceFilter& getModel() noexcept { return *model; }
    PatchParameter& getPatchParameter (int patchIndex) const noexcept { return *patchParameters[(size_t) patchIndex]; }

    /** True once after the host changed the patch on its audio thread, without the change message. */
    bool takeUnannouncedChange() noexcept { return unannouncedChange.exchange (false); }

    /** Gestures the editor can tell (a slider's drag): changes inside one need no gesture of their own. */
    void beginEditorGesture (int patchIndex);
    void endEditorGesture (int patchIndex);

private:
    float currentPatchValue (int index) override;
    void writePatchValueFromHost (int index, float value) override;
    bool queryTransportPosition (TransportPosition& position) override;
    void reportParameterChange (int index, float value) override;

    /** Tells JUCE's clients, and through them the host, the parameters' values after a program
        or a state replaced the patch. */
    void announceAllParameters();

    std::unique_ptr<MyPlugJuceFilter> model;
    std::vector<PatchParameter*> patchParameters; // owned by the processor's parameter tree
    std::atomic<bool> unannouncedChange { false };
    int editorGestureIndex = -1; // message thread

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QuaneAudioProcessor)
};
} // namespace quane
