// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The VST 2.x instance: construction from the model's description, identity and parameters.
#include "host/JuceVSTWrapper.h"

#include "host/MessageLoop.h"
#include "host/PluginIdentity.h"

namespace quane
{
namespace
{
/** The ID for a model that gives none: h = h * 31 + c over the UTF-16 codes of both names. */
vst::int32 hashedUniqueId (const juce::String& effectName, const juce::String& vendorName)
{
    juce::uint32 hash = 0;
    for (const auto& text : { effectName, vendorName })
        for (auto utf16 = text.toUTF16(); *utf16 != 0; ++utf16)
            hash = hash * 31u + (juce::uint32) *utf16;
    return (vst::int32) hash;
}
} // namespace

JuceVSTWrapper::JuceVSTWrapper (vst::AudioMasterCallback hostCallback, std::unique_ptr<AudioFilterBase> model)
    : AudioEffectX (hostCallback, model->programCount(), model->parameterCount()), filter (std::move (model))
{
    noteInstanceCreated();
    filter->attachHost (this);
    const auto& description = filter->getDescription();

    cEffect.flags |= vst::effFlagsHasEditor;

    cEffect.uniqueID = description.uniqueId != 0 ? description.uniqueId
                                                 : hashedUniqueId (identity::effectName, identity::vendorName);

    acceptsMidi = description.acceptsMidi;
    if (acceptsMidi)
        callHost (vst::audioMasterWantMidi, 0, 1);
    producesMidi = description.producesMidi;

    numInChans = cEffect.numInputs = description.inputChannels;
    numOutChans = cEffect.numOutputs = description.outputChannels;

    cEffect.flags &= ~(vst::effFlagsHasClip | vst::effFlagsHasVu);
    cEffect.flags |= vst::effFlagsCanReplacing;
    cEffect.flags = description.isSynth ? (cEffect.flags | vst::effFlagsIsSynth)
                                        : (cEffect.flags & ~vst::effFlagsIsSynth);
    cEffect.flags = description.silentWhenStopped ? (cEffect.flags | vst::effFlagsNoSoundInStop)
                                                  : (cEffect.flags & ~vst::effFlagsNoSoundInStop);
    cEffect.initialDelay = description.latencySamples;
    cEffect.flags |= vst::effFlagsProgramChunks;
}

JuceVSTWrapper::~JuceVSTWrapper()
{
    stopTimer();
    deleteEditor();
    filter.reset();
    noteInstanceDeleted();
}

// Indices go to the model as they come: it ignores anything outside its patch, and the editor's
// selectors (beyond the host's parameters) arrive here through reportParameterChange.
void JuceVSTWrapper::setParameter (vst::int32 index, float value)
{
    filter->setParameterValue (index, value);
}

float JuceVSTWrapper::getParameter (vst::int32 index)
{
    return filter->parameterValue (index);
}

void JuceVSTWrapper::reportParameterChange (int index, float value)
{
    setParameter (index, value);
    callHost (vst::audioMasterAutomate, index, 0, nullptr, value);
}

void JuceVSTWrapper::timerCallback()
{
    releaseStaleChunk();
    passOnHostScaleFactor();
    tryHostIdle();
}
} // namespace quane
