// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Renders each factory program with ten held notes through the model and prints its real-time factor.
//
// Usage: quane-benchmark [seconds of audio per program, default 20] [block size, default 512]
// The factor is seconds of audio rendered per second of processor time of this process; run it
// from a Release build on an otherwise idle core.
#include "plugin/FactoryPrograms.h"
#include "plugin/MyPlugJuceFilter.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace
{
constexpr double sampleRate = 44100.0;
constexpr int heldNotes[] = { 36, 43, 48, 52, 55, 60, 64, 67, 72, 79 };

struct Result
{
    double realTimeFactor;
    int activeVoices;
    float peak;
};

Result benchmarkProgram (int program, double seconds, int blockSize)
{
    using namespace quane;
    MyPlugJuceFilter model;
    model.beginPlayback (sampleRate, blockSize);
    model.selectProgram (program);

    std::vector<float> left ((size_t) blockSize), right ((size_t) blockSize);
    float* channels[] = { left.data(), right.data() };
    juce::AudioBuffer<float> output (channels, 2, blockSize);
    juce::AudioBuffer<float> input;

    juce::MidiBuffer midi;
    for (int note : heldNotes)
        midi.addEvent (juce::MidiMessage::noteOn (1, note, (juce::uint8) 100), 0);

    const auto blocks = (long) std::ceil (seconds * sampleRate / blockSize);
    float peak = 0.0f;
    const std::clock_t begin = std::clock();
    for (long block = 0; block < blocks; ++block)
    {
        {
            const juce::ScopedLock lock (model.processLock);
            model.processAudioBlock (input, output, false, midi);
        }
        midi.clear();
        // Read the output so that the render cannot be optimised away.
        peak = std::max (peak, std::fabs (left[(size_t) (block % blockSize)]));
    }
    const double cpuSeconds = (double) (std::clock() - begin) / CLOCKS_PER_SEC;

    int active = 0;
    for (int v = 0; v < SynthEngine::voiceCount; ++v)
        active += model.getEngine().getVoice (v).isActive() ? 1 : 0;

    const double audioSeconds = (double) blocks * blockSize / sampleRate;
    return { cpuSeconds > 0.0 ? audioSeconds / cpuSeconds : 0.0, active, peak };
}
} // namespace

int main (int argc, char** argv)
{
    const double seconds = argc > 1 ? std::atof (argv[1]) : 20.0;
    const int blockSize = argc > 2 ? std::atoi (argv[2]) : 512;
    if (! (seconds > 0.0) || blockSize <= 0)
    {
        std::fprintf (stderr, "usage: quane-benchmark [seconds > 0] [block size > 0]\n");
        return 2;
    }

    const juce::ScopedJuceInitialiser_GUI juce;
    std::printf ("%d held notes, %.1f s of audio per program at %.0f Hz, blocks of %d\n",
                 (int) std::size (heldNotes), seconds, sampleRate, blockSize);
    std::printf ("%-3s %-20s %16s %14s\n", "#", "program", "real-time factor", "voices at end");

    double sumOfFactors = 0.0;
    for (int program = 0; program < quane::factoryProgramCount; ++program)
    {
        const auto result = benchmarkProgram (program, seconds, blockSize);
        sumOfFactors += result.realTimeFactor;
        std::printf ("%-3d %-20s %16.1f %14d%s\n", program, quane::factoryPrograms().programs[program].name,
                     result.realTimeFactor, result.activeVoices, result.peak > 0.0f ? "" : "  (silent)");
    }
    std::printf ("mean real-time factor %.1f\n", sumOfFactors / quane::factoryProgramCount);
    return 0;
}
