// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing the render picture with JUCE graphics: title, two waveform lanes, spectrogram, axes.
#include "RenderPicture.h"

#include "RenderOptions.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace quane::render
{
namespace
{
constexpr int pictureWidth = 1400, pictureHeight = 900;
const juce::Rectangle<int> leftLane { 90, 92, 1200, 130 };
const juce::Rectangle<int> rightLane { 90, 236, 1200, 130 };
const juce::Rectangle<int> spectrumArea { 90, 392, 1200, 440 };
constexpr double lowestHz = 20.0, highestHz = 20000.0;
constexpr float topDb = 0.0f, bottomDb = -100.0f;

const juce::Colour background (0xff14161b), panel (0xff1d2027), grid (0x30ffffff), text (0xffd8dce4),
    dimText (0xff8d94a3);
const juce::Colour leftColour (0xff4fc3e8), rightColour (0xfff0a04b), clipColour (0xffff3b3b);

/** Magma-like map from 0 (quiet) to 1 (loud): dark, violet, red, orange, pale yellow. */
juce::Colour heatColour (float level)
{
    static const juce::Colour stops[] = { juce::Colour (0xff000004), juce::Colour (0xff2c115f),
                                          juce::Colour (0xff721f81), juce::Colour (0xffb73779),
                                          juce::Colour (0xfff1605d), juce::Colour (0xfffeb078),
                                          juce::Colour (0xfffcfdbf) };
    constexpr int last = (int) std::size (stops) - 1;
    const auto position = juce::jlimit (0.0f, 1.0f, level) * (float) last;
    const auto index = juce::jmin ((int) position, last - 1);
    return stops[index].interpolatedWith (stops[index + 1], position - (float) index);
}

double niceTimeStep (double seconds)
{
    for (auto step : { 0.05, 0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0, 15.0, 30.0, 60.0, 120.0, 300.0 })
        if (seconds / step <= 14.0)
            return step;
    return 600.0;
}

float yForHz (double hz, double topHz)
{
    const auto area = spectrumArea.toFloat();
    const auto proportion = std::log (hz / lowestHz) / std::log (topHz / lowestHz);
    return area.getBottom() - (float) proportion * area.getHeight();
}

void drawLane (juce::Graphics& g, const WaveformColumns& columns, juce::Rectangle<int> lane, juce::Colour colour,
               const juce::String& name)
{
    g.setColour (panel);
    g.fillRect (lane);
    const auto centre = (float) lane.getCentreY(), halfHeight = lane.getHeight() * 0.5f - 2.0f;

    g.setColour (grid);
    for (auto amount : { -0.5f, 0.0f, 0.5f })
        g.drawHorizontalLine (juce::roundToInt (centre - amount * halfHeight), (float) lane.getX(),
                              (float) lane.getRight());

    // Per pixel column: the sample range as a faint band, the RMS as the solid core.
    jassert (columns.size() == lane.getWidth());
    for (int x = 0; x < lane.getWidth(); ++x)
    {
        const auto [low, high, rms] = columns.column (x);
        if (high < low)
            continue;
        const auto px = (float) (lane.getX() + x);
        g.setColour (colour.withAlpha (0.45f));
        g.drawVerticalLine ((int) px, centre - juce::jlimit (-1.0f, 1.0f, high) * halfHeight,
                            centre - juce::jlimit (-1.0f, 1.0f, low) * halfHeight + 1.0f);
        g.setColour (colour);
        g.drawVerticalLine ((int) px, centre - juce::jmin (1.0f, rms) * halfHeight,
                            centre + juce::jmin (1.0f, rms) * halfHeight + 1.0f);

        // Samples beyond full scale (kept by the float file, clipped by a 24-bit one) are marked.
        g.setColour (clipColour);
        if (high > 1.0f)
            g.drawVerticalLine ((int) px, (float) lane.getY(), (float) lane.getY() + 4.0f);
        if (low < -1.0f)
            g.drawVerticalLine ((int) px, (float) lane.getBottom() - 4.0f, (float) lane.getBottom());
    }

    g.setColour (text);
    g.setFont (juce::Font (18.0f, juce::Font::bold));
    g.drawText (name, lane.getX() - 80, lane.getY(), 34, lane.getHeight(), juce::Justification::centred);
    g.setColour (dimText);
    g.setFont (juce::Font (12.0f));
    for (auto [amount, label] : { std::pair { 1.0f, "+1" }, std::pair { 0.0f, "0" }, std::pair { -1.0f, "-1" } })
        g.drawText (label, lane.getX() - 40, juce::roundToInt (centre - amount * halfHeight) - 7, 34, 14,
                    juce::Justification::centredRight);
}

void drawSpectrogram (juce::Graphics& g, const Spectrogram& spectrogram, const RenderResult& render)
{
    const auto topHz = juce::jmin (highestHz, render.sampleRate * 0.5);

    juce::Image heat (juce::Image::RGB, spectrumArea.getWidth(), spectrumArea.getHeight(), false);
    for (int y = 0; y < heat.getHeight(); ++y)
    {
        // Row y covers the band between its two edges on the logarithmic frequency axis.
        auto hzAt = [&] (double row) { return lowestHz * std::pow (topHz / lowestHz, 1.0 - row / heat.getHeight()); };
        const auto highHz = hzAt (y), lowHz = hzAt (y + 1);
        for (int x = 0; x < heat.getWidth(); ++x)
        {
            const auto db = spectrogram.levelDb (x, lowHz, highHz, render.sampleRate);
            heat.setPixelAt (x, y, heatColour ((db - bottomDb) / (topDb - bottomDb)));
        }
    }
    g.drawImageAt (heat, spectrumArea.getX(), spectrumArea.getY());

    g.setFont (juce::Font (12.0f));
    for (auto hz : { 20.0, 50.0, 100.0, 200.0, 500.0, 1000.0, 2000.0, 5000.0, 10000.0, 20000.0 })
    {
        if (hz > topHz)
            break;
        const auto y = yForHz (hz, topHz);
        g.setColour (grid);
        g.drawHorizontalLine (juce::roundToInt (y), (float) spectrumArea.getX(), (float) spectrumArea.getRight());
        g.setColour (dimText);
        const auto label = hz >= 1000.0 ? juce::String (hz / 1000.0, 0) + "k" : juce::String ((int) hz);
        g.drawText (label, spectrumArea.getX() - 48, juce::roundToInt (y) - 7, 42, 14,
                    juce::Justification::centredRight);
    }

    juce::Graphics::ScopedSaveState unrotated (g);
    g.setColour (text);
    g.addTransform (juce::AffineTransform::rotation (-juce::MathConstants<float>::halfPi, 22.0f,
                                                     (float) spectrumArea.getCentreY()));
    g.drawText ("frequency (Hz)", -78, spectrumArea.getCentreY() - 8, 200, 16, juce::Justification::centred);
}

void drawTimeAxis (juce::Graphics& g, double seconds)
{
    const auto step = niceTimeStep (seconds);
    g.setFont (juce::Font (12.0f));
    for (double t = 0.0; t <= seconds + 1.0e-9; t += step)
    {
        const auto x = (float) spectrumArea.getX() + (float) (t / seconds) * spectrumArea.getWidth();
        g.setColour (grid);
        for (auto area : { leftLane, rightLane, spectrumArea })
            g.drawVerticalLine (juce::roundToInt (x), (float) area.getY(), (float) area.getBottom());
        g.setColour (dimText);
        g.drawText (juce::String (t, step < 1.0 ? 2 : 0), juce::roundToInt (x) - 30, spectrumArea.getBottom() + 4, 60,
                    14, juce::Justification::centred);
    }
    g.setColour (text);
    g.drawText ("time (s)", spectrumArea.getX(), spectrumArea.getBottom() + 24, spectrumArea.getWidth(), 16,
                juce::Justification::centred);
}

void drawColourBar (juce::Graphics& g)
{
    const juce::Rectangle<int> bar (spectrumArea.getRight() + 22, spectrumArea.getY(), 18, spectrumArea.getHeight());
    for (int y = 0; y < bar.getHeight(); ++y)
    {
        g.setColour (heatColour (1.0f - (float) y / (float) (bar.getHeight() - 1)));
        g.drawHorizontalLine (bar.getY() + y, (float) bar.getX(), (float) bar.getRight());
    }
    g.setFont (juce::Font (12.0f));
    g.setColour (dimText);
    for (auto db = topDb; db >= bottomDb; db -= 20.0f)
    {
        const auto y = bar.getY() + juce::roundToInt ((topDb - db) / (topDb - bottomDb) * (bar.getHeight() - 1));
        g.drawText (juce::String ((int) db), bar.getRight() + 4, y - 7, 40, 14, juce::Justification::centredLeft);
    }
    g.drawText ("dBFS", bar.getX() - 8, bar.getBottom() + 4, 60, 14, juce::Justification::centredLeft);
}

void drawTitle (juce::Graphics& g, const RenderResult& render, const PictureLabels& labels)
{
    const auto seconds = render.seconds();
    const auto& left = render.levels[0];
    const auto& right = render.levels[1];

    g.setColour (text);
    g.setFont (juce::Font (28.0f, juce::Font::bold));
    g.drawText ("Quane  " + labels.programLabel, 24, 14, 900, 34, juce::Justification::centredLeft);
    g.setColour (dimText);
    g.setFont (juce::Font (15.0f));
    g.drawText (labels.audioFileName + "   |   " + labels.sourceName + ", " + juce::String (render.sampleRate, 0)
                    + " Hz, " + juce::String (seconds, 2) + " s   |   peak L " + juce::String (left.peakDb, 1) + " / R "
                    + juce::String (right.peakDb, 1) + " dBFS,  RMS L " + juce::String (left.rmsDb, 1) + " / R "
                    + juce::String (right.rmsDb, 1) + " dBFS",
                24, 50, pictureWidth - 48, 22, juce::Justification::centredLeft);
}
} // namespace

RenderPicture::RenderPicture (juce::int64 numSamples)
    : lanes { { numSamples, leftLane.getWidth() }, { numSamples, rightLane.getWidth() } },
      spectrogram (numSamples, spectrumArea.getWidth())
{
}

void RenderPicture::addBlock (const float* left, const float* right, int numSamples)
{
    lanes[0].add (left, numSamples);
    lanes[1].add (right, numSamples);
    spectrogram.addBlock (left, right, numSamples);
}

void RenderPicture::write (const juce::File& pngFile, const RenderResult& render, const PictureLabels& labels)
{
    spectrogram.finish();

    juce::Image picture (juce::Image::RGB, pictureWidth, pictureHeight, true);
    {
        juce::Graphics g (picture);
        g.fillAll (background);
        drawTitle (g, render, labels);
        drawLane (g, lanes[0], leftLane, leftColour, "L");
        drawLane (g, lanes[1], rightLane, rightColour, "R");
        drawSpectrogram (g, spectrogram, render);
        drawTimeAxis (g, render.seconds()); // its grid lies over the lanes and the heat
        drawColourBar (g);
    }

    juce::MemoryOutputStream png;
    if (! juce::PNGImageFormat().writeImageToStream (picture, png))
        fail (ToolError::Kind::output, "cannot encode the picture " + pngFile.getFullPathName());
    writeBytes (pngFile, png.getMemoryBlock());
}
} // namespace quane::render
