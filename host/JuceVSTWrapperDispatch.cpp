// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The VST 2.x instance: the answer to every dispatcher request.
#include "host/JuceVSTWrapper.h"

#include "host/HostMessagePump.h"
#include "host/HostText.h"
#include "host/MessageLoop.h"
#include "host/PluginIdentity.h"

#include <cstring>

namespace quane
{
namespace
{
constexpr int chunkTimerPeriodMs = 250;
} // namespace

vst::intptr JuceVSTWrapper::dispatcher (vst::int32 opcode, vst::int32 index, vst::intptr value, void* ptr, float opt)
{
    // Serve JUCE's queue from the host's ordinary requests on the message thread, so timers and
    // change messages run in hosts that show no editor. The audio-path request stays out of it.
    if (opcode != vst::effProcessEvents)
        giveMessagesTime (opcode == vst::effEditIdle || opcode == vst::effIdle);

    // The editor's requests come first; everything else goes to the basic and extended tables.
    switch (opcode)
    {
        case vst::effEditGetRect: return editorGetRect (ptr);
        case vst::effEditOpen:
            if (auto answer = editorOpen (ptr))
                return answer;
            // Without an editor the request goes on to the tables, which answer it with 0.
            return AudioEffectX::dispatcher (opcode, index, value, ptr, opt);
        case vst::effEditClose: return editorClose();
        case vst::effEditIdle: return editorIdle();
        default: return AudioEffectX::dispatcher (opcode, index, value, ptr, opt);
    }
}

vst::intptr JuceVSTWrapper::basicRequest (vst::int32 opcode, vst::int32 index, vst::intptr value, void* ptr, float opt)
{
    switch (opcode)
    {
        case vst::effOpen:
            startTimer (chunkTimerPeriodMs);
            shutDownJuceAtProcessExit(); // the timer thread now exists
            return 0;

        case vst::effSetProgram:
            if (value < numPrograms)
                filter->selectProgram ((int) value);
            return 0;

        case vst::effGetProgram: return filter->currentProgramIndex();

        case vst::effSetProgramName:
            if (ptr != nullptr)
                filter->renameProgram (filter->currentProgramIndex(), readHostText (ptr, identity::programNameLength));
            return 0;

        case vst::effGetProgramName:
            copyHostText (ptr, filter->programName (filter->currentProgramIndex()), identity::programNameLength);
            return 0;

        case vst::effGetParamLabel: copyHostText (ptr, {}, 0); return 0;

        case vst::effGetParamDisplay:
            copyHostText (ptr, filter->parameterText (index), identity::longTextLength);
            return 0;

        case vst::effGetParamName:
            copyHostText (ptr, filter->parameterName (index), identity::parameterNameLength);
            return 0;

        case vst::effSetSampleRate: sampleRate = opt; return 0;
        case vst::effSetBlockSize: blockSize = (vst::int32) value; return 0;

        case vst::effMainsChanged:
            if (value == 0)
                suspend();
            else
                resume();
            return 0;

        case vst::effIdentify: return identity::identifyAnswer;
        case vst::effGetChunk: return getChunk (static_cast<void**> (ptr));
        case vst::effSetChunk: return setChunk (ptr, value);

        // effClose never arrives here: the entry deletes the instance (see AudioEffect.cpp). The rest
        // are effGetVu, the old editor requests and everything above the table.
        default: return 0;
    }
}

vst::intptr JuceVSTWrapper::extendedRequest (vst::int32 opcode, vst::int32 index, vst::intptr value, void* ptr,
                                             float opt)
{
    const auto& description = filter->getDescription();

    switch (opcode)
    {
        case vst::effProcessEvents: return receiveEvents (static_cast<const vst::VstEvents*> (ptr));
        case vst::effCanBeAutomated: return 1;
        case vst::effGetNumProgramCategories: return 1;

        case vst::effGetProgramNameIndexed:
            if (index < 0 || index >= filter->programCount())
                return 0;
            return copyHostText (ptr, filter->programName (index), identity::programNameLength) ? 1 : 0;

        case vst::effConnectInput:
        case vst::effConnectOutput: return 1;

        case vst::effGetPlugCategory: return description.isSynth ? vst::kPlugCategSynth : vst::kPlugCategEffect;

        case vst::effSetBlockSizeAndSampleRate:
            blockSize = (vst::int32) value;
            sampleRate = opt;
            return 1;

        case vst::effGetEffectName:
        case vst::effGetProductString:
            return copyHostText (ptr, identity::effectName, identity::longTextLength) ? 1 : 0;
        case vst::effGetVendorString: return copyHostText (ptr, identity::vendorName, identity::longTextLength) ? 1 : 0;
        case vst::effGetVendorVersion: return identity::vendorVersion;
        case vst::effCanDo: return answerCanDo (static_cast<const char*> (ptr));
        case vst::effKeysRequired: return description.needsKeyEvents ? 0 : 1;
        case vst::effGetVstVersion: return identity::vstVersion;
        case vst::effGetCurrentMidiProgram: return -1;

        case vst::effGetSpeakerArrangement:
            // Both arrangements are reported as absent; a null address gets nothing.
            if (auto** input = reinterpret_cast<void**> (value))
                *input = nullptr;
            if (auto** output = static_cast<void**> (ptr))
                *output = nullptr;
            return 0;

        case vst::effSetTotalSampleToProcess: return value;

        case vst::effVendorSpecific:
            // The request's answer stays 0: the factor is taken, nothing is claimed.
            if (index == vst::editorScaleRequestIndex && value == vst::editorScaleRequestValue)
                takeHostScaleFactor (opt);
            return 0;

        default: return 0;
    }
}

vst::intptr JuceVSTWrapper::answerCanDo (const char* capability) const
{
    if (capability == nullptr)
        return 0;

    const auto is = [capability] (const char* name) { return std::strcmp (capability, name) == 0; };
    const auto yesOrNo = [] (bool supported) -> vst::intptr { return supported ? 1 : -1; };

    if (is ("receiveVstEvents") || is ("receiveVstMidiEvents"))
        return yesOrNo (acceptsMidi);
    if (is ("sendVstEvents") || is ("sendVstMidiEvent"))
        return yesOrNo (producesMidi);
    if (is ("receiveVstTimeInfo") || is ("conformsToWindowRules"))
        return 1;
    return 0;
}
} // namespace quane
