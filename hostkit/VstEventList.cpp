// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
#include "VstEventList.h"

#include <algorithm>
#include <cstring>

namespace quane::hostkit
{
void VstEventList::reserve (int capacity)
{
    if (capacity <= (int) midiEvents.size())
        return;
    midiEvents.resize ((size_t) capacity);
    storage.assign (sizeof (vst::VstEvents) + (size_t) capacity * sizeof (vst::VstEvent*), 0);
    auto* events = reinterpret_cast<vst::VstEvents*> (storage.data());
    vst::VstEvent** slots = &events->events[0]; // as many entries as the capacity, not the declared two
    for (int i = 0; i < capacity; ++i)
        slots[i] = reinterpret_cast<vst::VstEvent*> (&midiEvents[(size_t) i]);
}

bool VstEventList::add (const juce::uint8* bytes, int numBytes, int deltaFrames) noexcept
{
    if (isFull())
        return false;

    auto& midi = midiEvents[(size_t) count++];
    midi = {};
    midi.type = vst::kVstMidiType;
    midi.byteSize = (vst::int32) sizeof (vst::VstMidiEvent);
    midi.deltaFrames = (vst::int32) deltaFrames;
    midi.flags = vst::kVstMidiEventIsRealtime;
    std::memcpy (midi.midiData, bytes, (size_t) std::clamp (numBytes, 0, 3));
    return true;
}

const vst::VstEvents& VstEventList::record() noexcept
{
    if (storage.empty())
        reserve (1);
    auto* events = reinterpret_cast<vst::VstEvents*> (storage.data());
    events->numEvents = (vst::int32) count;
    return *events;
}
} // namespace quane::hostkit
