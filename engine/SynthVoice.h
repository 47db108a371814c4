// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// One voice of the engine: oscillator, envelopes, LFOs, modulation slots, filter and output stage.
#pragma once

#include "engine/AmpEnvelope.h"
#include "engine/DspHelpers.h"
#include "engine/ModEnvelope.h"
#include "engine/PatchParams.h"
#include "engine/ResonantFilter.h"
#include "engine/TableLfo.h"
#include "engine/Voice.h"
#include "engine/VoiceControls.h"
#include "engine/WavetableOscillator.h"

#include <array>
#include <memory>

namespace quane
{
/** Plays one note at a time, reading the engine's patch block at every chunk.

    Per chunk it steps the modulation envelopes and LFOs once, routes them (with velocity and the
    wheel) into eight modulation slots, derives pitch, pulse width, LFO1 rate, filter coefficients
    and volume, and then runs oscillator, filter, amplitude envelope and output stage over 32
    internal values (twice the output rate) that fold into the chunk's 16 output samples.

    Called only by the engine, from the rendering thread; refresh must not overlap a render.
    Nothing is allocated after construction. */
class SynthVoice : public Voice
{
public:
    static constexpr int slotCount = modulation::slotCount;
    static constexpr int sourceCount = modulation::sourceCount;
    using Source = modulation::Source;

    SynthVoice (float sampleRate, const PatchParams& patch);

    void start (float frequencyHz, float velocity, int note, int delay, float sampleRate) override;
    void release (int delay) override;
    void refresh (int patchIndex) override;
    void renderChunk (float* first, float* second) override;

    /** The state a renderer that runs the voices side by side keeps for them between chunks. */
    WavetableOscillator& oscillatorState() noexcept { return *oscillator; }
    AmpEnvelope& ampEnvelopeState() noexcept { return *ampEnvelope; }
    ResonantFilter& filterState() noexcept { return filter; }

    int getDestination (Source source) const noexcept { return destinations[(size_t) source]; }
    const modulation::Destinations& getDestinations() const noexcept { return destinations; }
    ModEnvelope& env1State() noexcept { return *env1; }
    ModEnvelope& env2State() noexcept { return *env2; }
    TableLfo& lfo1State() noexcept { return *lfo1; }
    TableLfo& lfo2State() noexcept { return *lfo2; }
    float getVelocity() const noexcept { return velocity; }
    float getFrequencyHz() const noexcept { return frequencyHz; }
    float getSampleRate() const noexcept { return sampleRate; }
    const WavetableOscillator& getOscillator() const noexcept { return *oscillator; }
    const AmpEnvelope& getAmpEnvelope() const noexcept { return *ampEnvelope; }
    const TableLfo& getLfo1() const noexcept { return *lfo1; }
    const TableLfo& getLfo2() const noexcept { return *lfo2; }
    const ResonantFilter& getFilter() const noexcept { return filter; }

private:
    /** The control values of the current chunk, set by prepareChunk. */
    struct ChunkControls
    {
        float cutoff, feedback, volume, spread, saturation;
    };

    void prepareChunk() noexcept;
    void renderValues (float* first, float* second) noexcept;
    void updateModulation() noexcept;
    void updateControls() noexcept;
    void updatePitch() noexcept;
    float lfo2Increment() const noexcept;
    void setDestination (Source source, int patchIndex) noexcept;

    float slots[slotCount] {};
    modulation::Destinations destinations {};
    std::unique_ptr<WavetableOscillator> oscillator;
    std::unique_ptr<AmpEnvelope> ampEnvelope;
    std::unique_ptr<ModEnvelope> env1, env2;
    std::unique_ptr<TableLfo> lfo1, lfo2;
    float velocity = 0.0f;
    const PatchParams& patch;
    float sampleRate;
    float frequencyHz = 0.0f;
    float pitchExponent = 0.0f; // set with the chunk's controls, turned into the increment after them
    ResonantFilter filter;
    ChunkControls controls {};

    // The chunk's costly control values, recomputed only when their inputs change.
    LastResult<1> lastPitchIncrement, lastLfo1Increment;
    LastResult<2> lastFeedback;
};
} // namespace quane
