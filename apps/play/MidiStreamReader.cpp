// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
#include "MidiStreamReader.h"

namespace quane::play
{
namespace
{
/** Data bytes that follow a channel status: program change and channel pressure take one. */
int dataBytesOf (uint8_t status) noexcept
{
    const auto kind = status & 0xf0;
    return kind == 0xc0 || kind == 0xd0 ? 1 : 2;
}
} // namespace

int MidiStreamReader::take (uint8_t byte) noexcept
{
    if (byte >= 0xf8)
        return 0; // real-time bytes may come between any two bytes and change nothing

    if (byte >= 0xf0)
    {
        // System exclusive and system common messages end the running status; their data
        // bytes are skipped until the next status byte.
        expectedData = 0;
        length = 0;
        return 0;
    }

    if (byte >= 0x80)
    {
        message[0] = byte;
        expectedData = dataBytesOf (byte);
        length = 1;
        return 0;
    }

    if (expectedData == 0)
        return 0;

    message[length++] = byte;
    if (length < 1 + expectedData)
        return 0;

    const int completed = length;
    length = 1; // running status: the next data bytes start a message of the same kind
    return completed;
}
} // namespace quane::play
