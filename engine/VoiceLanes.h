// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The sounding voices side by side, one per vector lane: their per-value state and the kernels.
#pragma once

#include "engine/EngineLimits.h"
#include "engine/PatchParams.h"
#include "engine/VoiceControls.h"
#include "engine/VoiceLanesChoice.h"
#include "engine/WavetableOscillator.h"

#include <cstdint>

namespace quane
{
/** The state that a chunk's 32 internal values advance, for up to maxCount voices, stored as
    structure of arrays so that lane k of every field belongs to the same voice. All lanes read
    one table: the voices of an engine always play the same waveform.

    The renderer fills the first count lanes from the voices' own state and their chunk's
    control values, runs a kernel, and copies the state back. A kernel leaves, for every lane
    and internal value, the value after the amplitude envelope, and does everything exactly as
    the voice's own scalar steps. */
struct VoiceLanes
{
    static constexpr int maxCount = 16;

    int count = 0;

    // Oscillator.
    alignas (64) float phase[maxCount];
    alignas (64) float increment[maxCount];
    alignas (64) float secondOffset[maxCount];
    alignas (64) float secondLevel[maxCount];
    const WavetableOscillator::Segment* table = nullptr; // the same waveform for every lane

    // Filter.
    alignas (64) float cutoff[maxCount];
    alignas (64) float feedback[maxCount];
    alignas (64) float s1[maxCount];
    alignas (64) float s2[maxCount];

    /** What every envelope holds (EnvelopeValues), one lane per voice. */
    struct Envelopes
    {
        alignas (64) std::int32_t stage[maxCount];
        alignas (64) float level[maxCount];
        alignas (64) float attackRate[maxCount];
        alignas (64) float decayRate[maxCount];
        alignas (64) float sustainLevel[maxCount];
        alignas (64) float releaseRate[maxCount];
    };

    // Amplitude envelope, with the delays of its note events.
    Envelopes amp;
    alignas (64) std::int32_t attackDelay[maxCount];
    alignas (64) std::int32_t releaseDelay[maxCount];

    // Output stage.
    alignas (64) float saturation[maxCount];
    alignas (64) float volume[maxCount];
    alignas (64) float spread[maxCount];

    // The chunk's control values come from the modulation envelopes and LFOs, the velocity and
    // the note, with the patch and the routing that every voice shares.
    Envelopes env1, env2;

    struct Lfos
    {
        alignas (64) float phase[maxCount];
        alignas (64) float increment[maxCount];
        const float* points[maxCount]; // each voice's own table: sample and difference pairs
    } lfo1, lfo2;

    alignas (64) float velocity[maxCount];
    alignas (64) float frequencyHz[maxCount];
    alignas (64) float sampleRate[maxCount];
    const PatchParams* patch = nullptr;
    modulation::Destinations destinations {};

    // Results: the values after the amplitude envelope, by internal value and lane.
    alignas (64) float shaped[valuesPerChunk][maxCount];

    // Where the mix puts a lane's first results: even voices lean left, odd voices right.
    bool firstIsLeft[maxCount];
};

/** The work of one instruction set: render runs the 32 internal values of every lane in use up
    to the amplitude envelope, mix runs the output stage and adds the results into a chunk's two
    arrays (which must not overlap) in lane order. */
struct VoiceLanesKernel
{
    void (*render) (VoiceLanes&) noexcept = nullptr;
    void (*mix) (const VoiceLanes&, float* left, float* right) noexcept = nullptr;
    /** The chunk's control values of the lanes in use (increment, second offset and level,
        cutoff, feedback, volume, LFO1's next increment) from their modulation, as the voices'
        own prepareChunk computes them. */
    void (*controls) (VoiceLanes&) noexcept = nullptr;
    /** powerOfTwo of count values (a multiple of 16), in lanes: for the exhaustive test. */
    void (*powersOfTwo) (const float* x, float* powers, int count) noexcept = nullptr;

    explicit operator bool() const noexcept { return render != nullptr; }
};

/** The kernels of the instruction sets this build has, widest first in use. */
struct VoiceLanesKernels
{
    /** The kernel of voiceLanesChoice::chosen(): the widest the processor runs unless the
        environment names another, and an empty one for "scalar" or where none is built (then
        the voices render one at a time). */
    static VoiceLanesKernel best() noexcept;

    /** Every kernel the processor runs, with its name: for tests and the benchmark. */
    struct Entry
    {
        const char* name;
        VoiceLanesKernel kernel;
    };
    static int available (Entry* entries, int capacity) noexcept;
};

#if defined(QUANE_HAS_VOICE_LANES)
extern const VoiceLanesKernel voiceLanesSse2, voiceLanesAvx2, voiceLanesAvx512;
#endif
} // namespace quane
