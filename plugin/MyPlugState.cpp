// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The model's saved state: one XML element with the 39 patch values.
#include "plugin/MyPlugJuceFilter.h"

#include "host/ChunkFormat.h"
#include "plugin/PatchValueText.h"

#include <array>
#include <optional>

namespace quane
{
namespace
{
const char* const stateTagName = "FOO1_SETTINGS_01";

using PatchValueTexts = std::array<std::optional<juce::String>, patch::valueCount>;

/** The text of each patch value in the element: the first attribute named by the value's index
    (digits, which have no case). The attributes are taken off the element's front one by one,
    because reading the n-th one walks their list from its start. */
PatchValueTexts takePatchValueTexts (juce::XmlElement& element)
{
    PatchValueTexts texts;
    for (auto remaining = element.getNumAttributes(); remaining > 0; --remaining)
    {
        const auto name = element.getAttributeName (0);
        if (name.length() <= 2 && name.containsOnly ("0123456789"))
        {
            const auto index = name.getIntValue();
            if (index < patch::valueCount && ! texts[(size_t) index].has_value() && name == juce::String (index))
                texts[(size_t) index] = element.getAttributeValue (0);
        }
        element.removeAttribute (name);
    }
    return texts;
}
} // namespace

void MyPlugJuceFilter::saveState (juce::MemoryBlock& destination)
{
    // One lock for all values, so a state saved during a restore is never half old, half new;
    // the text is made after it.
    float values[patch::valueCount];
    {
        const juce::ScopedLock lock (processLock);
        for (int index = 0; index < patch::valueCount; ++index)
            values[index] = parameterValue (index);
    }

    juce::XmlElement state (stateTagName);
    for (int index = 0; index < patch::valueCount; ++index)
        state.setAttribute (juce::String (index), formatPatchValue (values[index]));

    xmlToChunk (state, destination);
}

void MyPlugJuceFilter::restoreState (const void* data, int sizeInBytes)
{
    const auto state = chunkToXml (data, sizeInBytes);
    if (state == nullptr || ! state->getTagName().equalsIgnoreCase (stateTagName))
        return;

    const auto texts = takePatchValueTexts (*state);

    // One lock for the whole restore, so no block sees half of the new patch.
    {
        const juce::ScopedLock lock (processLock);
        for (int index = 0; index < patch::valueCount; ++index)
        {
            const auto& text = texts[(size_t) index];
            setParameterValue (index, text.has_value() ? readPatchValue (*text) : 0.0f);
        }
    }
    sendChangeMessage();
}
} // namespace quane
