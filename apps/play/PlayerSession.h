// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// One run of the player: settings, the module and its instance, the audio device and MIDI.
#pragma once

#include "EffectPlayer.h"
#include "JackMidiInput.h"
#include "PlayOptions.h"
#include "PlayerSettings.h"

namespace quane::play
{
/** Everything that plays, with or without a window. Construction loads the module, restores
    the last state (then --program and --load on top), opens the audio device and the MIDI
    inputs; destruction stores the set-up and the instrument's state and closes it all, the
    device before the instance. Lives on the message thread, which is the module's too. */
class PlayerSession : private juce::ChangeListener
{
public:
    /** Throws ToolError: module (2), preset file (3), MIDI input name (1), audio device (6). */
    explicit PlayerSession (const PlayOptions& options);
    ~PlayerSession() override;

    hostkit::HostedEffect& getEffect() noexcept { return *effect; }
    EffectPlayer& getPlayer() noexcept { return *player; }
    juce::AudioDeviceManager& getDevices() noexcept { return devices; }
    PlayerSettings& getSettings() noexcept { return settings; }

    int getProgram();
    juce::StringArray getProgramNames();
    void selectProgram (int number);

    /** Carries out what came in over MIDI for the message thread: a program change. Called
        on a timer, with or without a window. */
    void followMidiRequests();

    /** Throw ToolError with a message for the user when the file cannot be read or written;
        loading also throws (input) when the module did not take the state the file holds. */
    void loadPreset (const juce::File& file);
    void savePreset (const juce::File& file);

    /** Note-offs for every channel (controller 123), as a panic button sends them. */
    void sendAllNotesOff();

    /** Device, round-trip latency, CPU load and held notes in one line. */
    juce::String getStatusLine();

    /** The JACK MIDI port's name while the player runs on JACK, else empty. */
    juce::String getJackMidiPortName() const;

    /** Stores the device set-up and the instrument's state in the settings file. */
    void saveSettings();

private:
    void changeListenerCallback (juce::ChangeBroadcaster*) override;
    void followDeviceSystem();

    PlayerSettings settings;
    std::unique_ptr<hostkit::LoadedModule> module;
    std::unique_ptr<hostkit::HostedEffect> effect;
    std::unique_ptr<EffectPlayer> player;
    juce::AudioDeviceManager devices;
    std::unique_ptr<JackMidiInput> jackMidi;
    juce::StringArray wantedMidiInputs;
};
} // namespace quane::play
