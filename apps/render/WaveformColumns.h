// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// One channel of a render summarised per pixel column as it streams past, for the waveform lanes.
#pragma once

#include <juce_core/juce_core.h>

#include <vector>

namespace quane::render
{
/** The lowest and highest sample and the RMS of the samples under each pixel column. Column x
    covers samples x * n / w up to (x + 1) * n / w, and at least one, so with fewer samples than
    columns neighbours share samples. Samples come in order; the summary's size is fixed by the
    number of columns, whatever the length. */
class WaveformColumns
{
public:
    WaveformColumns (juce::int64 numSamples, int numColumns);

    void add (const float* samples, int count);

    struct Column
    {
        float low = 1.0f, high = -1.0f; // high below low: no sample
        float rms = 0.0f;
    };
    Column column (int x) const;
    int size() const noexcept { return (int) columns.size(); }

private:
    struct Range
    {
        juce::int64 begin, end;
        float low = 1.0f, high = -1.0f, sumOfSquares = 0.0f;
    };
    std::vector<Range> columns;
    juce::int64 samplesSeen = 0;
    size_t firstOpen = 0; // the first column not yet past
};
} // namespace quane::render
