// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// One run of the player: settings, the module and its instance, the audio device and MIDI.
#pragma once

#include "EffectPlayer.h"
#include "JackMidiInput.h"
#include "MidiLearn.h"
#include "PlayOptions.h"
#include "PlayerSettings.h"
#include "SoundLibrary.h"

namespace quane::play
{
/** Everything that plays, with or without a window. Construction loads the module, restores
    the last state (then --program and --load on top), opens the audio device and the MIDI
    inputs; destruction stores the set-up and the instrument's state and closes it all, the
    device before the instance. Lives on the message thread, which is the module's too. */
class PlayerSession : private juce::ChangeListener
{
public:
    /** Throws ToolError: module (2), preset file (3), MIDI input name (1), audio device (6; with
        a window the session starts without one instead, see getDeviceProblem()). */
    explicit PlayerSession (const PlayOptions& options);
    ~PlayerSession() override;

    hostkit::HostedEffect& getEffect() noexcept { return *effect; }
    EffectPlayer& getPlayer() noexcept { return *player; }
    juce::AudioDeviceManager& getDevices() noexcept { return devices; }
    PlayerSettings& getSettings() noexcept { return settings; }

    /** The module's program number (effGetProgram). */
    int getProgram();

    /** The sounds of the program menu: the factory programs, then the user's own. */
    juce::StringArray getSoundNames();
    int getFactoryCount() const noexcept { return effect->getNumPrograms(); }
    /** The current sound's place among them, or -1 for a file from elsewhere. */
    int getSoundIndex() const noexcept { return soundIndex; }
    /** The current sound's name: what the menu shows and the next save writes. */
    const juce::String& getSoundName() const noexcept { return soundName; }
    /** Whether the current sound was edited in the module's editor since it was chosen, loaded
        or saved. */
    bool isEdited();
    /** Throws ToolError when one of the user's sounds cannot be loaded. */
    void selectSound (int index);

    SoundLibrary& getLibrary() noexcept { return *library; }

    MidiLearn& getLearn() noexcept { return learn; }
    /** Removes a controller's assignment and stores the rest. */
    void forgetController (int controller);
    /** Saves the current sound under this name in the user's folder; it becomes the current
        sound. Throws ToolError when it cannot be written. */
    void saveSound (const juce::String& name);

    /** Carries out what came in over MIDI for the message thread (a program change, learned
        controllers, learning) and
        follows a program picked in the module itself. Called on a timer, with or without a
        window. */
    void followMidiRequests();

    /** Throw ToolError with a message for the user when the file cannot be read or written;
        loading also throws (input) when the module did not take the state the file holds. A
        loaded file's sound is named as the file names it (a bank: by the file's name); a
        saved file is always a program file (.fxp) holding the current sound's name. */
    void loadPreset (const juce::File& file);
    void savePreset (const juce::File& file);

    /** Note-offs for every channel (controller 123), as a panic button sends them. */
    void sendAllNotesOff();

    /** Device, round-trip latency, CPU load and held notes in one line. */
    juce::String getStatusLine();

    /** The player's JACK MIDI port while it runs on JACK, else null. */
    JackMidiInput* getJackMidi() noexcept { return jackMidi.get(); }

    /** The JACK MIDI port's name while the player runs on JACK, else empty. */
    juce::String getJackMidiPortName() const;

    /** Why no audio device opened at the start, else empty. */
    const juce::String& getDeviceProblem() const noexcept { return deviceProblem; }

    /** Stores the device set-up and the instrument's state in the settings file. */
    void saveSettings();

private:
    void changeListenerCallback (juce::ChangeBroadcaster*) override;
    void followDeviceSystem();
    void setCurrentSound (int index, const juce::String& name);
    void followControllers();
    void storeLearnedControllers();

    PlayerSettings settings;
    std::unique_ptr<hostkit::LoadedModule> module;
    std::unique_ptr<hostkit::HostedEffect> effect;
    std::unique_ptr<EffectPlayer> player;
    juce::AudioDeviceManager devices;
    std::unique_ptr<JackMidiInput> jackMidi;
    juce::StringArray wantedMidiInputs;
    juce::String deviceProblem;
    std::unique_ptr<SoundLibrary> library;
    juce::String soundName;
    int soundIndex = 0, lastProgram = 0;
    std::vector<unsigned char> chosenState;
    bool edited = false, mayBeEdited = false;
    MidiLearn learn;
};
} // namespace quane::play
