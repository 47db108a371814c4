// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// quane-benchmark: real-time factors of the module, and of other VST 2.x modules, through their entries.
//
// Usage: quane-benchmark [--seconds S] [--module PATH] [--kernels all|NAME,...] [OTHER_MODULE.so ...]
// Every instance is driven as a host drives it: effOpen, rate, block size, resume, note-ons
// through effProcessEvents, then processReplacing. The factor is seconds of audio per second of
// this thread's processor time; each figure is the best of five runs. The runs go in rounds,
// each round measuring every figure of every module once, so a spell of load on the machine
// costs one run of many figures rather than all runs of one, and every module shares it.
// Quane's voice-lanes kernel is chosen through the environment (engine/VoiceLanesChoice.h) before
// each of its instances is made, so several kernels are measured side by side in one run.
#include "devtools/benchmark/Measurement.h"
#include "hostkit/ModuleOpening.h"
#include "hostkit/ToolError.h"

#include "engine/VoiceLanesChoice.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace quane::benchmark
{
namespace
{
constexpr const char* usage =
    "usage: quane-benchmark [--seconds S] [--module PATH] [--kernels all|NAME,...] [OTHER_MODULE.so ...]";

struct Options
{
    double seconds = 20.0;
    juce::String module;
    juce::StringArray kernels; // Quane's voice-lanes kernels to measure, by name
    juce::StringArray others;
};

/** The kernels a --kernels value names that this processor runs: "all", or names with commas. */
juce::StringArray kernelsNamed (const juce::String& value)
{
    juce::StringArray wanted, kernels;
    wanted.addTokens (value, ",", "");
    for (int kind = 0; kind < voiceLanesChoice::kindCount; ++kind)
    {
        const juce::String name (voiceLanesChoice::names[kind]);
        const bool asked = value == "all" || wanted.contains (name);
        if (asked && voiceLanesChoice::runs (kind))
            kernels.add (name);
        else if (asked && value != "all")
            hostkit::fail (hostkit::ToolError::Kind::usage, "this processor does not run the " + name + " kernel");
        wanted.removeString (name);
    }
    if (value != "all" && ! wanted.isEmpty())
        hostkit::fail (hostkit::ToolError::Kind::usage,
                       "unknown kernel " + wanted[0] + " (avx512, avx2, sse2, scalar or all)");
    return kernels;
}

Options parse (const juce::StringArray& arguments)
{
    Options options;
    options.module = hostkit::defaultModulePath (QUANE_DEFAULT_MODULE_PATH);
    options.kernels.add (voiceLanesChoice::names[voiceLanesChoice::chosen()]);
    for (int i = 0; i < arguments.size(); ++i)
    {
        const auto& argument = arguments[i];
        if (argument == "--seconds" && i + 1 < arguments.size())
            options.seconds = arguments[++i].getDoubleValue();
        else if (argument == "--module" && i + 1 < arguments.size())
            options.module = arguments[++i];
        else if (argument == "--kernels" && i + 1 < arguments.size())
            options.kernels = kernelsNamed (arguments[++i]);
        else if (argument.startsWith ("-"))
            hostkit::fail (hostkit::ToolError::Kind::usage, usage);
        else
            options.others.add (argument);
    }
    if (! (options.seconds > 0.0))
        hostkit::fail (hostkit::ToolError::Kind::usage, "--seconds needs a positive number");
    return options;
}

/** The configurations every module is measured in; the first is the one modules are compared by. */
const Setting settings[] = {
    { "10 voices", 10, 512, 44100.0 },   { "5 voices", 5, 512, 44100.0 }, { "1 voice", 1, 512, 44100.0 },
    { "idle", 0, 512, 44100.0 },         { "block 32", 10, 32, 44100.0 }, { "block 64", 10, 64, 44100.0 },
    { "block 4096", 10, 4096, 44100.0 }, { "96 kHz", 10, 512, 96000.0 },
};
constexpr size_t block512 = 0, block64 = 5; // the settings whose worst block is shown

std::string processorModel()
{
    std::ifstream cpuinfo ("/proc/cpuinfo");
    for (std::string line; std::getline (cpuinfo, line);)
        if (line.rfind ("model name", 0) == 0 && line.find (':') != std::string::npos)
            return line.substr (line.find (':') + 2);
    return "unknown";
}

void printHeader (const juce::String& first)
{
    std::printf ("%-28s", first.substring (0, 28).toRawUTF8());
    for (const auto& setting : settings)
        std::printf (" %10s", setting.label);
    std::printf (" %10s %10s\n", "worst 512", "worst 64");
}

void printRow (const juce::String& label, const std::vector<Result>& results)
{
    std::printf ("%-28s", label.substring (0, 28).toRawUTF8());
    for (const auto& result : results)
        std::printf (" %10.0f", result.realTimeFactor);
    std::printf (" %8.1f us %8.1f us\n", results[block512].worstBlockMicroseconds,
                 results[block64].worstBlockMicroseconds);
}

void printInstructions (const juce::String& label, const std::vector<Result>& results)
{
    if (std::none_of (results.begin(), results.end(), [] (const Result& r) { return r.instructionsPerSample > 0.0; }))
        return;
    std::printf ("%-28s", (label.substring (0, 20) + " instr.").toRawUTF8());
    for (const auto& result : results)
        if (result.instructionsPerSample > 0.0)
            std::printf (" %10.0f", result.instructionsPerSample);
        else
            std::printf (" %10s", "-");
    std::printf ("\n");
}

/** What one row of the table plays: a module with one of its programs (-1 for its own), and for
    Quane the voice-lanes kernel (empty for other modules). */
struct Subject
{
    const hostkit::LoadedModule* module;
    int program;
    juce::String kernel;
};

constexpr int rounds = 5;

/** The best run of every setting for every subject, the runs taken in rounds; the worst block
    shown is the lowest of the runs' worst blocks. */
std::vector<std::vector<Result>> measureInRounds (const std::vector<Subject>& subjects, double seconds)
{
    std::vector<std::vector<Result>> best (subjects.size(), std::vector<Result> (std::size (settings)));
    for (int round = 0; round < rounds; ++round)
        for (size_t row = 0; row < subjects.size(); ++row)
            for (size_t column = 0; column < std::size (settings); ++column)
            {
                const auto& subject = subjects[row];
                if (subject.kernel.isNotEmpty())
                    setenv (voiceLanesChoice::environmentVariable, subject.kernel.toRawUTF8(), 1);
                auto result = measure (*subject.module, subject.program, settings[column], seconds);
                auto& kept = best[row][column];
                const double worst = round == 0 ? result.worstBlockMicroseconds
                                                : std::min (kept.worstBlockMicroseconds, result.worstBlockMicroseconds);
                if (result.realTimeFactor > kept.realTimeFactor)
                    kept = std::move (result);
                kept.worstBlockMicroseconds = worst;
            }
    return best;
}

int run (const juce::StringArray& arguments)
{
    const auto options = parse (arguments);
    const auto module = hostkit::openModule (options.module);
    std::vector<std::unique_ptr<hostkit::LoadedModule>> others;
    for (const auto& path : options.others)
        others.push_back (hostkit::openModule (path));

    std::vector<Subject> subjects;
    const int programs = hostkit::openEffect (*module, 44100.0, 512, "quane-benchmark")->getNumPrograms();
    for (const auto& kernel : options.kernels)
        for (int program = 0; program < programs; ++program)
            subjects.push_back ({ module.get(), program, kernel });
    for (const auto& other : others)
        subjects.push_back ({ other.get(), -1, {} });

    std::printf ("Processor: %s\n", processorModel().c_str());
    std::printf ("Real-time factors (seconds of audio per second of processor time), %.0f s of audio per "
                 "figure,\nheld notes at velocity 100, best of %d runs taken in rounds over all figures; the "
                 "worst block's\nprocessor time at 512 and 64 frames (10 voices), the lowest of the runs' "
                 "worst; instructions\nper output sample where the processor counts them.\n",
                 options.seconds, rounds);

    // A first run warms the processor, caches and allocator up; it is not reported.
    measure (*module, 0, settings[0], options.seconds);
    const auto results = measureInRounds (subjects, options.seconds);

    std::vector<std::vector<double>> tenVoices; // per kernel, per program
    for (int k = 0; k < options.kernels.size(); ++k)
    {
        std::printf ("\n");
        printHeader ("Quane, kernel " + options.kernels[k]);
        tenVoices.emplace_back();
        for (int program = 0; program < programs; ++program)
        {
            const auto& row = results[(size_t) (k * programs + program)];
            printRow (juce::String (program).paddedLeft ('0', 2) + " " + row.front().programName, row);
            tenVoices.back().push_back (row.front().realTimeFactor);
        }
        printInstructions ("00", results[(size_t) (k * programs)]);
    }

    for (size_t o = 0; o < others.size(); ++o)
    {
        const auto& row = results[(size_t) (options.kernels.size() * programs) + o];
        const auto theirs = row.front().realTimeFactor;
        const auto label = row.front().programName.isEmpty() ? juce::String ("(its own program)")
                                                             : row.front().programName;

        std::printf ("\n");
        printHeader (juce::File (options.others[(int) o]).getFileName());
        printRow (label, row);
        printInstructions (label, row);
        for (int k = 0; k < options.kernels.size(); ++k)
        {
            const auto& ours = tenVoices[(size_t) k];
            const auto slowest = std::min_element (ours.begin(), ours.end());
            std::printf ("Quane (%s) against it, %s: program 00 %.1f times its real-time factor, the slowest "
                         "program (%02d) %.1f times\n",
                         options.kernels[k].toRawUTF8(), settings[0].label, ours.front() / theirs,
                         (int) (slowest - ours.begin()), *slowest / theirs);
        }
    }
    return 0;
}
} // namespace
} // namespace quane::benchmark

int main (int argc, char* argv[])
{
    return quane::hostkit::runToolMain ("quane-benchmark", argc, argv, quane::benchmark::run);
}
