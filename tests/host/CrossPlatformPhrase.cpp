// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The phrase and the patch state that every build of the module must render and store alike.
#include "tests/host/CrossPlatformPhrase.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace quane::test
{
namespace
{
constexpr int phraseFrames = 66150;

struct PhraseEvent
{
    int frame;
    unsigned char status, data1, data2;
};

/** MIDI of the phrase, in time order: a four-note chord under a wheel sweep and bends, a second
    chord on another channel, a held lead note with a deep bend, then all notes off. */
std::vector<PhraseEvent> phraseEvents()
{
    std::vector<PhraseEvent> events {
        { 10, 0x90, 48, 100 },    { 10, 0x90, 55, 90 },    { 11, 0x90, 60, 80 },   { 37, 0x90, 64, 70 },
        { 12000, 0xe0, 0, 90 },   { 18000, 0xe0, 0, 20 },  { 24000, 0xe0, 0, 64 }, { 30000, 0x80, 48, 0 },
        { 30000, 0x80, 55, 0 },   { 30001, 0x80, 60, 0 },  { 30500, 0x80, 64, 0 }, { 32000, 0x91, 57, 127 },
        { 32000, 0x91, 60, 64 },  { 32003, 0x91, 64, 33 }, { 32003, 0x91, 69, 1 }, { 40000, 0xe1, 127, 127 },
        { 44000, 0x81, 57, 0 },   { 44000, 0x81, 60, 0 },  { 44100, 0x81, 64, 0 }, { 44100, 0x81, 69, 0 },
        { 53000, 0x90, 72, 110 }, { 56000, 0xe0, 0, 0 },   { 60000, 0xe0, 0, 64 }, { 62000, 0xb0, 123, 0 },
    };
    for (int step = 0; step <= 15; ++step)
        events.push_back ({ 5000 + 1000 * step, 0xb0, 1, (unsigned char) std::min (127, step * 9) });
    std::stable_sort (events.begin(), events.end(), [] (const auto& a, const auto& b) { return a.frame < b.frame; });
    return events;
}

struct ProgramChange
{
    int frame, program;
};

/** Program changes the host makes between blocks, before the first block at or after the frame. */
constexpr ProgramChange programChanges[] = { { 0, 3 }, { 31000, 5 }, { 52000, 9 } };
} // namespace

std::vector<float> renderCrossPlatformPhrase (int blockSize, bool replacing)
{
    Instance instance;
    if (instance.getEffect() == nullptr)
        return {};
    instance.dispatch (vst::effSetSampleRate, 0, 0, nullptr, 44100.0f);
    instance.dispatch (vst::effSetBlockSize, 0, blockSize);
    instance.resume();

    const auto events = phraseEvents();
    std::vector<float> left, right;
    size_t nextEvent = 0, nextProgram = 0;
    for (int start = 0; start < phraseFrames; start += blockSize)
    {
        const int length = std::min (blockSize, phraseFrames - start);
        for (; nextProgram < std::size (programChanges) && programChanges[nextProgram].frame <= start; ++nextProgram)
            instance.dispatch (vst::effSetProgram, 0, programChanges[nextProgram].program);

        std::vector<hostkit::TimedMessage> messages;
        for (; nextEvent < events.size() && events[nextEvent].frame < start + length; ++nextEvent)
        {
            const auto& event = events[nextEvent];
            messages.push_back ({ event.frame - start, { event.status, event.data1, event.data2 } });
        }
        if (! messages.empty())
            instance.sendMidi (messages);

        const auto block = instance.render (length, replacing);
        left.insert (left.end(), block.begin(), block.begin() + length);
        right.insert (right.end(), block.begin() + length, block.end());
    }
    left.insert (left.end(), right.begin(), right.end());
    return left;
}

std::string phraseFileName (int blockSize, bool replacing)
{
    return "phrase-" + std::to_string (blockSize) + (replacing ? "-replacing" : "-process") + ".f32";
}

void setCrossPlatformPatch (Instance& instance)
{
    instance.dispatch (vst::effSetProgram, 0, 7);
    instance.setParameter (6, 0.123456789f);
    instance.setParameter (18, -0.3333333f);
    instance.setParameter (9, 1.0e-5f);
    instance.setParameter (25, 0.999f);
    instance.setParameter (4, 7.0f / 3.0f);
    instance.setParameter (33, 2.0f);
}

bool writeBytes (const std::string& path, const void* data, size_t size)
{
    std::ofstream file (path, std::ios::binary);
    file.write (static_cast<const char*> (data), (std::streamsize) size);
    return file.good();
}

std::vector<unsigned char> readBytes (const std::string& path)
{
    std::ifstream file (path, std::ios::binary);
    return std::vector<unsigned char> ((std::istreambuf_iterator<char> (file)), std::istreambuf_iterator<char>());
}

bool writeFloats (const std::string& path, const std::vector<float>& samples)
{
    std::vector<unsigned char> bytes (samples.size() * 4);
    for (size_t i = 0; i < samples.size(); ++i)
    {
        std::uint32_t bits;
        std::memcpy (&bits, &samples[i], 4);
        for (int b = 0; b < 4; ++b)
            bytes[4 * i + (size_t) b] = (unsigned char) (bits >> (8 * b));
    }
    return writeBytes (path, bytes.data(), bytes.size());
}

std::vector<float> readFloats (const std::string& path)
{
    const auto bytes = readBytes (path);
    std::vector<float> samples (bytes.size() / 4);
    for (size_t i = 0; i < samples.size(); ++i)
    {
        std::uint32_t bits = 0;
        for (int b = 3; b >= 0; --b)
            bits = (bits << 8) | bytes[4 * i + (size_t) b];
        std::memcpy (&samples[i], &bits, 4);
    }
    return samples;
}
} // namespace quane::test
