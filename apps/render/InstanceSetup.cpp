// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Parameter settings and the program label.
#include "InstanceSetup.h"

namespace quane::render
{
void applySettings (HostedEffect& effect, const juce::Array<ParameterSetting>& settings)
{
    for (const auto& setting : settings)
        effect.setParameter (findParameter (effect, setting.name), setting.value);
}

juce::String currentProgramLabel (HostedEffect& effect)
{
    const auto number = (int) effect.dispatch (vst::effGetProgram);
    return juce::String (number).paddedLeft ('0', 2) + " " + effect.getCurrentProgramName();
}
} // namespace quane::render
