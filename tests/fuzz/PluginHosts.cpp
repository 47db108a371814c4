// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The built VST3 and LV2 plug-ins loaded as their hosts load them, for the plug-in state fuzz target.
#include "tests/fuzz/PluginHosts.h"

#include "tests/fuzz/FuzzHost.h"

#include "engine/EngineLimits.h"

#include <juce_core/juce_core.h>
#include <lv2/atom/forge.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/core/lv2.h>
#include <lv2/midi/midi.h>
#include <lv2/options/options.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>
#include <pluginterfaces/base/ibstream.h>
#include <pluginterfaces/base/ipluginbase.h>
#include <pluginterfaces/vst/ivstaudioprocessor.h>
#include <pluginterfaces/vst/ivstcomponent.h>
#include <pluginterfaces/vst/ivstevents.h>

// The interfaces' identifiers, defined once in this program.
#include <pluginterfaces/base/coreiids.cpp>
#include <pluginterfaces/base/funknown.cpp>
#include <public.sdk/source/vst/vstinitiids.cpp>

#include <dlfcn.h>

#include <cmath>
#include <map>
#include <string>

namespace quane::fuzz
{
namespace
{
using namespace Steinberg;

constexpr int blockSize = 512;
constexpr int announcedLv2BlockSize = 64; // the LV2 plug-in takes longer blocks than announced
constexpr double sampleRate = 44100.0;
const int chord[][2] = { { 36, 127 }, { 60, 100 }, { 96, 1 } }; // note, velocity

bool isBounded (const float* left, const float* right, int frames = blockSize)
{
    for (int i = 0; i < frames; ++i)
        if (! std::isfinite (left[i]) || ! std::isfinite (right[i]) || std::abs (left[i]) > outputBound
            || std::abs (right[i]) > outputBound)
            return false;
    return true;
}

void* loadModule (const char* path)
{
    void* handle = dlopen (path, RTLD_NOW | RTLD_LOCAL);
    require (handle != nullptr, "the plug-in does not load");
    return handle;
}

/** A stream over bytes in memory, as hosts hand to getState and setState. */
class MemoryStream : public IBStream
{
public:
    explicit MemoryStream (std::vector<std::uint8_t> initial = {}) : bytes (std::move (initial)) {}

    tresult PLUGIN_API queryInterface (const TUID iid, void** object) override
    {
        if (FUnknownPrivate::iidEqual (iid, IBStream::iid) || FUnknownPrivate::iidEqual (iid, FUnknown::iid))
        {
            *object = this;
            return kResultOk;
        }
        *object = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }

    tresult PLUGIN_API read (void* buffer, int32 count, int32* done) override
    {
        const auto available = (int32) std::max<int64> (0, (int64) bytes.size() - position);
        const int32 n = std::max<int32> (0, std::min (count, available));
        if (n > 0)
            std::memcpy (buffer, bytes.data() + position, (size_t) n);
        position += n;
        if (done != nullptr)
            *done = n;
        return kResultOk;
    }
    tresult PLUGIN_API write (void* buffer, int32 count, int32* done) override
    {
        if (count < 0)
            return kInvalidArgument;
        bytes.resize (std::max<size_t> (bytes.size(), (size_t) (position + count)));
        if (count > 0)
            std::memcpy (bytes.data() + position, buffer, (size_t) count);
        position += count;
        if (done != nullptr)
            *done = count;
        return kResultOk;
    }
    tresult PLUGIN_API seek (int64 offset, int32 mode, int64* result) override
    {
        const int64 base = mode == kIBSeekSet ? 0 : mode == kIBSeekCur ? position : (int64) bytes.size();
        position = std::max<int64> (0, base + offset);
        if (result != nullptr)
            *result = position;
        return kResultOk;
    }
    tresult PLUGIN_API tell (int64* result) override
    {
        *result = position;
        return kResultOk;
    }

    std::vector<std::uint8_t> bytes;

private:
    int64 position = 0;
};

/** The events of one block. */
class EventList : public Vst::IEventList
{
public:
    tresult PLUGIN_API queryInterface (const TUID, void** object) override
    {
        *object = nullptr;
        return kNoInterface;
    }
    uint32 PLUGIN_API addRef() override { return 1; }
    uint32 PLUGIN_API release() override { return 1; }
    int32 PLUGIN_API getEventCount() override { return (int32) events.size(); }
    tresult PLUGIN_API getEvent (int32 index, Vst::Event& event) override
    {
        if (index < 0 || index >= (int32) events.size())
            return kInvalidArgument;
        event = events[(size_t) index];
        return kResultOk;
    }
    tresult PLUGIN_API addEvent (Vst::Event& event) override
    {
        events.push_back (event);
        return kResultOk;
    }

    std::vector<Vst::Event> events;
};

IPluginFactory* vst3Factory()
{
    static IPluginFactory* const factory = [] {
        void* handle = loadModule (QUANE_VST3_SO);
        using ModuleEntry = bool (*) (void*);
        using GetFactory = IPluginFactory* (*) ();
        auto entry = reinterpret_cast<ModuleEntry> (dlsym (handle, "ModuleEntry"));
        auto getFactory = reinterpret_cast<GetFactory> (dlsym (handle, "GetPluginFactory"));
        require (entry != nullptr && getFactory != nullptr && entry (handle), "no VST3 entry");
        return getFactory();
    }();
    return factory;
}
} // namespace

struct Vst3Plugin::Objects
{
    Vst::IComponent* component = nullptr;
    Vst::IAudioProcessor* processor = nullptr;
};

Vst3Plugin::Vst3Plugin() : objects (std::make_unique<Objects>())
{
    auto* factory = vst3Factory();
    for (int32 i = 0; i < factory->countClasses() && objects->component == nullptr; ++i)
    {
        PClassInfo info;
        if (factory->getClassInfo (i, &info) == kResultOk && std::strcmp (info.category, kVstAudioEffectClass) == 0)
            factory->createInstance (info.cid, Vst::IComponent::iid, reinterpret_cast<void**> (&objects->component));
    }
    require (objects->component != nullptr, "no VST3 component");
    objects->component->initialize (nullptr);
    objects->component->queryInterface (Vst::IAudioProcessor::iid, reinterpret_cast<void**> (&objects->processor));
    require (objects->processor != nullptr, "no VST3 audio processor");

    Vst::ProcessSetup setup { Vst::kRealtime, Vst::kSample32, blockSize, sampleRate };
    objects->processor->setupProcessing (setup);
    objects->component->activateBus (Vst::kAudio, Vst::kOutput, 0, true);
    objects->component->activateBus (Vst::kEvent, Vst::kInput, 0, true);
    objects->component->setActive (true);
    objects->processor->setProcessing (true);
}

Vst3Plugin::~Vst3Plugin()
{
    objects->processor->setProcessing (false);
    objects->component->setActive (false);
    objects->processor->release();
    objects->component->terminate();
    objects->component->release();
}

void Vst3Plugin::restore (const std::vector<std::uint8_t>& bytes)
{
    MemoryStream stream (bytes);
    objects->component->setState (&stream);
}

std::vector<std::uint8_t> Vst3Plugin::save()
{
    MemoryStream stream;
    objects->component->getState (&stream);
    return stream.bytes;
}

bool Vst3Plugin::playChord()
{
    EventList events;
    for (const auto& [note, velocity] : chord)
    {
        Vst::Event event {};
        event.type = Vst::Event::kNoteOnEvent;
        event.sampleOffset = (int32) events.events.size() * 7;
        event.noteOn = { 0, (int16) note, 0.0f, (float) velocity / 127.0f, 0, -1 };
        events.addEvent (event);
    }

    // The chord in a block of the announced length, then a block twice as long as announced.
    bool bounded = true;
    for (const int frames : { blockSize, 2 * blockSize })
    {
        std::vector<float> left ((size_t) frames, 1.0e9f), right ((size_t) frames, 1.0e9f);
        float* channels[] = { left.data(), right.data() };
        Vst::AudioBusBuffers outputs;
        outputs.numChannels = 2;
        outputs.silenceFlags = 0;
        outputs.channelBuffers32 = channels;
        Vst::ProcessData data;
        data.processMode = Vst::kRealtime;
        data.symbolicSampleSize = Vst::kSample32;
        data.numSamples = frames;
        data.numOutputs = 1;
        data.outputs = &outputs;
        data.inputEvents = &events;
        objects->processor->process (data);
        bounded = bounded && isBounded (left.data(), right.data(), frames);
        events.events.clear();
    }
    return bounded;
}

namespace
{
/** URIDs for the plug-in, one table for the process. */
LV2_URID mapUri (LV2_URID_Map_Handle, const char* uri)
{
    static std::map<std::string, LV2_URID> ids;
    return ids.emplace (uri, (LV2_URID) ids.size() + 1).first->second;
}

LV2_URID_Map uridMap { nullptr, mapUri };

LV2_URID urid (const char* uri)
{
    return mapUri (nullptr, uri);
}

const LV2_Descriptor* lv2Descriptor()
{
    static const LV2_Descriptor* const descriptor = [] {
        using GetDescriptor = const LV2_Descriptor* (*) (uint32_t);
        auto get = reinterpret_cast<GetDescriptor> (dlsym (loadModule (QUANE_LV2_SO), "lv2_descriptor"));
        require (get != nullptr && get (0) != nullptr, "no LV2 descriptor");
        return get (0);
    }();
    return descriptor;
}

struct StoredText
{
    std::string text;
    LV2_URID key = 0;
};

LV2_State_Status storeText (LV2_State_Handle handle, uint32_t key, const void* value, size_t size, uint32_t, uint32_t)
{
    auto& stored = *static_cast<StoredText*> (handle);
    stored.key = key;
    stored.text.assign (static_cast<const char*> (value), size);
    return LV2_STATE_SUCCESS;
}

const void* retrieveText (LV2_State_Handle handle, uint32_t key, size_t* size, uint32_t* type, uint32_t* flags)
{
    auto& stored = *static_cast<StoredText*> (handle);
    if (key != stored.key)
        return nullptr;
    *size = stored.text.size() + 1;
    *type = urid (LV2_ATOM__String);
    *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
    return stored.text.c_str();
}

// The ports JUCE's LV2 client declares (dsp.ttl): two audio outputs, the event input and output,
// latency, free-wheeling and enabled.
enum Lv2Port : uint32_t
{
    audioLeft,
    audioRight,
    eventsIn,
    eventsOut,
    latency,
    freeWheeling,
    enabled
};
} // namespace

struct Lv2Plugin::Objects
{
    LV2_Handle instance = nullptr;
    int32_t minimumBlock = 0, maximumBlock = announcedLv2BlockSize;
    LV2_Options_Option options[3] {};
    LV2_Feature mapFeature {}, optionsFeature {}, boundedFeature {};
    const LV2_Feature* features[4] {};
    std::vector<float> left = std::vector<float> (blockSize), right = std::vector<float> (blockSize);
    std::vector<uint64_t> input = std::vector<uint64_t> (2048), output = std::vector<uint64_t> (2048);
    float latencyValue = 0.0f, freeWheelingValue = 0.0f, enabledValue = 1.0f;
};

Lv2Plugin::Lv2Plugin() : objects (std::make_unique<Objects>())
{
    auto& o = *objects;
    o.options[0] = {
        LV2_OPTIONS_INSTANCE, 0, urid (LV2_BUF_SIZE__minBlockLength), sizeof (int32_t), urid (LV2_ATOM__Int),
        &o.minimumBlock
    };
    o.options[1] = {
        LV2_OPTIONS_INSTANCE, 0, urid (LV2_BUF_SIZE__maxBlockLength), sizeof (int32_t), urid (LV2_ATOM__Int),
        &o.maximumBlock
    };
    o.mapFeature = { LV2_URID__map, &uridMap };
    o.optionsFeature = { LV2_OPTIONS__options, o.options };
    o.boundedFeature = { LV2_BUF_SIZE__boundedBlockLength, nullptr };
    o.features[0] = &o.mapFeature;
    o.features[1] = &o.optionsFeature;
    o.features[2] = &o.boundedFeature;

    const auto* descriptor = lv2Descriptor();
    o.instance = descriptor->instantiate (descriptor, sampleRate, QUANE_LV2_BUNDLE, o.features);
    require (o.instance != nullptr, "no LV2 instance");
    descriptor->connect_port (o.instance, audioLeft, o.left.data());
    descriptor->connect_port (o.instance, audioRight, o.right.data());
    descriptor->connect_port (o.instance, eventsIn, o.input.data());
    descriptor->connect_port (o.instance, eventsOut, o.output.data());
    descriptor->connect_port (o.instance, latency, &o.latencyValue);
    descriptor->connect_port (o.instance, freeWheeling, &o.freeWheelingValue);
    descriptor->connect_port (o.instance, enabled, &o.enabledValue);
    descriptor->activate (o.instance);
}

Lv2Plugin::~Lv2Plugin()
{
    lv2Descriptor()->deactivate (objects->instance);
    lv2Descriptor()->cleanup (objects->instance);
}

void Lv2Plugin::restore (const std::vector<std::uint8_t>& bytes)
{
    StoredText stored;
    stored.key = urid (QUANE_LV2_URI ":StateString");
    stored.text = juce::MemoryBlock (bytes.data(), bytes.size()).toBase64Encoding().toStdString();
    const auto* state = static_cast<const LV2_State_Interface*> (
        lv2Descriptor()->extension_data (LV2_STATE__interface));
    state->restore (objects->instance, retrieveText, &stored, 0, objects->features);
}

std::vector<std::uint8_t> Lv2Plugin::save()
{
    StoredText stored;
    const auto* state = static_cast<const LV2_State_Interface*> (
        lv2Descriptor()->extension_data (LV2_STATE__interface));
    state->save (objects->instance, storeText, &stored, LV2_STATE_IS_POD, objects->features);
    juce::MemoryBlock bytes;
    bytes.fromBase64Encoding (juce::String (stored.text.c_str()));
    const auto* first = static_cast<const std::uint8_t*> (bytes.getData());
    return { first, first + bytes.getSize() };
}

bool Lv2Plugin::playChord()
{
    auto& o = *objects;
    LV2_Atom_Forge forge;
    lv2_atom_forge_init (&forge, &uridMap);
    lv2_atom_forge_set_buffer (&forge, reinterpret_cast<uint8_t*> (o.input.data()), o.input.size() * sizeof (uint64_t));
    LV2_Atom_Forge_Frame sequence;
    lv2_atom_forge_sequence_head (&forge, &sequence, 0);
    int frame = 0;
    for (const auto& [note, velocity] : chord)
    {
        const uint8_t message[] = { 0x90, (uint8_t) note, (uint8_t) velocity };
        lv2_atom_forge_frame_time (&forge, frame);
        lv2_atom_forge_atom (&forge, sizeof (message), urid (LV2_MIDI__MidiEvent));
        lv2_atom_forge_write (&forge, message, sizeof (message));
        frame += 7;
    }
    lv2_atom_forge_pop (&forge, &sequence);

    auto* notifications = reinterpret_cast<LV2_Atom_Sequence*> (o.output.data());
    notifications->atom.size = (uint32_t) ((o.output.size() - 1) * sizeof (uint64_t));
    notifications->atom.type = urid (LV2_ATOM__Chunk);
    lv2Descriptor()->run (o.instance, blockSize);
    return isBounded (o.left.data(), o.right.data());
}
} // namespace quane::fuzz
