// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Standard MIDI files read into a performance in time and memory linear in their size.
#pragma once

#include "Performance.h"

namespace quane::render
{
/** A MIDI file of ours is some kilobytes; one of a whole concert some hundreds. Larger files are
    refused before they are read. */
constexpr juce::int64 maximumMidiFileBytes = 64 * 1024 * 1024;
/** Far above the densest hour of music; more events are refused as they are counted. */
constexpr int maximumMidiFileEvents = 1000000;

/** Reads a standard MIDI file (types 0, 1 and 2, ticks per quarter note or SMPTE frames, plain or
    in a RIFF wrapper) with all tracks merged and its tempo map applied, as the music library's own
    reader would, but in linear time: every message is read by the library, a note-on that
    repeats a sounding note gets a note-off just before it, equal times keep note-offs before
    note-ons within a track and track order between tracks.

    Throws ToolError (input), naming the file, when the bytes are not a standard MIDI file, hold
    more than maximumMidiFileEvents, or when an event lies beyond maximumSeconds. */
Performance readMidiFile (const juce::uint8* bytes, size_t size, const juce::String& fileName, double sampleRate,
                          double maximumSeconds);
} // namespace quane::render
