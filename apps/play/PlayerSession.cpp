// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// One run of the player: settings, the module and its instance, the audio device and MIDI.
#include "PlayerSession.h"

#include "DeviceSetup.h"
#include "hostkit/ModuleOpening.h"
#include "hostkit/PatchSelection.h"
#include "hostkit/PresetTransfer.h"

#include <iostream>

namespace quane::play
{
namespace
{
// The instance starts as the module does by itself; the device's rate and block size replace
// these at its start (the tests play at 48 kHz and check the pitch).
constexpr double initialSampleRate = 44100.0;
constexpr int initialBlockSize = 512;
constexpr auto jackMidiClientName = "quane-play-midi";
constexpr int allNotesOffController = 123;

void warn (const juce::String& message)
{
    std::cerr << "quane-play: warning: " << message << std::endl;
}
} // namespace

PlayerSession::PlayerSession (const PlayOptions& options) : wantedMidiInputs (options.midiInputs)
{
    if (settings.getWarning().isNotEmpty())
        warn (settings.getWarning());

    module = hostkit::openModule (options.modulePath);
    effect = hostkit::openEffect (*module, initialSampleRate, initialBlockSize, "quane-play");

    // The last state first, then what the command line asks for on top of it.
    const auto chunk = settings.getInstrumentState();
    effect->setProgram (juce::jlimit (0, juce::jmax (0, effect->getNumPrograms() - 1), settings.getProgram()));
    if (! chunk.empty())
        effect->setChunk (chunk, false);
    if (options.program.isNotEmpty())
        effect->setProgram (hostkit::findProgram (*effect, options.program));
    if (options.loadFile != juce::File())
        hostkit::loadPreset (*effect, options.loadFile);

    player = std::make_unique<EffectPlayer> (*effect);
    const auto savedDevices = settings.getDeviceState();
    openAudioDevice (devices, savedDevices.get(), options.audioType);

    const auto unmatched = enableMidiInputs (devices, options.midiInputs, savedDevices != nullptr);
    devices.addMidiInputDeviceCallback ({}, &player->getCollector());
    devices.addAudioCallback (player.get());
    followDeviceSystem();

    // A name that is neither an ALSA input nor a JACK port is a mistake worth stopping for.
    for (const auto& name : unmatched)
        if (jackMidi == nullptr || jackMidi->connectSources (name) == 0)
        {
            juce::StringArray known;
            for (const auto& input : juce::MidiInput::getAvailableDevices())
                known.add ("\"" + input.name + "\"");
            if (jackMidi != nullptr)
                for (const auto& port : jackMidi->getSourcePortNames())
                    known.add ("\"" + port + "\"");
            fail (ToolError::Kind::usage,
                  "no MIDI input matches \"" + name + "\"; there are "
                      + (known.isEmpty() ? juce::String ("none") : known.joinIntoString (", ")));
        }

    devices.addChangeListener (this);
    saveSettings();
}

PlayerSession::~PlayerSession()
{
    devices.removeChangeListener (this);
    saveSettings();
    jackMidi.reset();
    devices.removeAudioCallback (player.get());
    devices.removeMidiInputDeviceCallback ({}, &player->getCollector());
    devices.closeAudioDevice();
}

int PlayerSession::getProgram()
{
    return (int) effect->dispatch (vst::effGetProgram);
}

juce::StringArray PlayerSession::getProgramNames()
{
    juce::StringArray names;
    for (int number = 0; number < effect->getNumPrograms(); ++number)
        names.add (effect->getProgramName (number));
    return names;
}

void PlayerSession::selectProgram (int number)
{
    if (number >= 0 && number < effect->getNumPrograms())
        effect->setProgram (number);
}

void PlayerSession::loadPreset (const juce::File& file)
{
    hostkit::loadPreset (*effect, file);
}

void PlayerSession::savePreset (const juce::File& file)
{
    hostkit::savePreset (*effect, file);
}

void PlayerSession::sendAllNotesOff()
{
    const auto now = juce::Time::getMillisecondCounterHiRes() * 0.001;
    for (int channel = 1; channel <= 16; ++channel)
        player->getCollector().addMessageToQueue (
            juce::MidiMessage::controllerEvent (channel, allNotesOffController, 0).withTimeStamp (now));
}

juce::String PlayerSession::getStatusLine()
{
    auto line = describeCurrentDevice (devices);
    if (auto* device = devices.getCurrentAudioDevice())
    {
        const auto latency = roundTripLatencySamples (*device);
        line << "; latency " << latency
             << " samples = " << juce::String (1000.0 * latency / device->getCurrentSampleRate(), 1)
             << " ms round trip";
    }
    const auto held = player->getHeldNoteCount();
    line << "; CPU " << juce::String (100.0 * devices.getCpuUsage(), 1) << " %; " << held
         << (held == 1 ? " note" : " notes") << " held";
    if (const auto dropped = player->getDroppedEventCount()
                             + (jackMidi != nullptr ? jackMidi->getDroppedEventCount() : 0);
        dropped > 0)
        line << "; " << dropped << " MIDI messages dropped";
    return line;
}

juce::String PlayerSession::getJackMidiPortName() const
{
    return jackMidi != nullptr ? jackMidi->getPortName() : juce::String();
}

void PlayerSession::saveSettings()
{
    settings.setDeviceState (devices.createStateXml().get());
    settings.setInstrument (effect->getChunk (false), getProgram());
    if (! settings.save())
        warn ("cannot write the settings file " + settings.getFile().getFullPathName());
}

void PlayerSession::changeListenerCallback (juce::ChangeBroadcaster*)
{
    followDeviceSystem();
    saveSettings();
}

void PlayerSession::followDeviceSystem()
{
    // On JACK the player has a MIDI port of its own; on any other system it has none.
    const bool onJack = devices.getCurrentDeviceTypeObject() != nullptr
                        && devices.getCurrentDeviceTypeObject()->getTypeName() == "JACK";
    if (onJack && jackMidi == nullptr)
    {
        jackMidi = JackMidiInput::open (jackMidiClientName, player->getCollector());
        if (jackMidi == nullptr)
            warn ("JACK plays, but the player's JACK MIDI port could not be opened");
        else
            for (const auto& name : wantedMidiInputs)
                jackMidi->connectSources (name);
    }
    else if (! onJack)
        jackMidi.reset();
}
} // namespace quane::play
