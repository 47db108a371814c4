// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Where the editor's controls sit and what values they offer, one row per control.
#include "editor/EditorLayout.h"

#include <iterator>

namespace quane::layout
{
namespace
{
constexpr float bipolarCatch = 0.05f;

const char* const waveNames[] = { "Saw", "Bright Saw", "Cliped Sine", "Sine and Pulse", "Cliped Tri",
                                  "Staggred Pulses", "Soft Squares", "Noiseform", "Soft Noisef." };
const char* const lfoShapeNames[] = { "Saw", "Sine", "Square", "Triangle" };
const char* const destinationNames[] = { "Off", "Osc Phase", "Osc P-level", "Osc Tune",
                                         "Cutoff", "Volume", "LFO1 Speed", "LFO1 Depth" };

// LFO 1 cannot modulate itself: its selector offers only the first six destinations.
constexpr int lfo1DestinationCount = 6;
constexpr int destinationCount = (int) std::size (destinationNames);
} // namespace

const SliderRow sliderRows[] = {
    { 120, 10, 0.0, 1.0, 0.0, false, 0.0f },          // 0 Phase
    { 150, 10, 0.0, 1.0, 0.0, false, 0.0f },          // 1 Phaser Level
    { 180, 10, -1.0, 1.0, 0.0, false, bipolarCatch }, // 2 Detune
    { 210, 10, 0.0, 3.0, 1.0, false, 0.0f },          // 3 Octave
    { 240, 10, 0.0, 12.0, 1.0, false, 0.0f },         // 4 Bend range
    { 270, 10, 0.0, 1.0, 0.0, false, 0.0f },          // 5 Saturation
    { 310, 10, 0.0, 1.0, 0.0, true, 0.0f },           // 6 Cutoff
    { 340, 10, 0.0, 1.0, 0.0, false, 0.0f },          // 7 Resonance
    { 380, 10, 0.0, 1.0, 0.0, false, 0.0f },          // 8 Volume
    { 410, 10, 0.5, 1.0, 0.0, false, 0.0f },          // 9 Spread
    { 20, 120, 0.0, 1.0, 0.0, true, 0.0f },           // 10 Amp Attack
    { 50, 120, 0.0, 1.0, 0.0, true, 0.0f },           // 11 Amp Decay
    { 80, 120, 0.0, 1.0, 0.0, false, 0.0f },          // 12 Amp Sustain
    { 110, 120, 0.0, 1.0, 0.0, true, 0.0f },          // 13 Amp Release
    { 150, 120, 0.0, 1.0, 0.0, true, 0.0f },          // 14 Env1 Attack
    { 180, 120, 0.0, 1.0, 0.0, true, 0.0f },          // 15 Env1 Decay
    { 210, 120, 0.0, 1.0, 0.0, false, 0.0f },         // 16 Env1 Sustain
    { 240, 120, 0.0, 1.0, 0.0, true, 0.0f },          // 17 Env1 Release
    { 268, 120, -1.0, 1.0, 0.0, false, bipolarCatch }, // 18 Env1 Depth
    { 392, 120, 0.0, 1.0, 0.0, true, 0.0f },          // 19 Env2 Attack
    { 422, 120, 0.0, 1.0, 0.0, true, 0.0f },          // 20 Env2 Decay
    { 452, 120, 0.0, 1.0, 0.0, false, 0.0f },         // 21 Env2 Sustain
    { 482, 120, 0.0, 1.0, 0.0, true, 0.0f },          // 22 Env2 Release
    { 512, 120, -1.0, 1.0, 0.0, false, bipolarCatch }, // 23 Env2 Depth
    { 20, 230, 0.0, 1.0, 0.0, false, 0.0f },          // 24 LFO1 Speed
    { 50, 230, -1.0, 1.0, 0.0, false, bipolarCatch }, // 25 LFO1 Depth
    { 180, 230, 0.0, 1.0, 0.0, false, 0.0f },         // 26 LFO2 Speed
    { 210, 230, -1.0, 1.0, 0.0, false, bipolarCatch }, // 27 LFO2 Depth
    { 350, 230, -1.0, 1.0, 0.0, false, bipolarCatch }, // 28 Velocity Depth
    { 510, 230, -1.0, 1.0, 0.0, false, bipolarCatch }, // 29 Modwheel Depth
};

const SelectorRow selectorRows[] = {
    { 16, 50, 85, waveNames, (int) std::size (waveNames) },               // 0 Osc Wave
    { 295, 126, 80, destinationNames, destinationCount },                 // 1 Env1 Destination
    { 299, 183, 80, destinationNames, destinationCount },                 // 2 Env2 Destination
    { 76, 244, 80, lfoShapeNames, (int) std::size (lfoShapeNames) },      // 3 LFO1 Shape
    { 76, 284, 80, destinationNames, lfo1DestinationCount },              // 4 LFO1 Destination
    { 236, 244, 80, lfoShapeNames, (int) std::size (lfoShapeNames) },     // 5 LFO2 Shape
    { 236, 284, 80, destinationNames, destinationCount },                 // 6 LFO2 Destination
    { 382, 242, 80, destinationNames, destinationCount },                 // 7 Velocity Destination
    { 408, 298, 80, destinationNames, destinationCount },                 // 8 Modwheel Destination
};

static_assert (std::size (sliderRows) == sliderCount, "one row per slider");
static_assert (std::size (selectorRows) == selectorCount, "one row per selector");
} // namespace quane::layout
