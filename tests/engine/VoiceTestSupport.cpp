// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers of the voice tests: a plain test patch, an engine around it and pitch from audio.
#include "VoiceTestSupport.h"

#include <algorithm>
#include <cmath>

namespace quane::test
{
PatchProgram plainSawProgram()
{
    using namespace patch;
    PatchProgram program { "Plain Saw", {} };
    auto& v = program.values;
    for (int i = 0; i < valueCount; ++i)
        v[i] = 0.5f;

    v[phaserLevel] = unitMinimum;
    v[detune] = 0.0f;
    v[octave] = 2.0f;
    v[bendRange] = 0.0f;
    v[cutoff] = unitMaximum;
    v[resonance] = unitMinimum;
    v[ampAttack] = unitMinimum;
    v[ampSustain] = unitMaximum;
    v[ampRelease] = unitMinimum;
    for (int depth : { env1Depth, env2Depth, lfo1Depth, lfo2Depth, velocityDepth, modwheelDepth })
        v[depth] = 0.0f;
    for (int selector = firstSelector; selector < valueCount; ++selector)
        v[selector] = 1.0f;
    return program;
}

TestEngine::TestEngine (const PatchProgram& patchProgram, float sampleRate) : program (patchProgram)
{
    engine = std::make_unique<SynthEngine> (sampleRate, PatchProgramTable { &program, 1 });
    engine->loadProgram (0);
}

void TestEngine::set (int patchIndex, float value)
{
    engine->setPatchValue (patchIndex, value);
    engine->refreshVoices (patchIndex);
}

std::vector<float> TestEngine::render (int numSamples, int blockSize)
{
    std::vector<float> stereo ((size_t) numSamples * 2, 0.0f);
    for (int done = 0; done < numSamples; done += blockSize)
    {
        const int count = std::min (blockSize, numSamples - done);
        engine->renderBlock (stereo.data() + done, stereo.data() + numSamples + done, count);
    }
    return stereo;
}

std::vector<float> leftOf (const std::vector<float>& stereo)
{
    return { stereo.begin(), stereo.begin() + (std::ptrdiff_t) (stereo.size() / 2) };
}

std::vector<float> rightOf (const std::vector<float>& stereo)
{
    return { stereo.begin() + (std::ptrdiff_t) (stereo.size() / 2), stereo.end() };
}

double pitchFromFallingCrossings (const std::vector<float>& samples, double sampleRate, size_t skip)
{
    const float peak = (float) peakOf (samples);
    const float arm = 0.3f * peak;
    bool armed = false;
    double firstCrossing = -1.0, lastCrossing = -1.0;
    int crossings = 0;

    for (size_t i = std::max<size_t> (skip, 1); i < samples.size(); ++i)
    {
        if (samples[i] > arm)
            armed = true;
        if (armed && samples[i - 1] >= 0.0f && samples[i] < 0.0f)
        {
            const double at = (double) (i - 1) + samples[i - 1] / (double) (samples[i - 1] - samples[i]);
            firstCrossing = crossings == 0 ? at : firstCrossing;
            lastCrossing = at;
            ++crossings;
            armed = false;
        }
    }

    if (crossings < 3)
        return 0.0;
    return (crossings - 1) * sampleRate / (lastCrossing - firstCrossing);
}

bool allFinite (const std::vector<float>& samples)
{
    return std::all_of (samples.begin(), samples.end(), [] (float s) { return std::isfinite (s); });
}

double peakOf (const std::vector<float>& samples)
{
    double peak = 0.0;
    for (float s : samples)
        peak = std::max (peak, (double) std::fabs (s));
    return peak;
}
} // namespace quane::test
