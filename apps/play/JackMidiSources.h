// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The Audio/MIDI dialog's part for JACK MIDI: every source, ticked when connected to the player.
#pragma once

#include "PlayerSession.h"

#include <juce_audio_utils/juce_audio_utils.h>

namespace quane::play
{
/** JUCE's device selector lists ALSA MIDI inputs only; beneath it, this lists the JACK MIDI
    sources with a tick each that connects them to the player's port, refreshed while shown. */
class JackMidiSources : public juce::Component, private juce::Timer
{
public:
    explicit JackMidiSources (PlayerSession& session);

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    void timerCallback() override;

    PlayerSession& session;
    juce::StringArray shownSources;
    juce::OwnedArray<juce::ToggleButton> toggles;
};

/** The Audio/MIDI dialog's content: JUCE's device selector above the JACK MIDI sources. */
std::unique_ptr<juce::Component> createDeviceSettings (PlayerSession& session);
} // namespace quane::play
