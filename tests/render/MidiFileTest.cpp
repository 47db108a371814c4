// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// MIDI files through quane-render: notes of several tracks land where the tempo map puts them.
#include "ToolTestSupport.h"

#include <gtest/gtest.h>

namespace quane::test
{
namespace
{
constexpr double sampleRate = 48000.0;
constexpr int ticksPerQuarter = 480;

juce::MidiMessage tempoAt (double bpm, double tick)
{
    auto message = juce::MidiMessage::tempoMetaEvent (juce::roundToInt (60.0e6 / bpm));
    message.setTimeStamp (tick);
    return message;
}

void addNote (juce::MidiMessageSequence& track, int noteNumber, double tick)
{
    track.addEvent (juce::MidiMessage::noteOn (1, noteNumber, (juce::uint8) 110), tick);
    track.addEvent (juce::MidiMessage::noteOff (1, noteNumber), tick + 60.0);
}

/** Sample positions where the signal first rises above the onset level after at least 50 ms
    below the silence level: the starts of separate notes. */
std::vector<int> onsetsOf (const juce::AudioBuffer<float>& audio)
{
    constexpr float onsetLevel = 1.0e-3f, silenceLevel = 1.0e-4f;
    const auto quietRun = (int) (0.05 * sampleRate);
    std::vector<int> onsets;
    bool armed = true;
    int quietSamples = 0;
    for (int i = 0; i < audio.getNumSamples(); ++i)
    {
        const auto level = juce::jmax (std::abs (audio.getSample (0, i)), std::abs (audio.getSample (1, i)));
        quietSamples = level < silenceLevel ? quietSamples + 1 : 0;
        armed = armed || quietSamples >= quietRun;
        if (armed && level > onsetLevel)
        {
            onsets.push_back (i);
            armed = false;
        }
    }
    return onsets;
}
} // namespace

TEST (MidiFiles, NotesOfAllTracksLandWhereTheTempoMapPutsThem)
{
    // Tempo track: 120 BPM, 60 BPM from beat 4, 200 BPM from beat 8.
    juce::MidiMessageSequence tempoTrack;
    tempoTrack.addEvent (tempoAt (120.0, 0));
    tempoTrack.addEvent (tempoAt (60.0, 4 * ticksPerQuarter));
    tempoTrack.addEvent (tempoAt (200.0, 8 * ticksPerQuarter));

    // Notes on beats 0, 2, 4, 6, 8 and 10, alternating between two tracks.
    juce::MidiMessageSequence first, second;
    const double beats[] = { 0, 2, 4, 6, 8, 10 };
    for (int i = 0; i < 6; ++i)
        addNote (i % 2 == 0 ? first : second, 60 + i, beats[i] * ticksPerQuarter);
    first.updateMatchedPairs();
    second.updateMatchedPairs();

    ScratchFolder scratch;
    const auto midi = scratch.file ("tempo-changes.mid");
    writeMidiFile (midi, ticksPerQuarter, { tempoTrack, first, second });

    // A plain saw with the shortest envelope times, so every note starts from silence. The module
    // holds a note that starts p samples into a block for p of its internal half-sample steps, so
    // a note sounds up to half a block early: small blocks keep that below a millisecond.
    const auto run = runTool ({ "--midi", midi.getFullPathName(), "--rate", "48000", "--block", "64", "--program",
                                "Simple Saw", "--tail", "0.5", "--set", "Amp Attack=0.001", "--set",
                                "Amp Release=0.001", "--out", scratch.path ("notes.wav") });
    ASSERT_EQ (run.exitCode, 0) << run.output;
    const auto audio = readWav (scratch.file ("notes.wav"));

    // 0.5 s per beat up to beat 4, 1 s per beat up to beat 8, then 0.3 s per beat.
    const double expectedSeconds[] = { 0.0, 1.0, 2.0, 4.0, 6.0, 6.6 };
    const auto onsets = onsetsOf (audio);
    ASSERT_EQ (onsets.size(), std::size (expectedSeconds)) << run.output;
    for (size_t i = 0; i < onsets.size(); ++i)
    {
        SCOPED_TRACE ("note " + std::to_string (i));
        const auto expected = (int) (expectedSeconds[i] * sampleRate);
        EXPECT_GE (onsets[i], expected - 32);
        EXPECT_LE (onsets[i], expected + (int) (0.005 * sampleRate));
    }
    // The render stops the tail after the last note-off (beat 10 + 60 ticks).
    EXPECT_EQ (audio.getNumSamples(),
               juce::roundToInt ((6.6 + 60.0 / ticksPerQuarter * 0.3) * sampleRate) + (int) (0.5 * sampleRate));
}
} // namespace quane::test
