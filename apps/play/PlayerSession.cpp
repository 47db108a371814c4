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

    library = std::make_unique<SoundLibrary> (settings.getFile().getSiblingFile ("sounds"),
                                              effect->getEffect()->uniqueID);
    if (! library->getSkipped().isEmpty())
        warn ("skipped in " + library->getFolder().getFullPathName()
              + " (not a sound of Quane): " + library->getSkipped().joinIntoString (", "));

    // The last state first, then what the command line asks for on top of it.
    const auto chunk = settings.getInstrumentState();
    effect->setProgram (juce::jlimit (0, juce::jmax (0, effect->getNumPrograms() - 1), settings.getProgram()));
    lastProgram = getProgram();
    setCurrentSound (lastProgram, effect->getCurrentProgramName());
    if (! chunk.empty())
    {
        effect->setChunk (chunk, false);
        const auto name = settings.getSoundName();
        if (const auto userIndex = library->indexOf (settings.getSoundFile()); userIndex >= 0)
            setCurrentSound (getFactoryCount() + userIndex, name);
        else if (name.isNotEmpty() && name != soundName)
            setCurrentSound (-1, name);
    }
    if (options.program.isNotEmpty())
        selectSound (hostkit::findProgram (*effect, options.program));
    if (options.loadFile != juce::File())
        loadPreset (options.loadFile);

    // The module reports the edits made in its editor, on this thread; the kit still answers.
    effect->onRequest = [this] (const hostkit::HostRequest& request) -> std::optional<vst::intptr> {
        if (request.opcode == vst::audioMasterAutomate)
        {
            mayBeEdited = true;
            learn.valueTouched (request.index);
        }
        return std::nullopt;
    };

    player = std::make_unique<EffectPlayer> (*effect);
    learn.readText (settings.getLearnedControllers());
    for (int controller = 0; controller < MidiLearn::controllerCount; ++controller)
        player->setControllerAssigned (controller, learn.valueOf (controller) >= 0);
    const auto savedDevices = settings.getDeviceState();
    try
    {
        openAudioDevice (devices, savedDevices.get(), options.audioType);
    }
    catch (const ToolError& error)
    {
        // A window can offer the device dialog; without one there is nothing to play on.
        if (options.headless)
            throw;
        deviceProblem = error.message;
        // The dialog then starts on the system asked for, else the first one.
        if (const auto& types = devices.getAvailableDeviceTypes(); ! types.isEmpty())
            devices.setCurrentAudioDeviceType (
                options.audioType.isNotEmpty() ? options.audioType : types.getFirst()->getTypeName(), false);
    }

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
    effect->onRequest = nullptr;
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

juce::StringArray PlayerSession::getSoundNames()
{
    juce::StringArray names;
    for (int number = 0; number < getFactoryCount(); ++number)
        names.add (effect->getProgramName (number));
    for (const auto& sound : library->getSounds())
        names.add (sound.name);
    return names;
}

void PlayerSession::selectSound (int index)
{
    if (index >= 0 && index < getFactoryCount())
    {
        effect->setProgram (index);
        lastProgram = getProgram();
        setCurrentSound (index, effect->getProgramName (index));
    }
    else if (const auto userIndex = (size_t) (index - getFactoryCount()); userIndex < library->getSounds().size())
        loadPreset (library->getSounds()[userIndex].file);
}

void PlayerSession::saveSound (const juce::String& name)
{
    const auto file = library->fileFor (name);
    hostkit::savePreset (*effect, file, name);
    library->rescan();
    setCurrentSound (getFactoryCount() + library->indexOf (file), name);
}

void PlayerSession::followMidiRequests()
{
    // Program change 0..11 picks a factory program; numbers with no program do nothing.
    if (const auto program = player->takeProgramChange(); program >= 0 && program < getSoundNames().size())
    {
        try
        {
            selectSound (program);
        }
        catch (const ToolError& error)
        {
            warn (error.message);
        }
    }
    else if (getProgram() != lastProgram)
        selectSound (getProgram());
    followControllers();
}

void PlayerSession::followControllers()
{
    for (int controller = 0; controller < MidiLearn::controllerCount; ++controller)
    {
        const auto position = player->takeControllerPosition (controller);
        if (position < 0)
            continue;
        if (learn.controllerMoved (controller))
        {
            player->setControllerAssigned (controller, true);
            storeLearnedControllers();
        }
        else if (const auto index = learn.valueOf (controller); index >= 0)
        {
            effect->setParameter (index, MidiLearn::scaledValue (index, position));
            mayBeEdited = true;
        }
    }
}

void PlayerSession::forgetController (int controller)
{
    learn.remove (controller);
    player->setControllerAssigned (controller, false);
    storeLearnedControllers();
}

void PlayerSession::storeLearnedControllers()
{
    saveSettings();
}

void PlayerSession::loadPreset (const juce::File& file)
{
    // The module answers nothing to effSetChunk: a state it refused leaves its own unchanged.
    const std::vector<unsigned char> before[] { effect->getChunk (false), effect->getChunk (true) };
    const auto preset = hostkit::loadPreset (*effect, file);
    const auto& previous = before[preset.isBank ? 0 : 1];
    if (preset.chunk != previous && effect->getChunk (! preset.isBank) == previous)
        fail (ToolError::Kind::input,
              "the module did not take the sound in " + file.getFileName() + "; nothing was changed");

    const auto userIndex = library->indexOf (file);
    setCurrentSound (userIndex >= 0 ? getFactoryCount() + userIndex : -1, preset.isBank || preset.programName.isEmpty()
                                                                              ? file.getFileNameWithoutExtension()
                                                                              : preset.programName);
}

void PlayerSession::savePreset (const juce::File& file)
{
    hostkit::savePreset (*effect, file.withFileExtension ("fxp"), soundName);
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
    settings.setLearnedControllers (learn.toText());
    const auto userIndex = (size_t) (soundIndex - getFactoryCount());
    settings.setSound (soundName,
                       userIndex < library->getSounds().size() ? library->getSounds()[userIndex].file : juce::File());
    if (! settings.save())
        warn ("cannot write the settings file " + settings.getFile().getFullPathName());
}

void PlayerSession::changeListenerCallback (juce::ChangeBroadcaster*)
{
    followDeviceSystem();
    saveSettings();
}

void PlayerSession::setCurrentSound (int index, const juce::String& name)
{
    soundIndex = index;
    soundName = name;
    chosenState = effect->getChunk (true);
    edited = mayBeEdited = false;
}

bool PlayerSession::isEdited()
{
    // The editor reports values it merely shows too (its selectors, as it opens): only a state
    // that differs from the one chosen is an edit.
    if (mayBeEdited)
        edited = effect->getChunk (true) != chosenState;
    mayBeEdited = false;
    return edited;
}

void PlayerSession::followDeviceSystem()
{
    // On JACK the player has a MIDI port of its own; on any other system it has none.
    const bool onJack = devices.getCurrentAudioDevice() != nullptr
                        && devices.getCurrentAudioDevice()->getTypeName() == "JACK";
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
