// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The VST 2.x instance: answers the host's requests by driving one plug-in model.
#pragma once

#include "host/AudioEffect.h"
#include "host/AudioFilterBase.h"
#include "host/BlockMidiQueue.h"

#include <atomic>
#include <memory>
#include <vector>

namespace quane
{
/** One plug-in instance as the host sees it, owning its model.

    Created by the module's entry on the host thread that loads it; deleted by the AEffect's
    dispatcher entry after effClose. process, processReplacing and effProcessEvents come from the
    host's audio thread, one after the other; the editor requests and the timer run on the message
    thread; every other request on whatever thread the host uses. The audio path takes no lock
    but the model's processLock, around each processAudioBlock. */
class JuceVSTWrapper : public AudioEffectX, private juce::Timer, public AudioFilterBase::FilterNativeCallbacks
{
public:
    JuceVSTWrapper (vst::AudioMasterCallback hostCallback, std::unique_ptr<AudioFilterBase> model);
    ~JuceVSTWrapper() override;

    vst::intptr dispatcher (vst::int32 opcode, vst::int32 index, vst::intptr value, void* ptr, float opt) override;
    void process (float** inputs, float** outputs, vst::int32 sampleFrames) override;
    void processReplacing (float** inputs, float** outputs, vst::int32 sampleFrames) override;
    void setParameter (vst::int32 index, float value) override;
    float getParameter (vst::int32 index) override;

    bool queryTransportPosition (TransportPosition& position) override;
    void reportParameterChange (int index, float value) override;

private:
    vst::intptr basicRequest (vst::int32 opcode, vst::int32 index, vst::intptr value, void* ptr, float opt) override;
    vst::intptr extendedRequest (vst::int32 opcode, vst::int32 index, vst::intptr value, void* ptr, float opt) override;
    vst::intptr answerCanDo (const char* capability) const;

    // Audio and MIDI bridge.
    void processBlock (float** inputs, float** outputs, vst::int32 sampleFrames, bool accumulate);
    vst::intptr receiveEvents (const vst::VstEvents* events);
    void sendOutgoingEvents();
    void resume();
    void suspend();
    void ensureOutgoingCapacity (int numEvents);

    // State chunk.
    vst::intptr getChunk (void** destination);
    vst::intptr setChunk (const void* data, vst::intptr sizeInBytes);
    void releaseStaleChunk();

    // Editor hosting (JuceVSTWrapperEditor.cpp).
    friend class EditorCompWrapper;
    vst::intptr editorGetRect (void* ptr);
    vst::intptr editorOpen (void* parentWindow);
    vst::intptr editorClose();
    vst::intptr editorIdle();
    void ensureEditorWrapper();
    void deleteEditor();
    void runEditorIdle();
    void tryHostIdle();
    void resizeHostWindow (int width, int height);
    void takeHostScaleFactor (float factor);
    void passOnHostScaleFactor();
    void refreshDisplayScale();
    void updateKeyboard (bool wantedByEditor);

    void timerCallback() override;

    std::unique_ptr<AudioFilterBase> filter;
    BlockMidiQueue incomingMidi;
    juce::MidiBuffer midiEvents;
    juce::AudioBuffer<float> inputView, outputView;

    // The host asks for and hands over states on its threads while the timer releases the held
    // one on the message thread; never taken on the audio path.
    juce::CriticalSection chunkLock;
    juce::MemoryBlock chunkBlock;
    juce::uint32 chunkTimestamp = 0;

    std::unique_ptr<juce::Component> editorComp;
    vst::ERect editorRect {};
    void* hostWindow = nullptr;
    // The host's size factor for the editor (0: none given). Hosts may send it from any thread;
    // the editor takes it on the message thread, at once or with the next timer tick.
    std::atomic<float> hostScaleFactor { 0.0f };
    float hostScaleFactorGiven = 0.0f;

    juce::HeapBlock<char> outgoingList;
    std::vector<std::unique_ptr<vst::VstMidiEvent>> outgoingRecords;
    int outgoingCapacity = 0;

    int numInChans = 0, numOutChans = 0;
    bool acceptsMidi = false, producesMidi = false;
    bool prepared = false;

    JUCE_DECLARE_NON_COPYABLE (JuceVSTWrapper)
};
} // namespace quane
