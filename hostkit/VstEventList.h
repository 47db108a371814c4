// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The VstEvents record a host hands to effProcessEvents, with room made in advance.
#pragma once

#include "host/VstAbi.h"

#include <vector>

namespace quane::hostkit
{
/** A short MIDI message at a sample position of the next block. */
struct TimedMessage
{
    int position;
    unsigned char bytes[3];
};

/** The events of one block, laid out as hosts pass them. Only reserve() allocates, so an audio
    thread can clear, add and pass the record once room has been made. */
class VstEventList
{
public:
    explicit VstEventList (int capacity = 0) { reserve (capacity); }

    /** Makes room for this many events; keeps those already added. */
    void reserve (int capacity);

    int size() const noexcept { return count; }
    bool isFull() const noexcept { return count >= (int) midiEvents.size(); }
    void clear() noexcept { count = 0; }

    /** Appends a MIDI message of at most 3 bytes; answers false, adding nothing, when the list is full. */
    bool add (const unsigned char* bytes, int numBytes, int deltaFrames) noexcept;
    bool add (const TimedMessage& message) noexcept { return add (message.bytes, 3, message.position); }

    /** Appends a record of the caller's own, or null, as it stands: hosts also pass other kinds. */
    bool add (vst::VstEvent* event) noexcept;

    /** The record for effProcessEvents; valid until the next reserve(). */
    const vst::VstEvents& record() noexcept;

private:
    vst::VstEvent** slots() noexcept;
    vst::VstEvent* ownRecord (int position) noexcept; // the MIDI record kept for entry position

    std::vector<vst::VstMidiEvent> midiEvents;
    std::vector<char> storage; // the VstEvents header and its pointer array
    int count = 0;
};
} // namespace quane::hostkit
