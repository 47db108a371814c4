// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The VST 2.x module as the reference of the format tests, and comparing renders.
#include "tests/formats/FormatTestSupport.h"

#include "engine/EngineLimits.h"
#include "tests/formats/Lv2Plugin.h"
#include "tests/formats/Vst3Plugin.h"

#include <cmath>
#include <cstring>

namespace quane::test
{
std::string parameterIdentifier (int patchIndex)
{
    static const char* const identifiers[] = {
        "phase",           "phaserlevel",         "detune",
        "octave",          "bendrange",           "saturation",
        "cutoff",          "resonance",           "volume",
        "spread",          "ampattack",           "ampdecay",
        "ampsustain",      "amprelease",          "env1attack",
        "env1decay",       "env1sustain",         "env1release",
        "env1depth",       "env2attack",          "env2decay",
        "env2sustain",     "env2release",         "env2depth",
        "lfo1speed",       "lfo1depth",           "lfo2speed",
        "lfo2depth",       "velocitydepth",       "modwheeldepth",
        "oscwave",         "env1destination",     "env2destination",
        "lfo1shape",       "lfo1destination",     "lfo2shape",
        "lfo2destination", "velocitydestination", "modwheeldestination",
    };
    return identifiers[patchIndex];
}

std::string formatName (Format format)
{
    return format == Format::lv2 ? "LV2" : "VST3";
}

std::unique_ptr<PluginUnderTest> loadPlugin (Format format, double sampleRate, int maximumBlockSize)
{
    if (format == Format::lv2)
    {
        auto plugin = std::make_unique<Lv2Plugin> (sampleRate, maximumBlockSize);
        return plugin->isLoaded() ? std::move (plugin) : nullptr;
    }
    auto plugin = std::make_unique<Vst3Plugin> (sampleRate, maximumBlockSize);
    return plugin->isLoaded() ? std::move (plugin) : nullptr;
}

std::vector<float> renderKolv (const std::vector<TimedEvent>& events, int length, int blockSize, double sampleRate,
                               const std::function<void (Instance&)>& setUp)
{
    Instance kolv;
    kolv.dispatch (vst::effSetSampleRate, 0, 0, nullptr, (float) sampleRate);
    kolv.dispatch (vst::effSetBlockSize, 0, blockSize);
    kolv.resume();
    if (setUp)
        setUp (kolv);

    std::vector<float> rendered ((size_t) length * 2);
    for (int start = 0; start < length; start += blockSize)
    {
        const int frames = std::min (blockSize, length - start);
        const auto blockEvents = goldenPhraseBlock (events, start, frames);
        if (! blockEvents.isEmpty())
        {
            hostkit::VstEventList list (blockEvents.getNumEvents());
            for (const auto event : blockEvents)
                list.add (event.data, event.numBytes, event.samplePosition);
            kolv.sendEvents (list.record());
        }
        const auto block = kolv.render (frames);
        std::copy (block.begin(), block.begin() + frames, rendered.begin() + start);
        std::copy (block.begin() + frames, block.end(), rendered.begin() + length + start);
    }
    return rendered;
}

std::string firstDifference (const std::vector<float>& rendered, const std::vector<float>& reference)
{
    if (rendered.size() != reference.size())
        return "length " + std::to_string (rendered.size()) + " instead of " + std::to_string (reference.size());
    for (size_t i = 0; i < rendered.size(); ++i)
        if (std::memcmp (&rendered[i], &reference[i], sizeof (float)) != 0)
            return "sample " + std::to_string (i % (rendered.size() / 2))
                   + (i < rendered.size() / 2 ? " left: " : " right: ") + std::to_string (rendered[i]) + " instead of "
                   + std::to_string (reference[i]);
    return {};
}

bool isFiniteAndBounded (const std::vector<float>& samples)
{
    for (const float sample : samples)
        if (! std::isfinite (sample) || std::abs (sample) > outputBound)
            return false;
    return true;
}
} // namespace quane::test
