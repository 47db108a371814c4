// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers shared by the model tests: rendering a block through the model, counting voices.
#pragma once

#include "tests/common/MessageThread.h"

#include "plugin/MyPlugJuceFilter.h"

#include <vector>

namespace quane::test
{
/** Renders one replacing block of n samples with the given MIDI; returns left then right. */
std::vector<float> renderThroughModel (MyPlugJuceFilter& model, int numSamples, juce::MidiBuffer midi = {});

int activeVoiceCount (MyPlugJuceFilter& model);
} // namespace quane::test
