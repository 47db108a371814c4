// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
#include "MidiLearn.h"

#include "engine/PatchValueTable.h"

#include <cmath>

namespace quane::play
{
void MidiLearn::valueTouched (int index) noexcept
{
    if (learning && index >= 0 && index < patch::valueCount)
        touchedValue = index;
}

bool MidiLearn::controllerMoved (int controller) noexcept
{
    if (! learning || touchedValue < 0)
        return false;
    assigned[(size_t) (controller & 0x7f)] = touchedValue;
    learning = false;
    return true;
}

float MidiLearn::scaledValue (int index, int position) noexcept
{
    const auto& control = patch::rows[index].control;
    auto value = control.minimum + (control.maximum - control.minimum) * juce::jlimit (0, 127, position) / 127.0;
    if (control.step > 0.0)
        value = control.minimum + std::round ((value - control.minimum) / control.step) * control.step;
    return (float) value;
}

juce::String MidiLearn::nameOf (int index)
{
    return patch::rows[index].name;
}

juce::String MidiLearn::toText() const
{
    juce::StringArray pairs;
    for (int controller = 0; controller < controllerCount; ++controller)
        if (assigned[(size_t) controller] >= 0)
            pairs.add (juce::String (controller) + ":" + juce::String (assigned[(size_t) controller]));
    return pairs.joinIntoString (" ");
}

void MidiLearn::readText (const juce::String& text)
{
    assigned = makeUnassigned();
    for (const auto& pair : juce::StringArray::fromTokens (text, " ", {}))
    {
        const auto controller = pair.upToFirstOccurrenceOf (":", false, false).getIntValue();
        const auto index = pair.fromFirstOccurrenceOf (":", false, false).getIntValue();
        if (pair.containsChar (':') && controller >= 0 && controller < controllerCount && index >= 0
            && index < patch::valueCount)
            assigned[(size_t) controller] = index;
    }
}

std::array<int, MidiLearn::controllerCount> MidiLearn::makeUnassigned() noexcept
{
    std::array<int, controllerCount> none {};
    none.fill (-1);
    return none;
}
} // namespace quane::play
