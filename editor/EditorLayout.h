// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor panel's size and control counts; each control's place and values are in its patch row.
#pragma once

#include "engine/PatchValueTable.h"

namespace quane::layout
{
constexpr int editorWidth = 540;
constexpr int editorHeight = 340;

constexpr int sliderCount = patch::parameterCount;
constexpr int selectorCount = patch::selectorCount;

/** JUCE's skew factor for a slider whose value grows with the square of its travel. */
constexpr double squareLawSkew = 0.5;
} // namespace quane::layout
