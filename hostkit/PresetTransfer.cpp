// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Program and bank files in and out of a hosted instance.
#include "PresetTransfer.h"

#include "FileReading.h"
#include "FileWriting.h"
#include "PresetFile.h"
#include "ToolError.h"

namespace quane::hostkit
{
namespace
{
// A preset of ours is some hundred bytes; other modules' states may hold samples.
constexpr juce::int64 maximumPresetFileBytes = 64 * 1024 * 1024;

juce::String hexId (juce::int32 id)
{
    return "0x" + juce::String::toHexString ((int) id).paddedLeft ('0', 8);
}
} // namespace

PresetFile loadPreset (HostedEffect& effect, const juce::File& file)
{
    const auto bytes = readWholeFile (file, maximumPresetFileBytes, "preset file");
    const auto preset = decodePreset (bytes, file.getFullPathName());
    const auto& aeffect = *effect.getEffect();
    if (preset.uniqueId != aeffect.uniqueID)
        fail (ToolError::Kind::input, file.getFullPathName() + " belongs to the module with ID "
                                          + hexId (preset.uniqueId) + ", not to this one (" + hexId (aeffect.uniqueID)
                                          + ")");
    if (preset.chunk.empty())
        fail (ToolError::Kind::input, file.getFullPathName() + " holds an empty chunk");

    effect.setChunk (preset.chunk, ! preset.isBank);
    return preset;
}

void savePreset (HostedEffect& effect, const juce::File& file, const juce::String& programName)
{
    const auto& aeffect = *effect.getEffect();
    if ((aeffect.flags & vst::effFlagsProgramChunks) == 0)
        fail (ToolError::Kind::module, "the module keeps no state chunk (effFlagsProgramChunks is clear); cannot save "
                                           + file.getFullPathName());

    PresetFile preset;
    preset.isBank = file.hasFileExtension ("fxb");
    preset.uniqueId = aeffect.uniqueID;
    // Hosts write the AEffect's version field here, not the vendor version of effGetVendorVersion.
    preset.moduleVersion = aeffect.version;
    preset.count = preset.isBank ? aeffect.numPrograms : aeffect.numParams;
    preset.programName = programName.isNotEmpty() ? programName : effect.getCurrentProgramName();
    preset.chunk = effect.getChunk (! preset.isBank);

    if (preset.chunk.empty())
        fail (ToolError::Kind::module,
              "the module gave no state chunk (effGetChunk answered 0); cannot save " + file.getFullPathName());
    writeBytes (file, encodePreset (preset));
}
} // namespace quane::hostkit
