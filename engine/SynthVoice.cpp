// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// One voice of the engine: oscillator, envelopes, LFOs, modulation slots, filter and output stage.
#include "engine/SynthVoice.h"

#include "engine/DspHelpers.h"
#include "engine/OutputStage.h"
#include "engine/PatchValueTable.h"
#include "engine/PowerOfTwo.h"

#include <algorithm>
#include <cmath>

namespace quane
{
namespace
{
constexpr int destinationItems = modulation::slotCount; // selector values 1..8 address slots 0..7
constexpr int waveItems = waveformCount;
constexpr int shapeItems = lfoShapeCount;

} // namespace

SynthVoice::SynthVoice (float rate, const PatchParams& patchBlock)
    : oscillator (std::make_unique<WavetableOscillator> (1)),
      ampEnvelope (std::make_unique<AmpEnvelope>()),
      env1 (std::make_unique<ModEnvelope>()),
      env2 (std::make_unique<ModEnvelope>()),
      lfo1 (std::make_unique<TableLfo>()),
      lfo2 (std::make_unique<TableLfo>()),
      patch (patchBlock),
      sampleRate (rate)
{
}

void SynthVoice::start (float frequency, float noteVelocity, int noteNumber, int delay, float rate)
{
    // LFO2's increment depends on the rate: a voice that meets a new rate recomputes it, so
    // LFO2 runs at 12.5 x speed Hz even when the rate changed after the last LFO2 Speed change.
    if (rate != sampleRate)
    {
        sampleRate = rate;
        lfo2->increment = lfo2Increment();
        lastLfo1Increment.forget();
    }
    lastPitchIncrement.forget();

    note = noteNumber;
    frequencyHz = frequency;
    velocity = noteVelocity;
    active = true;
    released = false;

    // The filter memory, routing, rates and LFO increments carry over: a stolen voice restarts
    // at level 0 from the state its filter was in.
    oscillator->phase = 0.0f;
    ampEnvelope->level = 0.0f;
    ampEnvelope->attackDelay = delay;
    ampEnvelope->stage = EnvelopeStage::attack;
    for (auto* envelope : { env1.get(), env2.get() })
    {
        envelope->level = 0.0f;
        envelope->stage = EnvelopeStage::attack;
    }
    lfo1->phase = 0.0f;
    lfo2->phase = 0.0f;
}

void SynthVoice::release (int delay)
{
    released = true;
    ampEnvelope->releaseDelay = delay;
    ampEnvelope->stage = EnvelopeStage::release;
    env1->stage = EnvelopeStage::release;
    env2->stage = EnvelopeStage::release;
}

float SynthVoice::lfo2Increment() const noexcept
{
    return modulation::lfoIncrement (patch[patch::lfo2Speed], sampleRate);
}

void SynthVoice::setDestination (Source source, int patchIndex) noexcept
{
    // Values outside 1..8 come only from a program or a saved state; they are routed "Off".
    destinations[(size_t) source] = selectorItem (patch[patchIndex], destinationItems) - 1;
}

void SynthVoice::refresh (int patchIndex)
{
    using namespace patch;
    using namespace modulation;

    switch (voiceRefreshOf (patchIndex))
    {
        case VoiceRefresh::ampEnvelope:
            ampEnvelope->setUp (patch[ampAttack], patch[ampDecay], patch[ampSustain], patch[ampRelease]);
            break;
        case VoiceRefresh::env1:
            env1->setUp (patch[env1Attack], patch[env1Decay], patch[env1Sustain], patch[env1Release]);
            break;
        case VoiceRefresh::env2:
            env2->setUp (patch[env2Attack], patch[env2Decay], patch[env2Sustain], patch[env2Release]);
            break;
        case VoiceRefresh::lfo2Increment: lfo2->increment = lfo2Increment(); break;
        case VoiceRefresh::oscWave: oscillator->selectWave (selectorItem (patch[oscWave], waveItems)); break;
        case VoiceRefresh::lfo1Shape: lfo1->selectShape (selectorItem (patch[lfo1Shape], shapeItems)); break;
        case VoiceRefresh::lfo2Shape: lfo2->selectShape (selectorItem (patch[lfo2Shape], shapeItems)); break;
        case VoiceRefresh::env1Route: setDestination (env1Source, patchIndex); break;
        case VoiceRefresh::env2Route: setDestination (env2Source, patchIndex); break;
        case VoiceRefresh::lfo1Route: setDestination (lfo1Source, patchIndex); break;
        case VoiceRefresh::lfo2Route: setDestination (lfo2Source, patchIndex); break;
        case VoiceRefresh::velocityRoute: setDestination (velocitySource, patchIndex); break;
        case VoiceRefresh::modwheelRoute: setDestination (modwheelSource, patchIndex); break;
        case VoiceRefresh::none: break;          // read afresh at every chunk
        case VoiceRefresh::silenceVoices: break; // the engine's part
    }
}

void SynthVoice::updateModulation() noexcept
{
    modulation::routeModulation (
        slots, destinations, patch, *env1, *env2, [this] { return lfo1->step(); }, [this] { return lfo2->step(); },
        velocity);
}

void SynthVoice::updatePitch() noexcept
{
    const float exponent = pitchExponent;
    oscillator->increment = lastPitchIncrement.get (
        { exponent }, [this, exponent] { return modulation::pitchIncrement (exponent, sampleRate, frequencyHz); });
}

void SynthVoice::updateControls() noexcept
{
    const auto values = modulation::controlValues (slots, patch);
    oscillator->secondOffset = values.secondOffset;
    oscillator->secondLevel = values.secondLevel;
    pitchExponent = values.pitchExponent;

    // Takes effect at the next chunk's LFO1 step.
    const float lfo1Speed = values.lfo1Speed;
    lfo1->increment = lastLfo1Increment.get (
        { lfo1Speed }, [this, lfo1Speed] { return modulation::lfoIncrement (lfo1Speed, sampleRate); });

    const float cutoff = values.cutoff;
    const float resonance = patch[patch::resonance];
    controls.cutoff = cutoff;
    controls.feedback = lastFeedback.get ({ resonance, cutoff },
                                          [=] { return ResonantFilter::feedbackFor (resonance, cutoff); });
    controls.volume = values.volume;
    controls.spread = modulation::guardedSpread (patch[patch::spread]);
    controls.saturation = patch[patch::saturation];
}

void SynthVoice::prepareChunk() noexcept
{
    updateModulation();
    updateControls();
    updatePitch();
}

void SynthVoice::renderValues (float* first, float* second) noexcept
{
    float values[valuesPerChunk];
    oscillator->render (values, valuesPerChunk);
    filter.process (values, valuesPerChunk, controls.cutoff, controls.feedback);

    for (auto& value : values)
    {
        ampEnvelope->step();
        const float level = ampEnvelope->level;
        value *= level * level;
    }

    addOutputStage (values, valuesPerChunk, controls.saturation, controls.volume, controls.spread, first, second);
}

void SynthVoice::renderChunk (float* first, float* second)
{
    if (! active)
        return;

    prepareChunk();
    renderValues (first, second);
    active = ampEnvelope->stage != EnvelopeStage::idle;
}
} // namespace quane
