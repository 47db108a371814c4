// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// One voice of the engine: oscillator, envelopes, LFOs, modulation slots, filter and output stage.
#include "engine/SynthVoice.h"

#include "engine/DspHelpers.h"
#include "engine/OutputStage.h"
#include "engine/PatchValueTable.h"

#include <algorithm>
#include <cmath>

namespace quane
{
namespace
{
constexpr int destinationItems = 8; // selector values 1..8 address slots 0..7
constexpr int waveItems = waveformCount;
constexpr int shapeItems = lfoShapeCount;

/** Spread within spreadLowest..spreadHighest, so that the output stays within outputBound. */
float guardedSpread (float value) noexcept
{
    if (! (value == value))
        return 0.5f;
    return std::min (std::max (value, spreadLowest), spreadHighest);
}
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
        lfo2->increment = lfoIncrement (patch[patch::lfo2Speed]);
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

float SynthVoice::lfoIncrement (float speed) const noexcept
{
    // One step per chunk of 16 output samples: 12.5 x speed Hz at any sample rate.
    return finiteIncrement ((float) TableLfo::length / (2.0f * sampleRate / (speed * 400.0f)));
}

void SynthVoice::setDestination (Source source, int patchIndex) noexcept
{
    // Values outside 1..8 come only from a program or a saved state; they are routed "Off".
    destinations[(size_t) source] = selectorItem (patch[patchIndex], destinationItems) - 1;
}

void SynthVoice::refresh (int patchIndex)
{
    using namespace patch;

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
        case VoiceRefresh::lfo2Increment: lfo2->increment = lfoIncrement (patch[lfo2Speed]); break;
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
    using namespace patch;
    auto slot = [this] (Source source) -> float& { return slots[(size_t) destinations[(size_t) source]]; };

    slots.fill (0.0f);

    env1->step();
    const float level1 = env1->level;
    slot (env1Source) += patch[env1Depth] * level1 * level1 * level1;

    env2->step();
    const float level2 = env2->level;
    slot (env2Source) += patch[env2Depth] * level2 * level2 * level2;

    slot (lfo2Source) += lfo2->step() * patch[lfo2Depth];

    // LFO1's depth slot is read here, so only the envelopes and LFO2 can reach it.
    slot (lfo1Source) += lfo1->step() * (patch[lfo1Depth] + slots[lfo1DepthSlot]);

    slot (velocitySource) += patch[velocityDepth] * velocity;
    slot (modwheelSource) += patch[modwheelPosition] * patch[modwheelDepth];
}

void SynthVoice::updatePitch() noexcept
{
    using namespace patch;

    // Bend in semitones, Detune and the "Osc Tune" slot in tenths of an octave. The power of two
    // is taken in double and stored as a float; everything else is single precision.
    const float exponent = patch[pitchBend] * patch[bendRange] * (1.0f / 12.0f)
                           + (patch[detune] + slots[detuneSlot]) * 0.1f;
    oscillator->increment = lastPitchIncrement.get ({ exponent }, [this, exponent] {
        const float ratio = narrowToFloat (std::exp2 ((double) exponent));
        return finiteIncrement ((float) WavetableOscillator::length / (sampleRate / (ratio * frequencyHz)));
    });
}

void SynthVoice::updateControls() noexcept
{
    using namespace patch;

    // The second reading lies at most half the table away.
    oscillator->secondOffset = coefficientLimit (patch[phase] + slots[phaseSlot]) * 256.0f;
    oscillator->secondLevel = limitToLevelRange (patch[phaserLevel] + slots[phaserLevelSlot]);

    // Takes effect at the next chunk's LFO1 step.
    const float lfo1Speed = lfoSpeedLimit (patch[patch::lfo1Speed] + slots[lfo1SpeedSlot]);
    lfo1->increment = lastLfo1Increment.get ({ lfo1Speed }, [this, lfo1Speed] { return lfoIncrement (lfo1Speed); });

    const float cutoff = coefficientLimit (patch[patch::cutoff] + slots[cutoffSlot]);
    const float resonance = patch[patch::resonance];
    controls.cutoff = cutoff;
    controls.feedback = lastFeedback.get ({ resonance, cutoff },
                                          [=] { return ResonantFilter::feedbackFor (resonance, cutoff); });
    controls.volume = volumeLimit (patch[patch::volume] + slots[volumeSlot]);
    controls.spread = guardedSpread (patch[patch::spread]);
    controls.saturation = patch[saturation];
}

void SynthVoice::prepareChunk() noexcept
{
    prepareChunkControls();
    prepareChunkPitch();
}

void SynthVoice::prepareChunkControls() noexcept
{
    updateModulation();
    updateControls();
}

void SynthVoice::prepareChunkPitch() noexcept
{
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
    finishChunk();
}
} // namespace quane
