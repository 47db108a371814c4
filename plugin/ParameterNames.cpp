// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The host names of the 30 automatable patch values.
#include "plugin/ParameterNames.h"

#include "engine/PatchParams.h"

namespace quane
{
namespace
{
const char* const names[] = {
    "Phase",        "Phaser Level", "Detune",       "Octave",         "Bend range",
    "Saturation",   "Cutoff",       "Resonance",    "Volume",         "Spread",
    "Amp Attack",   "Amp Decay",    "Amp Sustain",  "Amp Release",    "Env1 Attack",
    "Env1 Decay",   "Env1 Sustain", "Env1 Release", "Env1 Depth",     "Env2 Attack",
    "Env2 Decay",   "Env2 Sustain", "Env2 Release", "Env2 Depth",     "LFO1 Speed",
    "LFO1 Depth",   "LFO2 Speed",   "LFO2 Depth",   "Velocity Depth", "Modwheel Depth",
};

static_assert (sizeof (names) / sizeof (names[0]) == patch::parameterCount);
} // namespace

const char* hostParameterName (int index) noexcept
{
    return index >= 0 && index < patch::parameterCount ? names[index] : nullptr;
}
} // namespace quane
