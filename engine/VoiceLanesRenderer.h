// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Renders a chunk of every sounding voice side by side in vector lanes, mixed in voice order.
#pragma once

#include "engine/SynthVoice.h"
#include "engine/VoiceLanes.h"

#include <array>
#include <cstdint>

namespace quane
{
/** The engine's fast way to render a chunk of all its voices: voice k lives in lane k of a
    VoiceLanes block, a kernel computes the control values and the internal values of every
    sounding voice at once, and the results are added into the chunk's two arrays voice by voice,
    in voice order, exactly as the voices' own renderChunk would add them.

    The lanes keep the voices' state from chunk to chunk. Whoever changes a voice or looks at its
    state first takes it back with handBack, which writes the lane's state into the voice; the
    lane takes the voice's state up again at the next chunk. */
class VoiceLanesRenderer
{
public:
    static_assert (voiceCount <= VoiceLanes::maxCount);

    VoiceLanesRenderer (const std::array<SynthVoice*, voiceCount>& voices, const PatchParams& patch,
                        VoiceLanesKernel kernel) noexcept;

    /** Even voices add (left, right), odd voices (right, left). */
    void renderChunk (float* left, float* right) noexcept;

    /** The voice with its current state, for a change or a look from outside. */
    SynthVoice& handBack (int voice) noexcept;
    void handBackAll() noexcept;

private:
    void load (int voice) noexcept;
    void store (int voice) noexcept;
    bool shareTheLanes (std::uint32_t active) const noexcept;
    void renderOneAtATime (float* left, float* right) noexcept;

    std::array<SynthVoice*, voiceCount> voices;
    const PatchParams& patch;
    VoiceLanesKernel kernel;
    static constexpr std::uint32_t everyLane = (1u << voiceCount) - 1;
    std::uint32_t inLanes = 0; // bit k: lane k holds voice k's state, not the voice

    // Waveform, LFO shapes and routing, which the lanes share.
    std::array<std::uint32_t, voiceCount> kind {};
    bool allOfOneKind = false;
    VoiceLanes lanes {};
};
} // namespace quane
