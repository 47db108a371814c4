// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The MIDI events of one block, from effProcessEvents to the model's MIDI buffer, in linear time.
#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <vector>

namespace quane
{
/** Collects the short MIDI events a host delivers for the next block and hands them to the
    model's buffer in order of position, equal positions in the order they arrived (the order the
    buffer's own insertion gives, which searches from its start for every event and so costs the
    square of their count). Hosts send events in order: those are appended. A list out of order is
    merge-sorted when the block starts.

    reserve() makes room for maximumEvents, here and in the buffer, and is the only call that
    allocates; it runs where the instance is resumed. Events beyond that room are counted and
    dropped. Everything else is called on the audio thread, one call after the other. */
class BlockMidiQueue
{
public:
    /** A MIDI cable carries about 1,000 events a second, a keyboard a few in a block: 8,192 in
        one block is far above anything a keyboard or sequencer sends. */
    static constexpr int maximumEvents = 8192;

    void reserve (juce::MidiBuffer& buffer);
    void clear() noexcept;

    /** Adds the event whose first bytes are these (four are read), read as the MIDI buffer reads
        them: the length comes from the status byte, and an event without one is skipped. */
    void add (const char (&bytes)[4], int samplePosition) noexcept;

    /** Replaces the buffer's contents by the collected events in order, and empties the queue.
        The buffer is the one given to reserve(). */
    void moveInto (juce::MidiBuffer& buffer) noexcept;

    int size() const noexcept { return count; }
    /** Events dropped for want of room, since the queue was made. */
    juce::int64 droppedCount() const noexcept { return dropped; }

private:
    struct Event
    {
        int samplePosition;
        juce::uint8 bytes[4];
        int numBytes;
    };

    void sortByPosition() noexcept;

    std::vector<Event> events, mergeSpace;
    int count = 0;
    bool inOrder = true;
    juce::int64 dropped = 0;
};
} // namespace quane
