// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A MIDI port's bytes into the player's collector, a bounded number of messages per cycle.
#pragma once

#include "MidiStreamReader.h"

#include <atomic>
#include <juce_audio_devices/juce_audio_devices.h>

namespace quane::play
{
/** Reads one port's events as a single byte stream (running status carries from one event to
    the next) and queues its channel messages in the collector, at most messagesPerCycle in one
    cycle of the port: the collector holds twice that without allocating, as one cycle's messages
    may wait while the one before is played. The rest are counted and dropped. Used by the
    port's own thread only; the count may be read from any thread. */
class MidiPortIntake
{
public:
    static constexpr int messagesPerCycle = 2048;

    explicit MidiPortIntake (juce::MidiMessageCollector& target) noexcept : collector (target) {}

    void startCycle() noexcept { queuedThisCycle = 0; }

    /** One event's bytes, arrived at the given time on JUCE's clock in seconds. */
    void read (const uint8_t* bytes, size_t size, double seconds)
    {
        reader.read (bytes, size, [&] (const uint8_t* message, int length) {
            if (queuedThisCycle++ < messagesPerCycle)
                collector.addMessageToQueue (juce::MidiMessage (message, length, seconds));
            else
                ++dropped;
        });
    }

    int getDroppedCount() const noexcept { return dropped.load(); }

private:
    juce::MidiMessageCollector& collector;
    MidiStreamReader reader;
    int queuedThisCycle = 0;
    std::atomic<int> dropped { 0 };
};
} // namespace quane::play
