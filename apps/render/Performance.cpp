// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Timed sequences and MIDI files turned into sample-positioned events with a tempo map.
#include "Performance.h"

#include "MidiFileReader.h"
#include "RenderOptions.h"

#include "hostkit/FileReading.h"

#include <cmath>

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

juce::int64 samplePositionOf (double seconds, double sampleRate)
{
    return (juce::int64) std::nearbyint (juce::jmax (0.0, seconds) * sampleRate);
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
        event.samplePosition = samplePositionOf (message.getTimeStamp(), sampleRate);
        std::copy_n (message.getRawData(), message.getRawDataSize(), event.bytes);
        performance.events.push_back (event);
    }

    std::stable_sort (performance.events.begin(), performance.events.end(),
                      [] (const TimedMidi& a, const TimedMidi& b) { return a.samplePosition < b.samplePosition; });
    return performance;
}

Performance loadMidiFile (const juce::File& file, double sampleRate, double maximumSeconds)
{
    const auto bytes = hostkit::readWholeFile (file, maximumMidiFileBytes, "MIDI file");
    auto performance = readMidiFile (static_cast<const juce::uint8*> (bytes.getData()), bytes.getSize(),
                                     file.getFullPathName(), sampleRate, maximumSeconds);
    performance.sourceName = file.getFileName();
    return performance;
}
} // namespace quane::render
