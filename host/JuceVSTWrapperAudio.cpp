// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The VST 2.x instance: audio blocks, MIDI in and out, resume, suspend and the host's transport.
#include "host/JuceVSTWrapper.h"

#include <cstring>

namespace quane
{
namespace
{
constexpr int outgoingEventsAtResume = 64;
constexpr int outgoingSpareSlots = 32;
constexpr int maximumShortMessageBytes = 4;
constexpr vst::int32 midiEventByteSize = 24; // the record after its type and byteSize fields
constexpr double fallbackSampleRate = 44100.0;
constexpr vst::intptr wantedTimeFields = vst::kVstPpqPosValid | vst::kVstTempoValid | vst::kVstBarsValid
                                         | vst::kVstTimeSigValid | vst::kVstSmpteValid | vst::kVstClockValid;

bool channelsPresent (float** channels, int count) noexcept
{
    if (count == 0)
        return true;
    if (channels == nullptr)
        return false;
    for (int i = 0; i < count; ++i)
        if (channels[i] == nullptr)
            return false;
    return true;
}

/** Frames per second of the host's SMPTE frame-rate code; 0 for a code without an entry. */
double smpteFramesPerSecond (vst::int32 code) noexcept
{
    switch (code)
    {
        case 0: return 24.0;
        case 1: return 25.0;
        case 2:
        case 3:
        case 4:
        case 5: return 30.0;
        case 6: return 1.0;
        default: return 0.0;
    }
}

float* noChannels[1] = { nullptr };
} // namespace

void JuceVSTWrapper::process (float** inputs, float** outputs, vst::int32 sampleFrames)
{
    processBlock (inputs, outputs, sampleFrames, true);
}

void JuceVSTWrapper::processReplacing (float** inputs, float** outputs, vst::int32 sampleFrames)
{
    processBlock (inputs, outputs, sampleFrames, false);
}

void JuceVSTWrapper::processBlock (float** inputs, float** outputs, vst::int32 sampleFrames, bool accumulate)
{
    // A host that hands over missing channels or a negative length gets no block at all.
    if (sampleFrames < 0 || ! channelsPresent (inputs, numInChans) || ! channelsPresent (outputs, numOutChans))
        return;

    if (! prepared)
        resume();

    // Views onto the host's own arrays: nothing is copied, nothing allocated below 32 channels.
    inputView.setDataToReferTo (numInChans > 0 ? inputs : noChannels, numInChans, sampleFrames);
    outputView.setDataToReferTo (numOutChans > 0 ? outputs : noChannels, numOutChans, sampleFrames);

    incomingMidi.moveInto (midiEvents);
    {
        const juce::ScopedLock lock (filter->processLock);
        filter->processAudioBlock (inputView, outputView, accumulate, midiEvents);
    }

    if (midiEvents.isEmpty())
        return;

    if (producesMidi)
        sendOutgoingEvents();
    midiEvents.clear();
}

void JuceVSTWrapper::sendOutgoingEvents()
{
    ensureOutgoingCapacity (midiEvents.getNumEvents());

    auto* list = reinterpret_cast<vst::VstEvents*> (outgoingList.get());
    vst::VstEvent** slots = &list->events[0];
    list->numEvents = 0;

    for (const auto event : midiEvents)
    {
        if (event.numBytes > maximumShortMessageBytes)
            continue;

        auto* record = reinterpret_cast<vst::VstMidiEvent*> (slots[list->numEvents++]);
        std::memset (record->midiData, 0, sizeof (record->midiData));
        std::memcpy (record->midiData, event.data, (size_t) event.numBytes);
        record->deltaFrames = event.samplePosition;
    }
    callHost (vst::audioMasterProcessEvents, 0, 0, list);
}

vst::intptr JuceVSTWrapper::receiveEvents (const vst::VstEvents* events)
{
    if (! acceptsMidi || events == nullptr)
        return 0;

    // The interface declares two entries; hosts allocate as many as they send, so the list is
    // read through a pointer to its first entry rather than by indexing the declared array.
    const vst::VstEvent* const* pointers = &events->events[0];
    for (int i = 0; i < events->numEvents; ++i)
    {
        const auto* event = pointers[i];
        if (event == nullptr || event->type != vst::kVstMidiType)
            continue;

        // The length comes from the status byte and a leading data byte is dropped; an event
        // goes after those already held at its position, so equal positions keep their order.
        const auto* midi = reinterpret_cast<const vst::VstMidiEvent*> (event);
        incomingMidi.add (midi->midiData, midi->deltaFrames);
    }
    return 1;
}

void JuceVSTWrapper::resume()
{
    prepared = true;

    filter->sampleRate = sampleRate > 0.0f ? (double) sampleRate : fallbackSampleRate;
    filter->blockSize = blockSize;
    filter->beginPlayback (filter->sampleRate, filter->blockSize);

    midiEvents.clear();
    incomingMidi.clear();
    incomingMidi.reserve (midiEvents);

    if (producesMidi)
        ensureOutgoingCapacity (outgoingEventsAtResume);
    if (acceptsMidi)
        callHost (vst::audioMasterWantMidi, 0, 1);
}

void JuceVSTWrapper::suspend()
{
    filter->endPlayback();
    midiEvents.clear();
    incomingMidi.clear();
    prepared = false;
}

void JuceVSTWrapper::ensureOutgoingCapacity (int numEvents)
{
    if (outgoingCapacity >= numEvents)
        return;

    const int newCapacity = numEvents + outgoingSpareSlots;
    outgoingList.realloc (offsetof (vst::VstEvents, events) + sizeof (vst::VstEvent*) * (size_t) newCapacity);

    while ((int) outgoingRecords.size() < newCapacity)
    {
        auto record = std::make_unique<vst::VstMidiEvent>();
        std::memset (record.get(), 0, sizeof (vst::VstMidiEvent));
        record->type = vst::kVstMidiType;
        record->byteSize = midiEventByteSize;
        outgoingRecords.push_back (std::move (record));
    }

    auto* list = reinterpret_cast<vst::VstEvents*> (outgoingList.get());
    list->numEvents = 0;
    list->reserved = 0;
    vst::VstEvent** slots = &list->events[0];
    for (int i = 0; i < newCapacity; ++i)
        slots[i] = reinterpret_cast<vst::VstEvent*> (outgoingRecords[(size_t) i].get());
    outgoingCapacity = newCapacity;
}

bool JuceVSTWrapper::queryTransportPosition (TransportPosition& position)
{
    const auto* time = reinterpret_cast<const vst::VstTimeInfo*> (
        callHost (vst::audioMasterGetTime, 0, wantedTimeFields));
    if (time == nullptr || time->sampleRate == 0.0)
        return false;

    // Every field the host leaves out takes its "none" value.
    position = TransportPosition();
    const auto flags = time->flags;
    if ((flags & vst::kVstTempoValid) != 0)
        position.tempoBpm = time->tempo;
    if ((flags & vst::kVstTimeSigValid) != 0)
    {
        position.timeSigNumerator = time->timeSigNumerator;
        position.timeSigDenominator = time->timeSigDenominator;
    }
    position.timeInSeconds = time->samplePos / time->sampleRate;
    if ((flags & vst::kVstPpqPosValid) != 0)
        position.ppqPosition = time->ppqPos;
    if ((flags & vst::kVstBarsValid) != 0)
        position.ppqPositionOfLastBarStart = time->barStartPos;

    // A frame-rate code without a rate of its own counts as no SMPTE at all.
    const double framesPerSecond = smpteFramesPerSecond (time->smpteFrameRate);
    if ((flags & vst::kVstSmpteValid) != 0 && framesPerSecond > 0.0)
    {
        position.frameRateCode = time->smpteFrameRate;
        position.editOriginSeconds = time->smpteOffset / (framesPerSecond * 80.0);
    }

    position.isRecording = (flags & vst::kVstTransportRecording) != 0;
    position.isPlaying = (flags & vst::kVstTransportPlaying) != 0 || position.isRecording;
    return true;
}
} // namespace quane
