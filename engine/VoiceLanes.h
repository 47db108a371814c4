// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voices side by side, one per vector lane: their state between chunks and the kernels.
#pragma once

#include "engine/EngineLimits.h"
#include "engine/PatchParams.h"
#include "engine/VoiceControls.h"
#include "engine/VoiceLanesChoice.h"
#include "engine/WavetableOscillator.h"

#include <cstdint>

namespace quane
{
/** The state of every voice of an engine, stored as structure of arrays: lane k of every field
    belongs to voice k. The renderer keeps the voices' state here from chunk to chunk and hands
    it back to a voice only when the voice itself is needed (a note, a refresh, a look from
    outside). All lanes read one oscillator table and one table for each LFO: the voices of an
    engine always play the same waveform and LFO shapes.

    A kernel advances the lanes whose bit is set in active exactly as the voices' own scalar steps
    would, and leaves every other lane's state as it was. Its results are the values after the
    amplitude envelope: in shaped by internal value and lane, except for kernels narrower than the
    voice count, which run the last two voices as a pair (lanes pairFirst and pairFirst + 1)
    whose values lie in pairShaped, voice after voice for each internal value. */
struct VoiceLanes
{
    static constexpr int maxCount = 16;
    static constexpr int pairFirst = voiceCount - 2;

    std::uint32_t active = 0; // bit k: voice k sounds in this chunk

    // Oscillator.
    alignas (64) float phase[maxCount] {};
    alignas (64) float increment[maxCount] {};
    alignas (64) float secondOffset[maxCount] {};
    alignas (64) float secondLevel[maxCount] {};
    const WavetableOscillator::Segment* table = nullptr; // the same waveform for every lane

    // Filter.
    alignas (64) float cutoff[maxCount] {};
    alignas (64) float feedback[maxCount] {};
    alignas (64) float s1[maxCount] {};
    alignas (64) float s2[maxCount] {};

    /** What every envelope holds (EnvelopeValues), one lane per voice. */
    struct Envelopes
    {
        alignas (64) std::int32_t stage[maxCount] {};
        alignas (64) float level[maxCount] {};
        alignas (64) float attackRate[maxCount] {};
        alignas (64) float decayRate[maxCount] {};
        alignas (64) float sustainLevel[maxCount] {};
        alignas (64) float releaseRate[maxCount] {};
    };

    // Amplitude envelope, with the delays of its note events.
    Envelopes amp;
    alignas (64) std::int32_t attackDelay[maxCount] {};
    alignas (64) std::int32_t releaseDelay[maxCount] {};

    // Output stage: the volume of each voice, and the patch's drive and Spread they share.
    alignas (64) float volume[maxCount] {};
    float saturation = 0.0f;
    float spread = 0.0f;

    // The chunk's control values come from the modulation envelopes and LFOs, the velocity and
    // the note, with the patch, the routing and the LFO shapes that every voice shares.
    Envelopes env1, env2;

    struct Lfos
    {
        alignas (64) float phase[maxCount] {};
        alignas (64) float increment[maxCount] {};
        const float* points = nullptr; // the same shape for every lane: sample and difference pairs
    } lfo1, lfo2;

    // The pitch exponent each lane's increment was last computed from, where its bit is set in
    // pitchKnown: a chunk with the same exponents keeps the increments, as a voice keeps its own.
    alignas (64) float pitchExponent[maxCount] {};
    std::uint32_t pitchKnown = 0;

    alignas (64) float velocity[maxCount] {};
    alignas (64) float frequencyHz[maxCount] {};
    alignas (64) float sampleRate[maxCount] {};
    const PatchParams* patch = nullptr;
    modulation::Destinations destinations {};

    // Results: the values after the amplitude envelope.
    alignas (64) float shaped[valuesPerChunk][maxCount] {};
    alignas (64) float pairShaped[valuesPerChunk][2] {};
};

/** The work of one instruction set on the lanes in use: controls computes the chunk's control
    values (increment, second offset and level, cutoff, feedback, volume, LFO1's next increment)
    from the modulation, as the voices' own chunk does; render runs the 32 internal values up to
    the amplitude envelope; mix runs the output stage and adds the results into a chunk's two
    arrays voice by voice in voice order, even voices' Spread share into left and odd voices'
    into right. */
struct VoiceLanesKernel
{
    void (*controls) (VoiceLanes&) noexcept = nullptr;
    void (*render) (VoiceLanes&) noexcept = nullptr;
    void (*mix) (const VoiceLanes&, float* left, float* right) noexcept = nullptr;
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
