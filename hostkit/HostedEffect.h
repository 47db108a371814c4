// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The module file opened with dlopen, and one effect instance made through its VST 2.x entry.
#pragma once

#include "host/VstAbi.h"

#include <functional>
#include <juce_core/juce_core.h>

namespace quane::hostkit
{
/** A module file opened as a music host opens it: dlopen, then the exported entry. */
class LoadedModule
{
public:
    using EntryProc = vst::AEffect* (*) (vst::AudioMasterCallback);

    /** Throws ToolError (module) when the file is missing, does not load or exports no entry. */
    explicit LoadedModule (const juce::String& path);
    ~LoadedModule();

    const juce::String& getPath() const noexcept { return path; }
    EntryProc getEntry() const noexcept { return entry; }

private:
    juce::String path;
    void* handle = nullptr;
    EntryProc entry = nullptr;

    JUCE_DECLARE_NON_COPYABLE (LoadedModule)
};

/** Where the host's transport stands for one block, as audioMasterGetTime reports it. */
struct Transport
{
    juce::int64 samplePosition = 0; // the block's first sample, counted from the start
    double tempoBpm = 120.0;
    double ppqPosition = 0.0;
    bool playing = true;
};

/** One instance of the effect. Requests come from the thread that made it (which is also the
    module's message thread), except processBlock, which may run on an audio thread of its own.
    Construction calls the entry and effOpen; destruction suspends and closes. The instance
    answers the module's requests to the host (audioMaster) itself, as hostProductName. */
class HostedEffect
{
public:
    HostedEffect (const LoadedModule& module, double sampleRate, int maximumBlockSize,
                  const juce::String& hostProductName);
    ~HostedEffect();

    vst::AEffect& getEffect() const noexcept { return *effect; }
    vst::intptr dispatch (vst::int32 opcode, vst::int32 index = 0, vst::intptr value = 0, void* ptr = nullptr,
                          float opt = 0.0f);

    int getNumParameters() const noexcept { return effect->numParams; }
    int getNumPrograms() const noexcept { return effect->numPrograms; }
    juce::String getParameterName (int index);
    juce::String getProgramName (int number);
    juce::String getCurrentProgramName();
    void setProgram (int number);
    void setParameter (int index, float value);

    /** The opaque state from effGetChunk: the current program's (isProgram) or the bank's. */
    juce::MemoryBlock getChunk (bool isProgram);
    void setChunk (const juce::MemoryBlock& chunk, bool isProgram);

    /** effMainsChanged 1 / 0; resume also tells the transport the sample rate. */
    void resume();
    void suspend();

    /** A new sample rate and largest block, passed on as hosts do: suspend, effSetSampleRate,
        effSetBlockSize. The caller resumes; no block may be processed meanwhile. */
    void setProcessing (double sampleRate, int maximumBlockSize);
    double getSampleRate() const noexcept { return sampleRate; }

    /** Passes the block's events (positions inside the block), then asks for numSamples of audio.
        Allocates nothing and takes no lock: fit for an audio thread. */
    void processBlock (const vst::VstEvents& events, float* const* outputs, int numSamples, const Transport& transport);

    /** Called for audioMasterAutomate: the module's editor moved a parameter (or selector). */
    std::function<void (int index, float value)> onAutomate;

    /** Called for audioMasterSizeWindow; answers whether the host window followed. */
    std::function<bool (int width, int height)> onSizeWindow;

private:
    static vst::intptr hostCallback (vst::AEffect*, vst::int32 opcode, vst::int32 index, vst::intptr value, void* ptr,
                                     float opt);
    vst::intptr answerHostRequest (vst::int32 opcode, vst::int32 index, vst::intptr value, void* ptr, float opt);

    vst::AEffect* effect = nullptr;
    double sampleRate;
    int maximumBlockSize;
    bool resumed = false;
    juce::String productName;
    vst::VstTimeInfo timeInfo {};
    std::vector<float> silentInput;

    JUCE_DECLARE_NON_COPYABLE (HostedEffect)
};
} // namespace quane::hostkit
