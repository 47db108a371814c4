// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The stress tool's host: the module opened with dlopen, instances made through its entry, and
// the process's memory figures. Plain C++ rather than the tools' shared JUCE-based host, so that
// the process holds no JUCE but the module's: its memory figures and the memory checker's
// findings are the module's own.
#pragma once

#include "host/VstAbi.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quane::stress
{
/** Ten voices, each adding at most twice full scale to a channel: Spread acts within -1..2. */
constexpr float outputBound = 20.0f * 1.0001f;

/** The module file, opened as a music host opens it and closed with the object. */
class Module
{
public:
    explicit Module (const std::string& path);
    ~Module();

    Module (const Module&) = delete;
    Module& operator= (const Module&) = delete;

    bool isLoaded() const { return entry != nullptr; }
    vst::AEffect* createEffect() const;

private:
    void* handle = nullptr;
    vst::AEffect* (*entry) (vst::AudioMasterCallback) = nullptr;
};

/** A short MIDI message at a position in the next block. */
struct TimedMessage
{
    int position;
    unsigned char bytes[3];
};

/** One instance, opened and resumed at the given rate and block size; closed with the object.
    Driven from the thread that made it (the module's message thread) unless said otherwise. */
class Instance
{
public:
    Instance (const Module& module, float sampleRate, int maximumBlockSize);
    ~Instance();

    Instance (const Instance&) = delete;
    Instance& operator= (const Instance&) = delete;

    bool isOpen() const { return effect != nullptr; }
    vst::intptr dispatch (vst::int32 opcode, vst::int32 index = 0, vst::intptr value = 0, void* ptr = nullptr,
                          float opt = 0.0f);
    void setParameter (int index, float value) { effect->setParameter (effect, index, value); }
    int numParameters() const { return effect->numParams; }
    int numPrograms() const { return effect->numPrograms; }

    void send (const std::vector<TimedMessage>& messages);
    /** Renders numSamples (replacing) into left and right, which must hold that many. */
    void render (float* left, float* right, int numSamples);

    std::vector<char> chunk();
    void restore (const std::vector<char>& chunk);

private:
    vst::AEffect* effect = nullptr;
    std::vector<vst::VstMidiEvent> records;
    std::vector<char> listBytes;
};

/** Counts the samples that are not finite or lie beyond the output bound. */
long countBadSamples (const float* samples, int count);

/** The process's resident memory and the bytes the heap has handed out and not taken back. */
struct MemoryFigures
{
    double residentMiB = 0.0;
    double heapInUseMiB = 0.0;
};

MemoryFigures measureMemory();
double cpuSecondsOfThisThread();
} // namespace quane::stress
