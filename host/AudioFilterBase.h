// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The interface between the host adaptation and the plug-in model.
#pragma once

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_gui_basics/juce_gui_basics.h>

namespace quane
{
class AudioFilterBase;

/** The model's description of itself, read once by the host adaptation when it attaches. */
struct PluginDescription
{
    int uniqueId = 0;
    int inputChannels = 2;
    int outputChannels = 2;
    int latencySamples = 0;
    bool isSynth = false;
    bool acceptsMidi = false;
    bool producesMidi = false;
    bool silentWhenStopped = false;
    bool needsKeyEvents = true;
};

/** The host's transport, as far as the host reports it. */
struct TransportPosition
{
    double tempoBpm = 0.0;
    int timeSigNumerator = 4;
    int timeSigDenominator = 4;
    double timeInSeconds = 0.0;
    double editOriginSeconds = 0.0;
    double ppqPosition = 0.0;
    double ppqPositionOfLastBarStart = 0.0;
    int frameRateCode = 99;
    bool isPlaying = false;
    bool isRecording = false;
};

/** The editor base: a component bound for its whole life to the model it edits. */
class AudioFilterEditor : public juce::Component
{
public:
    explicit AudioFilterEditor (AudioFilterBase& filterToEdit) : filter (filterToEdit) {}

    AudioFilterBase& getFilter() const noexcept { return filter; }

    /** The editor's size factor as the host asks for it (1 = 100 %). Message thread. */
    virtual void setHostScaleFactor (float) {}

    /** The size factor of the display the editor is shown on (1 = 96 dpi). Message thread. */
    virtual void setDisplayScaleFactor (float) {}

    /** Whether the editor's window needs the keyboard now; otherwise keys stay with the host's. */
    virtual bool wantsKeyboard() const { return false; }

private:
    AudioFilterBase& filter;
};

/** The plug-in model as the host adaptation sees it.

    The host adaptation creates the model, calls attachHost once, then uses the operations below
    for the instance's whole life and deletes the model last. processAudioBlock runs on the audio
    thread with processLock held; the editor operations run on the message thread; the parameter,
    program and state operations arrive on any host thread. */
class AudioFilterBase
{
public:
    /** How the model reaches the host; implemented by the host adaptation. */
    class FilterNativeCallbacks
    {
    public:
        virtual ~FilterNativeCallbacks() = default;
        virtual bool queryTransportPosition (TransportPosition& position) = 0;
        virtual void reportParameterChange (int index, float value) = 0;
    };

    virtual ~AudioFilterBase() = default;

    virtual void describePlugin (PluginDescription& description) = 0;
    virtual void beginPlayback (double sampleRate, int samplesPerBlock) = 0;
    virtual void endPlayback() = 0;
    virtual void processAudioBlock (const juce::AudioBuffer<float>& input, juce::AudioBuffer<float>& output,
                                    bool accumulate, juce::MidiBuffer& midi) = 0;
    virtual AudioFilterEditor* createEditorComponent() = 0;
    virtual int parameterCount() = 0;
    virtual juce::String parameterName (int index) = 0;
    virtual float parameterValue (int index) = 0;
    virtual juce::String parameterText (int index) = 0;
    virtual void setParameterValue (int index, float value) = 0;
    virtual int programCount() = 0;
    virtual int currentProgramIndex() = 0;
    virtual void selectProgram (int number) = 0;
    virtual juce::String programName (int number) = 0;
    virtual void renameProgram (int number, const juce::String& name) = 0;
    virtual void saveState (juce::MemoryBlock& destination) = 0;
    virtual void restoreState (const void* data, int sizeInBytes) = 0;

    /** Stores the host's callbacks and lets the model describe itself. */
    void attachHost (FilterNativeCallbacks* callbacks);

    /** For a change the user made: reported to the host as automation, or set directly without a host. */
    void setParameterAndNotifyHost (int index, float value);

    /** Creates the editor and records it as the active one; null when the model makes none. */
    AudioFilterEditor* obtainEditor();

    /** Forgets the active editor if it is this one. */
    void editorClosing (AudioFilterEditor* editor);

    const PluginDescription& getDescription() const noexcept { return description; }

    /** Held around every processAudioBlock, the editor's full refresh and active-editor changes.
        Re-entrant, and the only lock the audio path takes. */
    juce::CriticalSection processLock;

    /** The host's rate and block size, written by the host adaptation just before beginPlayback. */
    double sampleRate = 0.0;
    int blockSize = 0;

private:
    PluginDescription description;
    FilterNativeCallbacks* hostCallbacks = nullptr;
    AudioFilterEditor* activeEditor = nullptr;
};
} // namespace quane
