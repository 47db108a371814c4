// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A low-frequency oscillator reading one of four stored shapes with linear interpolation.
#pragma once

#include "engine/DspHelpers.h"
#include "engine/WaveformData.h"

#include <array>
#include <cstddef>

namespace quane
{
/** Holds a copy of one LFO shape with the difference from each sample to the next, and the
    LFO's phase. The voice steps it once per chunk and sets the increment itself. */
class TableLfo
{
public:
    static constexpr int length = lfoShapeLength;
    // 256 / (2 x 44100 / (0.05 x 400)) to six digits: the increment of speed 0.05 (0.625 Hz) at
    // 44100 Hz. LFO1 uses it for its very first step only; the program load that follows the
    // engine's construction replaces LFO2's.
    static constexpr float initialIncrement = 0.0580499f;

    TableLfo();

    /** Copies shape type 1..4; any other number falls back to shape 1 ("Saw"). */
    void selectShape (int shapeType);

    /** Returns the value at the current phase, then advances the phase by the increment. */
    float step() noexcept
    {
        return stepOf (phase, increment, [this] (int i, float& sample, float& difference) {
            sample = points[(std::size_t) i].sample;
            difference = points[(std::size_t) i].difference;
        });
    }

    /** The step for one LFO or for lanes: readPoint (i, sample, difference) reads segment i. */
    template <typename T, typename ReadPoint>
    static T stepOf (T& phase, T increment, ReadPoint&& readPoint) noexcept
    {
        const auto i = segmentIndex (phase);
        const T f = phase - toFloat (i);
        T sample, difference;
        readPoint (i, sample, difference);
        const T value = sample + f * difference;

        phase = wrapPhase (phase + increment, (float) length);
        return value;
    }

    /** Each sample with the difference to the next, side by side. */
    const float* pointData() const noexcept { return &points[0].sample; }

    /** The stored shape in use, 0..3: LFOs with the same one hold the same points. */
    int shapeRow() const noexcept { return row; }

    float sample (int index) const noexcept { return points[(std::size_t) index].sample; }
    float difference (int index) const noexcept { return points[(std::size_t) index].difference; }

    float phase = 0.0f;                 // table positions, 0 <= phase < length
    float increment = initialIncrement; // table positions per step

private:
    // Each sample with the difference to the next, side by side: one step reads one place.
    struct Point
    {
        float sample, difference;
    };
    std::array<Point, length> points {};
    int row = 0;
};
} // namespace quane
