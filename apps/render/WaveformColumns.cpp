// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// One channel of a render summarised per pixel column as it streams past, for the waveform lanes.
#include "WaveformColumns.h"

namespace quane::render
{
WaveformColumns::WaveformColumns (juce::int64 numSamples, int numColumns)
{
    for (juce::int64 x = 0; x < numColumns; ++x)
    {
        const auto begin = x * numSamples / numColumns;
        columns.push_back ({ begin, juce::jmax (begin + 1, (x + 1) * numSamples / numColumns) });
    }
}

void WaveformColumns::add (const float* samples, int count)
{
    for (int i = 0; i < count; ++i, ++samplesSeen)
    {
        while (firstOpen < columns.size() && columns[firstOpen].end <= samplesSeen)
            ++firstOpen;
        for (auto x = firstOpen; x < columns.size() && columns[x].begin <= samplesSeen; ++x)
        {
            auto& column = columns[x];
            column.low = juce::jmin (column.low, samples[i]);
            column.high = juce::jmax (column.high, samples[i]);
            column.sumOfSquares += samples[i] * samples[i];
        }
    }
}

WaveformColumns::Column WaveformColumns::column (int x) const
{
    const auto& range = columns[(size_t) x];
    return { range.low, range.high, std::sqrt (range.sumOfSquares / (float) (range.end - range.begin)) };
}
} // namespace quane::render
