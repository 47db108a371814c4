// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// What a render plays: MIDI messages at sample positions, with the tempo map for the transport.
#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

namespace quane::render
{
/** Quarter notes against seconds, piecewise constant in tempo. */
class TempoMap
{
public:
    explicit TempoMap (double initialBpm = 120.0);

    /** Appends a tempo that holds from startSeconds on; calls come in time order. */
    void addChange (double startSeconds, double bpm);

    double tempoAt (double seconds) const;
    double quarterNotesAt (double seconds) const;

private:
    struct Segment
    {
        double startSeconds, startQuarterNotes, bpm;
    };
    std::vector<Segment> segments;

    const Segment& segmentAt (double seconds) const;
};

/** One short MIDI message (note, controller, pitch wheel...) at a sample of the render. */
struct TimedMidi
{
    juce::int64 samplePosition = 0;
    juce::uint8 bytes[3] = {};
};

struct Performance
{
    juce::String sourceName;       // the MIDI file's name or "demo"
    std::vector<TimedMidi> events; // in time order
    TempoMap tempo;

    juce::int64 lastEventSample() const { return events.empty() ? 0 : events.back().samplePosition; }
};

/** The sample a time falls on, rounded to the nearest (halves to even); times before 0 fall on 0. */
juce::int64 samplePositionOf (double seconds, double sampleRate);

/** A sequence timed in seconds (sorted) turned into sample positions; meta and system messages
    are dropped, because a VST host passes only channel messages as MIDI events. */
Performance performSequence (const juce::MidiMessageSequence& secondsTimed, double sampleRate, TempoMap tempo,
                             juce::String sourceName);

/** A standard MIDI file with all its tracks merged and its tempo map applied (MidiFileReader.h).
    Throws ToolError (input) when the file is missing, too large, not a standard MIDI file, or
    plays for longer than maximumSeconds. */
Performance loadMidiFile (const juce::File& file, double sampleRate, double maximumSeconds);

/** The embedded phrase that shows the instrument: a spread chord left to ring out, then a lead
    line with pitch bend and mod wheel over a bass line, with velocities from soft to hard. */
Performance demoPhrase (double sampleRate);
} // namespace quane::render
