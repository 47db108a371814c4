// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The VstEvents record a host hands to effProcessEvents, with room made in advance.
#include "hostkit/VstEventList.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace quane::hostkit
{
void VstEventList::reserve (int capacity)
{
    if (capacity <= (int) midiEvents.size() && ! storage.empty())
        return;

    // The events added so far stay: the caller's records as they are, the list's own MIDI records
    // (entry i is record i) at their new place.
    std::vector<vst::VstEvent*> added;
    std::vector<bool> isOwnRecord;
    for (int i = 0; i < count; ++i)
    {
        added.push_back (slots()[i]);
        isOwnRecord.push_back (slots()[i] == ownRecord (i));
    }

    midiEvents.resize ((size_t) std::max (capacity, (int) midiEvents.size()));
    // As many entries as the capacity, not the declared two (which the header always has room for).
    storage.assign (std::max (sizeof (vst::VstEvents),
                              offsetof (vst::VstEvents, events) + midiEvents.size() * sizeof (vst::VstEvent*)),
                    0);
    for (int i = 0; i < count; ++i)
        slots()[i] = isOwnRecord[(size_t) i] ? ownRecord (i) : added[(size_t) i];
}

vst::VstEvent* VstEventList::ownRecord (int position) noexcept
{
    return reinterpret_cast<vst::VstEvent*> (&midiEvents[(size_t) position]);
}

bool VstEventList::add (const unsigned char* bytes, int numBytes, int deltaFrames) noexcept
{
    if (isFull())
        return false;

    auto& midi = midiEvents[(size_t) count];
    midi = {};
    midi.type = vst::kVstMidiType;
    midi.byteSize = (vst::int32) sizeof (vst::VstMidiEvent);
    midi.deltaFrames = (vst::int32) deltaFrames;
    midi.flags = vst::kVstMidiEventIsRealtime;
    std::memcpy (midi.midiData, bytes, (size_t) std::clamp (numBytes, 0, 3));
    return add (ownRecord (count));
}

bool VstEventList::add (vst::VstEvent* event) noexcept
{
    if (isFull())
        return false;
    slots()[count++] = event;
    return true;
}

const vst::VstEvents& VstEventList::record() noexcept
{
    auto* events = reinterpret_cast<vst::VstEvents*> (storage.data());
    events->numEvents = (vst::int32) count;
    return *events;
}

vst::VstEvent** VstEventList::slots() noexcept
{
    return &reinterpret_cast<vst::VstEvents*> (storage.data())->events[0];
}
} // namespace quane::hostkit
