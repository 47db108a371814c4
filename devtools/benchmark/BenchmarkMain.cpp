// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// quane-benchmark: real-time factors of the module, and of other VST 2.x modules, through their entries.
//
// Usage: quane-benchmark [--seconds S] [--module PATH] [OTHER_MODULE.so ...]
// Every instance is driven as a host drives it: effOpen, rate, block size, resume, note-ons
// through effProcessEvents, then processReplacing. The factor is seconds of audio per second of
// this thread's processor time; each figure is the best of five runs. The runs go in rounds,
// each round measuring every figure of every module once, so a spell of load on the machine
// costs one run of many figures rather than all runs of one, and every module shares it.
#include "devtools/benchmark/Measurement.h"
#include "hostkit/ModuleOpening.h"
#include "hostkit/ToolError.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace quane::benchmark
{
namespace
{
struct Options
{
    double seconds = 20.0;
    juce::String module;
    juce::StringArray others;
};

Options parse (const juce::StringArray& arguments)
{
    Options options;
    options.module = hostkit::defaultModulePath (QUANE_DEFAULT_MODULE_PATH);
    for (int i = 0; i < arguments.size(); ++i)
    {
        const auto& argument = arguments[i];
        if (argument == "--seconds" && i + 1 < arguments.size())
            options.seconds = arguments[++i].getDoubleValue();
        else if (argument == "--module" && i + 1 < arguments.size())
            options.module = arguments[++i];
        else if (argument.startsWith ("-"))
            hostkit::fail (hostkit::ToolError::Kind::usage,
                           "usage: quane-benchmark [--seconds S] [--module PATH] [OTHER_MODULE.so ...]");
        else
            options.others.add (argument);
    }
    if (! (options.seconds > 0.0))
        hostkit::fail (hostkit::ToolError::Kind::usage, "--seconds needs a positive number");
    return options;
}

/** The configurations every module is measured in; the first is the one modules are compared by. */
const Setting settings[] = {
    { "10 voices", 10, 512, 44100.0 }, { "5 voices", 5, 512, 44100.0 }, { "1 voice", 1, 512, 44100.0 },
    { "idle", 0, 512, 44100.0 },       { "block 32", 10, 32, 44100.0 }, { "block 4096", 10, 4096, 44100.0 },
    { "96 kHz", 10, 512, 96000.0 },
};

void printHeader (const char* first)
{
    std::printf ("%-28s", first);
    for (const auto& setting : settings)
        std::printf (" %10s", setting.label);
    std::printf ("\n");
}

void printRow (const juce::String& label, const std::vector<Result>& results)
{
    std::printf ("%-28s", label.substring (0, 28).toRawUTF8());
    for (const auto& result : results)
        std::printf (" %10.0f", result.realTimeFactor);
    std::printf ("\n");
}

void printInstructions (const juce::String& label, const std::vector<Result>& results)
{
    std::printf ("%-28s", (label.substring (0, 20) + " instr.").toRawUTF8());
    for (const auto& result : results)
        if (result.instructionsPerSample > 0.0)
            std::printf (" %10.0f", result.instructionsPerSample);
        else
            std::printf (" %10s", "-");
    std::printf ("\n");
}

/** What one row of the table plays: a module with one of its programs (-1 for its own). */
struct Subject
{
    const hostkit::LoadedModule* module;
    int program;
};

constexpr int rounds = 5;

/** The best run of every setting for every subject, the runs taken in rounds. */
std::vector<std::vector<Result>> measureInRounds (const std::vector<Subject>& subjects, double seconds)
{
    std::vector<std::vector<Result>> best (subjects.size(), std::vector<Result> (std::size (settings)));
    for (int round = 0; round < rounds; ++round)
        for (size_t row = 0; row < subjects.size(); ++row)
            for (size_t column = 0; column < std::size (settings); ++column)
            {
                auto result = measure (*subjects[row].module, subjects[row].program, settings[column], seconds);
                if (result.realTimeFactor > best[row][column].realTimeFactor)
                    best[row][column] = std::move (result);
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
    for (int program = 0; program < programs; ++program)
        subjects.push_back ({ module.get(), program });
    for (const auto& other : others)
        subjects.push_back ({ other.get(), -1 });

    std::printf ("Real-time factors (seconds of audio per second of processor time), %.0f s of audio per "
                 "figure,\nheld notes at velocity 100, best of %d runs taken in rounds over all figures; "
                 "instructions\nper output sample where the processor counts them.\n\n",
                 options.seconds, rounds);

    // A first run warms the processor, caches and allocator up; it is not reported.
    measure (*module, 0, settings[0], options.seconds);
    const auto results = measureInRounds (subjects, options.seconds);

    printHeader ("Quane program");
    std::vector<double> tenVoices;
    for (int program = 0; program < programs; ++program)
    {
        const auto& row = results[(size_t) program];
        printRow (juce::String (program).paddedLeft ('0', 2) + " " + row.front().programName, row);
        tenVoices.push_back (row.front().realTimeFactor);
    }
    const auto& firstProgram = results.front();
    if (std::any_of (firstProgram.begin(), firstProgram.end(),
                     [] (const Result& r) { return r.instructionsPerSample > 0.0; }))
        printInstructions ("00", firstProgram);

    for (size_t o = 0; o < others.size(); ++o)
    {
        const auto& row = results[(size_t) programs + o];
        const auto ours = tenVoices.front();
        const auto theirs = row.front().realTimeFactor;
        const auto slowest = std::min_element (tenVoices.begin(), tenVoices.end());
        const auto label = row.front().programName.isEmpty() ? juce::String ("(its own program)")
                                                             : row.front().programName;

        std::printf ("\n");
        printHeader (juce::File (options.others[(int) o]).getFileName().toRawUTF8());
        printRow (label, row);
        if (std::any_of (row.begin(), row.end(), [] (const Result& r) { return r.instructionsPerSample > 0.0; }))
            printInstructions (label, row);
        std::printf ("Quane against it, %s: program 00 %.1f times its real-time factor, the slowest program "
                     "(%02d) %.1f times\n",
                     settings[0].label, ours / theirs, (int) (slowest - tenVoices.begin()), *slowest / theirs);
    }
    return 0;
}
} // namespace
} // namespace quane::benchmark

int main (int argc, char* argv[])
{
    return quane::hostkit::runToolMain ("quane-benchmark", argc, argv, quane::benchmark::run);
}
