// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Short-time spectra of a render, taken as it streams past, for its picture.
#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

namespace quane::render
{
/** Magnitude spectra in dBFS of the mid signal (L+R)/2, one per column, taken with a Hann window
    of fftSize samples centred on evenly spaced points of the render. A full-scale sine reads 0 dB.
    The samples come in order through addBlock; each column is taken as soon as its window has
    passed, so only the last fftSize samples are kept. finish() takes the columns whose windows
    reach past the end, where the signal counts as silence. */
class Spectrogram
{
public:
    static constexpr int fftOrder = 12;
    static constexpr int fftSize = 1 << fftOrder;

    Spectrogram (juce::int64 numSamples, int numColumns);

    void addBlock (const float* left, const float* right, int numSamples);
    void finish();

    /** The strongest level (dBFS) between two frequencies in a column; bins narrower than the band
        are read at its centre with linear interpolation between neighbouring bins. */
    float levelDb (int column, double lowHz, double highHz, double sampleRate) const;

private:
    juce::int64 centreOf (int column) const noexcept;
    void takeNextColumn();
    void takeColumn (int column);

    juce::int64 totalSamples;
    int numColumns;
    std::vector<float> levels; // numColumns x (fftSize / 2 + 1), dBFS
    std::vector<float> window;
    float fullScale;
    std::vector<float> recentMid; // the last fftSize samples, at their index modulo fftSize
    juce::int64 samplesSeen = 0;
    int nextColumn = 0;
    juce::int64 nextWindowEnd = 0; // the samples seen when the next column's window has passed
};
} // namespace quane::render
