// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Standard MIDI files and timed sequences turned into sample-positioned events with a tempo map.
#include "Performance.h"

#include "RenderOptions.h"

namespace quane::render
{
TempoMap::TempoMap (double initialBpm)
{
    segments.push_back ({ 0.0, 0.0, initialBpm });
}

void TempoMap::addChange (double startSeconds, double bpm)
{
    auto& last = segments.back();
    if (startSeconds <= last.startSeconds)
    {
        // A change at the same moment (typically at 0) replaces the tempo that held there.
        last.bpm = bpm;
        return;
    }
    segments.push_back ({ startSeconds, quarterNotesAt (startSeconds), bpm });
}

const TempoMap::Segment& TempoMap::segmentAt (double seconds) const
{
    auto it = std::upper_bound (segments.begin(), segments.end(), seconds,
                                [] (double time, const Segment& segment) { return time < segment.startSeconds; });
    return it == segments.begin() ? segments.front() : *std::prev (it);
}

double TempoMap::tempoAt (double seconds) const
{
    return segmentAt (seconds).bpm;
}

double TempoMap::quarterNotesAt (double seconds) const
{
    const auto& segment = segmentAt (seconds);
    return segment.startQuarterNotes + (seconds - segment.startSeconds) * segment.bpm / 60.0;
}

Performance performSequence (const juce::MidiMessageSequence& sequence, double sampleRate, TempoMap tempo,
                             juce::String sourceName)
{
    Performance performance { std::move (sourceName), {}, std::move (tempo) };

    for (const auto* holder : sequence)
    {
        const auto& message = holder->message;
        if (message.isMetaEvent() || message.isSysEx() || message.getRawDataSize() > 3
            || message.getRawData()[0] >= 0xf0)
            continue;

        TimedMidi event;
        event.samplePosition = juce::roundToInt (juce::jmax (0.0, message.getTimeStamp()) * sampleRate);
        std::copy_n (message.getRawData(), message.getRawDataSize(), event.bytes);
        performance.events.push_back (event);
    }

    std::stable_sort (performance.events.begin(), performance.events.end(),
                      [] (const TimedMidi& a, const TimedMidi& b) { return a.samplePosition < b.samplePosition; });
    return performance;
}

namespace
{
// Tempo events are read in ticks, before the file's own conversion to seconds, so that the
// transport can report quarter-note positions through the same tempo changes.
TempoMap tempoMapOf (const juce::MidiFile& midi)
{
    const auto ticksPerQuarter = (double) midi.getTimeFormat();
    if (ticksPerQuarter <= 0.0)
        return TempoMap(); // SMPTE-timed files carry no musical time; report the default tempo

    juce::MidiMessageSequence tempoEvents;
    midi.findAllTempoEvents (tempoEvents);

    TempoMap map;
    double lastTick = 0.0, seconds = 0.0, secondsPerQuarter = 0.5;
    for (const auto* holder : tempoEvents)
    {
        const auto tick = holder->message.getTimeStamp();
        seconds += (tick - lastTick) / ticksPerQuarter * secondsPerQuarter;
        lastTick = tick;
        secondsPerQuarter = holder->message.getTempoSecondsPerQuarterNote();
        if (secondsPerQuarter > 0.0)
            map.addChange (seconds, 60.0 / secondsPerQuarter);
    }
    return map;
}
} // namespace

Performance loadMidiFile (const juce::File& file, double sampleRate)
{
    juce::FileInputStream stream (file);
    if (! stream.openedOk())
        fail (ToolError::Kind::input,
              "cannot read the MIDI file " + file.getFullPathName() + ": " + stream.getStatus().getErrorMessage());

    juce::MidiFile midi;
    if (! midi.readFrom (stream))
        fail (ToolError::Kind::input, file.getFullPathName() + " is not a standard MIDI file");

    auto tempo = tempoMapOf (midi);
    midi.convertTimestampTicksToSeconds();

    juce::MidiMessageSequence merged;
    for (int track = 0; track < midi.getNumTracks(); ++track)
        merged.addSequence (*midi.getTrack (track), 0.0);
    merged.sort();

    return performSequence (merged, sampleRate, std::move (tempo), file.getFileName());
}
} // namespace quane::render
