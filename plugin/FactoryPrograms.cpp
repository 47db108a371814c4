// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The twelve factory programs: one row per patch value, with its value in every program.
#include "plugin/FactoryPrograms.h"

#include <array>
#include <iterator>

namespace quane
{
namespace
{
constexpr const char* programNames[] = { "Chordy",     "Basic",       "Siddish",         "Pulse Lead",
                                         "Bell Lead",  "Pluck Me",    "Chordy Again",    "Rezzy Bass",
                                         "Simple Saw", "Pluck Again", "Bell Lead Again", "Sawish Power Chord" };

/** One patch value in programs 0..11. */
struct ProgramValues
{
    patch::Index index;
    float values[factoryProgramCount];
};

/** Each decimal stands for its nearest float; 0.001 and 0.999 are the unit class bounds. */
template <typename... Values>
constexpr ProgramValues row (patch::Index index, Values... values)
{
    static_assert (sizeof...(values) == factoryProgramCount, "one value per program");
    return { index, { static_cast<float> (values)... } };
}

using namespace patch;

// clang-format off
constexpr ProgramValues valueRows[] = {
    row (phase, 0.5625, 0.82812, 0.59375, 0.54687, 0.54687, 0.75, 0.999, 0.82812, 0.001, 0.6875, 0.46875, 0.76562),
    row (phaserLevel, 0.999, 0.82812, 0.999, 0.999, 0.999, 0.999, 0.999, 0.001, 0.001, 0.60937, 0.6875, 0.999),
    row (detune, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0),
    row (octave, 2, 1, 2, 2, 2, 3, 2, 1, 1, 2, 2, 2),
    row (bendRange, 0, 0, 12, 12, 12, 0, 12, 0, 0, 0, 12, 2),
    row (saturation, 0.999, 0.999, 0.999, 0.999, 0.999, 0.999, 0.999, 0.999, 0.999, 0.999, 0.999, 0.999),
    row (cutoff, 0.02954, 0.04785, 0.07055, 0.5625, 0.25, 0.02954, 0.04785, 0.01562, 0.35253, 0.04126, 0.0625, 0.26586),
    row (resonance, 0.001, 0.001, 0.375, 0.6875, 0.001, 0.001, 0.45312, 0.79687, 0.21875, 0.21875, 0.001, 0.35937),
    row (volume, 0.39062, 0.46875, 0.28125, 0.35937, 0.35937, 0.39062, 0.35937, 0.39062, 0.3125, 0.48437, 0.42187, 0.59375),
    row (spread, 0.60156, 0.5, 0.5, 0.5, 0.54687, 0.57812, 0.58593, 0.5, 0.52343, 0.52343, 0.5, 0.60937),
    row (ampAttack, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001),
    row (ampDecay, 0.12915, 0.05493, 0.25, 0.37133, 0.37133, 0.05493, 0.37133, 0.05493, 0.04785, 0.28222, 0.04126, 0.03515),
    row (ampSustain, 0.96875, 0.76562, 0.78125, 0.8125, 0.84375, 0.71875, 0.8125, 0.76562, 0.999, 0.4375, 0.999, 0.8125),
    row (ampRelease, 0.0791, 0.001, 0.001, 0.001, 0.001, 0.29907, 0.001, 0.001, 0.001, 0.17797, 0.001, 0.001),
    row (env1Attack, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001),
    row (env1Decay, 0.21972, 0.20532, 0.45141, 0.82128, 0.02441, 0.08813, 0.15258, 0.07055, 0.0625, 0.04126, 0.10766, 0.5625),
    row (env1Sustain, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001),
    row (env1Release, 0.61035, 0.001, 0.001, 0.001, 0.001, 0.61035, 0.26586, 0.001, 0.001, 0.001, 0.001, 0.5166),
    row (env1Depth, 0.28125, 0.5625, 0.375, 0.3125, 0.5625, 0.34375, 0.53125, 0.59375, 0.53125, 0.6875, 0.9375, 0.53125),
    row (env2Attack, 0.001, 0.001, 0.001, 0.09765, 0.001, 0.0039, 0.001, 0.001, 0.001, 0.001, 0.001, 0.07055),
    row (env2Decay, 0.0039, 0.25, 0.47265, 0.28222, 0.35253, 0.01196, 0.49438, 0.25, 0.25, 0.25, 0.17797, 0.21972),
    row (env2Sustain, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001, 0.001),
    row (env2Release, 0.001, 0.001, 0.001, 0.16503, 0.16503, 0.001, 0.16503, 0.001, 0.001, 0.001, 0.16503, 0.37133),
    row (env2Depth, 0.40625, 0.4375, 0.34375, 0.5625, 0.5625, 0.28125, -0.375, 0.4375, 0.4375, 0.4375, 0.78125, 0.0625),
    row (lfo1Speed, 0.15625, 0.53125, 0.54687, 0.54687, 0.42187, 0.51562, 0.54687, 0.53125, 0.17187, 0.17187, 0.54687, 0.64062),
    row (lfo1Depth, 0.25, 0, 0.25, 0.25, 0.1875, 0.09375, 0.25, 0, 0.0625, 0.0625, 0.28125, 0.125),
    row (lfo2Speed, 0.001, 0.001, 0.45312, 0.23437, 0.001, 0.001, 0.23437, 0.001, 0.001, 0.001, 0.23437, 0.35937),
    row (lfo2Depth, 0, 0, 0.1875, -0.09375, 0, 0, 0, 0, 0, 0, 0.25, -0.28125),
    row (velocityDepth, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0.625, 0, 0),
    row (modwheelDepth, 0, 0, 0.625, 0.625, 0.625, 0, 0.625, 0, 0, 0, 0.625, 0),
    row (oscWave, 8, 3, 2, 1, 9, 9, 9, 1, 2, 9, 9, 2),
    row (env1Destination, 5, 5, 5, 1, 5, 5, 5, 5, 5, 5, 5, 5),
    row (env2Destination, 4, 1, 2, 2, 2, 4, 2, 1, 1, 1, 2, 1),
    row (lfo1Shape, 2, 2, 4, 4, 4, 2, 4, 2, 2, 2, 4, 2),
    row (lfo1Destination, 2, 1, 4, 4, 4, 4, 4, 1, 4, 4, 4, 4),
    row (lfo2Shape, 1, 1, 4, 4, 4, 1, 4, 1, 1, 1, 4, 4),
    row (lfo2Destination, 1, 1, 2, 2, 5, 1, 1, 1, 1, 1, 2, 2),
    row (velocityDestination, 1, 1, 1, 1, 1, 1, 1, 1, 1, 5, 1, 5),
    row (modwheelDestination, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1),
};
// clang-format on

constexpr bool rowsFollowTheIndexOrder()
{
    for (int i = 0; i < valueCount; ++i)
        if (valueRows[i].index != i)
            return false;
    return true;
}

static_assert (std::size (valueRows) == valueCount, "one row per patch value");
static_assert (rowsFollowTheIndexOrder(), "row i holds patch value i");
static_assert (std::size (programNames) == factoryProgramCount);

constexpr std::array<PatchProgram, factoryProgramCount> programsFromRows()
{
    std::array<PatchProgram, factoryProgramCount> programs {};
    for (int p = 0; p < factoryProgramCount; ++p)
    {
        programs[(size_t) p].name = programNames[p];
        for (int i = 0; i < valueCount; ++i)
            programs[(size_t) p].values[i] = valueRows[i].values[p];
    }
    return programs;
}

constexpr auto programs = programsFromRows();
} // namespace

PatchProgramTable factoryPrograms() noexcept
{
    return { programs.data(), factoryProgramCount };
}
} // namespace quane
