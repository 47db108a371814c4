// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The audio device's callback: collected MIDI into effProcessEvents, then processReplacing.
#include "EffectPlayer.h"

namespace quane::play
{
namespace
{
// The bytes of the messages waiting, made room for before the device starts: a time, a length
// and three bytes each.
constexpr size_t messageBufferBytes = EffectPlayer::messageRoom * (sizeof (juce::int32) + sizeof (juce::uint16) + 3);
constexpr int allNotesOffController = 123;

bool isChannelMessage (const juce::MidiMessageMetadata& event) noexcept
{
    return event.numBytes <= 3 && event.numBytes > 0 && event.data[0] >= 0x80 && event.data[0] < 0xf0;
}

void raiseToAtLeast (std::atomic<float>& level, float value) noexcept
{
    auto current = level.load();
    while (value > current && ! level.compare_exchange_weak (current, value))
    {
    }
}
} // namespace

EffectPlayer::EffectPlayer (hostkit::HostedEffect& hostedEffect) : effect (hostedEffect), events (eventCapacity)
{
    for (auto& position : controllerPositions)
        position = -1;
    collector.reset (effect.getSampleRate());
    collector.ensureStorageAllocated (messageBufferBytes);
    blockMessages.ensureSize (messageBufferBytes);
}

std::array<float, 2> EffectPlayer::takePeakLevels() noexcept
{
    return { peakLevels[0].exchange (0.0f), peakLevels[1].exchange (0.0f) };
}

void EffectPlayer::audioDeviceAboutToStart (juce::AudioIODevice* device)
{
    const auto sampleRate = device->getCurrentSampleRate();
    const auto blockSize = juce::jmax (1, device->getCurrentBufferSizeSamples());

    // As a host does whenever the device changes: suspend, rate, block size, resume.
    effect.setProcessing (sampleRate, blockSize);
    effectOutputs.setSize (juce::jmax (2, effect.getEffect()->numOutputs), blockSize);
    effect.resume();

    collector.reset (sampleRate);
    samplesPlayed = 0;
    noteHeld.fill (false);
    for (auto& held : noteHeldOnAnyChannel)
        held = false;
    heldNoteCount = 0;
    pedal.reset();
}

void EffectPlayer::audioDeviceStopped()
{
    effect.suspend();
}

void EffectPlayer::audioDeviceIOCallbackWithContext (const float* const*, int, float* const* outputs, int numOutputs,
                                                     int numSamples, const juce::AudioIODeviceCallbackContext&)
{
    const juce::ScopedNoDenormals noDenormals;

    blockMessages.clear();
    if (numSamples > 0)
        collector.removeNextBlockOfMessages (blockMessages, numSamples);
    for (const auto event : blockMessages)
        watch (event);

    // A device may deliver more than the block size it announced: render it in pieces.
    const auto pieceLength = effectOutputs.getNumSamples();
    for (int start = 0; start < numSamples; start += pieceLength)
    {
        const auto length = juce::jmin (pieceLength, numSamples - start);
        renderPiece (start, length);

        for (int channel = 0; channel < numOutputs; ++channel)
        {
            if (outputs[channel] == nullptr)
                continue;
            if (numOutputs == 1)
            {
                juce::FloatVectorOperations::copyWithMultiply (outputs[0] + start, effectOutputs.getReadPointer (0),
                                                               0.5f, length);
                juce::FloatVectorOperations::addWithMultiply (outputs[0] + start, effectOutputs.getReadPointer (1),
                                                              0.5f, length);
            }
            else if (channel < 2)
                juce::FloatVectorOperations::copy (outputs[channel] + start, effectOutputs.getReadPointer (channel),
                                                   length);
            else
                juce::FloatVectorOperations::clear (outputs[channel] + start, length);
        }
    }
}

void EffectPlayer::renderPiece (int start, int numSamples)
{
    events.clear();
    for (auto it = blockMessages.findNextSamplePosition (start); it != blockMessages.cend(); ++it)
    {
        const auto event = *it;
        if (event.samplePosition >= start + numSamples)
            break;
        // A VST host passes channel messages only; system messages and sysex stay here.
        const bool assignedController = event.numBytes == 3 && (event.data[0] & 0xf0) == 0xb0
                                        && controllerAssigned[event.data[1] & 0x7f].load();
        if (isChannelMessage (event) && ! assignedController)
            droppedEvents += pedal.route (event.data, event.numBytes, event.samplePosition - start, events);
    }

    effectOutputs.clear();
    effect.processBlock (events.record(), effectOutputs.getArrayOfWritePointers(), numSamples,
                         { samplesPlayed, 120.0, 0.0, false });
    samplesPlayed += numSamples;

    for (int channel = 0; channel < 2; ++channel)
    {
        const auto range = juce::FloatVectorOperations::findMinAndMax (effectOutputs.getReadPointer (channel),
                                                                       numSamples);
        raiseToAtLeast (peakLevels[(size_t) channel], juce::jmax (-range.getStart(), range.getEnd()));
    }
}

void EffectPlayer::watch (const juce::MidiMessageMetadata& event) noexcept
{
    // The program changes on the message thread, as a host's program menu changes it.
    if (isChannelMessage (event) && event.numBytes == 2 && (event.data[0] & 0xf0) == 0xc0)
        programChange = event.data[1] & 0x7f;
    if (isChannelMessage (event) && event.numBytes == 3 && (event.data[0] & 0xf0) == 0xb0)
        controllerPositions[event.data[1] & 0x7f] = event.data[2] & 0x7f;
    if (! isChannelMessage (event) || event.numBytes < 3)
        return;

    const auto kind = event.data[0] & 0xf0;
    const auto slot = (size_t) ((event.data[0] & 0x0f) * 128 + (event.data[1] & 0x7f));
    auto setHeld = [&] (size_t index, bool held) {
        if (noteHeld[index] == held)
            return;
        heldNoteCount += held ? 1 : -1;
        noteHeld[index] = held;
        const auto note = index % 128;
        bool onAnyChannel = false;
        for (size_t channelStart = 0; channelStart < noteHeld.size(); channelStart += 128)
            onAnyChannel = onAnyChannel || noteHeld[channelStart + note];
        noteHeldOnAnyChannel[note] = onAnyChannel;
    };

    if (kind == 0x90)
        setHeld (slot, event.data[2] != 0);
    else if (kind == 0x80)
        setHeld (slot, false);
    else if (kind == 0xb0 && event.data[1] == allNotesOffController)
        for (size_t index = 0; index < noteHeld.size(); ++index)
            setHeld (index, false);
}
} // namespace quane::play
