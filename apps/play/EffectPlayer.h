// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The audio device's callback: collected MIDI into effProcessEvents, then processReplacing.
#pragma once

#include "MidiPortIntake.h"
#include "SustainPedal.h"
#include "hostkit/HostedEffect.h"
#include "hostkit/VstEventList.h"

#include <array>
#include <atomic>
#include <juce_audio_devices/juce_audio_devices.h>

namespace quane::play
{
/** Plays a hosted effect on an audio device. Every MIDI source (ALSA inputs, the JACK port, the
    on-screen keyboard and controls) feeds the collector; each device block takes the messages
    due in it, passes them through the sustain pedal to the effect at their sample positions and
    lets it render.

    The device's start and stop reach the effect as a host passes them: suspend, sample rate,
    block size, resume. The audio callback allocates nothing and takes no lock of its own. */
class EffectPlayer : public juce::AudioIODeviceCallback
{
public:
    explicit EffectPlayer (hostkit::HostedEffect& effect);

    /** Channel messages the collector and a block hold without allocating: far beyond what a
        person or a MIDI cable delivers while one block plays. */
    static constexpr int messageRoom = 2 * MidiPortIntake::messagesPerCycle;

    /** Events the module gets in one block; more are dropped and counted. */
    static constexpr int eventCapacity = 1024;

    juce::MidiMessageCollector& getCollector() noexcept { return collector; }

    /** The highest sample magnitude per channel since the last call, which starts a new period. */
    std::array<float, 2> takePeakLevels() noexcept;

    /** Whether a key holds this note now on any channel, from any source. */
    bool isNoteHeld (int note) const noexcept { return noteHeldOnAnyChannel[(size_t) (note & 0x7f)].load(); }

    /** Notes held now, from every source together. */
    int getHeldNoteCount() const noexcept { return heldNoteCount.load(); }

    /** The last MIDI program change (0..127, any channel) since the last call, else -1. */
    int takeProgramChange() noexcept { return programChange.exchange (-1); }

    /** The last position (0..127) of a controller since the last call, else -1. */
    int takeControllerPosition (int controller) noexcept
    {
        return controllerPositions[(size_t) (controller & 0x7f)].exchange (-1);
    }

    /** A controller the user assigned to a patch value: it no longer reaches the module or the
        sustain pedal. */
    void setControllerAssigned (int controller, bool assigned) noexcept
    {
        controllerAssigned[(size_t) (controller & 0x7f)] = assigned;
    }

    /** Messages dropped because a block held more than the event list has room for. */
    int getDroppedEventCount() const noexcept { return droppedEvents.load(); }

    void audioDeviceAboutToStart (juce::AudioIODevice* device) override;
    void audioDeviceStopped() override;
    void audioDeviceIOCallbackWithContext (const float* const* inputs, int numInputs, float* const* outputs,
                                           int numOutputs, int numSamples,
                                           const juce::AudioIODeviceCallbackContext& context) override;

private:
    void renderPiece (int start, int numSamples);
    void watch (const juce::MidiMessageMetadata& event) noexcept;

    hostkit::HostedEffect& effect;
    juce::MidiMessageCollector collector;
    juce::MidiBuffer blockMessages;
    hostkit::VstEventList events;
    SustainPedal pedal;
    juce::AudioBuffer<float> effectOutputs;
    juce::int64 samplesPlayed = 0;

    std::array<bool, 16 * 128> noteHeld {};
    std::array<std::atomic<bool>, 128> noteHeldOnAnyChannel {}, controllerAssigned {};
    std::array<std::atomic<int>, 128> controllerPositions;
    std::atomic<int> heldNoteCount { 0 }, droppedEvents { 0 }, programChange { -1 };
    std::array<std::atomic<float>, 2> peakLevels {};
};
} // namespace quane::play
