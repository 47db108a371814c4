// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Channel messages out of a MIDI byte stream, whatever a port or cable delivers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quane::play
{
/** Reads a MIDI byte stream in pieces of any size and hands on each complete channel message.
    Running status is honoured; system exclusive data of any length, system common messages and
    real-time bytes are skipped; a message cut short by the next status byte is dropped. Nothing is
    allocated: the reader holds at most one message. */
class MidiStreamReader
{
public:
    /** Calls handle (const uint8_t* message, int length) for each channel message completed by
        these bytes; the message is 2 or 3 bytes long and lives only during the call. */
    template <typename Handler>
    void read (const uint8_t* bytes, size_t size, Handler&& handle)
    {
        for (size_t i = 0; i < size; ++i)
            if (const int completed = take (bytes[i]); completed > 0)
                handle (message, completed);
    }

private:
    /** The length of the channel message this byte completes, else 0. */
    int take (uint8_t byte) noexcept;

    uint8_t message[3] {};
    int length = 0;       // bytes of the current message held, status included
    int expectedData = 0; // data bytes the running status takes; 0 while skipping
};
} // namespace quane::play
