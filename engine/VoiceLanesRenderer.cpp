// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Renders a chunk of every sounding voice side by side in vector lanes, mixed in voice order.
#include "engine/VoiceLanesRenderer.h"

#include <algorithm>

namespace quane
{
namespace
{
/** The voice's waveform, LFO shapes and routing in one number: voices of one kind can share
    the lanes. */
std::uint32_t kindOf (const SynthVoice& voice) noexcept
{
    auto kind = (std::uint32_t) voice.getOscillator().waveformRow();
    kind |= (std::uint32_t) voice.getLfo1().shapeRow() << 4;
    kind |= (std::uint32_t) voice.getLfo2().shapeRow() << 6;
    const auto& destinations = voice.getDestinations();
    for (size_t source = 0; source < destinations.size(); ++source)
        kind |= (std::uint32_t) destinations[source] << (8 + 3 * source);
    return kind;
}

void loadEnvelope (VoiceLanes::Envelopes& lanesOf, int k, const EnvelopeValues& envelope) noexcept
{
    lanesOf.stage[k] = (std::int32_t) envelope.stage;
    lanesOf.level[k] = envelope.level;
    lanesOf.attackRate[k] = envelope.attackRate;
    lanesOf.decayRate[k] = envelope.decayRate;
    lanesOf.sustainLevel[k] = envelope.sustainLevel;
    lanesOf.releaseRate[k] = envelope.releaseRate;
}

/** What a chunk changes of an envelope: its stage and level. */
void storeEnvelope (const VoiceLanes::Envelopes& lanesOf, int k, EnvelopeValues& envelope) noexcept
{
    envelope.stage = (EnvelopeStage) lanesOf.stage[k];
    envelope.level = lanesOf.level[k];
}
} // namespace

VoiceLanesRenderer::VoiceLanesRenderer (const std::array<SynthVoice*, voiceCount>& voicesToRender,
                                        const PatchParams& patchBlock, VoiceLanesKernel chosenKernel) noexcept
    : voices (voicesToRender), patch (patchBlock), kernel (chosenKernel)
{
    lanes.patch = &patch;
}

void VoiceLanesRenderer::load (int k) noexcept
{
    auto& voice = *voices[(size_t) k];
    const auto& oscillator = voice.getOscillator();
    lanes.phase[k] = oscillator.phase;
    lanes.increment[k] = oscillator.increment;
    lanes.secondOffset[k] = oscillator.secondOffset;
    lanes.secondLevel[k] = oscillator.secondLevel;
    lanes.s1[k] = voice.getFilter().s1;
    lanes.s2[k] = voice.getFilter().s2;

    const auto& envelope = voice.getAmpEnvelope();
    loadEnvelope (lanes.amp, k, envelope);
    lanes.attackDelay[k] = envelope.attackDelay;
    lanes.releaseDelay[k] = envelope.releaseDelay;
    loadEnvelope (lanes.env1, k, voice.env1State());
    loadEnvelope (lanes.env2, k, voice.env2State());

    auto loadLfo = [k] (VoiceLanes::Lfos& lanesOf, const TableLfo& lfo) {
        lanesOf.phase[k] = lfo.phase;
        lanesOf.increment[k] = lfo.increment;
    };
    loadLfo (lanes.lfo1, voice.getLfo1());
    loadLfo (lanes.lfo2, voice.getLfo2());

    lanes.velocity[k] = voice.getVelocity();
    lanes.frequencyHz[k] = voice.getFrequencyHz();
    lanes.sampleRate[k] = voice.getSampleRate();
    lanes.pitchKnown &= ~(1u << k); // a new note, or a new rate
    kind[(size_t) k] = kindOf (voice);
    inLanes |= 1u << k;
}

void VoiceLanesRenderer::store (int k) noexcept
{
    auto& voice = *voices[(size_t) k];
    auto& oscillator = voice.oscillatorState();
    oscillator.phase = lanes.phase[k];
    oscillator.increment = lanes.increment[k];
    oscillator.secondOffset = lanes.secondOffset[k];
    oscillator.secondLevel = lanes.secondLevel[k];
    voice.filterState().s1 = lanes.s1[k];
    voice.filterState().s2 = lanes.s2[k];

    auto& envelope = voice.ampEnvelopeState();
    storeEnvelope (lanes.amp, k, envelope);
    envelope.attackDelay = lanes.attackDelay[k];
    envelope.releaseDelay = lanes.releaseDelay[k];
    storeEnvelope (lanes.env1, k, voice.env1State());
    storeEnvelope (lanes.env2, k, voice.env2State());
    voice.lfo1State().phase = lanes.lfo1.phase[k];
    voice.lfo1State().increment = lanes.lfo1.increment[k];
    voice.lfo2State().phase = lanes.lfo2.phase[k];
}

SynthVoice& VoiceLanesRenderer::handBack (int voice) noexcept
{
    if (((inLanes >> voice) & 1u) != 0)
        store (voice);
    inLanes &= ~(1u << voice);
    return *voices[(size_t) voice];
}

void VoiceLanesRenderer::handBackAll() noexcept
{
    for (int voice = 0; voice < voiceCount; ++voice)
        handBack (voice);
}

void VoiceLanesRenderer::renderOneAtATime (float* left, float* right) noexcept
{
    handBackAll();
    for (int v = 0; v < voiceCount; ++v)
    {
        if (v % 2 == 0)
            voices[(size_t) v]->renderChunk (left, right);
        else
            voices[(size_t) v]->renderChunk (right, left);
    }
}

bool VoiceLanesRenderer::shareTheLanes (std::uint32_t active) const noexcept
{
    // The lanes share the tables and the routing. Sounding voices that were given different ones
    // (the engine never does that) render one at a time.
    if (allOfOneKind)
        return true;
    const int leader = __builtin_ctz (active);
    for (int v = leader + 1; v < voiceCount; ++v)
        if (((active >> v) & 1u) != 0 && kind[(size_t) v] != kind[(size_t) leader])
            return false;
    return true;
}

void VoiceLanesRenderer::renderChunk (float* left, float* right) noexcept
{
    std::uint32_t active = 0;
    for (int v = 0; v < voiceCount; ++v)
        active |= voices[(size_t) v]->isActive() ? 1u << v : 0u;
    if (active == 0)
        return;

    if (inLanes != everyLane)
    {
        for (int v = 0; v < voiceCount; ++v)
            if (((inLanes >> v) & 1u) == 0)
                load (v);
        allOfOneKind = std::all_of (kind.begin(), kind.end(), [this] (auto k) { return k == kind[0]; });
    }
    if (! shareTheLanes (active))
        return renderOneAtATime (left, right);

    const int leader = __builtin_ctz (active);
    const auto& leadingVoice = *voices[(size_t) leader];
    lanes.active = active;
    lanes.table = leadingVoice.getOscillator().segmentData();
    lanes.lfo1.points = leadingVoice.getLfo1().pointData();
    lanes.lfo2.points = leadingVoice.getLfo2().pointData();
    lanes.destinations = leadingVoice.getDestinations();
    lanes.saturation = patch[patch::saturation];
    lanes.spread = modulation::guardedSpread (patch[patch::spread]);

    kernel.controls (lanes);
    kernel.render (lanes);
    for (int v = leader; v < voiceCount; ++v)
        if (((active >> v) & 1u) != 0)
            voices[(size_t) v]->setActive (lanes.amp.stage[v] != (std::int32_t) EnvelopeStage::idle);
    kernel.mix (lanes, left, right);
}
} // namespace quane
