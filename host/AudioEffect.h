// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The object behind a VST 2.x AEffect: the host's callback, the counts and the C entry points.
#pragma once

#include "host/VstAbi.h"

namespace quane
{
/** Holds the host's audioMaster callback, the program and parameter counts, the sample rate and
    block size the host last set, and the AEffect record handed to the host.

    The AEffect's entry functions recover this object from the record and forward to the virtual
    operations below; the dispatcher entry answers effClose by deleting the object.
    Derived classes finish filling the record (flags, channel counts, ID) in their constructor. */
class AudioEffect
{
public:
    AudioEffect (vst::AudioMasterCallback hostCallback, vst::int32 programCount, vst::int32 parameterCount);
    virtual ~AudioEffect() = default;

    AudioEffect (const AudioEffect&) = delete;
    AudioEffect& operator= (const AudioEffect&) = delete;

    vst::AEffect* getAeffect() noexcept { return &cEffect; }

    virtual vst::intptr dispatcher (vst::int32 opcode, vst::int32 index, vst::intptr value, void* ptr, float opt) = 0;
    virtual void process (float** inputs, float** outputs, vst::int32 sampleFrames) = 0;
    virtual void processReplacing (float** inputs, float** outputs, vst::int32 sampleFrames) = 0;
    virtual void setParameter (vst::int32 index, float value) = 0;
    virtual float getParameter (vst::int32 index) = 0;

protected:
    /** Calls the host; answers 0 without calling when the host gave no callback. */
    vst::intptr callHost (vst::int32 opcode, vst::int32 index = 0, vst::intptr value = 0, void* ptr = nullptr,
                          float opt = 0.0f);

    vst::AudioMasterCallback audioMaster;
    vst::int32 numPrograms;
    vst::int32 numParams;
    float sampleRate = 44100.0f;
    vst::int32 blockSize = 1024;
    vst::AEffect cEffect {};
};

/** Splits the dispatcher's requests: 25 to 76 are the extended ones, everything else the basic. */
class AudioEffectX : public AudioEffect
{
public:
    using AudioEffect::AudioEffect;

    vst::intptr dispatcher (vst::int32 opcode, vst::int32 index, vst::intptr value, void* ptr, float opt) override;

protected:
    virtual vst::intptr basicRequest (vst::int32 opcode, vst::int32 index, vst::intptr value, void* ptr, float opt) = 0;
    virtual vst::intptr extendedRequest (vst::int32 opcode, vst::int32 index, vst::intptr value, void* ptr,
                                         float opt) = 0;
};
} // namespace quane
