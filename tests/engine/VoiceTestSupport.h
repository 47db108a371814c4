// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the voice tests: a plain test patch, an engine around it and pitch from audio.
#pragma once

#include "engine/SynthEngine.h"
#include "engine/SynthVoice.h"

#include <memory>
#include <vector>

namespace quane::test
{
/** A plain saw: second reading at its minimum level, the filter wide open, full sustain, a short
    attack and release, every depth 0 and every destination "Off". Octave 2, no bend, no detune. */
PatchProgram plainSawProgram();

/** An engine at 44100 Hz that owns the one program it was given and has it loaded. */
class TestEngine
{
public:
    explicit TestEngine (const PatchProgram& program, float sampleRate = 44100.0f);

    SynthEngine& operator*() noexcept { return *engine; }
    SynthEngine* operator->() noexcept { return engine.get(); }
    SynthVoice& voice (int index) { return static_cast<SynthVoice&> (engine->getVoice (index)); }

    /** Sets a patch value as the model does: stored by its class, then the voices refreshed. */
    void set (int patchIndex, float value);

    /** Renders numSamples in blocks of blockSize; returns the left then the right samples. */
    std::vector<float> render (int numSamples, int blockSize = 300);

private:
    PatchProgram program;
    std::unique_ptr<SynthEngine> engine;
};

std::vector<float> leftOf (const std::vector<float>& stereo);
std::vector<float> rightOf (const std::vector<float>& stereo);

/** The frequency of a periodic signal from its falling zero crossings (interpolated, with
    hysteresis against ripple), skipping the first skip samples; 0 if there are too few. */
double pitchFromFallingCrossings (const std::vector<float>& samples, double sampleRate, size_t skip);

bool allFinite (const std::vector<float>& samples);
double peakOf (const std::vector<float>& samples);
} // namespace quane::test
