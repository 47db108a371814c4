// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The output level meter of the player's strip.
#pragma once

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_gui_basics/juce_gui_basics.h>

namespace quane::play
{
/** Two bars (left, right) on a dB scale from -60 to +6 dBFS, falling back at 20 dB a second,
    red above 0 dBFS. Its owner feeds it the block peaks it collects from the audio thread. */
class LevelMeter : public juce::Component
{
public:
    /** Takes this period's peak magnitudes; the bars rise at once and fall slowly. */
    void showPeaks (std::array<float, 2> peaks, double secondsSinceLast);

    void paint (juce::Graphics& g) override;

private:
    std::array<float, 2> shownDb { minimumDb, minimumDb };
    static constexpr float minimumDb = -60.0f, maximumDb = 6.0f, fallDbPerSecond = 20.0f;
};
} // namespace quane::play
