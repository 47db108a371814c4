// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The twelve factory programs: one row of the 39 patch values each, in patch index order.
#include "plugin/FactoryPrograms.h"

namespace quane
{
namespace
{
constexpr float unitMin = patch::unitMinimum;
constexpr float unitMax = patch::unitMaximum;

// Each row: Phase, P-Lvl, Detune, Octave, Bend, Saturation, Cutoff, Resonance, Volume, Spread,
//           amp A D S R, env1 A D S R Depth, env2 A,
//           env2 D S R Depth, LFO1 speed depth, LFO2 speed depth, velocity depth, wheel depth,
//           wave, env1 dest, env2 dest, LFO1 shape dest, LFO2 shape dest, velocity dest, wheel dest.
const PatchProgram programs[] = {
    { "Chordy",
      { 0.5625f, unitMax, 0.0f, 2.0f, 0.0f, unitMax, 0.02954f, unitMin, 0.39062f, 0.60156f,
        unitMin, 0.12915f, 0.96875f, 0.0791f, unitMin, 0.21972f, unitMin, 0.61035f, 0.28125f, unitMin,
        0.0039f, unitMin, unitMin, 0.40625f, 0.15625f, 0.25f, unitMin, 0.0f, 0.0f, 0.0f,
        8.0f, 5.0f, 4.0f, 2.0f, 2.0f, 1.0f, 1.0f, 1.0f, 1.0f } },
    { "Basic",
      { 0.82812f, 0.82812f, 0.0f, 1.0f, 0.0f, unitMax, 0.04785f, unitMin, 0.46875f, 0.5f,
        unitMin, 0.05493f, 0.76562f, unitMin, unitMin, 0.20532f, unitMin, unitMin, 0.5625f, unitMin,
        0.25f, unitMin, unitMin, 0.4375f, 0.53125f, 0.0f, unitMin, 0.0f, 0.0f, 0.0f,
        3.0f, 5.0f, 1.0f, 2.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f } },
    { "Siddish",
      { 0.59375f, unitMax, 0.0f, 2.0f, 12.0f, unitMax, 0.07055f, 0.375f, 0.28125f, 0.5f,
        unitMin, 0.25f, 0.78125f, unitMin, unitMin, 0.45141f, unitMin, unitMin, 0.375f, unitMin,
        0.47265f, unitMin, unitMin, 0.34375f, 0.54687f, 0.25f, 0.45312f, 0.1875f, 0.0f, 0.625f,
        2.0f, 5.0f, 2.0f, 4.0f, 4.0f, 4.0f, 2.0f, 1.0f, 1.0f } },
    { "Pulse Lead",
      { 0.54687f, unitMax, 0.0f, 2.0f, 12.0f, unitMax, 0.5625f, 0.6875f, 0.35937f, 0.5f,
        unitMin, 0.37133f, 0.8125f, unitMin, unitMin, 0.82128f, unitMin, unitMin, 0.3125f, 0.09765f,
        0.28222f, unitMin, 0.16503f, 0.5625f, 0.54687f, 0.25f, 0.23437f, -0.09375f, 0.0f, 0.625f,
        1.0f, 1.0f, 2.0f, 4.0f, 4.0f, 4.0f, 2.0f, 1.0f, 1.0f } },
    { "Bell Lead",
      { 0.54687f, unitMax, 0.0f, 2.0f, 12.0f, unitMax, 0.25f, unitMin, 0.35937f, 0.54687f,
        unitMin, 0.37133f, 0.84375f, unitMin, unitMin, 0.02441f, unitMin, unitMin, 0.5625f, unitMin,
        0.35253f, unitMin, 0.16503f, 0.5625f, 0.42187f, 0.1875f, unitMin, 0.0f, 0.0f, 0.625f,
        9.0f, 5.0f, 2.0f, 4.0f, 4.0f, 4.0f, 5.0f, 1.0f, 1.0f } },
    { "Pluck Me",
      { 0.75f, unitMax, 0.0f, 3.0f, 0.0f, unitMax, 0.02954f, unitMin, 0.39062f, 0.57812f,
        unitMin, 0.05493f, 0.71875f, 0.29907f, unitMin, 0.08813f, unitMin, 0.61035f, 0.34375f, 0.0039f,
        0.01196f, unitMin, unitMin, 0.28125f, 0.51562f, 0.09375f, unitMin, 0.0f, 0.0f, 0.0f,
        9.0f, 5.0f, 4.0f, 2.0f, 4.0f, 1.0f, 1.0f, 1.0f, 1.0f } },
    { "Chordy Again",
      { unitMax, unitMax, 0.0f, 2.0f, 12.0f, unitMax, 0.04785f, 0.45312f, 0.35937f, 0.58593f,
        unitMin, 0.37133f, 0.8125f, unitMin, unitMin, 0.15258f, unitMin, 0.26586f, 0.53125f, unitMin,
        0.49438f, unitMin, 0.16503f, -0.375f, 0.54687f, 0.25f, 0.23437f, 0.0f, 0.0f, 0.625f,
        9.0f, 5.0f, 2.0f, 4.0f, 4.0f, 4.0f, 1.0f, 1.0f, 1.0f } },
    { "Rezzy Bass",
      { 0.82812f, unitMin, 0.0f, 1.0f, 0.0f, unitMax, 0.01562f, 0.79687f, 0.39062f, 0.5f,
        unitMin, 0.05493f, 0.76562f, unitMin, unitMin, 0.07055f, unitMin, unitMin, 0.59375f, unitMin,
        0.25f, unitMin, unitMin, 0.4375f, 0.53125f, 0.0f, unitMin, 0.0f, 0.0f, 0.0f,
        1.0f, 5.0f, 1.0f, 2.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f } },
    { "Simple Saw",
      { unitMin, unitMin, 0.0f, 1.0f, 0.0f, unitMax, 0.35253f, 0.21875f, 0.3125f, 0.52343f,
        unitMin, 0.04785f, unitMax, unitMin, unitMin, 0.0625f, unitMin, unitMin, 0.53125f, unitMin,
        0.25f, unitMin, unitMin, 0.4375f, 0.17187f, 0.0625f, unitMin, 0.0f, 0.0f, 0.0f,
        2.0f, 5.0f, 1.0f, 2.0f, 4.0f, 1.0f, 1.0f, 1.0f, 1.0f } },
    { "Pluck Again",
      { 0.6875f, 0.60937f, 0.0f, 2.0f, 0.0f, unitMax, 0.04126f, 0.21875f, 0.48437f, 0.52343f,
        unitMin, 0.28222f, 0.4375f, 0.17797f, unitMin, 0.04126f, unitMin, unitMin, 0.6875f, unitMin,
        0.25f, unitMin, unitMin, 0.4375f, 0.17187f, 0.0625f, unitMin, 0.0f, 0.625f, 0.0f,
        9.0f, 5.0f, 1.0f, 2.0f, 4.0f, 1.0f, 1.0f, 5.0f, 1.0f } },
    { "Bell Lead Again",
      { 0.46875f, 0.6875f, 0.0f, 2.0f, 12.0f, unitMax, 0.0625f, unitMin, 0.42187f, 0.5f,
        unitMin, 0.04126f, unitMax, unitMin, unitMin, 0.10766f, unitMin, unitMin, 0.9375f, unitMin,
        0.17797f, unitMin, 0.16503f, 0.78125f, 0.54687f, 0.28125f, 0.23437f, 0.25f, 0.0f, 0.625f,
        9.0f, 5.0f, 2.0f, 4.0f, 4.0f, 4.0f, 2.0f, 1.0f, 1.0f } },
    { "Sawish Power Chord",
      { 0.76562f, unitMax, 0.0f, 2.0f, 2.0f, unitMax, 0.26586f, 0.35937f, 0.59375f, 0.60937f,
        unitMin, 0.03515f, 0.8125f, unitMin, unitMin, 0.5625f, unitMin, 0.5166f, 0.53125f, 0.07055f,
        0.21972f, unitMin, 0.37133f, 0.0625f, 0.64062f, 0.125f, 0.35937f, -0.28125f, 0.0f, 0.0f,
        2.0f, 5.0f, 1.0f, 2.0f, 4.0f, 4.0f, 2.0f, 5.0f, 1.0f } },
};

static_assert (sizeof (programs) / sizeof (programs[0]) == factoryProgramCount);
} // namespace

PatchProgramTable factoryPrograms() noexcept
{
    return { programs, factoryProgramCount };
}
} // namespace quane
