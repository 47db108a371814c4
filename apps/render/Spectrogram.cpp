// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A radix-2 FFT and the short-time spectra it gives, taken as the render streams past.
#include "Spectrogram.h"

#include <complex>

namespace quane::render
{
namespace
{
constexpr int numBins = Spectrogram::fftSize / 2 + 1;
constexpr float floorDb = -160.0f;

/** In-place iterative radix-2 FFT; the size is a power of two. */
void transform (std::vector<std::complex<float>>& data)
{
    const auto size = data.size();
    for (size_t i = 1, j = 0; i < size; ++i)
    {
        auto bit = size >> 1;
        for (; (j & bit) != 0; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap (data[i], data[j]);
    }

    for (size_t length = 2; length <= size; length <<= 1)
    {
        const auto angle = -2.0 * juce::MathConstants<double>::pi / (double) length;
        const std::complex<float> step ((float) std::cos (angle), (float) std::sin (angle));
        for (size_t start = 0; start < size; start += length)
        {
            std::complex<float> twiddle (1.0f, 0.0f);
            for (size_t k = 0; k < length / 2; ++k)
            {
                const auto even = data[start + k];
                const auto odd = data[start + k + length / 2] * twiddle;
                data[start + k] = even + odd;
                data[start + k + length / 2] = even - odd;
                twiddle *= step;
            }
        }
    }
}
} // namespace

Spectrogram::Spectrogram (juce::int64 numSamples, int columns)
    : totalSamples (numSamples),
      numColumns (columns),
      levels ((size_t) (columns * numBins), floorDb),
      window (fftSize),
      recentMid (fftSize, 0.0f)
{
    float windowSum = 0.0f;
    for (int i = 0; i < fftSize; ++i)
    {
        window[(size_t) i] = 0.5f
                             - 0.5f * std::cos (2.0f * juce::MathConstants<float>::pi * (float) i / (float) fftSize);
        windowSum += window[(size_t) i];
    }
    // A full-scale sine gives a bin magnitude of windowSum / 2.
    fullScale = windowSum * 0.5f;
    nextWindowEnd = centreOf (0) + fftSize / 2;
}

juce::int64 Spectrogram::centreOf (int column) const noexcept
{
    return (juce::int64) (((double) column + 0.5) / numColumns * (double) totalSamples);
}

void Spectrogram::addBlock (const float* left, const float* right, int numSamples)
{
    for (int i = 0; i < numSamples; ++i)
    {
        recentMid[(size_t) (samplesSeen % fftSize)] = 0.5f * (left[i] + right[i]);
        ++samplesSeen;
        // The next sample would overwrite the start of a window that has just passed.
        while (nextColumn < numColumns && nextWindowEnd <= samplesSeen)
            takeNextColumn();
    }
}

void Spectrogram::finish()
{
    while (nextColumn < numColumns)
        takeNextColumn();
}

void Spectrogram::takeNextColumn()
{
    takeColumn (nextColumn++);
    nextWindowEnd = centreOf (nextColumn) + fftSize / 2;
}

void Spectrogram::takeColumn (int column)
{
    std::vector<std::complex<float>> data (fftSize);
    const auto firstSample = centreOf (column) - fftSize / 2;
    for (int i = 0; i < fftSize; ++i)
    {
        const auto n = firstSample + i;
        const auto mid = n >= 0 && n < samplesSeen ? recentMid[(size_t) (n % fftSize)] : 0.0f;
        data[(size_t) i] = { mid * window[(size_t) i], 0.0f };
    }
    transform (data);

    auto* out = levels.data() + (size_t) column * numBins;
    for (int bin = 0; bin < numBins; ++bin)
        out[bin] = juce::Decibels::gainToDecibels (std::abs (data[(size_t) bin]) / fullScale, floorDb);
}

float Spectrogram::levelDb (int column, double lowHz, double highHz, double sampleRate) const
{
    const auto* spectrum = levels.data() + (size_t) column * numBins;
    const auto binHz = sampleRate / fftSize;
    const auto lowBin = lowHz / binHz, highBin = highHz / binHz;

    if (std::floor (highBin) - std::ceil (lowBin) < 1.0)
    {
        const auto position = juce::jlimit (0.0, (double) (numBins - 1), 0.5 * (lowBin + highBin));
        const auto below = juce::jmin ((int) position, numBins - 2);
        const auto fraction = (float) (position - below);
        return spectrum[below] + fraction * (spectrum[below + 1] - spectrum[below]);
    }

    auto strongest = floorDb;
    for (auto bin = (int) std::ceil (lowBin); bin <= juce::jmin ((int) highBin, numBins - 1); ++bin)
        strongest = juce::jmax (strongest, spectrum[bin]);
    return strongest;
}
} // namespace quane::render
