// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the audio device and enabling MIDI inputs through JUCE's AudioDeviceManager.
#pragma once

#include "PlayOptions.h"

#include <juce_audio_devices/juce_audio_devices.h>

namespace quane::play
{
/** Opens the output device: the saved set-up when it is there and of the requested system
    ("JACK", "ALSA", or empty for any), else that system's default device.
    Throws ToolError (device) when no device opens, naming the reason. */
void openAudioDevice (juce::AudioDeviceManager& devices, const juce::XmlElement* savedState,
                      const juce::String& requestedType);

/** Enables the ALSA MIDI inputs whose name contains one of the wanted texts (any case); with no
    wanted text and no saved set-up, every input, so a keyboard plugged in plays at once.
    Answers the wanted texts that matched no input. */
juce::StringArray enableMidiInputs (juce::AudioDeviceManager& devices, const juce::StringArray& wanted,
                                    bool restoredFromSettings);

/** The device systems with their output devices, the ALSA MIDI inputs and the JACK MIDI sources
    (when a JACK server runs), for --list-devices. */
juce::String describeDevices (juce::AudioDeviceManager& devices);

/** What plays now: "JACK system, 48000 Hz, 256 frames". */
juce::String describeCurrentDevice (juce::AudioDeviceManager& devices);

/** Samples from a MIDI message's arrival to its sound leaving the device: one block in which the
    collector gathers messages, plus the device's output latency. */
int roundTripLatencySamples (juce::AudioIODevice& device);
} // namespace quane::play
