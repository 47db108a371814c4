// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The plug-in model: construction, parameters and programs.
#include "plugin/MyPlugJuceFilter.h"

#include "engine/PatchValueTable.h"
#include "plugin/FactoryPrograms.h"
#include "plugin/PatchValueText.h"

namespace quane
{
namespace
{
constexpr int uniqueId = 0x11149876;

bool isPatchValueIndex (int index) noexcept
{
    return index >= 0 && index < patch::valueCount;
}
} // namespace

MyPlugJuceFilter::MyPlugJuceFilter() : engine (std::make_unique<SynthEngine> (modelSampleRate, factoryPrograms()))
{
    selectProgram (0);
}

MyPlugJuceFilter::~MyPlugJuceFilter() = default;

void MyPlugJuceFilter::describePlugin (PluginDescription& description)
{
    description.uniqueId = uniqueId;
    description.inputChannels = 0;
    description.outputChannels = 2;
    description.latencySamples = 0;
    description.isSynth = true;
    description.acceptsMidi = true;
    description.producesMidi = false;
    description.silentWhenStopped = false;
    description.needsKeyEvents = false;
}

void MyPlugJuceFilter::beginPlayback (double rate, int)
{
    if (rate == (double) modelSampleRate)
        return;

    const juce::ScopedLock lock (processLock);
    modelSampleRate = (float) rate;
    engine->setSampleRate (modelSampleRate);
}

void MyPlugJuceFilter::endPlayback() {}

int MyPlugJuceFilter::parameterCount()
{
    return patch::parameterCount;
}

juce::String MyPlugJuceFilter::parameterName (int index)
{
    return index >= 0 && index < patch::parameterCount ? juce::String (patch::rows[index].name) : juce::String();
}

float MyPlugJuceFilter::parameterValue (int index)
{
    if (! isPatchValueIndex (index))
        return 0.0f;

    // Host threads read while others write (automation, programs, restores).
    const juce::ScopedLock lock (processLock);
    return engine->getPatch()[index];
}

juce::String MyPlugJuceFilter::parameterText (int index)
{
    return isPatchValueIndex (index) ? formatPatchValue (parameterValue (index)) : juce::String();
}

void MyPlugJuceFilter::setParameterValue (int index, float value)
{
    if (storeParameterValue (index, value))
        sendChangeMessage();
}

bool MyPlugJuceFilter::storeParameterValue (int index, float value)
{
    // Unknown indices and non-finite values from a host or a saved state never enter the patch.
    if (! isPatchValueIndex (index) || ! std::isfinite (value))
        return false;

    const juce::ScopedLock lock (processLock);
    if (value == engine->getPatch()[index])
        return false;

    engine->setPatchValue (index, value);
    engine->refreshVoices (index);
    return true;
}

int MyPlugJuceFilter::programCount()
{
    return factoryProgramCount;
}

int MyPlugJuceFilter::currentProgramIndex()
{
    return currentProgram;
}

void MyPlugJuceFilter::selectProgram (int number)
{
    if (loadProgram (number))
        sendChangeMessage();
}

bool MyPlugJuceFilter::loadProgram (int number)
{
    const juce::ScopedLock lock (processLock);
    if (! engine->loadProgram (number))
        return false;
    currentProgram = number;
    return true;
}

juce::String MyPlugJuceFilter::programName (int number)
{
    if (number < 0 || number >= factoryProgramCount)
        return {};
    return factoryPrograms().programs[number].name;
}

void MyPlugJuceFilter::renameProgram (int, const juce::String&) {}

AudioFilterBase* createFilterInstance()
{
    return new MyPlugJuceFilter();
}
} // namespace quane
