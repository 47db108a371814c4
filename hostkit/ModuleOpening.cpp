// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The tools' way to the module: where they find it, and it and an instance opened or a ToolError.
#include "hostkit/ModuleOpening.h"

#include "hostkit/ToolError.h"

namespace quane::hostkit
{
juce::String defaultModulePath (const juce::String& builtModulePath)
{
    const auto toolFolder = juce::File::getSpecialLocation (juce::File::currentExecutableFile).getParentDirectory();
    if (toolFolder.getFileName() == "bin")
    {
        const auto installed = toolFolder.getSiblingFile ("lib").getChildFile ("vst").getChildFile ("Kolv.so");
        if (installed.existsAsFile())
            return installed.getFullPathName();
    }
    return builtModulePath;
}

std::unique_ptr<LoadedModule> openModule (const juce::String& path)
{
    if (! juce::File (path).existsAsFile())
        fail (ToolError::Kind::module,
              "cannot load the module " + path + ": no such file (build it, or give --module PATH)");

    auto module = std::make_unique<LoadedModule> (path.toStdString());
    if (! module->isLoaded())
        fail (ToolError::Kind::module, "cannot load the module " + path + ": " + module->getError());
    return module;
}

std::unique_ptr<HostedEffect> openEffect (const LoadedModule& module, double sampleRate, int maximumBlockSize,
                                          const juce::String& hostProductName)
{
    HostSetup setup;
    setup.productName = hostProductName.toStdString();
    auto instance = std::make_unique<HostedEffect> (module.getEntry(), setup);
    const auto* effect = instance->getEffect();
    const juce::String path (module.getPath());

    if (effect == nullptr)
        fail (ToolError::Kind::module, "the module " + path + " made no effect (its entry answered null)");
    if (effect->magic != vst::kEffectMagic)
    {
        // A record that is no effect is not called again, not even to close it.
        instance.release();
        fail (ToolError::Kind::module, "the module " + path + " answered a record without the VST effect magic");
    }
    if (effect->numOutputs < 2 || effect->processReplacing == nullptr)
        fail (ToolError::Kind::module, "the module " + path + " offers no stereo processReplacing");

    instance->open (sampleRate, maximumBlockSize);
    return instance;
}
} // namespace quane::hostkit
