// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A JACK MIDI input port of the player's own, feeding the MIDI collector.
#pragma once

#include <juce_audio_devices/juce_audio_devices.h>

namespace quane::play
{
/** A JACK client with one MIDI input port. JUCE's JACK device carries audio only, so MIDI comes
    through a client of its own, opened, like JUCE's, from libjack loaded at run time. The port's
    events are read as one MIDI byte stream; each channel message is stamped with the time JACK
    gives its frame and queued in the collector, which places it in the audio block that plays
    that moment. */
class JackMidiInput
{
public:
    /** Opens the client and its port "in"; null when libjack is missing or no server runs. */
    static std::unique_ptr<JackMidiInput> open (const juce::String& clientName, juce::MidiMessageCollector& collector);
    ~JackMidiInput();

    /** Loads libjack (when there) with its own messages silenced, before anything else of this
        process (JUCE's JACK device too) calls it. */
    static void quietenLibrary();

    /** The port's full name, "client:in", as other clients connect to it. */
    juce::String getPortName() const;

    /** Every JACK MIDI output port of other clients. */
    juce::StringArray getSourcePortNames() const;

    /** Messages dropped because one JACK cycle brought more than the collector holds. */
    int getDroppedEventCount() const noexcept;

    /** Connects the MIDI output ports whose full name contains the text (any case); answers how
        many are connected now, those connected before included. */
    int connectSources (const juce::String& nameContains);

    /** Whether a source port is connected to this port now; connects or disconnects it. */
    bool isConnectedTo (const juce::String& source) const;
    void setConnected (const juce::String& source, bool connected);

    struct Client;

private:
    explicit JackMidiInput (std::unique_ptr<Client> client);
    std::unique_ptr<Client> client;
};
} // namespace quane::play
