// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice pool: note assignment, parameter fan-out and block rendering in 16-sample chunks.
#pragma once

#include "engine/PatchParams.h"
#include "engine/PatchProgram.h"
#include "engine/Voice.h"
#include "engine/VoiceLanes.h"

#include <array>
#include <functional>
#include <memory>

namespace quane
{
class VoiceLanesRenderer;

/** Turns note events, wheel values and patch values into stereo audio.

    Owns ten voices and the patch block they all read. Every operation runs on the caller's
    thread and none is safe for concurrent use: the owner serialises parameter changes and
    program loads with rendering. Rendering allocates nothing.

    renderBlock always renders one chunk ahead of the host: the part of that chunk the block
    cannot take is carried into the next call, so any block length is served from whole chunks.

    Arithmetic, for every part of the engine: each value is a single-precision float and each
    operation is done in single precision, in the order the formula is written, unless a higher
    precision belongs to the value's definition. Those are: the note frequency and the envelope
    rates (double, stored as floats), the power of two of the pitch (a double function, stored as
    a float), and the oscillator's cubic coefficients and the branchless limits (extended
    precision, reproduced exactly by the evaluations in WavetableOscillator.cpp and DspHelpers.h).
    The output therefore depends on IEEE single precision with round-to-nearest (flush-to-zero
    during the render) and on the C library's exp2 and pow, whose double results are rounded
    to floats; the engine is built without contraction into fused multiply-adds. */
class SynthEngine
{
public:
    using VoiceFactory = std::function<std::unique_ptr<Voice> (float sampleRate, const PatchParams& patch)>;

    SynthEngine (float sampleRate, PatchProgramTable programs);

    /** Builds the pool from another kind of voice, for tests of the pool itself. */
    SynthEngine (float sampleRate, PatchProgramTable programs, const VoiceFactory& makeVoice);

    ~SynthEngine();

    void noteOn (int note, int velocity, int sampleOffset);
    void noteOff (int note, int sampleOffset);
    void silenceAllVoices();

    void refreshVoices (int patchIndex);
    void refreshAllVoices();

    /** Stores one patch value, limited by its index's class. Indices outside the patch values are ignored. */
    void setPatchValue (int patchIndex, float value);

    /** Writes a program's values into the patch and refreshes every voice; false for an unknown number. */
    bool loadProgram (int number);

    void setSampleRate (float newRate) noexcept { sampleRate = newRate; }
    float getSampleRate() const noexcept { return sampleRate; }

    /** Adds the next numSamples of output into left and right. */
    void renderBlock (float* left, float* right, int numSamples);

    /** Renders with another voice-lanes kernel, or with an empty one voice at a time; the sound
        is the same to the last bit. The widest kernel the processor runs is used by default.
        Engines built from other kinds of voice always render one voice at a time. */
    void useVoiceLanesKernel (VoiceLanesKernel kernel);

    PatchParams& getPatch() noexcept { return *patch; }
    const PatchParams& getPatch() const noexcept { return *patch; }
    /** A voice with its current state, to look at or change between renders. */
    Voice& getVoice (int index) noexcept;
    int getCarriedCount() const noexcept { return carriedCount; }

    /** The note a voice stores for a MIDI note under the current Octave (2 leaves it unchanged). */
    int transposedNote (int note) const noexcept;

    /** Half the sounding pitch of a transposed note: the frequency a voice is started with, whose
        oscillator steps twice per output sample and so sounds an octave above it. */
    static double halfPitchHz (int transposedNote) noexcept;

private:
    /** A voice about to be changed: the voice-lanes renderer first hands its state back. */
    Voice& voiceToChange (int index) noexcept;
    void renderChunkOfAllVoices (float* left, float* right);

    float sampleRate;
    PatchProgramTable programs;
    std::unique_ptr<PatchParams> patch;
    std::array<std::unique_ptr<Voice>, voiceCount> voices;
    std::array<float, chunkSize> carryLeft {}, carryRight {};
    int carriedCount = 0;
    std::unique_ptr<VoiceLanesRenderer> lanesRenderer;
    bool ownVoices = false; // every voice a SynthVoice
};
} // namespace quane
