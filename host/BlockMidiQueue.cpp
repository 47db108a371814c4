// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The MIDI events of one block, from effProcessEvents to the model's MIDI buffer, in linear time.
#include "host/BlockMidiQueue.h"

#include <algorithm>
#include <cstring>

namespace quane
{
namespace
{
constexpr int readBytes = 4;

// The buffer stores each event as its position (int32), its length (uint16) and its bytes; its
// events are appended in that layout through its data array, which addEvent would search from the
// start. The tests hold the result against addEvent's.
constexpr size_t recordHeaderBytes = sizeof (juce::int32) + sizeof (juce::uint16);

/** The event's length as the MIDI buffer takes it from at most four bytes: system exclusive up
    to its end marker, a meta event by its length field, any other status by its kind; 0 for a
    first byte that is no status. */
int eventLength (const juce::uint8* bytes) noexcept
{
    const auto status = bytes[0];
    if (status == 0xf0 || status == 0xf7)
    {
        int length = 1;
        while (length < readBytes)
            if (bytes[length++] == 0xf7)
                break;
        return length;
    }
    if (status == 0xff)
    {
        const auto field = juce::MidiMessage::readVariableLengthValue (bytes + 1, readBytes - 1);
        return juce::jmin (readBytes, field.value + 2 + field.bytesUsed);
    }
    if (status >= 0x80)
        return juce::jmin (readBytes, juce::MidiMessage::getMessageLengthFromFirstByte (status));
    return 0;
}
} // namespace

void BlockMidiQueue::reserve (juce::MidiBuffer& buffer)
{
    events.resize ((size_t) maximumEvents);
    mergeSpace.resize ((size_t) maximumEvents);
    buffer.ensureSize ((size_t) maximumEvents * (recordHeaderBytes + readBytes));
}

void BlockMidiQueue::clear() noexcept
{
    count = 0;
    inOrder = true;
}

void BlockMidiQueue::add (const char (&bytes)[4], int samplePosition) noexcept
{
    Event event { samplePosition, {}, 0 };
    std::memcpy (event.bytes, bytes, sizeof (event.bytes));
    event.numBytes = eventLength (event.bytes);
    if (event.numBytes == 0)
        return;

    if (count == (int) events.size())
    {
        ++dropped;
        return;
    }
    inOrder = inOrder && (count == 0 || events[(size_t) count - 1].samplePosition <= samplePosition);
    events[(size_t) count++] = event;
}

void BlockMidiQueue::moveInto (juce::MidiBuffer& buffer) noexcept
{
    if (! inOrder)
        sortByPosition();

    buffer.clear();
    for (int i = 0; i < count; ++i)
    {
        const auto& event = events[(size_t) i];
        juce::uint8 record[recordHeaderBytes + readBytes];
        juce::writeUnaligned<juce::int32> (record, event.samplePosition);
        juce::writeUnaligned<juce::uint16> (record + sizeof (juce::int32), (juce::uint16) event.numBytes);
        std::memcpy (record + recordHeaderBytes, event.bytes, (size_t) event.numBytes);
        buffer.data.addArray (static_cast<const juce::uint8*> (record), (int) recordHeaderBytes + event.numBytes);
    }
    clear();
}

void BlockMidiQueue::sortByPosition() noexcept
{
    // Bottom-up merge sort: stable, n log n, and within the room made in advance.
    auto* from = events.data();
    auto* to = mergeSpace.data();
    const auto byPosition = [] (const Event& a, const Event& b) { return a.samplePosition < b.samplePosition; };
    for (int width = 1; width < count; width *= 2)
    {
        for (int start = 0; start < count; start += 2 * width)
        {
            const auto middle = juce::jmin (start + width, count), end = juce::jmin (start + 2 * width, count);
            std::merge (from + start, from + middle, from + middle, from + end, to + start, byPosition);
        }
        std::swap (from, to);
    }
    if (from != events.data())
        std::copy (from, from + count, events.data());
}
} // namespace quane
