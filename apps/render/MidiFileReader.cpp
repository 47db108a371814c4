// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Standard MIDI files read into a performance in time and memory linear in their size.
#include "MidiFileReader.h"

#include "RenderOptions.h"
#include "TickClock.h"

#include <array>
#include <cmath>

namespace quane::render
{
namespace
{
enum class EventKind : juce::uint8
{
    channel,       // played
    tempo,         // changes the tempo from its tick on
    timeSignature, // no tempo, but a point the tick-to-seconds sum passes through
    other          // system exclusive, other meta events, system messages
};

/** One message of a track as the library read it, with its time in ticks. */
struct TrackEvent
{
    double tick;
    double secondsPerQuarter; // tempo events only
    juce::uint8 bytes[3];     // channel messages only
    EventKind kind;
    bool noteOn, noteOff; // a note-on of velocity 0 is a note-off
};

/** A played message of any track, in tick and then in seconds. */
struct ChannelEvent
{
    double time;
    juce::uint8 bytes[3];
};

juce::uint32 bigEndian32 (const juce::uint8* bytes)
{
    return juce::ByteOrder::bigEndianInt (bytes);
}

class MidiFileParser
{
public:
    MidiFileParser (const juce::uint8* bytes, size_t size, const juce::String& fileName)
        : data (bytes), end (bytes + size), name (fileName)
    {
    }

    Performance read (double sampleRate, double maximumSeconds)
    {
        readHeader();
        for (int track = 0; track < numTracks; ++track)
        {
            if (end - data < 8)
                refuse ("it ends before its track " + juce::String (track + 1) + " of " + juce::String (numTracks));
            const auto chunkType = bigEndian32 (data), chunkSize = bigEndian32 (data + 4);
            data += 8;
            if ((size_t) (end - data) < chunkSize)
                refuse ("its track " + juce::String (track + 1) + " announces more bytes than follow");
            if (chunkType == bigEndian32 ((const juce::uint8*) "MTrk"))
                readTrack (data, (int) chunkSize);
            data += chunkSize;
        }
        if (data != end)
            refuse ("bytes follow its last track");

        return perform (sampleRate, maximumSeconds);
    }

private:
    [[noreturn]] void refuse (const juce::String& reason) const
    {
        fail (ToolError::Kind::input, name + " is not a standard MIDI file: " + reason);
    }

    void readHeader()
    {
        // A RIFF wrapper puts the header some words in.
        static constexpr int wrapperWordsSearched = 8;
        if (end - data >= 4 && bigEndian32 (data) == bigEndian32 ((const juce::uint8*) "RIFF"))
            for (int word = 0; word <= wrapperWordsSearched && end - data >= 4; ++word, data += 4)
                if (bigEndian32 (data) == bigEndian32 ((const juce::uint8*) "MThd"))
                    break;

        if (end - data < 14 || bigEndian32 (data) != bigEndian32 ((const juce::uint8*) "MThd"))
            refuse ("it has no header");
        const auto headerSize = bigEndian32 (data + 4);
        const auto fileType = juce::ByteOrder::bigEndianShort (data + 8);
        numTracks = juce::ByteOrder::bigEndianShort (data + 10);
        timeFormat = (short) juce::ByteOrder::bigEndianShort (data + 12);
        if (headerSize > (size_t) (end - data) - 8)
            refuse ("its header has a wrong length");
        if (fileType > 2 || (fileType == 0 && numTracks != 1))
            refuse ("its type and track count do not match");
        if (timeFormat == 0 || (timeFormat < 0 && (timeFormat & 0xff) == 0))
            refuse ("its time division is 0");
        // Its length is not looked at further: writers get it wrong, and the library's reader
        // takes the tracks as starting after the six bytes every header has.
        data += 14;
    }

    void readTrack (const juce::uint8* trackData, int size)
    {
        trackEvents.clear();
        double tick = 0.0;
        juce::uint8 runningStatus = 0;
        while (size > 0)
        {
            const auto delta = juce::MidiMessage::readVariableLengthValue (trackData, size);
            if (! delta.isValid())
                break;
            trackData += delta.bytesUsed;
            size -= delta.bytesUsed;
            tick += delta.value;
            if (size <= 0)
                break;

            int bytesUsed = 0;
            const juce::MidiMessage message (trackData, size, bytesUsed, runningStatus, tick);
            if (bytesUsed <= 0)
                break; // a data byte with no status to run on ends the track
            trackData += bytesUsed;
            size -= bytesUsed;

            if (++eventCount > maximumMidiFileEvents)
                fail (ToolError::Kind::input, name + " holds more than " + juce::String (maximumMidiFileEvents)
                                                  + " events, more than any music needs");
            trackEvents.push_back (classify (message));
            if ((message.getRawData()[0] & 0xf0) != 0xf0)
                runningStatus = message.getRawData()[0];
        }

        // Within a track, note-offs go before note-ons of the same tick, as the library orders them.
        std::stable_sort (trackEvents.begin(), trackEvents.end(), [] (const TrackEvent& a, const TrackEvent& b) {
            if (a.tick != b.tick)
                return a.tick < b.tick;
            return a.noteOff && b.noteOn;
        });
        collectTrackEvents();
    }

    static TrackEvent classify (const juce::MidiMessage& message)
    {
        const auto* raw = message.getRawData();
        const auto size = message.getRawDataSize();
        TrackEvent event { message.getTimeStamp(), 0.0, {}, EventKind::other, false, false };

        if (raw[0] < 0xf0 && size <= 3)
        {
            event.kind = EventKind::channel;
            std::copy_n (raw, size, event.bytes);
            const auto kind = raw[0] & 0xf0;
            event.noteOn = kind == 0x90 && event.bytes[2] != 0;
            event.noteOff = kind == 0x80 || (kind == 0x90 && event.bytes[2] == 0);
        }
        else if (raw[0] == 0xff && size >= 2 && raw[1] == 0x58)
        {
            event.kind = EventKind::timeSignature;
        }
        else if (raw[0] == 0xff && size >= 2 && raw[1] == 0x51)
        {
            // Microseconds per quarter note in three bytes after the length; a shorter one is none.
            const auto length = juce::MidiMessage::readVariableLengthValue (raw + 2, size - 2);
            const auto* tempo = raw + 2 + length.bytesUsed;
            if (size - (2 + length.bytesUsed) >= 3)
            {
                event.kind = EventKind::tempo;
                event.secondsPerQuarter = ((tempo[0] << 16) | (tempo[1] << 8) | tempo[2]) / 1000000.0;
            }
        }
        return event;
    }

    /** The played messages and the tempo points of one sorted track; a note-on that repeats a
        note still sounding on its channel gets a note-off at its tick, just before it. */
    void collectTrackEvents()
    {
        std::array<bool, 16 * 256> sounding {};
        for (const auto& event : trackEvents)
        {
            if (event.kind == EventKind::tempo)
                tempoChanges.push_back ({ event.tick, event.secondsPerQuarter, true });
            else if (event.kind == EventKind::timeSignature)
                timeSignatures.push_back ({ event.tick, 0.0, false });
            if (event.kind != EventKind::channel)
                continue;

            const auto channel = event.bytes[0] & 0x0f;
            auto& isSounding = sounding[(size_t) (channel * 256 + event.bytes[1])];
            if (event.noteOn && isSounding)
            {
                const auto noteOff = juce::MidiMessage::noteOff (channel + 1, event.bytes[1]);
                played.push_back ({ event.tick, {} });
                std::copy_n (noteOff.getRawData(), 3, played.back().bytes);
            }
            if (event.noteOn || event.noteOff)
                isSounding = event.noteOn;
            played.push_back ({ event.tick, { event.bytes[0], event.bytes[1], event.bytes[2] } });
        }
    }

    Performance perform (double sampleRate, double maximumSeconds);
    TempoMap transportTempoMap() const;

    const juce::uint8* data;
    const juce::uint8* const end;
    juce::String name;
    int numTracks = 0;
    short timeFormat = 0;
    int eventCount = 0;
    std::vector<TrackEvent> trackEvents;
    std::vector<ChannelEvent> played;
    std::vector<TempoPoint> tempoChanges, timeSignatures;
};

// Tempo events are read in ticks, before the conversion to seconds, so that the transport can
// report quarter-note positions through the same tempo changes.
TempoMap MidiFileParser::transportTempoMap() const
{
    if (timeFormat < 0)
        return TempoMap(); // SMPTE-timed files carry no musical time; report the default tempo

    auto changes = tempoChanges;
    std::stable_sort (changes.begin(), changes.end(),
                      [] (const TempoPoint& a, const TempoPoint& b) { return a.tick < b.tick; });
    const auto ticksPerQuarter = (double) timeFormat;
    TempoMap map;
    double lastTick = 0.0, seconds = 0.0, secondsPerQuarter = 0.5;
    for (const auto& change : changes)
    {
        seconds += (change.tick - lastTick) / ticksPerQuarter * secondsPerQuarter;
        lastTick = change.tick;
        secondsPerQuarter = change.secondsPerQuarter;
        if (secondsPerQuarter > 0.0)
            map.addChange (seconds, 60.0 / secondsPerQuarter);
    }
    return map;
}

Performance MidiFileParser::perform (double sampleRate, double maximumSeconds)
{
    auto points = tempoChanges;
    points.insert (points.end(), timeSignatures.begin(), timeSignatures.end());
    const TickClock clock (timeFormat, std::move (points));
    for (auto& event : played)
        event.time = clock.secondsAt (event.time);
    // Between tracks, equal times keep track order.
    std::stable_sort (played.begin(), played.end(),
                      [] (const ChannelEvent& a, const ChannelEvent& b) { return a.time < b.time; });

    if (! played.empty() && played.back().time > maximumSeconds)
    {
        const auto seconds = played.back().time;
        auto length = juce::String ((juce::int64) std::llround (seconds)) + " s";
        if (seconds >= 3600.0)
            length << " (" << juce::String (seconds / 3600.0, 1) << " hours)";
        fail (ToolError::Kind::input, name + " would play for " + length + ", longer than the limit of "
                                          + juce::String (maximumSeconds, 0) + " s (see --max-seconds)");
    }

    Performance performance { name, {}, transportTempoMap() };
    performance.events.reserve (played.size());
    for (const auto& event : played)
    {
        TimedMidi timed { samplePositionOf (event.time, sampleRate), {} };
        std::copy_n (event.bytes, 3, timed.bytes);
        performance.events.push_back (timed);
    }
    return performance;
}
} // namespace

Performance readMidiFile (const juce::uint8* bytes, size_t size, const juce::String& fileName, double sampleRate,
                          double maximumSeconds)
{
    return MidiFileParser (bytes, size, fileName).read (sampleRate, maximumSeconds);
}
} // namespace quane::render
