// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A low-frequency oscillator reading one of four stored shapes with linear interpolation.
#include "engine/TableLfo.h"

#include "engine/DspHelpers.h"

namespace quane
{
TableLfo::TableLfo()
{
    selectShape (1);
}

void TableLfo::selectShape (int shapeType)
{
    const int row = shapeType >= 1 && shapeType <= lfoShapeCount ? shapeType - 1 : 0;
    const float* source = lfoShapeTables[row];

    for (int i = 0; i < length; ++i)
        samples[(size_t) i] = source[i];

    // The last difference closes the cycle back to sample 0.
    for (int i = 0; i < length; ++i)
        differences[(size_t) i] = samples[(size_t) ((i + 1) % length)] - samples[(size_t) i];
}

} // namespace quane
