// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Constant cycle data: the oscillator waveforms and the LFO shapes.
//
// The rows are written by generators/waveforms/design_tables.py into WaveformData.cpp and
// LfoShapeData.cpp; change the designs there and re-run it rather than editing the numbers.
// Waveforms run from -1 to 1 around zero and close their cycle without a large step; types 1
// and 2 hold whole 16-bit sample values (multiples of 1/32768).

#pragma once

namespace quane
{
constexpr int waveformLength = 512;
constexpr int waveformCount = 9; // wave types 1..9 are rows 0..8
constexpr int lfoShapeLength = 256;
constexpr int lfoShapeCount = 4; // shape types 1..4 are rows 0..3
extern const float waveformTables[waveformCount][waveformLength];
extern const float lfoShapeTables[lfoShapeCount][lfoShapeLength];
} // namespace quane
