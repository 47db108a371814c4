// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// quane-render against the real module: the demo for every program, block sizes, --set, formats, picture.
#include "ToolTestSupport.h"

#include <gtest/gtest.h>
#include <juce_graphics/juce_graphics.h>
#include <set>

namespace quane::test
{
namespace
{
const char* const programStems[] = { "00-chordy",     "01-basic",       "02-siddish",         "03-pulse-lead",
                                     "04-bell-lead",  "05-pluck-me",    "06-chordy-again",    "07-rezzy-bass",
                                     "08-simple-saw", "09-pluck-again", "10-bell-lead-again", "11-sawish-power-chord" };

/** Three notes, a bend and the mod wheel, all within the first 46 samples at 44.1 kHz
    (960 ticks per quarter at 120 BPM: one tick is 23 samples). The notes are held to the end:
    a note-off would have to fall in the first block too, before the notes can sound. */
void writeFirstBlockMidi (const juce::File& file)
{
    juce::MidiMessageSequence notes;
    notes.addEvent (juce::MidiMessage::noteOn (1, 48, (juce::uint8) 100), 0);
    notes.addEvent (juce::MidiMessage::noteOn (1, 55, (juce::uint8) 70), 1);
    notes.addEvent (juce::MidiMessage::pitchWheel (1, 10000), 1);
    notes.addEvent (juce::MidiMessage::noteOn (1, 64, (juce::uint8) 127), 2);
    notes.addEvent (juce::MidiMessage::controllerEvent (1, 1, 90), 2);
    writeMidiFile (file, 960, { notes });
}
} // namespace

TEST (RenderTool, DemoIsAudibleForEveryProgram)
{
    ScratchFolder scratch;
    const auto run = runTool ({ "--all-programs", "--out", scratch.path ("renders") });
    ASSERT_EQ (run.exitCode, 0) << run.output;

    juce::AudioBuffer<float> first;
    for (int program = 0; program < 12; ++program)
    {
        SCOPED_TRACE (programStems[program]);
        double sampleRate = 0.0;
        const auto audio = readWav (
            scratch.file ("renders").getChildFile (juce::String (programStems[program]) + ".wav"), &sampleRate);
        ASSERT_EQ (audio.getNumChannels(), 2);
        EXPECT_EQ (sampleRate, 44100.0);
        EXPECT_GT (audio.getNumSamples(), 8 * 44100); // the phrase lasts about 9.4 s, plus the tail

        for (int channel = 0; channel < 2; ++channel)
        {
            EXPECT_GT (audio.getRMSLevel (channel, 0, audio.getNumSamples()), 0.01f);
            EXPECT_LT (audio.getMagnitude (channel, 0, audio.getNumSamples()), 4.0f);
            for (int i = 0; i < audio.getNumSamples(); ++i)
                ASSERT_TRUE (std::isfinite (audio.getSample (channel, i))) << "channel " << channel << " sample " << i;
        }

        // One summary line per program, with its name.
        EXPECT_TRUE (run.output.contains (juce::String (programStems[program]) + ".wav")) << run.output;
        if (program == 0)
            first = audio;
        else
            EXPECT_GT (rmsDifference (first, audio), 0.001) << "sounds like program 0";
    }
    EXPECT_EQ (juce::StringArray::fromLines (run.output.trim()).size(), 12) << run.output;
}

TEST (RenderTool, BlockSizeDoesNotChangeTheOutputWhenEventsFallInTheFirstBlock)
{
    ScratchFolder scratch;
    const auto midi = scratch.file ("first-block.mid");
    writeFirstBlockMidi (midi);

    for (const auto* program : { "0", "Bell Lead", "Rezzy Bass", "11" })
    {
        SCOPED_TRACE (program);
        juce::Array<juce::AudioBuffer<float>> renders;
        for (const auto* block : { "64", "100", "4096" })
        {
            const auto wav = scratch.file (juce::String ("block-") + block + ".wav");
            const auto run = runTool ({ "--midi", midi.getFullPathName(), "--program", program, "--block", block,
                                        "--tail", "1.5", "--out", wav.getFullPathName() });
            ASSERT_EQ (run.exitCode, 0) << run.output;
            renders.add (readWav (wav));
        }
        ASSERT_GT (renders[0].getMagnitude (0, renders[0].getNumSamples()), 0.001f) << "the short notes are silent";
        EXPECT_TRUE (identical (renders[0], renders[1]))
            << "64 and 100 differ by RMS " << rmsDifference (renders[0], renders[1]);
        EXPECT_TRUE (identical (renders[0], renders[2]))
            << "64 and 4096 differ by RMS " << rmsDifference (renders[0], renders[2]);
    }
}

TEST (RenderTool, SetChangesTheSoundByFullNameHostNameOrIndex)
{
    ScratchFolder scratch;
    auto render = [&] (const juce::String& name, const juce::StringArray& sets) {
        juce::StringArray arguments { "--program", "Simple Saw", "--tail", "1", "--out", scratch.path (name) };
        for (const auto& set : sets)
            arguments.addArray ({ "--set", set });
        const auto run = runTool (arguments);
        EXPECT_EQ (run.exitCode, 0) << run.output;
        return readWav (scratch.file (name));
    };

    const auto plain = render ("plain.wav", {});
    const auto darker = render ("darker.wav", { "Cutoff=0.05" });
    ASSERT_EQ (plain.getNumSamples(), darker.getNumSamples());
    EXPECT_GT (rmsDifference (plain, darker), 0.01);

    // The same parameter in every spelling a person may use gives the same sound.
    for (const auto* spelling : { "cutoff=0.05", "6=0.05", " CUTOFF = 0.05" })
        EXPECT_TRUE (identical (darker, render ("spelling.wav", { spelling }))) << spelling;

    // A full name longer than the 8 characters hosts see, and that host name itself.
    const auto longRelease = render ("release.wav", { "Amp Release=0.9" });
    EXPECT_GT (rmsDifference (plain, longRelease), 0.001);
    EXPECT_TRUE (identical (longRelease, render ("release-host-name.wav", { "amp rele=0.9" })));
    EXPECT_TRUE (identical (longRelease, render ("release-index.wav", { "13=0.9" })));

    // Later settings win, in command-line order.
    EXPECT_TRUE (identical (darker, render ("overwritten.wav", { "Cutoff=0.9", "Cutoff=0.05" })));
}

TEST (RenderTool, WritesTwentyFourBitFilesAtTheChosenRate)
{
    ScratchFolder scratch;
    const auto run = runTool (
        { "--rate", "48000", "--bits", "24", "--tail", "0.5", "--out", scratch.path ("render.wav"), "--quiet" });
    ASSERT_EQ (run.exitCode, 0) << run.output;
    EXPECT_TRUE (run.output.isEmpty()) << run.output;

    double sampleRate = 0.0;
    int bits = 0;
    const auto audio = readWav (scratch.file ("render.wav"), &sampleRate, &bits);
    EXPECT_EQ (sampleRate, 48000.0);
    EXPECT_EQ (bits, 24);
    EXPECT_GT (audio.getRMSLevel (0, 0, audio.getNumSamples()), 0.01f);
}

TEST (RenderTool, SummaryAndPicture)
{
    ScratchFolder scratch;
    const auto run = runTool (
        { "--program", "3", "--out", scratch.path ("lead.wav"), "--png", scratch.path ("lead.png") });
    ASSERT_EQ (run.exitCode, 0) << run.output;

    // "03 Pulse Lead   11.42 s  peak L -1.4 R -1.4 dBFS  RMS L ... dBFS  250.0x real time  -> .../lead.wav"
    const auto line = run.output.trim();
    EXPECT_TRUE (line.startsWith ("03 Pulse Lead")) << line;
    for (const auto* part : { " s ", "peak L", "RMS L", " R ", "dBFS", "x real time", "lead.wav" })
        EXPECT_TRUE (line.contains (part)) << part << " missing in: " << line;

    const auto picture = juce::ImageFileFormat::loadFrom (scratch.file ("lead.png"));
    ASSERT_TRUE (picture.isValid());
    EXPECT_GE (picture.getWidth(), 1000);
    EXPECT_GE (picture.getHeight(), 600);

    // Drawn content, not a blank image: count the distinct colours along the middle row.
    std::set<juce::uint32> colours;
    for (int x = 0; x < picture.getWidth(); ++x)
        colours.insert (picture.getPixelAt (x, picture.getHeight() * 3 / 4).getARGB());
    EXPECT_GT (colours.size(), 50u);
}
} // namespace quane::test
