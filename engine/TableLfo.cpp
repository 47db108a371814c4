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
    row = shapeType >= 1 && shapeType <= lfoShapeCount ? shapeType - 1 : 0;
    const float* source = lfoShapeTables[row];

    // The last difference closes the cycle back to sample 0.
    for (int i = 0; i < length; ++i)
        points[(size_t) i] = { source[i], source[(i + 1) % length] - source[i] };
}
} // namespace quane
