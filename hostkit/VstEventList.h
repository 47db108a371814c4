// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The VstEvents record a host hands to effProcessEvents, with room made in advance.
#pragma once

#include "host/VstAbi.h"

#include <juce_core/juce_core.h>
#include <vector>

namespace quane::hostkit
{
/** Short MIDI messages for one block, laid out as hosts pass them. Only reserve() allocates,
    so an audio thread can clear, add and pass the record once room has been made. */
class VstEventList
{
public:
    explicit VstEventList (int capacity = 0) { reserve (capacity); }

    /** Makes room for this many events; keeps those already added. */
    void reserve (int capacity);

    int size() const noexcept { return count; }
    bool isFull() const noexcept { return count >= (int) midiEvents.size(); }
    void clear() noexcept { count = 0; }

    /** Appends a message of at most 3 bytes; answers false, adding nothing, when the list is full. */
    bool add (const juce::uint8* bytes, int numBytes, int deltaFrames) noexcept;

    /** The record for effProcessEvents; valid until the next reserve(). */
    const vst::VstEvents& record() noexcept;

private:
    std::vector<vst::VstMidiEvent> midiEvents;
    std::vector<char> storage; // the VstEvents header and its pointer array
    int count = 0;
};
} // namespace quane::hostkit
