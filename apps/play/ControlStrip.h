// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The strip under the editor: programs, keyboard, wheels, meter, panic, presets, settings.
#pragma once

#include "LevelMeter.h"
#include "PlayerKeyboard.h"
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

    /** Says plainly that nothing plays yet and opens the device dialog. */
    void offerDeviceSettings();

    void paint (juce::Graphics& g) override;
    bool keyPressed (const juce::KeyPress& key) override;
    void resized() override;

private:
    void timerCallback() override;
    void shiftOctave (int delta);
    void showKeyOctave();
    void sendWheel (const juce::MidiMessage& message);
    void rebuildSoundMenu();
    void showCurrentSound();
    void stepSound (int delta);
    void pickSound (int index);
    /** Runs the switch at once, or after asking to keep (save), drop or stay when edited. */
    void leaveSoundThen (std::function<void()> switchSound);
    void choosePresetToLoad();
    void choosePresetToSave();
    void askNameToSaveAs();
    void openDeviceSettings();
    void toggleLearning();
    void followLearning();

    PlayerSession& session;
    juce::MidiKeyboardState keyboardState;
    PlayerKeyboard keyboard;
    juce::ComboBox programs;
    juce::TextButton previousButton { "Prev" }, nextButton { "Next" }, loadButton { "Load..." },
        saveButton { "Save..." }, saveAsButton { "Save as..." }, panicButton { "Panic" },
        settingsButton { "Audio/MIDI..." };
    juce::TextButton octaveDown { "<" }, octaveUp { ">" };
    juce::TextButton learnButton { "Learn" }, controllersButton { "Controllers..." };
    bool wasLearning = false;
    juce::Label octaveLabel, status, editedMark { {}, "*" };
    juce::Slider pitchBend { juce::Slider::LinearVertical, juce::Slider::NoTextBox };
    juce::Slider modWheel { juce::Slider::LinearVertical, juce::Slider::NoTextBox };
    juce::Label pitchLabel { {}, "Bend" }, modLabel { {}, "Mod" };
    LevelMeter meter;
    std::unique_ptr<juce::FileChooser> chooser;
    juce::File presetFolder;
    int baseOctave;
    juce::uint32 lastMeterTime = juce::Time::getMillisecondCounter(), messageUntil = 0;
};
} // namespace quane::play
