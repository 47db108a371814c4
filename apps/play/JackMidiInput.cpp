// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A JACK MIDI input port of the player's own, feeding the MIDI collector.
#include "JackMidiInput.h"

#include <cerrno>

#include "MidiPortIntake.h"

#include <dlfcn.h>
#include <optional>
#include <type_traits>
#include <jack/jack.h>
#include <jack/midiport.h>

namespace quane::play
{
namespace
{
/** The libjack calls used here, looked up in the library loaded at run time (the headers only
    give their types), so the player starts on machines without JACK. */
struct JackLibrary
{
    decltype (&::jack_client_open) clientOpen = nullptr;
    decltype (&::jack_client_close) clientClose = nullptr;
    decltype (&::jack_port_register) portRegister = nullptr;
    decltype (&::jack_port_name) portName = nullptr;
    decltype (&::jack_port_get_buffer) portGetBuffer = nullptr;
    decltype (&::jack_set_process_callback) setProcessCallback = nullptr;
    decltype (&::jack_activate) activate = nullptr;
    decltype (&::jack_deactivate) deactivate = nullptr;
    decltype (&::jack_get_ports) getPorts = nullptr;
    decltype (&::jack_connect) connect = nullptr;
    decltype (&::jack_disconnect) disconnect = nullptr;
    decltype (&::jack_port_connected_to) portConnectedTo = nullptr;
    decltype (&::jack_free) free = nullptr;
    decltype (&::jack_midi_get_event_count) midiEventCount = nullptr;
    decltype (&::jack_midi_event_get) midiEventGet = nullptr;
    decltype (&::jack_last_frame_time) lastFrameTime = nullptr;
    decltype (&::jack_frames_to_time) framesToTime = nullptr;
    decltype (&::jack_get_time) getTime = nullptr;

    /** The library with every call found, or null. Looked up once per process. */
    static const JackLibrary* get()
    {
        static const auto library = load();
        return library.has_value() ? &*library : nullptr;
    }

private:
    static std::optional<JackLibrary> load()
    {
        void* handle = dlopen ("libjack.so.0", RTLD_LAZY);
        if (handle == nullptr)
            handle = dlopen ("libjack.so", RTLD_LAZY);
        if (handle == nullptr)
            return std::nullopt;

        // The library's own messages (a server that is not running, shared memory it could not
        // map) are no concern of a player that says itself what it could not open.
        using MessageFunction = void (*) (const char*);
        using SetMessageFunction = void (*) (MessageFunction);
        for (const auto* setter : { "jack_set_error_function", "jack_set_info_function" })
            if (auto* set = reinterpret_cast<SetMessageFunction> (dlsym (handle, setter)))
                set ([] (const char*) {});

        JackLibrary library;
        bool complete = true;
        const auto find = [&] (auto& function, const char* name) {
            function = reinterpret_cast<std::remove_reference_t<decltype (function)>> (dlsym (handle, name));
            complete = complete && function != nullptr;
        };
        find (library.clientOpen, "jack_client_open");
        find (library.clientClose, "jack_client_close");
        find (library.portRegister, "jack_port_register");
        find (library.portName, "jack_port_name");
        find (library.portGetBuffer, "jack_port_get_buffer");
        find (library.setProcessCallback, "jack_set_process_callback");
        find (library.activate, "jack_activate");
        find (library.deactivate, "jack_deactivate");
        find (library.getPorts, "jack_get_ports");
        find (library.connect, "jack_connect");
        find (library.disconnect, "jack_disconnect");
        find (library.portConnectedTo, "jack_port_connected_to");
        find (library.free, "jack_free");
        find (library.midiEventCount, "jack_midi_get_event_count");
        find (library.midiEventGet, "jack_midi_event_get");
        find (library.lastFrameTime, "jack_last_frame_time");
        find (library.framesToTime, "jack_frames_to_time");
        find (library.getTime, "jack_get_time");
        // The library stays loaded for the life of the process, as JUCE's own JACK device keeps it.
        return complete ? std::optional<JackLibrary> (library) : std::nullopt;
    }
};
} // namespace

struct JackMidiInput::Client
{
    const JackLibrary& jack;
    juce::MidiMessageCollector& collector;
    jack_client_t* handle = nullptr;
    jack_port_t* port = nullptr;
    MidiPortIntake intake { collector };

    ~Client()
    {
        if (handle != nullptr)
        {
            jack.deactivate (handle);
            jack.clientClose (handle);
        }
    }

    static int process (jack_nframes_t numFrames, void* argument)
    {
        static_cast<Client*> (argument)->receive (numFrames);
        return 0;
    }

    void receive (jack_nframes_t numFrames)
    {
        auto* buffer = jack.portGetBuffer (port, numFrames);
        const auto count = jack.midiEventCount (buffer);
        if (count == 0)
            return;

        // The collector places messages by the time they arrived: turn each event's frame into
        // that time, JACK's clock and JUCE's differing only by the moment both are read.
        const auto cycleStart = jack.lastFrameTime (handle);
        const auto nowSeconds = juce::Time::getMillisecondCounterHiRes() * 0.001;
        const auto nowMicroseconds = jack.getTime();

        intake.startCycle();
        for (uint32_t i = 0; i < count; ++i)
        {
            jack_midi_event_t event {};
            if (jack.midiEventGet (&event, buffer, i) != 0)
                continue;
            const auto eventMicroseconds = jack.framesToTime (handle, cycleStart + event.time);
            const auto ageSeconds = ((double) nowMicroseconds - (double) eventMicroseconds) * 1.0e-6;
            intake.read (event.buffer, event.size, nowSeconds - ageSeconds);
        }
    }

    juce::StringArray portNames (unsigned long flags) const
    {
        juce::StringArray names;
        if (auto** ports = jack.getPorts (handle, nullptr, JACK_DEFAULT_MIDI_TYPE, flags))
        {
            for (auto** name = ports; *name != nullptr; ++name)
                names.add (juce::String::fromUTF8 (*name));
            jack.free (ports);
        }
        return names;
    }
};

std::unique_ptr<JackMidiInput> JackMidiInput::open (const juce::String& clientName,
                                                    juce::MidiMessageCollector& collector)
{
    const auto* jack = JackLibrary::get();
    if (jack == nullptr)
        return nullptr;

    std::unique_ptr<Client> client (new Client { *jack, collector, nullptr, nullptr, MidiPortIntake { collector } });
    jack_status_t status {};
    client->handle = jack->clientOpen (clientName.toRawUTF8(), JackNoStartServer, &status);
    if (client->handle == nullptr)
        return nullptr;

    client->port = jack->portRegister (client->handle, "in", JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    if (client->port == nullptr || jack->setProcessCallback (client->handle, &Client::process, client.get()) != 0
        || jack->activate (client->handle) != 0)
        return nullptr;

    return std::unique_ptr<JackMidiInput> (new JackMidiInput (std::move (client)));
}

void JackMidiInput::quietenLibrary()
{
    JackLibrary::get();
}

JackMidiInput::JackMidiInput (std::unique_ptr<Client> openedClient) : client (std::move (openedClient)) {}

JackMidiInput::~JackMidiInput() = default;

int JackMidiInput::getDroppedEventCount() const noexcept
{
    return client->intake.getDroppedCount();
}

juce::String JackMidiInput::getPortName() const
{
    return juce::String::fromUTF8 (client->jack.portName (client->port));
}

juce::StringArray JackMidiInput::getSourcePortNames() const
{
    const auto ownPrefix = getPortName().upToFirstOccurrenceOf (":", true, false);
    juce::StringArray names;
    for (const auto& name : client->portNames (JackPortIsOutput))
        if (! name.startsWith (ownPrefix))
            names.add (name);
    return names;
}

int JackMidiInput::connectSources (const juce::String& nameContains)
{
    int connected = 0;
    for (const auto& source : getSourcePortNames())
        if (source.containsIgnoreCase (nameContains))
            if (const auto result = client->jack.connect (client->handle, source.toRawUTF8(),
                                                          getPortName().toRawUTF8());
                result == 0 || result == EEXIST)
                ++connected;
    return connected;
}

bool JackMidiInput::isConnectedTo (const juce::String& source) const
{
    return client->jack.portConnectedTo (client->port, source.toRawUTF8()) != 0;
}

void JackMidiInput::setConnected (const juce::String& source, bool connected)
{
    const auto destination = getPortName();
    if (connected)
        client->jack.connect (client->handle, source.toRawUTF8(), destination.toRawUTF8());
    else
        client->jack.disconnect (client->handle, source.toRawUTF8(), destination.toRawUTF8());
}
} // namespace quane::play
