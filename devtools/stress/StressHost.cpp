// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The stress tool's host: the module opened with dlopen, instances made through its entry, and
// the process's memory figures.
#include "devtools/stress/StressHost.h"

#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <malloc.h>
#include <unistd.h>

namespace quane::stress
{
namespace
{
// Answers only the version question; the module may call it from any thread.
vst::intptr quietHost (vst::AEffect*, vst::int32 opcode, vst::int32, vst::intptr, void*, float)
{
    return opcode == vst::audioMasterVersion ? 2400 : 0;
}
} // namespace

Module::Module (const std::string& path)
{
    handle = dlopen (path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr)
    {
        std::fprintf (stderr, "cannot load %s: %s\n", path.c_str(), dlerror());
        return;
    }
    entry = reinterpret_cast<vst::AEffect* (*) (vst::AudioMasterCallback)> (dlsym (handle, "VSTPluginMain"));
}

Module::~Module()
{
    if (handle != nullptr)
        dlclose (handle);
}

vst::AEffect* Module::createEffect() const
{
    return entry != nullptr ? entry (quietHost) : nullptr;
}

Instance::Instance (const Module& module, float sampleRate, int maximumBlockSize) : effect (module.createEffect())
{
    if (effect == nullptr)
        return;
    dispatch (vst::effOpen);
    dispatch (vst::effSetSampleRate, 0, 0, nullptr, sampleRate);
    dispatch (vst::effSetBlockSize, 0, maximumBlockSize);
    dispatch (vst::effMainsChanged, 0, 1);
}

Instance::~Instance()
{
    if (effect == nullptr)
        return;
    dispatch (vst::effMainsChanged, 0, 0);
    dispatch (vst::effClose);
}

vst::intptr Instance::dispatch (vst::int32 opcode, vst::int32 index, vst::intptr value, void* ptr, float opt)
{
    return effect->dispatcher (effect, opcode, index, value, ptr, opt);
}

void Instance::send (const std::vector<TimedMessage>& messages)
{
    records.assign (messages.size(), vst::VstMidiEvent {});
    listBytes.assign (offsetof (vst::VstEvents, events) + messages.size() * sizeof (vst::VstEvent*), 0);
    auto* list = reinterpret_cast<vst::VstEvents*> (listBytes.data());
    vst::VstEvent** slots = &list->events[0]; // as many entries as messages, not the declared two
    list->numEvents = (vst::int32) messages.size();

    for (size_t i = 0; i < messages.size(); ++i)
    {
        records[i].type = vst::kVstMidiType;
        records[i].byteSize = 24;
        records[i].deltaFrames = messages[i].position;
        std::memcpy (records[i].midiData, messages[i].bytes, 3);
        slots[i] = reinterpret_cast<vst::VstEvent*> (&records[i]);
    }
    dispatch (vst::effProcessEvents, 0, 0, list);
}

void Instance::render (float* left, float* right, int numSamples)
{
    float* outputs[] = { left, right };
    effect->processReplacing (effect, nullptr, outputs, numSamples);
}

std::vector<char> Instance::chunk()
{
    void* data = nullptr;
    const auto size = dispatch (vst::effGetChunk, 0, 0, &data);
    if (data == nullptr || size <= 0)
        return {};
    return std::vector<char> (static_cast<const char*> (data), static_cast<const char*> (data) + size);
}

void Instance::restore (const std::vector<char>& chunk)
{
    dispatch (vst::effSetChunk, 0, (vst::intptr) chunk.size(), const_cast<char*> (chunk.data()));
}

long countBadSamples (const float* samples, int count)
{
    long bad = 0;
    for (int i = 0; i < count; ++i)
        bad += std::fabs (samples[i]) <= outputBound ? 0 : 1;
    return bad;
}

MemoryFigures measureMemory()
{
    MemoryFigures figures;
    long pages = 0, residentPages = 0;
    if (auto* statm = std::fopen ("/proc/self/statm", "r"))
    {
        if (std::fscanf (statm, "%ld %ld", &pages, &residentPages) != 2)
            residentPages = 0;
        std::fclose (statm);
    }
    constexpr double mebibyte = 1024.0 * 1024.0;
    figures.residentMiB = (double) residentPages * (double) sysconf (_SC_PAGESIZE) / mebibyte;
    const auto heap = mallinfo2();
    figures.heapInUseMiB = (double) (heap.uordblks + heap.hblkhd) / mebibyte;
    return figures;
}

double cpuSecondsOfThisThread()
{
    timespec now {};
    clock_gettime (CLOCK_THREAD_CPUTIME_ID, &now);
    return (double) now.tv_sec + (double) now.tv_nsec * 1.0e-9;
}
} // namespace quane::stress
