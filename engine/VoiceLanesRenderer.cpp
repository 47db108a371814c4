// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Renders a chunk of every sounding voice side by side in vector lanes, mixed in voice order.
#include "engine/VoiceLanesRenderer.h"

#include "engine/OutputStage.h"

namespace quane
{
void VoiceLanesRenderer::load (int k, SynthVoice& voice) noexcept
{
    const auto& oscillator = voice.oscillatorState();
    lanes.phase[k] = oscillator.phase;
    lanes.increment[k] = oscillator.increment;
    lanes.secondOffset[k] = oscillator.secondOffset;
    lanes.secondLevel[k] = oscillator.secondLevel;

    const auto& controls = voice.chunkControls();
    const auto& filter = voice.filterState();
    lanes.cutoff[k] = controls.cutoff;
    lanes.feedback[k] = controls.feedback;
    lanes.s1[k] = filter.s1;
    lanes.s2[k] = filter.s2;

    const auto& envelope = voice.ampEnvelopeState();
    lanes.stage[k] = (std::int32_t) envelope.stage;
    lanes.attackDelay[k] = envelope.attackDelay;
    lanes.releaseDelay[k] = envelope.releaseDelay;
    lanes.level[k] = envelope.level;
    lanes.attackRate[k] = envelope.attackRate;
    lanes.decayRate[k] = envelope.decayRate;
    lanes.sustainLevel[k] = envelope.sustainLevel;
    lanes.releaseRate[k] = envelope.releaseRate;

    lanes.saturation[k] = controls.saturation;
    lanes.volume[k] = controls.volume;
    lanes.spread[k] = controls.spread;
}

void VoiceLanesRenderer::storeBack (int k, SynthVoice& voice) noexcept
{
    voice.oscillatorState().phase = lanes.phase[k];
    voice.filterState().s1 = lanes.s1[k];
    voice.filterState().s2 = lanes.s2[k];

    auto& envelope = voice.ampEnvelopeState();
    envelope.stage = (EnvelopeStage) lanes.stage[k];
    envelope.attackDelay = lanes.attackDelay[k];
    envelope.releaseDelay = lanes.releaseDelay[k];
    envelope.level = lanes.level[k];
    voice.finishChunk();
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

    for (int k = 0; k < count; ++k)
        voices[(size_t) voiceOfLane[(size_t) k]]->prepareChunkControls();
    for (int k = 0; k < count; ++k)
    {
        const int v = voiceOfLane[(size_t) k];
        auto& voice = *voices[(size_t) v];
        voice.prepareChunkPitch();
        lanes.firstIsLeft[k] = v % 2 == 0;
        load (k, voice);
    }

    if (count == 0)
        return;
    lanes.table = voices[(size_t) voiceOfLane[0]]->oscillatorState().segmentData();

    // Lanes past the sounding voices keep what they last held: a voice state, or zeros, both of
    // which the kernel runs through harmlessly; their results are never read.
    lanes.count = count;
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
