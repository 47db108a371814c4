// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The patch block shared by the engine and its voices, its index names and clamping classes.
#pragma once

#include <cmath>

namespace quane
{
namespace patch
{
/** Indices of the patch block. 0..29 are the host parameters, 30..38 whole-number selectors,
    39 and 40 the live wheel positions written by the processing entry. */
enum Index : int
{
    phase,
    phaserLevel,
    detune,
    octave,
    bendRange,
    saturation,
    cutoff,
    resonance,
    volume,
    spread,
    ampAttack,
    ampDecay,
    ampSustain,
    ampRelease,
    env1Attack,
    env1Decay,
    env1Sustain,
    env1Release,
    env1Depth,
    env2Attack,
    env2Decay,
    env2Sustain,
    env2Release,
    env2Depth,
    lfo1Speed,
    lfo1Depth,
    lfo2Speed,
    lfo2Depth,
    velocityDepth,
    modwheelDepth,
    oscWave,
    env1Destination,
    env2Destination,
    lfo1Shape,
    lfo1Destination,
    lfo2Shape,
    lfo2Destination,
    velocityDestination,
    modwheelDestination,
    modwheelPosition,
    pitchBend,
    entryCount
};

constexpr int valueCount = modwheelPosition; // patch values 0..38, saved and loaded as a whole
constexpr int parameterCount = oscWave;      // host-automatable values 0..29, the selectors after them
static_assert (valueCount == 39 && parameterCount == 30);
constexpr int firstSelector = oscWave;
constexpr int selectorCount = valueCount - firstSelector;

/** How setPatchValue limits a value before it is stored; each index's class is in its table row. */
enum class ClampClass
{
    free,    // stored as it comes
    bipolar, // -1..1
    unit     // 0.001..0.999: never exactly 0 or 1
};

constexpr float unitMinimum = 0.001f;
constexpr float unitMaximum = 0.999f;
} // namespace patch

/** Truncates toward zero like a cast, but saturates instead of overflowing for values beyond
    +-2^30 and gives 0 for NaN, so that free-class patch values from a host or a saved state
    never reach an undefined conversion. */
inline int truncateToInt (double value) noexcept
{
    constexpr double limit = 1073741824.0;
    if (! (value == value))
        return 0;
    if (value >= limit)
        return (int) limit;
    if (value <= -limit)
        return -(int) limit;
    return (int) value;
}

/** A selector value as an item number 1..itemCount; anything outside selects the first item. */
inline int selectorItem (float value, int itemCount) noexcept
{
    const int item = truncateToInt (value);
    return item >= 1 && item <= itemCount ? item : 1;
}

/** The block of single-precision values that describes the sound, read by every voice. */
struct PatchParams
{
    float values[patch::entryCount] {};

    float& operator[] (int index) noexcept { return values[index]; }
    float operator[] (int index) const noexcept { return values[index]; }
};
} // namespace quane
