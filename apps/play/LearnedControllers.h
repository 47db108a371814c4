// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The list of learned controllers, each with a button that removes it.
#pragma once

#include "PlayerSession.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace quane::play
{
/** One row per assignment ("CC 74: Cutoff") with a remove button; shown in a call-out box. */
class LearnedControllers : public juce::Component
{
public:
    explicit LearnedControllers (PlayerSession& session);

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    void refill();

    PlayerSession& session;
    juce::OwnedArray<juce::Label> rows;
    juce::OwnedArray<juce::TextButton> removeButtons;
};
} // namespace quane::play
