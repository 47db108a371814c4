// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Where the editor's controls sit and what values they offer, one row per control.
#pragma once

#include "engine/PatchParams.h"

namespace quane::layout
{
constexpr int editorWidth = 540;
constexpr int editorHeight = 340;

constexpr int sliderCount = patch::parameterCount;
constexpr int selectorCount = patch::selectorCount;
constexpr int sliderWidth = 12;
constexpr int sliderHeight = 80;
constexpr int selectorHeight = 20;

/** A vertical slider for patch value i. A skewed slider puts value = min + (max - min) * p^2 at
    travel position p; a bipolar slider catches 0 within snapToZeroWithin. */
struct SliderRow
{
    int x, y;
    double minimum, maximum, step;
    bool skewed;
    float snapToZeroWithin; // 0: no catch
};

/** A selector for patch value 30 + j; item ids run 1..itemCount in the order of the names. */
struct SelectorRow
{
    int x, y, width;
    const char* const* itemNames;
    int itemCount;
};

extern const SliderRow sliderRows[sliderCount];
extern const SelectorRow selectorRows[selectorCount];

/** JUCE's skew factor for a slider whose value grows with the square of its travel. */
constexpr double squareLawSkew = 0.5;
} // namespace quane::layout
