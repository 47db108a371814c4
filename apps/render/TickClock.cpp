// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A MIDI file's ticks turned into seconds through its tempo changes.
#include "TickClock.h"

namespace quane::render
{
TickClock::TickClock (short timeFormat, std::vector<TempoPoint> points) : format (timeFormat)
{
    if (timeFormat < 0)
        return;

    std::stable_sort (points.begin(), points.end(),
                      [] (const TempoPoint& a, const TempoPoint& b) { return a.tick < b.tick; });

    const auto tickLength = 1.0 / (timeFormat & 0x7fff);
    first = { 0.0, 0.0, 0.5 * tickLength };
    auto current = first;
    for (size_t i = 0; i < points.size();)
    {
        const auto tick = points[i].tick;
        current.seconds += (tick - current.tick) * current.secondsPerTick;
        current.tick = tick;
        for (; i < points.size() && points[i].tick == tick; ++i)
            if (points[i].changesTempo)
                current.secondsPerTick = tickLength * points[i].secondsPerQuarter;
        segments.push_back (current);
    }
}

double TickClock::secondsAt (double tick) const
{
    if (format < 0)
        return tick / (-(format >> 8) * (format & 0xff));

    // The segment of the last point strictly before the tick.
    const auto after = std::lower_bound (segments.begin(), segments.end(), tick,
                                         [] (const Segment& segment, double t) { return segment.tick < t; });
    const auto& segment = after == segments.begin() ? first : *std::prev (after);
    return segment.seconds + (tick - segment.tick) * segment.secondsPerTick;
}
} // namespace quane::render
