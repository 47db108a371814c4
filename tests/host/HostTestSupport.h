// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A test host: loads the built module as a host does and drives it only through its AEffect.
#pragma once

#include "host/VstAbi.h"

#include <functional>
#include <string>
#include <vector>

namespace quane::test
{
/** One request the module made of the host. */
struct HostRequest
{
    vst::AEffect* effect;
    vst::int32 opcode;
    vst::int32 index;
    vst::intptr value;
    float opt;
};

/** What the host answers and what it was asked; shared by every instance of a test. */
struct HostLog
{
    std::vector<HostRequest> requests;
    vst::intptr versionAnswer = 2400;

    int count (vst::int32 opcode) const;
    void clear() { requests.clear(); }
};

HostLog& hostLog();
vst::intptr hostCallback (vst::AEffect*, vst::int32 opcode, vst::int32 index, vst::intptr value, void* ptr, float opt);

using EntryFunction = vst::AEffect* (*) (vst::AudioMasterCallback);

/** The module loaded from its build path (dlopen, or LoadLibrary on Windows); unloaded when the
    object goes. */
class LoadedModule
{
public:
    LoadedModule();
    ~LoadedModule();

    bool isLoaded() const { return handle != nullptr; }
    EntryFunction pluginMain() const { return vstPluginMain; }
    EntryFunction legacyMain() const { return legacy; }

private:
    void* handle = nullptr;
    EntryFunction vstPluginMain = nullptr;
    EntryFunction legacy = nullptr;
};

/** The process's one loading of the module, for tests that do not unload it themselves. */
LoadedModule& sharedModule();

constexpr int numPatchValues = 39;

/** An effProcessEvents list of MIDI messages (up to four bytes each) at their positions, made
    once and sent as often as wanted. */
class MidiEventList
{
public:
    MidiEventList (const std::vector<std::vector<unsigned char>>& messages, const std::vector<int>& positions);

    vst::VstEvents* list() { return reinterpret_cast<vst::VstEvents*> (listBytes.data()); }

private:
    std::vector<vst::VstMidiEvent> records;
    std::vector<char> listBytes;
};

/** One plug-in instance made through VSTPluginMain, closed with effClose when it goes. */
class Instance
{
public:
    explicit Instance (EntryFunction entry = nullptr);
    ~Instance();

    vst::AEffect* effect = nullptr;

    vst::intptr dispatch (vst::int32 opcode, vst::int32 index = 0, vst::intptr value = 0, void* ptr = nullptr,
                          float opt = 0.0f);
    std::string text (vst::int32 opcode, vst::int32 index = 0);
    void close();
    void resume() { dispatch (vst::effMainsChanged, 0, 1); }

    void sendMidi (const std::vector<std::vector<unsigned char>>& messages, const std::vector<int>& positions);
    void sendMidi (MidiEventList& events);
    void noteOn (int note, int position = 0) { sendMidi ({ { 0x90, (unsigned char) note, 100 } }, { position }); }

    /** Renders interleaved-free: left then right, each frames long. */
    std::vector<float> render (int frames, bool replacing = true, float initialValue = 0.0f);

    std::vector<float> allValues();
    std::vector<unsigned char> chunk();
    void setChunk (const std::vector<unsigned char>& bytes);

    /** Gives the module's message thread time through its idle request for ms milliseconds. */
    void pumpFor (int ms);
};

/** A chunk holding the given XML text with n declared as its length. */
std::vector<unsigned char> makeChunk (const std::string& xml);
std::vector<unsigned char> makeChunkDeclaring (const std::string& xml, unsigned int declaredLength);

double rms (const std::vector<float>& samples, size_t from, size_t to);

/** The shortest wall-clock time of several runs of the call, in milliseconds. */
double bestMilliseconds (int runs, const std::function<void()>& call);
} // namespace quane::test
