// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A test host: drives the loaded module only through its entry and AEffect.
#include "tests/host/HostTestSupport.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <thread>

namespace quane::test
{
int HostLog::count (vst::int32 opcode) const
{
    int n = 0;
    for (const auto& request : requests)
        n += request.opcode == opcode ? 1 : 0;
    return n;
}

HostLog& hostLog()
{
    static HostLog log;
    return log;
}

vst::intptr hostCallback (vst::AEffect* effect, vst::int32 opcode, vst::int32 index, vst::intptr value, void*,
                          float opt)
{
    auto& log = hostLog();
    log.requests.push_back ({ effect, opcode, index, value, opt });
    return opcode == vst::audioMasterVersion ? log.versionAnswer : 0;
}

LoadedModule& sharedModule()
{
    static LoadedModule module;
    return module;
}

Instance::Instance (EntryFunction entry)
{
    if (entry == nullptr)
        entry = sharedModule().pluginMain();
    if (entry != nullptr)
        effect = entry (hostCallback);
}

Instance::~Instance()
{
    close();
}

void Instance::close()
{
    if (effect != nullptr)
        effect->dispatcher (effect, vst::effClose, 0, 0, nullptr, 0.0f);
    effect = nullptr;
}

vst::intptr Instance::dispatch (vst::int32 opcode, vst::int32 index, vst::intptr value, void* ptr, float opt)
{
    return effect->dispatcher (effect, opcode, index, value, ptr, opt);
}

std::string Instance::text (vst::int32 opcode, vst::int32 index)
{
    char buffer[256];
    std::memset (buffer, 'x', sizeof (buffer));
    dispatch (opcode, index, 0, buffer);
    return std::string (buffer, strnlen (buffer, sizeof (buffer)));
}

MidiEventList::MidiEventList (const std::vector<std::vector<unsigned char>>& messages,
                              const std::vector<int>& positions)
    : records (messages.size()), listBytes (sizeof (vst::VstEvents) + messages.size() * sizeof (vst::VstEvent*))
{
    auto* list = reinterpret_cast<vst::VstEvents*> (listBytes.data());
    list->numEvents = (vst::int32) messages.size();
    vst::VstEvent** slots = &list->events[0]; // as many entries as messages, not the declared two

    for (size_t i = 0; i < messages.size(); ++i)
    {
        auto& record = records[i];
        std::memset (&record, 0, sizeof (record));
        record.type = vst::kVstMidiType;
        record.byteSize = 24;
        record.deltaFrames = positions[i];
        std::memcpy (record.midiData, messages[i].data(), std::min<size_t> (4, messages[i].size()));
        slots[i] = reinterpret_cast<vst::VstEvent*> (&record);
    }
}

void Instance::sendMidi (const std::vector<std::vector<unsigned char>>& messages, const std::vector<int>& positions)
{
    MidiEventList events (messages, positions);
    sendMidi (events);
}

void Instance::sendMidi (MidiEventList& events)
{
    dispatch (vst::effProcessEvents, 0, 0, events.list());
}

std::vector<float> Instance::render (int frames, bool replacing, float initialValue)
{
    std::vector<float> samples ((size_t) frames * 2, initialValue);
    float* outputs[] = { samples.data(), samples.data() + frames };
    if (replacing)
        effect->processReplacing (effect, nullptr, outputs, frames);
    else
        effect->process (effect, nullptr, outputs, frames);
    return samples;
}

std::vector<float> Instance::allValues()
{
    std::vector<float> values;
    for (int i = 0; i < numPatchValues; ++i)
        values.push_back (effect->getParameter (effect, i));
    return values;
}

std::vector<unsigned char> Instance::chunk()
{
    void* data = nullptr;
    const auto size = dispatch (vst::effGetChunk, 0, 0, &data);
    if (data == nullptr || size <= 0)
        return {};
    const auto* bytes = static_cast<const unsigned char*> (data);
    return std::vector<unsigned char> (bytes, bytes + size);
}

void Instance::setChunk (const std::vector<unsigned char>& bytes)
{
    dispatch (vst::effSetChunk, 0, (vst::intptr) bytes.size(), const_cast<unsigned char*> (bytes.data()));
}

void Instance::pumpFor (int ms)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds (ms);
    while (std::chrono::steady_clock::now() < end)
    {
        dispatch (vst::effEditIdle);
        std::this_thread::sleep_for (std::chrono::milliseconds (5));
    }
}

std::vector<unsigned char> makeChunkDeclaring (const std::string& xml, unsigned int declaredLength)
{
    std::vector<unsigned char> bytes { 0x56, 0x43, 0x32, 0x21 };
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back ((unsigned char) (declaredLength >> shift));
    bytes.insert (bytes.end(), xml.begin(), xml.end());
    return bytes;
}

std::vector<unsigned char> makeChunk (const std::string& xml)
{
    auto bytes = makeChunkDeclaring (xml, (unsigned int) xml.size());
    bytes.push_back (0);
    bytes.push_back (0);
    return bytes;
}

double rms (const std::vector<float>& samples, size_t from, size_t to)
{
    double sum = 0.0;
    for (size_t i = from; i < to; ++i)
        sum += (double) samples[i] * samples[i];
    return to > from ? std::sqrt (sum / (double) (to - from)) : 0.0;
}

double bestMilliseconds (int runs, const std::function<void()>& call)
{
    using Clock = std::chrono::steady_clock;
    auto best = Clock::duration::max();
    for (int run = 0; run < runs; ++run)
    {
        const auto start = Clock::now();
        call();
        best = std::min (best, Clock::now() - start);
    }
    return std::chrono::duration<double, std::milli> (best).count();
}
} // namespace quane::test
