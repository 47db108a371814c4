// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Every fact of a patch value in one row: names, clamping, editor control and voice refresh.
#pragma once

#include "engine/PatchParams.h"

namespace quane::patch
{
/** What a voice recomputes when a patch value changes. A value without a refresh is read afresh
    at every chunk, so a change is heard from the next chunk on. */
enum class VoiceRefresh
{
    none,
    silenceVoices, // the engine stops every voice instead: held notes would miss their note-offs
    ampEnvelope,
    env1,
    env2,
    lfo2Increment,
    oscWave,
    lfo1Shape,
    lfo2Shape,
    env1Route,
    env2Route,
    lfo1Route,
    lfo2Route,
    velocityRoute,
    modwheelRoute
};

/** The editor's control of a value: a vertical slider for 0..29, a selector for 30..38.

    Bounds are panel pixels. The range is what the editor offers and the factory programs use; a
    selector's range is its item ids 1..itemCount. A square-law slider stands for
    minimum + (maximum - minimum) * p^2 at travel position p. A value the user drags to within
    snapTolerance of snapTarget becomes snapTarget; tolerance 0 never snaps. */
struct EditorControl
{
    int x, y, width, height;
    double minimum, maximum;
    double step; // 0: continuous
    bool squareLaw;
    float snapTarget, snapTolerance;
    const char* const* items; // selectors: the texts of item ids 1..itemCount
    int itemCount;
};

/** One patch value. Adding a value means one more row here (with its index in the enum), a value
    for every factory program and its use in the voice. */
struct PatchValueRow
{
    Index index;
    const char* name; // the parameter name for 0..29 (a host shows its first 8 characters)
    ClampClass clampClass;
    EditorControl control;
    VoiceRefresh refresh;
};

extern const PatchValueRow rows[valueCount];

/** A VST 2.x host shows this many characters of a parameter name; the table keeps them distinct. */
constexpr int hostNameLength = 8;

/** Limits a value by the class of its index (0..38); the comparisons are strict, so a bound is
    kept as is. Other indices are passed through. */
float clampToClass (int index, float value) noexcept;

/** The class of an index 0..38; free for any other. */
ClampClass clampClassOf (int index) noexcept;

/** The refresh a change of the index triggers; none outside 0..38. */
VoiceRefresh voiceRefreshOf (int index) noexcept;
} // namespace quane::patch
