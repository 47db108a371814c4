// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// One voice of the engine.
#pragma once

#include "engine/PatchParams.h"
#include "engine/Voice.h"

namespace quane
{
class SynthVoice : public Voice
{
public:
    SynthVoice (float sampleRate, const PatchParams& patch);

    void start (float frequencyHz, float velocity, int note, int delay, float sampleRate) override;
    void release (int delay) override;
    void refresh (int patchIndex) override;
    void renderChunk (float* first, float* second) override;

private:
    const PatchParams& patch;
    float sampleRate;
    float frequencyHz = 0.0f;
    float velocity = 0.0f;
};
} // namespace quane
