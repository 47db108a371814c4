// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The LV2 plug-in in a host of lilv's making: ports, atom sequences, patch:Set, state and presets.
#include "tests/formats/Lv2Plugin.h"

#include <lilv/lilv.h>
#include <lv2/atom/forge.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/midi/midi.h>
#include <lv2/options/options.h>
#include <lv2/patch/patch.h>
#include <lv2/presets/presets.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <gtest/gtest.h>

#include <map>

namespace quane::test
{
namespace
{
const std::string pluginUri = QUANE_LV2_URI;

/** URIDs for the plug-in; one table for the process, as a host has. */
class UridTable
{
public:
    LV2_URID map (const char* uri)
    {
        const auto [entry, added] = ids.emplace (uri, (LV2_URID) ids.size() + 1);
        return entry->second;
    }

    LV2_URID_Map feature { this, [] (LV2_URID_Map_Handle self, const char* uri) {
                              return static_cast<UridTable*> (self)->map (uri);
                          } };

private:
    std::map<std::string, LV2_URID> ids;
};

UridTable& uridTable()
{
    static UridTable table;
    return table;
}

LV2_URID urid (const char* uri)
{
    return uridTable().map (uri);
}

/** lilv's world with the built bundle loaded, once per process. */
LilvWorld* world()
{
    static LilvWorld* const loaded = [] {
        auto* newWorld = lilv_world_new();
        auto* bundle = lilv_new_file_uri (newWorld, nullptr, QUANE_LV2_BUNDLE "/");
        lilv_world_load_bundle (newWorld, bundle);
        lilv_node_free (bundle);
        return newWorld;
    }();
    return loaded;
}

/** What save() stored or restore() offers: the plug-in's one state property. */
struct StateProperty
{
    std::string text;
    LV2_URID key = 0;
};

LV2_State_Status storeProperty (LV2_State_Handle handle, uint32_t key, const void* value, size_t size, uint32_t,
                                uint32_t)
{
    auto& property = *static_cast<StateProperty*> (handle);
    property.key = key;
    property.text.assign (static_cast<const char*> (value), size > 0 ? size - 1 : 0); // without its terminator
    return LV2_STATE_SUCCESS;
}

const void* retrieveProperty (LV2_State_Handle handle, uint32_t key, size_t* size, uint32_t* type, uint32_t* flags)
{
    auto& property = *static_cast<StateProperty*> (handle);
    if (key != property.key)
        return nullptr;
    *size = property.text.size() + 1;
    *type = urid (LV2_ATOM__String);
    *flags = LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE;
    return property.text.c_str();
}
} // namespace

Lv2Plugin::Lv2Plugin (double sampleRate, int maximumBlockSize, bool connectEventInput)
    : maximumBlock (maximumBlockSize), left (bufferFrames), right (bufferFrames)
{
    auto* uri = lilv_new_uri (world(), pluginUri.c_str());
    plugin = lilv_plugins_get_by_uri (lilv_world_get_all_plugins (world()), uri);
    lilv_node_free (uri);
    if (plugin == nullptr)
        return;

    blockLengthOptions[0] = {
        LV2_OPTIONS_INSTANCE, 0, urid (LV2_BUF_SIZE__minBlockLength), sizeof (int32_t), urid (LV2_ATOM__Int),
        &minimumBlockLength
    };
    blockLengthOptions[1] = {
        LV2_OPTIONS_INSTANCE, 0, urid (LV2_BUF_SIZE__maxBlockLength), sizeof (int32_t), urid (LV2_ATOM__Int),
        &maximumBlock
    };
    blockLengthOptions[2] = { LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr };
    mapFeature = { LV2_URID__map, &uridTable().feature };
    optionsFeature = { LV2_OPTIONS__options, blockLengthOptions };
    boundedFeature = { LV2_BUF_SIZE__boundedBlockLength, nullptr };
    features = { &mapFeature, &optionsFeature, &boundedFeature, nullptr };

    instance = lilv_plugin_instantiate (plugin, sampleRate, features.data());
    if (instance == nullptr)
        return;

    // Audio outputs in port order, the atom input (events) and output (notifications), and the
    // control ports at their defaults: enabled, not free-wheeling.
    auto* audioPort = lilv_new_uri (world(), LV2_CORE__AudioPort);
    auto* atomPort = lilv_new_uri (world(), LV2_ATOM__AtomPort);
    auto* inputPort = lilv_new_uri (world(), LV2_CORE__InputPort);
    std::vector<float*> outputs { left.data(), right.data() };
    size_t nextOutput = 0;
    for (uint32_t index = 0; index < lilv_plugin_get_num_ports (plugin); ++index)
    {
        const auto* port = lilv_plugin_get_port_by_index (plugin, index);
        const bool isInput = lilv_port_is_a (plugin, port, inputPort);
        if (lilv_port_is_a (plugin, port, audioPort))
            lilv_instance_connect_port (instance, index, nextOutput < outputs.size() ? outputs[nextOutput++] : nullptr);
        else if (lilv_port_is_a (plugin, port, atomPort))
            lilv_instance_connect_port (
                instance, index, isInput ? (connectEventInput ? eventInput.data() : nullptr) : eventOutput.data());
        else
        {
            const std::string symbol = lilv_node_as_string (lilv_port_get_symbol (plugin, port));
            controls[symbol] = symbol == "enabled" ? 1.0f : 0.0f;
            lilv_instance_connect_port (instance, index, &controls[symbol]);
        }
    }
    lilv_node_free (audioPort);
    lilv_node_free (atomPort);
    lilv_node_free (inputPort);
    audioOutputs = (int) nextOutput;
    lilv_instance_activate (instance);
}

Lv2Plugin::~Lv2Plugin()
{
    if (instance != nullptr)
    {
        lilv_instance_deactivate (instance);
        lilv_instance_free (instance);
    }
}

void Lv2Plugin::run (const juce::MidiBuffer& midi, int frames)
{
    LV2_Atom_Forge forge;
    lv2_atom_forge_init (&forge, &uridTable().feature);
    lv2_atom_forge_set_buffer (&forge, reinterpret_cast<uint8_t*> (eventInput.data()),
                               eventInput.size() * sizeof (uint64_t));
    LV2_Atom_Forge_Frame sequence;
    lv2_atom_forge_sequence_head (&forge, &sequence, 0);

    for (const auto& [parameterIndex, parameterValue] : pendingParameters)
    {
        const auto property = pluginUri + ":" + parameterIdentifier (parameterIndex);
        LV2_Atom_Forge_Frame object;
        lv2_atom_forge_frame_time (&forge, 0);
        lv2_atom_forge_object (&forge, &object, 0, urid (LV2_PATCH__Set));
        lv2_atom_forge_key (&forge, urid (LV2_PATCH__property));
        lv2_atom_forge_urid (&forge, urid (property.c_str()));
        lv2_atom_forge_key (&forge, urid (LV2_PATCH__value));
        lv2_atom_forge_float (&forge, parameterValue);
        lv2_atom_forge_pop (&forge, &object);
    }
    for (const auto event : midi)
    {
        lv2_atom_forge_frame_time (&forge, event.samplePosition);
        lv2_atom_forge_atom (&forge, (uint32_t) event.numBytes, urid (LV2_MIDI__MidiEvent));
        lv2_atom_forge_write (&forge, event.data, (uint32_t) event.numBytes);
    }
    lv2_atom_forge_pop (&forge, &sequence);
    pendingParameters.clear();

    // The output port's size is its capacity until the plug-in writes its sequence.
    auto* notifications = reinterpret_cast<LV2_Atom_Sequence*> (eventOutput.data());
    notifications->atom.size = (uint32_t) ((eventOutput.size() - 1) * sizeof (uint64_t));
    notifications->atom.type = urid (LV2_ATOM__Chunk);

    lilv_instance_run (instance, (uint32_t) frames);
}

std::vector<float> Lv2Plugin::render (const std::vector<TimedEvent>& events, int length, int blockSize)
{
    std::vector<float> rendered ((size_t) length * 2);
    for (int start = 0; start < length; start += blockSize)
    {
        const int frames = std::min (blockSize, length - start);
        run (goldenPhraseBlock (events, start, frames), frames);
        std::copy (left.begin(), left.begin() + frames, rendered.begin() + start);
        std::copy (right.begin(), right.begin() + frames, rendered.begin() + length + start);
    }
    return rendered;
}

void Lv2Plugin::setParameter (int patchIndex, float normalised)
{
    // With the next run, as hosts send them: a run of no frames would move the engine's chunks.
    pendingParameters.emplace_back (patchIndex, normalised);
}

std::vector<unsigned char> Lv2Plugin::saveState()
{
    const auto* interface = static_cast<const LV2_State_Interface*> (
        lilv_instance_get_extension_data (instance, LV2_STATE__interface));
    StateProperty property;
    interface->save (lilv_instance_get_handle (instance), storeProperty, &property, LV2_STATE_IS_POD, features.data());
    EXPECT_EQ (property.key, urid ((pluginUri + ":StateString").c_str()));

    juce::MemoryBlock bytes;
    bytes.fromBase64Encoding (property.text);
    return { static_cast<const unsigned char*> (bytes.getData()),
             static_cast<const unsigned char*> (bytes.getData()) + bytes.getSize() };
}

void Lv2Plugin::restoreState (const std::vector<unsigned char>& bytes)
{
    const auto* interface = static_cast<const LV2_State_Interface*> (
        lilv_instance_get_extension_data (instance, LV2_STATE__interface));
    StateProperty property;
    property.key = urid ((pluginUri + ":StateString").c_str());
    property.text = juce::MemoryBlock (bytes.data(), bytes.size()).toBase64Encoding().toStdString();
    interface->restore (lilv_instance_get_handle (instance), retrieveProperty, &property, 0, features.data());
}

void Lv2Plugin::selectProgram (int number)
{
    // The preset as a host applies it: lilv reads it from the bundle's manifest.
    auto* preset = lilv_new_uri (world(), (pluginUri + ":preset" + std::to_string (number + 1)).c_str());
    auto* state = lilv_state_new_from_world (world(), &uridTable().feature, preset);
    ASSERT_NE (state, nullptr) << "no preset " << number + 1;
    lilv_state_restore (state, instance, nullptr, nullptr, 0, features.data());
    lilv_state_free (state);
    lilv_node_free (preset);
}

int Lv2Plugin::presetCount()
{
    auto* presetClass = lilv_new_uri (world(), LV2_PRESETS__Preset);
    auto* presets = lilv_plugin_get_related (plugin, presetClass);
    const int count = (int) lilv_nodes_size (presets);
    lilv_nodes_free (presets);
    lilv_node_free (presetClass);
    return count;
}
} // namespace quane::test
