// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// quane-render's refusals: each bad input gives its message and its exit status, and writes nothing.
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

namespace quane::test
{
namespace
{
struct BadRun
{
    const char* what;
    juce::StringArray arguments;
    int exitCode;
    const char* message;
};

void expectRefusal (const BadRun& bad, const ScratchFolder& scratch)
{
    SCOPED_TRACE (bad.what);
    juce::StringArray arguments;
    if (! bad.arguments.contains ("--out"))
        arguments.addArray ({ "--out", scratch.path ("never.wav") });
    arguments.addArray (bad.arguments);
    const auto run = runTool (arguments);
    EXPECT_EQ (run.exitCode, bad.exitCode) << run.output;
    EXPECT_TRUE (run.output.contains (bad.message)) << run.output;
    EXPECT_TRUE (run.output.startsWith ("quane-render: ")) << run.output;
    EXPECT_FALSE (scratch.file ("never.wav").exists());
}
} // namespace

TEST (ToolErrors, BadInputsGiveTheirMessagesAndExitCodes)
{
    ScratchFolder scratch;
    scratch.file ("notes.txt").replaceWithText ("these are not MIDI events\n");
    scratch.file ("fake.so").replaceWithText ("not a shared object\n");

    const BadRun badRuns[] = {
        { "unknown option", { "--loud" }, 1, "unknown option \"--loud\"" },
        { "missing value", { "--program" }, 1, "--program needs a value" },
        { "unknown program name",
          { "--program", "Wobble Bass" },
          1,
          "unknown program \"Wobble Bass\"; the module has 0 \"Chordy\"" },
        { "program number out of range", { "--program", "12" }, 1, "unknown program \"12\"" },
        { "unknown parameter",
          { "--set", "Wobble=0.5" },
          1,
          "unknown parameter \"Wobble\"; the module has 0 \"Phase\"" },
        { "setting without a value", { "--set", "Cutoff" }, 1, "--set needs NAME=VALUE" },
        { "setting with a bad number", { "--set", "Cutoff=loud" }, 1, "needs a number" },
        { "block size of zero", { "--block", "0" }, 1, "--block must lie between" },
        { "unsupported sample format", { "--bits", "16" }, 1, "--bits must be 32" },
        { "length limit of zero", { "--max-seconds", "0" }, 1, "--max-seconds must lie between 1 and 86400" },
        { "program with a preset",
          { "--program", "1", "--load", scratch.path ("x.fxp") },
          1,
          "--load replaces the whole patch" },
        { "missing module", { "--module", scratch.path ("nowhere/Kolv.so") }, 2, "cannot load the module" },
        { "file that is no module", { "--module", scratch.path ("fake.so") }, 2, "cannot load the module" },
        { "missing MIDI file", { "--midi", scratch.path ("missing.mid") }, 3, "cannot read the MIDI file" },
        { "file that is not MIDI", { "--midi", scratch.path ("notes.txt") }, 3, "is not a standard MIDI file" },
        { "missing preset", { "--load", scratch.path ("missing.fxp") }, 3, "cannot read the preset file" },
        { "output in a missing folder", { "--out", scratch.path ("no/such/folder/render.wav") }, 4, "cannot write" },
        { "picture in a missing folder", { "--png", scratch.path ("no/such/folder/render.png") }, 4, "cannot write" },
        { "preset in a missing folder", { "--save", scratch.path ("no/such/folder/p.fxp") }, 4, "cannot write" },
    };
    for (const auto& bad : badRuns)
        expectRefusal (bad, scratch);
}

TEST (ToolErrors, HelpListsEveryOption)
{
    const auto run = runTool ({ "--help" });
    EXPECT_EQ (run.exitCode, 0);
    for (const auto* option :
         { "--midi", "--program", "--all-programs", "--set", "--rate", "--block", "--tail", "--max-seconds", "--out",
           "--bits", "--png", "--editor-png", "--load", "--save", "--module", "--quiet", "--help", "Exit status" })
        EXPECT_TRUE (run.output.contains (option)) << option;
}
} // namespace quane::test
