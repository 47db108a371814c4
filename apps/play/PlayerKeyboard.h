// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The on-screen keyboard: played by mouse and computer keys, lit by every note that sounds.
#pragma once

#include <bitset>
#include <juce_audio_utils/juce_audio_utils.h>

namespace quane::play
{
/** JUCE's keyboard, whose keys also show notes held from any other source (a MIDI keyboard, a
    sequencer), as the player's audio thread reports them. */
class PlayerKeyboard : public juce::MidiKeyboardComponent
{
public:
    PlayerKeyboard (juce::MidiKeyboardState& state, std::function<bool (int note)> isNoteHeld);

    /** Asks the player which notes are held and repaints when that changed. */
    void refreshHeldNotes();

private:
    void drawWhiteNote (int note, juce::Graphics& g, juce::Rectangle<float> area, bool isDown, bool isOver,
                        juce::Colour lineColour, juce::Colour textColour) override;
    void drawBlackNote (int note, juce::Graphics& g, juce::Rectangle<float> area, bool isDown, bool isOver,
                        juce::Colour fillColour) override;

    std::function<bool (int)> isNoteHeld;
    std::bitset<128> held;
};
} // namespace quane::play
