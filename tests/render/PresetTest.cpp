// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// quane-render's program and bank files: layout, round trip into a fresh instance, all 39 values.
#include "ToolTestSupport.h"

#include "engine/PatchParams.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace quane::test
{
namespace
{
constexpr juce::uint32 quaneUniqueId = 0x11149876;

juce::uint32 floatBits (float value)
{
    juce::uint32 bits;
    std::memcpy (&bits, &value, sizeof (bits));
    return bits;
}

juce::uint32 bigEndianAt (const juce::MemoryBlock& bytes, size_t offset)
{
    return juce::ByteOrder::bigEndianInt (static_cast<const char*> (bytes.getData()) + offset);
}

juce::String textAt (const juce::MemoryBlock& bytes, size_t offset, size_t length)
{
    return juce::String (static_cast<const char*> (bytes.getData()) + offset, length);
}

juce::MemoryBlock fileBytes (const juce::File& file)
{
    juce::MemoryBlock bytes;
    file.loadFileAsData (bytes);
    return bytes;
}

/** The fields every preset file starts with: its size, kind ("FPCh" or "FBCh"), format version,
    the module's ID and version, and the count (parameters or programs). */
void expectPresetHeader (const juce::MemoryBlock& file, const char* kind, juce::uint32 count)
{
    EXPECT_EQ (textAt (file, 0, 4), "CcnK");
    EXPECT_EQ (bigEndianAt (file, 4), file.getSize() - 8);
    EXPECT_EQ (textAt (file, 8, 4), kind);
    EXPECT_EQ (bigEndianAt (file, 12), 1u);
    EXPECT_EQ (bigEndianAt (file, 16), quaneUniqueId);
    EXPECT_EQ (bigEndianAt (file, 20), 1u); // the AEffect's version field, as hosts store it
    EXPECT_EQ (bigEndianAt (file, 24), count);
}

/** The 39 patch values stored in a preset's chunk, as the exact float bits of their text. */
std::vector<juce::uint32> patchValueBits (const juce::MemoryBlock& preset, size_t chunkOffset)
{
    const juce::MemoryBlock chunk (static_cast<const char*> (preset.getData()) + chunkOffset,
                                   preset.getSize() - chunkOffset);
    const auto textLength = juce::ByteOrder::littleEndianInt (static_cast<const char*> (chunk.getData()) + 4);
    const auto element = juce::XmlDocument::parse (textAt (chunk, 8, textLength));
    std::vector<juce::uint32> bits;
    if (element == nullptr)
        return bits;
    for (int index = 0; index < patch::valueCount; ++index)
    {
        const auto value = (float) element->getDoubleAttribute (juce::String (index), std::nan (""));
        bits.push_back (floatBits (value));
    }
    return bits;
}
} // namespace

TEST (Presets, ProgramFileLayoutAndRoundTripIntoAFreshInstance)
{
    ScratchFolder scratch;
    const auto saved = runTool ({ "--program", "Bell Lead", "--set", "Cutoff=0.3", "--set", "LFO2 Depth=-0.25", "--set",
                                  "Octave=1", "--save", scratch.path ("edited.fxp"), "--out",
                                  scratch.path ("edited.wav") });
    ASSERT_EQ (saved.exitCode, 0) << saved.output;

    const auto preset = fileBytes (scratch.file ("edited.fxp"));
    ASSERT_GT (preset.getSize(), 70u);
    expectPresetHeader (preset, "FPCh", (juce::uint32) patch::parameterCount);
    EXPECT_EQ (textAt (preset, 28, 28), "Bell Lead");
    for (size_t i = 28 + 9; i < 56; ++i)
        EXPECT_EQ (static_cast<const char*> (preset.getData())[i], 0) << "name padding byte " << i;
    EXPECT_EQ (bigEndianAt (preset, 56), preset.getSize() - 60);
    EXPECT_EQ (textAt (preset, 60, 4), "VC2!");

    // The edits are stored exactly, as the floats the module was given.
    const auto savedValues = patchValueBits (preset, 60);
    ASSERT_EQ (savedValues.size(), (size_t) patch::valueCount);
    EXPECT_EQ (savedValues[6], floatBits (0.3f));
    EXPECT_EQ (savedValues[27], floatBits (-0.25f));
    EXPECT_EQ (savedValues[3], floatBits (1.0f));

    // A fresh instance that loads the file plays the same and saves the same 39 values.
    const auto loaded = runTool ({ "--load", scratch.path ("edited.fxp"), "--save", scratch.path ("again.fxp"), "--out",
                                   scratch.path ("loaded.wav") });
    ASSERT_EQ (loaded.exitCode, 0) << loaded.output;
    const auto original = readWav (scratch.file ("edited.wav"));
    EXPECT_TRUE (identical (original, readWav (scratch.file ("loaded.wav"))));
    EXPECT_EQ (patchValueBits (fileBytes (scratch.file ("again.fxp")), 60), savedValues);

    // ...which is more than a fresh instance's own sound.
    ASSERT_EQ (runTool ({ "--out", scratch.path ("default.wav") }).exitCode, 0);
    const auto plain = readWav (scratch.file ("default.wav"));
    ASSERT_EQ (plain.getNumSamples(), original.getNumSamples());
    EXPECT_GT (rmsDifference (plain, original), 0.001);
}

TEST (Presets, BankFileLayoutAndRoundTrip)
{
    ScratchFolder scratch;
    const auto saved = runTool ({ "--program", "Rezzy Bass", "--set", "Resonance=0.7", "--save",
                                  scratch.path ("bank.fxb"), "--out", scratch.path ("bank.wav") });
    ASSERT_EQ (saved.exitCode, 0) << saved.output;

    const auto bank = fileBytes (scratch.file ("bank.fxb"));
    ASSERT_GT (bank.getSize(), 170u);
    expectPresetHeader (bank, "FBCh", 12u);
    for (size_t i = 28; i < 156; ++i)
        ASSERT_EQ (static_cast<const char*> (bank.getData())[i], 0) << "reserved byte " << i;
    EXPECT_EQ (bigEndianAt (bank, 156), bank.getSize() - 160);
    EXPECT_EQ (patchValueBits (bank, 160)[7], floatBits (0.7f));

    const auto loaded = runTool ({ "--load", scratch.path ("bank.fxb"), "--save", scratch.path ("again.fxb"), "--out",
                                   scratch.path ("loaded.wav") });
    ASSERT_EQ (loaded.exitCode, 0) << loaded.output;
    EXPECT_TRUE (identical (readWav (scratch.file ("bank.wav")), readWav (scratch.file ("loaded.wav"))));
    EXPECT_EQ (patchValueBits (fileBytes (scratch.file ("again.fxb")), 160), patchValueBits (bank, 160));
}

TEST (Presets, BrokenFilesAreRefused)
{
    ScratchFolder scratch;
    ASSERT_EQ (runTool ({ "--program", "2", "--save", scratch.path ("good.fxp") }).exitCode, 0);
    const auto good = fileBytes (scratch.file ("good.fxp"));

    auto expectRefused = [&] (const juce::String& name, const juce::MemoryBlock& bytes, const juce::String& message) {
        SCOPED_TRACE (name.toStdString());
        scratch.file (name).replaceWithData (bytes.getData(), bytes.getSize());
        const auto run = runTool ({ "--load", scratch.path (name), "--out", scratch.path ("never.wav") });
        EXPECT_EQ (run.exitCode, 3) << run.output;
        EXPECT_TRUE (run.output.contains (message)) << run.output;
        EXPECT_FALSE (scratch.file ("never.wav").exists());
    };

    expectRefused ("text.fxp", juce::MemoryBlock ("just some text, not a preset", 28), "is not a VST preset file");
    expectRefused ("cut.fxp", juce::MemoryBlock (good.getData(), good.getSize() - 20), "is cut short");

    auto otherModule = good;
    otherModule[19] = (char) 0x77;
    expectRefused ("other.fxp", otherModule, "belongs to the module with ID 0x11149877");

    auto parameterList = good;
    std::memcpy (static_cast<char*> (parameterList.getData()) + 8, "FxCk", 4);
    expectRefused ("list.fxp", parameterList, "list of parameter values");

    // Larger than any preset: refused by its size, before it is read (the file is sparse).
    const auto huge = scratch.file ("huge.fxp");
    huge.create();
    std::filesystem::resize_file (huge.getFullPathName().toStdString(), 64 * 1024 * 1024 + 1);
    const auto run = runTool ({ "--load", huge.getFullPathName(), "--out", scratch.path ("never.wav") });
    EXPECT_EQ (run.exitCode, 3) << run.output;
    EXPECT_TRUE (run.output.contains ("is larger than any preset file read here (64 MB)")) << run.output;
}
} // namespace quane::test
