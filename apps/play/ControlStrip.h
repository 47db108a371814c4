// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The strip under the editor: programs, keyboard, wheels, meter, panic, presets, settings.
#pragma once

#include "LevelMeter.h"
#include "PlayerSession.h"

#include <juce_audio_utils/juce_audio_utils.h>

namespace quane::play
{
/** The player's own controls. Notes and wheel moves go to the audio thread through the MIDI
    collector; program, preset and device changes are made here, on the message thread. */
class ControlStrip : public juce::Component, private juce::Timer
{
public:
    explicit ControlStrip (PlayerSession& session);
    ~ControlStrip() override;

    static constexpr int preferredHeight = 150;

    /** Gives the on-screen keyboard the computer keyboard's keys. */
    void focusKeyboard();

    /** Shows a line in the status field in place of the device status for a while. */
    void showMessage (const juce::String& message);

    void paint (juce::Graphics& g) override;
    void resized() override;

private:
    void timerCallback() override;
    void shiftOctave (int delta);
    void sendWheel (const juce::MidiMessage& message);
    void choosePresetToLoad();
    void choosePresetToSave();
    void openDeviceSettings();

    PlayerSession& session;
    juce::MidiKeyboardState keyboardState;
    juce::MidiKeyboardComponent keyboard { keyboardState, juce::MidiKeyboardComponent::horizontalKeyboard };
    juce::ComboBox programs;
    juce::TextButton loadButton { "Load..." }, saveButton { "Save..." }, panicButton { "Panic" },
        settingsButton { "Audio/MIDI..." };
    juce::TextButton octaveDown { "<" }, octaveUp { ">" };
    juce::Label octaveLabel, status;
    juce::Slider pitchBend { juce::Slider::LinearVertical, juce::Slider::NoTextBox };
    juce::Slider modWheel { juce::Slider::LinearVertical, juce::Slider::NoTextBox };
    juce::Label pitchLabel { {}, "Bend" }, modLabel { {}, "Mod" };
    LevelMeter meter;
    std::unique_ptr<juce::FileChooser> chooser;
    juce::File presetFolder;
    int baseOctave = 5;
    juce::uint32 lastMeterTime = juce::Time::getMillisecondCounter(), messageUntil = 0;
};
} // namespace quane::play
