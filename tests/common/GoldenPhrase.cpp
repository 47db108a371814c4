// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The phrase of the golden renders, for every test that plays it.
#include "tests/common/GoldenPhrase.h"

#include <algorithm>

namespace quane::test
{
std::vector<TimedEvent> goldenPhrase()
{
    std::vector<TimedEvent> events {
        { 17, juce::MidiMessage::noteOn (1, 60, (juce::uint8) 100) },
        { 17, juce::MidiMessage::noteOn (1, 64, (juce::uint8) 90) },
        { 40, juce::MidiMessage::noteOn (1, 67, (juce::uint8) 80) },
        { 5003, juce::MidiMessage::noteOn (2, 72, (juce::uint8) 127) },
        { 14000, juce::MidiMessage::pitchWheel (1, 8192 + 3000) },
        { 18500, juce::MidiMessage::pitchWheel (1, 8192 - 5000) },
        { 21000, juce::MidiMessage::pitchWheel (1, 8192) },
        { 22050, juce::MidiMessage::noteOff (1, 60) },
        { 22050, juce::MidiMessage::noteOff (1, 64) },
        { 22100, juce::MidiMessage::noteOff (1, 67) },
        { 23000, juce::MidiMessage::noteOff (2, 72) },
    };
    for (int step = 0; step <= 12; ++step)
        events.push_back ({ 8000 + 500 * step, juce::MidiMessage::controllerEvent (1, 1, std::min (127, step * 11)) });
    return events;
}

juce::MidiBuffer goldenPhraseBlock (const std::vector<TimedEvent>& events, int start, int length)
{
    juce::MidiBuffer midi;
    for (const auto& event : events)
        if (event.at >= start && event.at < start + length)
            midi.addEvent (event.message, event.at - start);
    return midi;
}
} // namespace quane::test
