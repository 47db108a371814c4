// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// MIDI files from strangers through quane-render: each ends in a clear refusal or a sensible render, in bounded memory.
#include "ToolTestSupport.h"

#include "engine/EngineLimits.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sys/resource.h>

namespace quane::test
{
namespace
{
using Bytes = std::vector<juce::uint8>;

Bytes variableLength (juce::uint32 value)
{
    Bytes out { (juce::uint8) (value & 0x7f) };
    while ((value >>= 7) != 0)
        out.insert (out.begin(), (juce::uint8) ((value & 0x7f) | 0x80));
    return out;
}

void append (Bytes& to, const Bytes& bytes)
{
    to.insert (to.end(), bytes.begin(), bytes.end());
}

void appendBigEndian (Bytes& to, juce::uint32 value, int numBytes)
{
    for (int shift = 8 * (numBytes - 1); shift >= 0; shift -= 8)
        to.push_back ((juce::uint8) (value >> shift));
}

/** A track chunk of (delta, bytes) events, with the length it announces unless one is given. */
Bytes track (const std::vector<std::pair<juce::uint32, Bytes>>& events, int lengthError = 0)
{
    Bytes body;
    for (const auto& [delta, bytes] : events)
    {
        append (body, variableLength (delta));
        append (body, bytes);
    }
    Bytes chunk { 'M', 'T', 'r', 'k' };
    appendBigEndian (chunk, (juce::uint32) ((int) body.size() + lengthError), 4);
    append (chunk, body);
    return chunk;
}

/** A file of these tracks; the header's six bytes follow whatever length it announces. */
Bytes midiFile (const std::vector<Bytes>& tracks, juce::uint16 division, juce::uint32 headerLength = 6)
{
    Bytes file { 'M', 'T', 'h', 'd' };
    appendBigEndian (file, headerLength, 4);
    appendBigEndian (file, tracks.size() == 1 ? 0 : 1, 2);
    appendBigEndian (file, (juce::uint32) tracks.size(), 2);
    appendBigEndian (file, division, 2);
    for (const auto& chunk : tracks)
        append (file, chunk);
    return file;
}

const Bytes noteOn { 0x90, 60, 100 }, noteOff { 0x80, 60, 0 }, endOfTrack { 0xff, 0x2f, 0x00 };

/** A plain tune: a tempo track and a track of a note every quarter, 96 ticks per quarter. */
Bytes plainTune()
{
    std::vector<std::pair<juce::uint32, Bytes>> notes;
    for (int i = 0; i < 8; ++i)
        notes.insert (notes.end(),
                      { { 0, { 0x90, (juce::uint8) (60 + i), 100 } }, { 96, { 0x80, (juce::uint8) (60 + i), 0 } } });
    notes.push_back ({ 0, endOfTrack });
    return midiFile ({ track ({ { 0, { 0xff, 0x51, 0x03, 0x07, 0xa1, 0x20 } }, { 0, endOfTrack } }), track (notes) },
                     96);
}

struct Outcome
{
    int exitCode;
    juce::String output;
    juce::AudioBuffer<float> audio;
};

Outcome play (const ScratchFolder& scratch, const juce::String& name, const Bytes& bytes,
              const juce::StringArray& extraArguments = {})
{
    const auto file = scratch.file (name + ".mid");
    file.replaceWithData (bytes.data(), bytes.size());
    const auto wav = scratch.file (name + ".wav");
    wav.deleteFile();
    juce::StringArray arguments { "--midi", file.getFullPathName(), "--tail", "0.25", "--out", wav.getFullPathName() };
    arguments.addArray (extraArguments);
    const auto run = runTool (arguments);
    return { run.exitCode, run.output, readWav (wav) };
}

void expectRefused (const Outcome& outcome, const char* message)
{
    EXPECT_EQ (outcome.exitCode, 3) << outcome.output;
    EXPECT_TRUE (outcome.output.startsWith ("quane-render: ") && outcome.output.contains (message)) << outcome.output;
    EXPECT_EQ (juce::StringArray::fromLines (outcome.output.trim()).size(), 1) << outcome.output;
    EXPECT_EQ (outcome.audio.getNumSamples(), 0);
}

/** A render of about the expected length, every sample finite and within the output's bound. */
void expectSensible (const Outcome& outcome, double seconds, bool audible = true)
{
    ASSERT_TRUE (outcome.exitCode == 0 && outcome.output.contains ("x real time")) << outcome.output;
    ASSERT_EQ (outcome.audio.getNumChannels(), 2);
    EXPECT_NEAR (outcome.audio.getNumSamples() / 44100.0, seconds, 0.05);
    for (int channel = 0; channel < 2; ++channel)
        for (int i = 0; i < outcome.audio.getNumSamples(); ++i)
            ASSERT_LE (std::abs (outcome.audio.getSample (channel, i)), outputBound) << "sample " << i;
    EXPECT_EQ (outcome.audio.getMagnitude (0, outcome.audio.getNumSamples()) > 1.0e-3f, audible);
}
} // namespace

TEST (MalformedMidi, BrokenStructureIsRefusedWithItsReason)
{
    ScratchFolder scratch;
    const auto tune = plainTune();
    expectSensible (play (scratch, "plain", tune), 4.0 + 0.25);

    expectRefused (play (scratch, "truncated", Bytes (tune.begin(), tune.end() - 10)),
                   "announces more bytes than follow");
    expectRefused (play (scratch, "zero-division", midiFile ({ track ({ { 0, noteOn }, { 10, noteOff } }) }, 0)),
                   "is not a standard MIDI file: its time division is 0");
    expectRefused (play (scratch, "long-header", midiFile ({ track ({ { 0, noteOn } }) }, 96, 1000)), "wrong length");
    expectRefused (play (scratch, "no-header", Bytes (tune.begin() + 14, tune.end())), "has no header");

    // A track that announces two bytes too few leaves them where the next track should begin.
    const auto shortTrack = midiFile ({ track ({ { 0, noteOn }, { 96, noteOff }, { 0, endOfTrack } }, -2) }, 96);
    expectRefused (play (scratch, "track-length", shortTrack), "bytes follow its last track");

    // A header that announces too few bytes is read whole, as files have always been read here.
    expectSensible (play (scratch, "short-header", midiFile ({ track ({ { 0, noteOn }, { 96, noteOff } }) }, 96, 2)),
                    0.5 + 0.25);
}

TEST (MalformedMidi, TimingExtremesAreRefusedBeforeRenderingOrPlayed)
{
    ScratchFolder scratch;

    // One note 0x0fffffff ticks out: 388 hours at 96 ticks per quarter and 120 BPM.
    const auto far = midiFile ({ track ({ { 0x0fffffff, noteOn }, { 0, endOfTrack } }) }, 96);
    expectRefused (play (scratch, "far", far),
                   "would play for 1398101 s (388.4 hours), longer than the limit of 3600 s");

    // Thirty seconds out: refused below the limit given, played without it.
    const auto thirtySeconds = midiFile ({ track ({ { 96 * 60, noteOn }, { 48, noteOff } }) }, 96);
    expectRefused (play (scratch, "limit", thirtySeconds, { "--max-seconds", "10" }), "would play for 30 s");
    expectSensible (play (scratch, "thirty", thirtySeconds), 30.25 + 0.25);

    // SMPTE time: 25 frames of 40 ticks a second, so 500 ticks are half a second.
    expectSensible (play (scratch, "smpte", midiFile ({ track ({ { 0, noteOn }, { 500, noteOff } }) }, 0xe728)),
                    0.5 + 0.25);

    // A tempo of 0 stops the clock: everything after it happens at once.
    const auto stopped = midiFile (
        { track ({ { 0, noteOn }, { 96, { 0xff, 0x51, 0x03, 0, 0, 0 } }, { 9600, noteOff } }) }, 96);
    expectSensible (play (scratch, "tempo-zero", stopped), 0.5 + 0.25);
}

TEST (MalformedMidi, OddContentIsPlayedOrSkipped)
{
    ScratchFolder scratch;

    // A megabyte of system exclusive before a note.
    Bytes sysex { 0xf0 };
    append (sysex, variableLength (1 << 20));
    sysex.resize (sysex.size() + (1 << 20), 0x11);
    sysex.push_back (0xf7);
    expectSensible (
        play (scratch, "sysex", midiFile ({ track ({ { 0, sysex }, { 0, noteOn }, { 96, noteOff } }) }, 96)),
        0.5 + 0.25);

    // Data bytes with no status to run on end the track: nothing plays.
    expectSensible (play (scratch, "no-status", midiFile ({ track ({ { 0, { 60, 100 } }, { 96, noteOff } }) }, 96)),
                    0.25, false);

    // 10,000 notes at once, on every channel, released a quarter later.
    std::vector<std::pair<juce::uint32, Bytes>> crowd;
    for (int i = 0; i < 10000; ++i)
        crowd.push_back ({ 0, { (juce::uint8) (0x90 | (i % 16)), (juce::uint8) (i % 128), 100 } });
    crowd.push_back ({ 96, { 0xb0, 123, 0 } });
    expectSensible (play (scratch, "crowd", midiFile ({ track (crowd) }, 96)), 0.5 + 0.25);
}

TEST (MalformedMidi, OversizedFilesAreRefusedBeforeTheyAreRead)
{
    ScratchFolder scratch;

    // 1,000,001 events of three bytes each under running status.
    Bytes events;
    append (events, { 0x00, 0x90, 60, 100 });
    for (int i = 0; i < 1000000; ++i)
        append (events, { 0x00, 60, (juce::uint8) (i % 2 == 0 ? 0 : 100) });
    Bytes chunk { 'M', 'T', 'r', 'k' };
    appendBigEndian (chunk, (juce::uint32) events.size(), 4);
    append (chunk, events);
    expectRefused (play (scratch, "million", midiFile ({ chunk }, 96)), "holds more than 1000000 events");

    // A file of 64 MB and one byte (sparse: nothing is written).
    const auto huge = scratch.file ("huge.mid");
    huge.create();
    std::filesystem::resize_file (huge.getFullPathName().toStdString(), 64 * 1024 * 1024 + 1);
    const auto run = runTool ({ "--midi", huge.getFullPathName(), "--out", scratch.path ("huge.wav") });
    EXPECT_EQ (run.exitCode, 3);
    EXPECT_TRUE (run.output.contains ("is larger than any MIDI file read here (64 MB)")) << run.output;
}

TEST (MalformedMidi, RandomFlipsEndInARefusalOrARenderInBoundedMemory)
{
    ScratchFolder scratch;
    std::mt19937 random (2024);
    const auto tune = plainTune();
    for (int round = 0; round < 24; ++round)
    {
        SCOPED_TRACE (round);
        auto flipped = tune;
        for (int flips = 1 + round % 4; flips > 0; --flips)
            flipped[random() % flipped.size()] ^= (juce::uint8) (1u << (random() % 8));
        const auto outcome = play (scratch, "flipped", flipped, { "--max-seconds", "60" });
        // A render that ends prints its summary; a crash would not (and reads as status 0).
        if (outcome.exitCode == 3)
            expectRefused (outcome, "");
        else
            EXPECT_TRUE (outcome.exitCode == 0 && outcome.output.contains ("x real time")) << outcome.output;
    }

    // No run of this test, whatever it was given, grew beyond the bound.
    rusage usage {};
    getrusage (RUSAGE_CHILDREN, &usage);
    EXPECT_LT (usage.ru_maxrss, 100 * 1024) << "kilobytes";
}
} // namespace quane::test
