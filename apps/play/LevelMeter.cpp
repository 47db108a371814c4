// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The output level meter of the player's strip.
#include "LevelMeter.h"

namespace quane::play
{
void LevelMeter::showPeaks (std::array<float, 2> peaks, double secondsSinceLast)
{
    for (size_t channel = 0; channel < peaks.size(); ++channel)
    {
        const auto peakDb = juce::jlimit (minimumDb, maximumDb,
                                          juce::Decibels::gainToDecibels (peaks[channel], minimumDb));
        const auto fallen = shownDb[channel] - (float) (fallDbPerSecond * secondsSinceLast);
        shownDb[channel] = juce::jmax (peakDb, fallen, minimumDb);
    }
    repaint();
}

void LevelMeter::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colour (0xff1c1c1c));
    const auto bounds = getLocalBounds().reduced (2);
    const auto barHeight = bounds.getHeight() / 2 - 1;
    const auto proportionOf = [] (float db) { return (db - minimumDb) / (maximumDb - minimumDb); };
    const auto zeroX = bounds.getX() + juce::roundToInt (proportionOf (0.0f) * (float) bounds.getWidth());

    for (size_t channel = 0; channel < shownDb.size(); ++channel)
    {
        const auto y = bounds.getY() + (int) channel * (barHeight + 2);
        const auto width = juce::roundToInt (proportionOf (shownDb[channel]) * (float) bounds.getWidth());
        g.setColour (juce::Colour (0xff3fbf5f));
        g.fillRect (bounds.getX(), y, juce::jmin (width, zeroX - bounds.getX()), barHeight);
        if (bounds.getX() + width > zeroX)
        {
            g.setColour (juce::Colours::red);
            g.fillRect (zeroX, y, bounds.getX() + width - zeroX, barHeight);
        }
    }
    g.setColour (juce::Colours::white.withAlpha (0.6f));
    g.drawVerticalLine (zeroX, (float) bounds.getY(), (float) bounds.getBottom());
}
} // namespace quane::play
