// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The object behind a VST 2.x AEffect: the host's callback, the counts and the C entry points.
#include "host/AudioEffect.h"

namespace quane
{
namespace
{
constexpr vst::int32 provisionalUniqueId = 0x4E6F4566; // "NoEf", until the derived class knows better

AudioEffect* objectOf (vst::AEffect* effect) noexcept
{
    return effect != nullptr ? static_cast<AudioEffect*> (effect->object) : nullptr;
}

vst::intptr dispatchEntry (vst::AEffect* effect, vst::int32 opcode, vst::int32 index, vst::intptr value, void* ptr,
                           float opt)
{
    auto* object = objectOf (effect);
    if (object == nullptr)
        return 0;

    // effClose ends the instance: its destructor stops what runs and deletes the editor, then
    // the model. The AEffect must not be used afterwards.
    if (opcode == vst::effClose)
    {
        delete object;
        return 1;
    }
    return object->dispatcher (opcode, index, value, ptr, opt);
}

void processEntry (vst::AEffect* effect, float** inputs, float** outputs, vst::int32 sampleFrames)
{
    if (auto* object = objectOf (effect))
        object->process (inputs, outputs, sampleFrames);
}

void processReplacingEntry (vst::AEffect* effect, float** inputs, float** outputs, vst::int32 sampleFrames)
{
    if (auto* object = objectOf (effect))
        object->processReplacing (inputs, outputs, sampleFrames);
}

void setParameterEntry (vst::AEffect* effect, vst::int32 index, float value)
{
    if (auto* object = objectOf (effect))
        object->setParameter (index, value);
}

float getParameterEntry (vst::AEffect* effect, vst::int32 index)
{
    auto* object = objectOf (effect);
    return object != nullptr ? object->getParameter (index) : 0.0f;
}
} // namespace

AudioEffect::AudioEffect (vst::AudioMasterCallback hostCallback, vst::int32 programCount, vst::int32 parameterCount)
    : audioMaster (hostCallback), numPrograms (programCount), numParams (parameterCount)
{
    cEffect.magic = vst::kEffectMagic;
    cEffect.dispatcher = dispatchEntry;
    cEffect.process = processEntry;
    cEffect.setParameter = setParameterEntry;
    cEffect.getParameter = getParameterEntry;
    cEffect.processReplacing = processReplacingEntry;
    cEffect.numPrograms = programCount;
    cEffect.numParams = parameterCount;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.uniqueID = provisionalUniqueId;
    cEffect.version = 1;
}

vst::intptr AudioEffect::callHost (vst::int32 opcode, vst::int32 index, vst::intptr value, void* ptr, float opt)
{
    return audioMaster != nullptr ? audioMaster (&cEffect, opcode, index, value, ptr, opt) : 0;
}

vst::intptr AudioEffectX::dispatcher (vst::int32 opcode, vst::int32 index, vst::intptr value, void* ptr, float opt)
{
    if (opcode >= vst::effProcessEvents && opcode <= vst::effBeginLoadProgram)
        return extendedRequest (opcode, index, value, ptr, opt);
    return basicRequest (opcode, index, value, ptr, opt);
}
} // namespace quane
