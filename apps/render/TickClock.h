// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A MIDI file's ticks turned into seconds through its tempo changes.
#pragma once

#include <juce_core/juce_core.h>

#include <vector>

namespace quane::render
{
/** A tempo change or a time signature of a MIDI file, at its tick. */
struct TempoPoint
{
    double tick;
    double secondsPerQuarter; // tempo changes only
    bool changesTempo;
};

/** Seconds of a tick: 120 BPM until the first tempo change, and the sum runs through every tempo
    change and time signature before the tick, in the order of operations of the music library's
    own file reader, so that each tick gets that reader's seconds to the last bit; lookups take
    the logarithm of the number of points. */
class TickClock
{
public:
    /** timeFormat is the file's division: ticks per quarter note, or (negative) SMPTE frames per
        second and ticks per frame. The points come in file order: the tempo changes of every
        track, then the time signatures; at equal ticks the last tempo change wins. */
    TickClock (short timeFormat, std::vector<TempoPoint> points);

    double secondsAt (double tick) const;

private:
    struct Segment
    {
        double tick, seconds, secondsPerTick;
    };
    short format;
    Segment first {};
    std::vector<Segment> segments; // one per tick with points, as it stands after them
};
} // namespace quane::render
