// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The VST3 plug-in in JUCE's VST3 host: processing, parameters, the component's state, programs.
#include "tests/formats/Vst3Plugin.h"

#include "engine/PatchValueTable.h"

#include <pluginterfaces/vst/ivstcomponent.h>
#include <public.sdk/source/common/memorystream.h>

namespace quane::test
{
namespace
{
/** The plug-in's IComponent, the object whose getState and setState hosts save and load. */
Steinberg::Vst::IComponent* componentOf (juce::AudioPluginInstance& instance)
{
    struct Visitor : juce::ExtensionsVisitor
    {
        void visitVST3Client (const VST3Client& client) override { component = client.getIComponentPtr(); }
        Steinberg::Vst::IComponent* component = nullptr;
    } visitor;
    instance.getExtensions (visitor);
    return visitor.component;
}
} // namespace

juce::String Vst3Plugin::bundlePath()
{
    // Under Wine the path is a Windows one, handed over by the script that runs the test.
    return juce::SystemStats::getEnvironmentVariable ("QUANE_VST3_PATH", QUANE_VST3_BUNDLE);
}

juce::OwnedArray<juce::PluginDescription> Vst3Plugin::scanBundle()
{
    juce::VST3PluginFormat format;
    juce::OwnedArray<juce::PluginDescription> types;
    format.findAllTypesForFile (types, bundlePath());
    return types;
}

Vst3Plugin::Vst3Plugin (double sampleRate, int maximumBlockSize)
{
    const auto types = scanBundle();
    if (types.isEmpty())
    {
        loadError = "no plug-in found in " + bundlePath();
        return;
    }
    juce::VST3PluginFormat format;
    instance = format.createInstanceFromDescription (*types[0], sampleRate, maximumBlockSize, loadError);
    if (instance == nullptr)
        return;
    instance->enableAllBuses();
    instance->prepareToPlay (sampleRate, maximumBlockSize);
}

std::vector<float> Vst3Plugin::render (const std::vector<TimedEvent>& events, int length, int blockSize)
{
    std::vector<float> rendered ((size_t) length * 2);
    juce::AudioBuffer<float> buffer (2, blockSize);
    for (int start = 0; start < length; start += blockSize)
    {
        const int frames = std::min (blockSize, length - start);
        buffer.setSize (2, frames, false, false, true);
        buffer.clear();
        auto midi = goldenPhraseBlock (events, start, frames);
        instance->processBlock (buffer, midi);
        std::copy (buffer.getReadPointer (0), buffer.getReadPointer (0) + frames, rendered.begin() + start);
        std::copy (buffer.getReadPointer (1), buffer.getReadPointer (1) + frames, rendered.begin() + length + start);
    }
    return rendered;
}

juce::AudioProcessorParameter* Vst3Plugin::parameterOf (int patchIndex)
{
    for (auto* parameter : instance->getParameters())
        if (parameter->getName (100) == patch::rows[patchIndex].name)
            return parameter;
    return nullptr;
}

void Vst3Plugin::setParameter (int patchIndex, float normalised)
{
    // Reaches the processor with the next block, as the host's parameter change queue.
    if (auto* parameter = parameterOf (patchIndex))
        parameter->setValue (normalised);
}

std::vector<unsigned char> Vst3Plugin::saveState()
{
    Steinberg::MemoryStream stream;
    if (componentOf (*instance)->getState (&stream) != Steinberg::kResultOk)
        return {};
    const auto* data = reinterpret_cast<const unsigned char*> (stream.getData());
    return { data, data + stream.getSize() };
}

void Vst3Plugin::restoreState (const std::vector<unsigned char>& bytes)
{
    Steinberg::MemoryStream stream;
    Steinberg::int32 written = 0;
    stream.write (const_cast<unsigned char*> (bytes.data()), (Steinberg::int32) bytes.size(), &written);
    stream.seek (0, Steinberg::IBStream::kIBSeekSet, nullptr);
    componentOf (*instance)->setState (&stream);
}

void Vst3Plugin::selectProgram (int number)
{
    instance->setCurrentProgram (number);
}
} // namespace quane::test
