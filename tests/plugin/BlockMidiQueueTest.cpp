// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The block's MIDI queue against the MIDI buffer's own insertion, and its bound.
#include "host/BlockMidiQueue.h"

#include <gtest/gtest.h>

#include <random>

namespace quane
{
namespace
{
using Bytes = char[4];

/** Any four bytes, mostly statuses (system exclusive, meta and single-byte ones included). */
void randomBytes (std::mt19937& random, Bytes& bytes)
{
    static const int firstBytes[] = { 0x90, 0x80, 0xb0, 0xc0, 0xe0, 0xf0, 0xf7, 0xff, 0xf8, 0xf2, 0xf3, 0x40 };
    bytes[0] = (char) firstBytes[random() % std::size (firstBytes)];
    for (int i = 1; i < 4; ++i)
        bytes[i] = (char) (random() % 4 == 0 ? 0xf7 : random() % 256);
}
} // namespace

TEST (BlockMidiQueue, GivesTheBuffersOwnOrderLengthsAndLayout)
{
    std::mt19937 random (24);
    BlockMidiQueue queue;
    juce::MidiBuffer fromQueue;
    queue.reserve (fromQueue);

    // In order, reversed, and shuffled with many equal positions; twice each, through one queue.
    for (int round = 0; round < 6; ++round)
    {
        SCOPED_TRACE (round);
        juce::MidiBuffer reference;
        const int count = 1 + (int) (random() % 3000);
        for (int i = 0; i < count; ++i)
        {
            Bytes bytes;
            randomBytes (random, bytes);
            const int position = round % 3 == 0 ? i : round % 3 == 1 ? count - i : (int) (random() % 40) - 5;
            queue.add (bytes, position);
            reference.addEvent (bytes, 4, position);
        }
        queue.moveInto (fromQueue);
        EXPECT_EQ (queue.size(), 0);
        ASSERT_EQ (fromQueue.data.size(), reference.data.size());
        EXPECT_EQ (std::memcmp (fromQueue.data.begin(), reference.data.begin(), (size_t) reference.data.size()), 0);
    }
    EXPECT_EQ (queue.droppedCount(), 0);
}

TEST (BlockMidiQueue, EventsBeyondItsRoomAreCountedAndDropped)
{
    const Bytes note = { (char) 0x90, 60, 100, 0 };
    BlockMidiQueue queue;
    queue.add (note, 0); // no room made yet
    EXPECT_EQ (queue.size(), 0);
    EXPECT_EQ (queue.droppedCount(), 1);

    juce::MidiBuffer buffer;
    queue.reserve (buffer);
    for (int i = 0; i < BlockMidiQueue::maximumEvents + 100; ++i)
        queue.add (note, BlockMidiQueue::maximumEvents - i); // reversed, so the kept ones are sorted
    EXPECT_EQ (queue.size(), BlockMidiQueue::maximumEvents);
    EXPECT_EQ (queue.droppedCount(), 101);

    queue.moveInto (buffer);
    EXPECT_EQ (buffer.getNumEvents(), BlockMidiQueue::maximumEvents);
    EXPECT_EQ (buffer.getFirstEventTime(), 1);
    EXPECT_EQ (buffer.getLastEventTime(), BlockMidiQueue::maximumEvents);
}
} // namespace quane
