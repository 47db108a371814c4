// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// What the engine needs of a voice: start, release, refresh and chunk rendering.
#pragma once

#include "engine/EngineLimits.h"

namespace quane
{
/** One voice of the engine's pool, playing one note at a time.

    The engine calls every operation from the thread that renders; none of them may overlap a
    render. renderChunk adds chunkSize samples into each of its two arrays, the first getting the
    voice's Spread share; an inactive voice adds nothing. */
class Voice
{
public:
    virtual ~Voice() = default;

    /** Begins a note. frequencyHz is half the sounding pitch (the oscillator steps twice per
        output sample); delay is the note-on's sample offset in its block, which the amplitude
        envelope counts in internal steps (two per output sample). */
    virtual void start (float frequencyHz, float velocity, int note, int delay, float sampleRate) = 0;

    /** Enters the release stage. delay is the note-off's sample offset in its block, counted in
        internal steps as at the start. */
    virtual void release (int delay) = 0;

    /** Recomputes what the voice derives from one patch value. */
    virtual void refresh (int patchIndex) = 0;

    virtual void renderChunk (float* first, float* second) = 0;

    bool isActive() const noexcept { return active; }
    void setActive (bool shouldBeActive) noexcept { active = shouldBeActive; }
    bool isReleased() const noexcept { return released; }
    int getNote() const noexcept { return note; }

protected:
    bool active = false;
    bool released = false;
    int note = 0;
};
} // namespace quane
