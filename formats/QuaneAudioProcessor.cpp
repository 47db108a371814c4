// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The plug-in model seen as a JUCE AudioProcessor, for JUCE's VST3 and LV2 clients.
#include "formats/QuaneAudioProcessor.h"

#include "formats/QuaneProcessorEditor.h"

#include <cmath>

namespace quane
{
namespace
{
constexpr double fallbackSampleRate = 44100.0; // as the VST 2.x module, for a host that names none
} // namespace

QuaneAudioProcessor::QuaneAudioProcessor()
    : AudioProcessor (BusesProperties().withOutput ("Output", juce::AudioChannelSet::stereo(), true)),
      model (std::make_unique<MyPlugJuceFilter>())
{
    model->attachHost (this);
    for (int index = 0; index < patch::valueCount; ++index)
    {
        auto* parameter = new PatchParameter (*this, index);
        patchParameters.push_back (parameter);
        addParameter (parameter); // the processor owns it from here
    }
}

QuaneAudioProcessor::~QuaneAudioProcessor() = default;

const juce::String QuaneAudioProcessor::getName() const
{
    return JucePlugin_Name;
}

bool QuaneAudioProcessor::isBusesLayoutSupported (const BusesLayout& layouts) const
{
    return layouts.inputBuses.isEmpty() && layouts.getMainOutputChannelSet() == juce::AudioChannelSet::stereo();
}

void QuaneAudioProcessor::prepareToPlay (double sampleRate, int maximumExpectedSamplesPerBlock)
{
    // A rate of 0, below it or not a number would leave the engine without a time base.
    const double rate = std::isfinite (sampleRate) && sampleRate > 0.0 ? sampleRate : fallbackSampleRate;
    model->sampleRate = rate;
    model->blockSize = maximumExpectedSamplesPerBlock;
    model->beginPlayback (rate, maximumExpectedSamplesPerBlock);
}

void QuaneAudioProcessor::releaseResources()
{
    model->endPlayback();
}

void QuaneAudioProcessor::processBlock (juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    // The model renders any length and clears the block first; there are no inputs to read.
    const juce::ScopedLock lock (model->processLock);
    model->processAudioBlock (buffer, buffer, false, midi);
}

double QuaneAudioProcessor::getTailLengthSeconds() const
{
    return 0.0;
}

bool QuaneAudioProcessor::acceptsMidi() const
{
    return true;
}

bool QuaneAudioProcessor::producesMidi() const
{
    return false;
}

bool QuaneAudioProcessor::hasEditor() const
{
    return true;
}

juce::AudioProcessorEditor* QuaneAudioProcessor::createEditor()
{
    return new QuaneProcessorEditor (*this);
}

int QuaneAudioProcessor::getNumPrograms()
{
    return model->programCount();
}

int QuaneAudioProcessor::getCurrentProgram()
{
    return model->currentProgramIndex();
}

void QuaneAudioProcessor::setCurrentProgram (int index)
{
    if (index < 0 || index >= model->programCount())
        return;
    // A VST3 host's automated program change arrives on the audio thread, where nothing may be posted.
    if (juce::MessageManager::existsAndIsCurrentThread())
        model->selectProgram (index);
    else if (model->loadProgram (index))
        unannouncedChange = true;
    announceAllParameters();
}

const juce::String QuaneAudioProcessor::getProgramName (int index)
{
    return model->programName (index);
}

void QuaneAudioProcessor::changeProgramName (int index, const juce::String& newName)
{
    model->renameProgram (index, newName);
}

void QuaneAudioProcessor::getStateInformation (juce::MemoryBlock& destination)
{
    model->saveState (destination);
}

void QuaneAudioProcessor::setStateInformation (const void* data, int sizeInBytes)
{
    // The model refuses what is not its own state and then leaves the sound as it was.
    if (data == nullptr || sizeInBytes <= 0)
        return;
    model->restoreState (data, sizeInBytes);
    announceAllParameters();
}

void QuaneAudioProcessor::announceAllParameters()
{
    for (auto* parameter : patchParameters)
        parameter->sendValueChangedMessageToListeners (parameter->getValue());
}

float QuaneAudioProcessor::currentPatchValue (int index)
{
    return model->parameterValue (index);
}

void QuaneAudioProcessor::writePatchValueFromHost (int index, float value)
{
    if (model->storeParameterValue (index, value))
        unannouncedChange = true;
}

bool QuaneAudioProcessor::queryTransportPosition (TransportPosition& position)
{
    auto* head = getPlayHead();
    const auto info = head != nullptr ? head->getPosition() : juce::Optional<juce::AudioPlayHead::PositionInfo>();
    if (! info.hasValue())
        return false;

    position = TransportPosition();
    position.tempoBpm = info->getBpm().orFallback (0.0);
    if (const auto signature = info->getTimeSignature())
    {
        position.timeSigNumerator = signature->numerator;
        position.timeSigDenominator = signature->denominator;
    }
    position.timeInSeconds = info->getTimeInSeconds().orFallback (0.0);
    position.editOriginSeconds = info->getEditOriginTime().orFallback (0.0);
    position.ppqPosition = info->getPpqPosition().orFallback (0.0);
    position.ppqPositionOfLastBarStart = info->getPpqPositionOfLastBarStart().orFallback (0.0);
    position.isPlaying = info->getIsPlaying();
    position.isRecording = info->getIsRecording();
    return true;
}

void QuaneAudioProcessor::reportParameterChange (int index, float value)
{
    // The editor's changes, on the message thread. Outside a drag each one is a gesture of its own.
    if (index < 0 || index >= (int) patchParameters.size())
        return;
    auto& parameter = *patchParameters[(size_t) index];
    const bool ownGesture = index != editorGestureIndex;
    if (ownGesture)
        parameter.beginChangeGesture();
    parameter.setValueNotifyingHost (parameter.normalise (value));
    if (ownGesture)
        parameter.endChangeGesture();
}

void QuaneAudioProcessor::beginEditorGesture (int patchIndex)
{
    endEditorGesture (editorGestureIndex);
    editorGestureIndex = patchIndex;
    patchParameters[(size_t) patchIndex]->beginChangeGesture();
}

void QuaneAudioProcessor::endEditorGesture (int patchIndex)
{
    if (patchIndex < 0 || patchIndex != editorGestureIndex)
        return;
    editorGestureIndex = -1;
    patchParameters[(size_t) patchIndex]->endChangeGesture();
}
} // namespace quane

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    return new quane::QuaneAudioProcessor();
}
