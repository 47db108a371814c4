// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// One voice of the engine.
#include "engine/SynthVoice.h"

namespace quane
{
SynthVoice::SynthVoice (float rate, const PatchParams& patchBlock) : patch (patchBlock), sampleRate (rate) {}

void SynthVoice::start (float frequency, float noteVelocity, int noteNumber, int, float rate)
{
    sampleRate = rate;
    note = noteNumber;
    frequencyHz = frequency;
    velocity = noteVelocity;
    active = true;
    released = false;
}

void SynthVoice::release (int)
{
    released = true;
}

void SynthVoice::refresh (int) {}

void SynthVoice::renderChunk (float*, float*)
{
    if (active && released)
        active = false;
}
} // namespace quane
