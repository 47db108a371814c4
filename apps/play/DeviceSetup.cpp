// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Opening the audio device and enabling MIDI inputs through JUCE's AudioDeviceManager.
#include "DeviceSetup.h"

#include "JackMidiInput.h"

namespace quane::play
{
namespace
{
constexpr int outputChannels = 2;

juce::AudioIODeviceType* findType (juce::AudioDeviceManager& devices, const juce::String& name)
{
    for (auto* type : devices.getAvailableDeviceTypes())
        if (type->getTypeName().equalsIgnoreCase (name))
            return type;
    return nullptr;
}

/** A set-up naming only the system and its default output device. */
std::unique_ptr<juce::XmlElement> defaultSetupOf (juce::AudioIODeviceType& type)
{
    type.scanForDevices();
    const auto outputs = type.getDeviceNames (false);
    auto setup = std::make_unique<juce::XmlElement> ("DEVICESETUP");
    setup->setAttribute ("deviceType", type.getTypeName());
    if (! outputs.isEmpty())
        setup->setAttribute ("audioOutputDeviceName", outputs[juce::jmax (0, type.getDefaultDeviceIndex (false))]);
    return setup;
}
} // namespace

void openAudioDevice (juce::AudioDeviceManager& devices, const juce::XmlElement* savedState,
                      const juce::String& requestedType)
{
    juce::String error;
    const auto opens = [&] (const juce::XmlElement* setup, bool anyDevice) {
        error = devices.initialise (0, outputChannels, setup, anyDevice);
        auto* device = devices.getCurrentAudioDevice();
        return device != nullptr && (requestedType.isEmpty() || device->getTypeName().equalsIgnoreCase (requestedType));
    };

    if (requestedType.isEmpty())
    {
        // Without a set-up JUCE picks the first system that has a device, and its default device.
        if (opens (savedState, true))
            return;
    }
    else
    {
        auto* type = findType (devices, requestedType);
        if (type == nullptr)
            fail (ToolError::Kind::device, "no audio device: this build has no " + requestedType + " support");
        if (savedState != nullptr && savedState->getStringAttribute ("deviceType").equalsIgnoreCase (requestedType)
            && opens (savedState, false))
            return;

        const auto setup = defaultSetupOf (*type);
        if (! setup->hasAttribute ("audioOutputDeviceName"))
            fail (ToolError::Kind::device, "no audio device: " + requestedType + " offers no output device"
                                               + (requestedType == "JACK" ? " (is a JACK server running?)" : ""));
        if (opens (setup.get(), false))
            return;
    }
    devices.closeAudioDevice();
    fail (ToolError::Kind::device, "no audio device could be opened"
                                       + (error.isNotEmpty() ? ": " + error : juce::String())
                                       + " (try --list-devices)");
}

juce::StringArray enableMidiInputs (juce::AudioDeviceManager& devices, const juce::StringArray& wanted,
                                    bool restoredFromSettings)
{
    const auto inputs = juce::MidiInput::getAvailableDevices();
    if (wanted.isEmpty())
    {
        if (! restoredFromSettings)
            for (const auto& input : inputs)
                devices.setMidiInputDeviceEnabled (input.identifier, true);
        return {};
    }

    juce::StringArray unmatched;
    for (const auto& text : wanted)
    {
        bool matched = false;
        for (const auto& input : inputs)
            if (input.name.containsIgnoreCase (text))
            {
                devices.setMidiInputDeviceEnabled (input.identifier, true);
                matched = true;
            }
        if (! matched)
            unmatched.add (text);
    }
    return unmatched;
}

juce::String describeDevices (juce::AudioDeviceManager& devices)
{
    juce::String text;
    for (auto* type : devices.getAvailableDeviceTypes())
    {
        type->scanForDevices();
        const auto outputs = type->getDeviceNames (false);
        text << type->getTypeName() << " outputs:";
        if (outputs.isEmpty())
            text << " none" << (type->getTypeName() == "JACK" ? " (no JACK server running)" : "");
        text << "\n";
        for (const auto& name : outputs)
            text << "  " << name << "\n";
    }

    text << "ALSA MIDI inputs:";
    const auto inputs = juce::MidiInput::getAvailableDevices();
    if (inputs.isEmpty())
        text << " none";
    text << "\n";
    for (const auto& input : inputs)
        text << "  " << input.name << "\n";

    juce::MidiMessageCollector unused;
    if (const auto jack = JackMidiInput::open ("quane-play-list", unused))
    {
        const auto sources = jack->getSourcePortNames();
        text << "JACK MIDI sources:" << (sources.isEmpty() ? " none" : "") << "\n";
        for (const auto& source : sources)
            text << "  " << source << "\n";
    }
    return text;
}

juce::String describeCurrentDevice (juce::AudioDeviceManager& devices)
{
    auto* device = devices.getCurrentAudioDevice();
    if (device == nullptr)
        return "no audio device";
    return device->getTypeName() + " " + device->getName() + ", "
           + juce::String (juce::roundToInt (device->getCurrentSampleRate())) + " Hz, "
           + juce::String (device->getCurrentBufferSizeSamples()) + " frames";
}

int roundTripLatencySamples (juce::AudioIODevice& device)
{
    return device.getCurrentBufferSizeSamples() + device.getOutputLatencyInSamples();
}
} // namespace quane::play
