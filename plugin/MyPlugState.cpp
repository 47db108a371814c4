// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The model's saved state: one XML element with the 39 patch values.
#include "plugin/MyPlugJuceFilter.h"

#include "host/ChunkFormat.h"
#include "plugin/PatchValueText.h"

namespace quane
{
namespace
{
const char* const stateTagName = "FOO1_SETTINGS_01";

const juce::String* findAttributeIgnoringCase (const juce::XmlElement& element, const juce::String& name)
{
    for (int i = 0; i < element.getNumAttributes(); ++i)
        if (element.getAttributeName (i).equalsIgnoreCase (name))
            return &element.getAttributeValue (i);
    return nullptr;
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

    // One lock for the whole restore, so no block sees half of the new patch.
    {
        const juce::ScopedLock lock (processLock);
        for (int index = 0; index < patch::valueCount; ++index)
        {
            const auto* text = findAttributeIgnoringCase (*state, juce::String (index));
            setParameterValue (index, text != nullptr ? readPatchValue (*text) : 0.0f);
        }
    }
    sendChangeMessage();
}
} // namespace quane
