// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Renders a chunk of every sounding voice side by side in vector lanes, mixed in voice order.
#include "engine/VoiceLanesRenderer.h"

#include "engine/OutputStage.h"

namespace quane
{
namespace
{
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

void VoiceLanesRenderer::loadControlState (int k, SynthVoice& voice) noexcept
{
    loadEnvelope (lanes.env1, k, voice.env1State());
    loadEnvelope (lanes.env2, k, voice.env2State());

    auto loadLfo = [k] (VoiceLanes::Lfos& lanesOf, const TableLfo& lfo) {
        lanesOf.phase[k] = lfo.phase;
        lanesOf.increment[k] = lfo.increment;
        lanesOf.points[k] = lfo.pointData();
    };
    loadLfo (lanes.lfo1, voice.lfo1State());
    loadLfo (lanes.lfo2, voice.lfo2State());

    lanes.velocity[k] = voice.getVelocity();
    lanes.frequencyHz[k] = voice.getFrequencyHz();
    lanes.sampleRate[k] = voice.getSampleRate();
}

void VoiceLanesRenderer::storeControlState (int k, SynthVoice& voice) noexcept
{
    storeEnvelope (lanes.env1, k, voice.env1State());
    storeEnvelope (lanes.env2, k, voice.env2State());
    voice.lfo1State().phase = lanes.lfo1.phase[k];
    voice.lfo1State().increment = lanes.lfo1.increment[k];
    voice.lfo2State().phase = lanes.lfo2.phase[k];

    auto& oscillator = voice.oscillatorState();
    oscillator.increment = lanes.increment[k];
    oscillator.secondOffset = lanes.secondOffset[k];
    oscillator.secondLevel = lanes.secondLevel[k];
    auto& controls = voice.chunkControlsState();
    controls.cutoff = lanes.cutoff[k];
    controls.feedback = lanes.feedback[k];
    controls.volume = lanes.volume[k];
    controls.spread = lanes.spread[k];
    controls.saturation = lanes.saturation[k];
}

void VoiceLanesRenderer::loadControls (int k, SynthVoice& voice) noexcept
{
    const auto& oscillator = voice.oscillatorState();
    lanes.increment[k] = oscillator.increment;
    lanes.secondOffset[k] = oscillator.secondOffset;
    lanes.secondLevel[k] = oscillator.secondLevel;

    const auto& controls = voice.chunkControls();
    lanes.cutoff[k] = controls.cutoff;
    lanes.feedback[k] = controls.feedback;
    lanes.saturation[k] = controls.saturation;
    lanes.volume[k] = controls.volume;
    lanes.spread[k] = controls.spread;
}

void VoiceLanesRenderer::load (int k, SynthVoice& voice) noexcept
{
    lanes.phase[k] = voice.oscillatorState().phase;
    lanes.s1[k] = voice.filterState().s1;
    lanes.s2[k] = voice.filterState().s2;

    const auto& envelope = voice.ampEnvelopeState();
    loadEnvelope (lanes.amp, k, envelope);
    lanes.attackDelay[k] = envelope.attackDelay;
    lanes.releaseDelay[k] = envelope.releaseDelay;
}

void VoiceLanesRenderer::storeBack (int k, SynthVoice& voice) noexcept
{
    voice.oscillatorState().phase = lanes.phase[k];
    voice.filterState().s1 = lanes.s1[k];
    voice.filterState().s2 = lanes.s2[k];

    auto& envelope = voice.ampEnvelopeState();
    storeEnvelope (lanes.amp, k, envelope);
    envelope.attackDelay = lanes.attackDelay[k];
    envelope.releaseDelay = lanes.releaseDelay[k];
    voice.finishChunk();
}

void VoiceLanesRenderer::prepareControls() noexcept
{
    // The voices share the patch and, refreshed together, its routing: then their control values
    // run side by side. A voice routed differently (the engine never does that) takes them one
    // voice at a time, as when it renders alone.
    const int count = lanes.count;
    const auto& routing = voices[(size_t) voiceOfLane[0]]->getDestinations();
    int differences = 0;
    for (int k = 1; k < count; ++k)
    {
        const auto& own = voices[(size_t) voiceOfLane[(size_t) k]]->getDestinations();
        for (size_t source = 0; source < own.size(); ++source)
            differences += own[source] != routing[source] ? 1 : 0;
    }
    const bool sameRouting = differences == 0;

    if (! sameRouting)
    {
        for (int k = 0; k < count; ++k)
            voices[(size_t) voiceOfLane[(size_t) k]]->prepareChunk();
        for (int k = 0; k < count; ++k)
            loadControls (k, *voices[(size_t) voiceOfLane[(size_t) k]]);
        return;
    }

    lanes.patch = &patch;
    lanes.destinations = routing;
    const float spread = modulation::guardedSpread (patch[patch::spread]);
    for (int k = 0; k < count; ++k)
    {
        loadControlState (k, *voices[(size_t) voiceOfLane[(size_t) k]]);
        lanes.spread[k] = spread;
        lanes.saturation[k] = patch[patch::saturation];
    }
    kernel.controls (lanes);
    for (int k = 0; k < count; ++k)
        storeControlState (k, *voices[(size_t) voiceOfLane[(size_t) k]]);
}

void VoiceLanesRenderer::renderOneAtATime (float* left, float* right) noexcept
{
    for (int v = 0; v < voiceCount; ++v)
    {
        if (v % 2 == 0)
            voices[(size_t) v]->renderChunk (left, right);
        else
            voices[(size_t) v]->renderChunk (right, left);
    }
}

void VoiceLanesRenderer::renderChunk (float* left, float* right) noexcept
{
    // The lanes share one table. Voices that were given different waveforms (the engine never
    // does that) render one at a time.
    int count = 0;
    for (int v = 0; v < voiceCount; ++v)
    {
        auto& voice = *voices[(size_t) v];
        if (! voice.isActive())
            continue;
        if (count > 0
            && voice.oscillatorState().waveformRow()
                   != voices[(size_t) voiceOfLane[0]]->oscillatorState().waveformRow())
            return renderOneAtATime (left, right);
        voiceOfLane[(size_t) count++] = v;
    }

    if (count == 0)
        return;
    lanes.count = count;
    prepareControls();
    for (int k = 0; k < count; ++k)
    {
        const int v = voiceOfLane[(size_t) k];
        lanes.firstIsLeft[k] = v % 2 == 0;
        load (k, *voices[(size_t) v]);
    }

    lanes.table = voices[(size_t) voiceOfLane[0]]->oscillatorState().segmentData();

    // Lanes past the sounding voices keep what they last held: a voice state, or zeros, both of
    // which the kernel runs through harmlessly; their results are never read.
    kernel.render (lanes);

    for (int k = 0; k < count; ++k)
        storeBack (k, *voices[(size_t) voiceOfLane[(size_t) k]]);

    if (left + chunkSize <= right || right + chunkSize <= left)
        return kernel.mix (lanes, left, right);

    // A host that gives both channels one array: the voices' own output stage, in its order.
    for (int k = 0; k < count; ++k)
    {
        float values[valuesPerChunk];
        for (int n = 0; n < valuesPerChunk; ++n)
            values[n] = lanes.shaped[n][k];
        float* first = lanes.firstIsLeft[k] ? left : right;
        float* second = lanes.firstIsLeft[k] ? right : left;
        addOutputStage (values, valuesPerChunk, lanes.saturation[k], lanes.volume[k], lanes.spread[k], first, second);
    }
}
} // namespace quane
