// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The player's MIDI byte stream reading: what a port may deliver, in pieces of any size.
#include "apps/play/MidiStreamReader.h"

#include <gtest/gtest.h>

#include <vector>

namespace quane::test
{
namespace
{
using Bytes = std::vector<uint8_t>;

/** The channel messages read from the stream, cut into pieces of pieceSize bytes. */
std::vector<Bytes> messagesOf (const Bytes& stream, size_t pieceSize)
{
    play::MidiStreamReader reader;
    std::vector<Bytes> messages;
    for (size_t start = 0; start < stream.size(); start += pieceSize)
        reader.read (stream.data() + start, std::min (pieceSize, stream.size() - start),
                     [&] (const uint8_t* message, int length) { messages.emplace_back (message, message + length); });
    return messages;
}
} // namespace

TEST (MidiStreamReader, HonoursRunningStatusAndSkipsWhatIsNotAChannelMessage)
{
    Bytes stream { 0x90, 0x3c, 0x64, 0x3e, 0x50, // a note, then one more by running status
                   0x91, 0x40, 0xf8, 0x70,       // a clock tick inside a message
                   0xf0 };                       // a system exclusive message of 5,000 bytes
    stream.insert (stream.end(), 5000, 0x11);
    stream.insert (stream.end(), { 0xf7, 0x3c, 0x00, // data after it has no status to run on
                                   0xc2, 0x05, 0x06, // a program change, twice by running status
                                   0x92, 0x3c,       // a note cut short by the next status
                                   0xb3, 0x01, 0x40, 0xf2, 0x10, 0x20, 0xe4, 0x00, 0x40, 0xd5 });

    const std::vector<Bytes> expected { { 0x90, 0x3c, 0x64 }, { 0x90, 0x3e, 0x50 }, { 0x91, 0x40, 0x70 },
                                        { 0xc2, 0x05 },       { 0xc2, 0x06 },       { 0xb3, 0x01, 0x40 },
                                        { 0xe4, 0x00, 0x40 } };
    for (size_t pieceSize : { size_t (1), size_t (2), size_t (7), stream.size() })
        EXPECT_EQ (messagesOf (stream, pieceSize), expected) << "pieces of " << pieceSize << " bytes";
}
} // namespace quane::test
