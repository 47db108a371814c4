// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// One patch value seen as a JUCE parameter: its editor range mapped linearly onto 0..1.
#include "formats/PatchParameter.h"

#include "engine/PatchValueTable.h"
#include "plugin/FactoryPrograms.h"
#include "plugin/PatchValueText.h"

#include <cmath>

namespace quane
{
namespace
{
const patch::EditorControl& controlOf (int index)
{
    return patch::rows[index].control;
}
} // namespace

juce::String patchParameterId (int patchIndex)
{
    return juce::String (patch::rows[patchIndex].name).removeCharacters (" ").toLowerCase();
}

PatchParameter::PatchParameter (PatchValueAccess& access, int patchIndex)
    : AudioProcessorParameterWithID (juce::ParameterID (patchParameterId (patchIndex), 1),
                                     patch::rows[patchIndex].name),
      index (patchIndex),
      patch (access)
{
}

double PatchParameter::minimum() const noexcept
{
    return controlOf (index).minimum;
}

double PatchParameter::span() const noexcept
{
    return controlOf (index).maximum - controlOf (index).minimum;
}

int PatchParameter::stepCount() const noexcept
{
    const auto& control = controlOf (index);
    return control.step > 0.0 ? (int) std::lround (span() / control.step) : 0;
}

float PatchParameter::normalise (float patchValue) const noexcept
{
    const double normalised = ((double) patchValue - minimum()) / span();
    return (float) juce::jlimit (0.0, 1.0, normalised);
}

float PatchParameter::denormalise (float normalised) const noexcept
{
    const int steps = stepCount();
    if (steps > 0)
        return (float) (minimum() + std::round ((double) normalised * steps) * controlOf (index).step);
    return (float) (minimum() + (double) normalised * span());
}

float PatchParameter::getValue() const
{
    return normalise (patch.currentPatchValue (index));
}

void PatchParameter::setValue (float newValue)
{
    if (std::isnan (newValue))
        return;
    const float normalised = juce::jlimit (0.0f, 1.0f, newValue);

    // What the host read comes back unchanged: the exact value stays, within the range or not.
    if (normalised == getValue())
        return;
    patch.writePatchValueFromHost (index, denormalise (normalised));
}

float PatchParameter::getDefaultValue() const
{
    // The sound a new instance starts with: program 0.
    return normalise (factoryPrograms().programs[0].values[index]);
}

juce::String PatchParameter::getText (float normalised, int maximumLength) const
{
    const auto& control = controlOf (index);
    juce::String text;
    if (control.items != nullptr)
        text = control.items[juce::jlimit (0, control.itemCount - 1, (int) denormalise (normalised) - 1)];
    else if (normalised == getValue())
        text = formatPatchValue (patch.currentPatchValue (index)); // the model's own value, beyond the range too
    else
        text = formatPatchValue (patch::clampToClass (index, denormalise (normalised)));
    return text.substring (0, maximumLength);
}

float PatchParameter::getValueForText (const juce::String& text) const
{
    const auto& control = controlOf (index);
    for (int item = 0; item < control.itemCount; ++item)
        if (text == control.items[item])
            return normalise ((float) (item + 1));
    return normalise (readPatchValue (text));
}

int PatchParameter::getNumSteps() const
{
    const int steps = stepCount();
    return steps > 0 ? steps + 1 : AudioProcessorParameter::getNumSteps();
}

bool PatchParameter::isDiscrete() const
{
    return stepCount() > 0;
}

juce::StringArray PatchParameter::getAllValueStrings() const
{
    const auto& control = controlOf (index);
    juce::StringArray items;
    for (int item = 0; item < control.itemCount; ++item)
        items.add (control.items[item]);
    return items;
}
} // namespace quane
