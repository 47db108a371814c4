// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
#include "PlayerKeyboard.h"

namespace quane::play
{
PlayerKeyboard::PlayerKeyboard (juce::MidiKeyboardState& state, std::function<bool (int)> heldNotes)
    : juce::MidiKeyboardComponent (state, horizontalKeyboard), isNoteHeld (std::move (heldNotes))
{
}

void PlayerKeyboard::refreshHeldNotes()
{
    std::bitset<128> now;
    for (int note = 0; note < 128; ++note)
        now[(size_t) note] = isNoteHeld (note);
    if (now != held)
    {
        held = now;
        repaint();
    }
}

void PlayerKeyboard::drawWhiteNote (int note, juce::Graphics& g, juce::Rectangle<float> area, bool isDown, bool isOver,
                                    juce::Colour lineColour, juce::Colour textColour)
{
    juce::MidiKeyboardComponent::drawWhiteNote (note, g, area, isDown || held[(size_t) note], isOver, lineColour,
                                                textColour);
}

void PlayerKeyboard::drawBlackNote (int note, juce::Graphics& g, juce::Rectangle<float> area, bool isDown, bool isOver,
                                    juce::Colour fillColour)
{
    juce::MidiKeyboardComponent::drawBlackNote (note, g, area, isDown || held[(size_t) note], isOver, fillColour);
}
} // namespace quane::play
