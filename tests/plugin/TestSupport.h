// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the model tests: the message thread and rendering a block through the model.
#pragma once

#include "plugin/MyPlugJuceFilter.h"

#include <vector>

namespace quane::test
{
/** Runs messages on this (the message) thread until none is ready, for at least minimumMs. */
void pumpMessages (int minimumMs = 20);

/** Renders one replacing block of n samples with the given MIDI; returns left then right. */
std::vector<float> renderThroughModel (MyPlugJuceFilter& model, int numSamples, juce::MidiBuffer midi = {});

int activeVoiceCount (MyPlugJuceFilter& model);
} // namespace quane::test
