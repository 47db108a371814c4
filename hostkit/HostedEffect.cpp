// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Loading the module and hosting one effect instance: entry, dispatcher calls and audioMaster answers.
#include "HostedEffect.h"

#include "ToolError.h"

#include <dlfcn.h>

namespace quane::hostkit
{
using namespace vst;

namespace
{
// Host requests this host answers beyond those the module's own interface header names.
constexpr int32 audioMasterCurrentId = 2;
constexpr int32 audioMasterGetSampleRate = 16;
constexpr int32 audioMasterGetBlockSize = 17;
constexpr int32 audioMasterGetVendorString = 32;
constexpr int32 audioMasterGetProductString = 33;
constexpr int32 audioMasterGetVendorVersion = 34;

constexpr intptr hostVstVersion = 2400;
constexpr int32 bankChunkIndex = 0;
constexpr int32 programChunkIndex = 1;

// Hosts hand out text buffers of this size; the protocol's own limits (8, 24, 64) are far below.
constexpr size_t textBufferSize = 256;

// The module calls audioMasterVersion from inside its entry, before the AEffect (and so its user
// field) exists; requests made then go to the instance being created.
HostedEffect* instanceBeingCreated = nullptr;

void copyText (void* destination, const char* text, size_t limit)
{
    auto* out = static_cast<char*> (destination);
    if (out == nullptr)
        return;
    std::strncpy (out, text, limit);
    out[limit] = '\0';
}
} // namespace

LoadedModule::LoadedModule (const juce::String& modulePath) : path (modulePath)
{
    if (! juce::File (path).existsAsFile())
        fail (ToolError::Kind::module,
              "cannot load the module " + path + ": no such file (build it, or give --module PATH)");

    handle = dlopen (path.toRawUTF8(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
        fail (ToolError::Kind::module, "cannot load the module " + path + ": " + juce::String (dlerror()));

    // Hosts look for VSTPluginMain first and fall back to the older name.
    for (const auto* name : { "VSTPluginMain", "main" })
        if (auto* symbol = dlsym (handle, name))
        {
            entry = reinterpret_cast<EntryProc> (symbol);
            break;
        }

    if (entry == nullptr)
    {
        dlclose (handle);
        fail (ToolError::Kind::module,
              "cannot load the module " + path + ": it exports neither VSTPluginMain nor main");
    }
}

LoadedModule::~LoadedModule()
{
    dlclose (handle);
}

HostedEffect::HostedEffect (const LoadedModule& module, double rate, int blockSize, const juce::String& hostProductName)
    : sampleRate (rate),
      maximumBlockSize (blockSize),
      productName (hostProductName),
      silentInput ((size_t) blockSize, 0.0f)
{
    instanceBeingCreated = this;
    effect = module.getEntry() (&HostedEffect::hostCallback);
    instanceBeingCreated = nullptr;

    if (effect == nullptr)
        fail (ToolError::Kind::module, "the module " + module.getPath() + " made no effect (its entry answered null)");
    if (effect->magic != kEffectMagic)
        fail (ToolError::Kind::module,
              "the module " + module.getPath() + " answered a record without the VST effect magic");
    if (effect->numOutputs < 2 || effect->processReplacing == nullptr)
        fail (ToolError::Kind::module, "the module " + module.getPath() + " offers no stereo processReplacing");

    effect->user = this;
    dispatch (effOpen);
    dispatch (effSetSampleRate, 0, 0, nullptr, (float) sampleRate);
    dispatch (effSetBlockSize, 0, maximumBlockSize);
}

HostedEffect::~HostedEffect()
{
    suspend();
    dispatch (effClose); // the module deletes the instance and its AEffect here
}

intptr HostedEffect::dispatch (int32 opcode, int32 index, intptr value, void* ptr, float opt)
{
    return effect->dispatcher (effect, opcode, index, value, ptr, opt);
}

juce::String HostedEffect::getParameterName (int index)
{
    char text[textBufferSize] = {};
    dispatch (effGetParamName, index, 0, text);
    return juce::String (text);
}

juce::String HostedEffect::getProgramName (int number)
{
    char text[textBufferSize] = {};
    dispatch (effGetProgramNameIndexed, number, -1, text);
    return juce::String (text);
}

juce::String HostedEffect::getCurrentProgramName()
{
    char text[textBufferSize] = {};
    dispatch (effGetProgramName, 0, 0, text);
    return juce::String (text);
}

void HostedEffect::setProgram (int number)
{
    dispatch (effBeginSetProgram);
    dispatch (effSetProgram, 0, number);
    dispatch (effEndSetProgram);
}

void HostedEffect::setParameter (int index, float value)
{
    effect->setParameter (effect, index, value);
}

juce::MemoryBlock HostedEffect::getChunk (bool isProgram)
{
    void* data = nullptr;
    const auto size = dispatch (effGetChunk, isProgram ? programChunkIndex : bankChunkIndex, 0, &data);
    if (data == nullptr || size <= 0)
        return {};
    // The module keeps the block valid for a while only: copy it at once, as hosts do.
    return juce::MemoryBlock (data, (size_t) size);
}

void HostedEffect::setChunk (const juce::MemoryBlock& chunk, bool isProgram)
{
    dispatch (isProgram ? effBeginLoadProgram : effBeginLoadBank);
    dispatch (effSetChunk, isProgram ? programChunkIndex : bankChunkIndex, (intptr) chunk.getSize(),
              const_cast<void*> (chunk.getData()));
}

void HostedEffect::resume()
{
    if (resumed)
        return;
    timeInfo.sampleRate = sampleRate;
    dispatch (effMainsChanged, 0, 1);
    dispatch (effStartProcess);
    resumed = true;
}

void HostedEffect::suspend()
{
    if (! resumed)
        return;
    dispatch (effStopProcess);
    dispatch (effMainsChanged, 0, 0);
    resumed = false;
}

void HostedEffect::setProcessing (double rate, int blockSize)
{
    suspend();
    sampleRate = rate;
    maximumBlockSize = blockSize;
    silentInput.assign ((size_t) blockSize, 0.0f);
    dispatch (effSetSampleRate, 0, 0, nullptr, (float) sampleRate);
    dispatch (effSetBlockSize, 0, maximumBlockSize);
}

void HostedEffect::processBlock (const VstEvents& events, float* const* outputs, int numSamples,
                                 const Transport& transport)
{
    jassert (numSamples <= maximumBlockSize);

    const bool firstBlock = transport.samplePosition == 0;
    timeInfo.samplePos = (double) transport.samplePosition;
    timeInfo.sampleRate = sampleRate;
    timeInfo.nanoSeconds = (double) transport.samplePosition / sampleRate * 1.0e9;
    timeInfo.ppqPos = transport.ppqPosition;
    timeInfo.tempo = transport.tempoBpm;
    timeInfo.timeSigNumerator = 4;
    timeInfo.timeSigDenominator = 4;
    timeInfo.barStartPos = std::floor (transport.ppqPosition / 4.0) * 4.0;
    timeInfo.flags = (transport.playing ? kVstTransportPlaying : 0) | kVstNanosValid | kVstPpqPosValid | kVstTempoValid
                     | kVstBarsValid | kVstTimeSigValid | (firstBlock ? kVstTransportChanged : 0);

    if (events.numEvents > 0)
        dispatch (effProcessEvents, 0, 0, const_cast<VstEvents*> (&events));

    float* inputs[8] = {};
    for (auto& input : inputs)
        input = silentInput.data();
    effect->processReplacing (effect, effect->numInputs > 0 ? inputs : nullptr, const_cast<float**> (outputs),
                              numSamples);
}

intptr HostedEffect::hostCallback (AEffect* effect, int32 opcode, int32 index, intptr value, void* ptr, float opt)
{
    auto* instance = effect != nullptr && effect->user != nullptr ? static_cast<HostedEffect*> (effect->user)
                                                                  : instanceBeingCreated;

    if (opcode == audioMasterVersion)
        return hostVstVersion;
    if (instance == nullptr)
        return 0;
    return instance->answerHostRequest (opcode, index, value, ptr, opt);
}

intptr HostedEffect::answerHostRequest (int32 opcode, int32 index, intptr value, void* ptr, float opt)
{
    switch (opcode)
    {
        case audioMasterAutomate:
            if (onAutomate != nullptr)
                onAutomate (index, opt);
            return 0;
        case audioMasterCurrentId: return effect != nullptr ? effect->uniqueID : 0;
        case audioMasterIdle:
        case audioMasterWantMidi: return 1;
        case audioMasterGetTime: return reinterpret_cast<intptr> (&timeInfo);
        case audioMasterSizeWindow: return onSizeWindow != nullptr && onSizeWindow (index, (int) value) ? 1 : 0;
        case audioMasterGetSampleRate: return (intptr) sampleRate;
        case audioMasterGetBlockSize: return maximumBlockSize;
        case audioMasterGetVendorString: copyText (ptr, "Quane", 63); return 1;
        case audioMasterGetProductString: copyText (ptr, productName.toRawUTF8(), 63); return 1;
        case audioMasterGetVendorVersion: return 1000;
        case audioMasterCanDo:
        {
            const juce::String capability (static_cast<const char*> (ptr));
            static const juce::StringArray supported { "sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo",
                                                       "sizeWindow", "supplyIdle" };
            return supported.contains (capability) ? 1 : 0;
        }
        default: return 0;
    }
}
} // namespace quane::hostkit
