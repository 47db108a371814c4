// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The phrase of the golden renders, for every test that plays it.
#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <vector>

namespace quane::test
{
constexpr int goldenPhraseLength = 44100; // samples, at every rate: the events end before 23100

struct TimedEvent
{
    int at; // sample position from the start of the phrase
    juce::MidiMessage message;
};

/** A chord, a fourth note, a mod-wheel sweep, a pitch bend up and back, then every note released
    with half a second of release tail. Events fall inside blocks, not on their edges. */
std::vector<TimedEvent> goldenPhrase();

/** The events of the phrase within [start, start + length), at positions relative to start. */
juce::MidiBuffer goldenPhraseBlock (const std::vector<TimedEvent>& events, int start, int length);
} // namespace quane::test
