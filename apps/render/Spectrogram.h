// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Short-time spectra of a render, for its picture.
#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

namespace quane::render
{
/** Magnitude spectra in dBFS of the mid signal (L+R)/2, one per column, taken with a Hann window
    of fftSize samples centred on evenly spaced points of the render. A full-scale sine reads 0 dB. */
class Spectrogram
{
public:
    static constexpr int fftOrder = 12;
    static constexpr int fftSize = 1 << fftOrder;

    Spectrogram (const juce::AudioBuffer<float>& audio, int numColumns);

    /** The strongest level (dBFS) between two frequencies in a column; bins narrower than the band
        are read at its centre with linear interpolation between neighbouring bins. */
    float levelDb (int column, double lowHz, double highHz, double sampleRate) const;

private:
    int numColumns;
    std::vector<float> levels; // numColumns x (fftSize / 2 + 1), dBFS
};
} // namespace quane::render
