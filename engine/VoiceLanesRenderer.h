// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Renders a chunk of every sounding voice side by side in vector lanes, mixed in voice order.
#pragma once

#include "engine/SynthVoice.h"
#include "engine/VoiceLanes.h"

#include <array>

namespace quane
{
/** The engine's fast way to render a chunk of all its voices: each sounding voice prepares its
    chunk (modulation and control values, as when it renders alone), their per-value state goes
    into the lanes of a VoiceLanes block, a kernel runs all of them at once, and the results are
    added into the chunk's two arrays voice by voice, in voice order, exactly as the voices'
    own renderChunk would add them. Silent voices take no lane and cost nothing. */
class VoiceLanesRenderer
{
public:
    static_assert (voiceCount <= VoiceLanes::maxCount);

    VoiceLanesRenderer (const std::array<SynthVoice*, voiceCount>& voices, const PatchParams& patch,
                        VoiceLanesKernel kernel) noexcept
        : voices (voices), patch (patch), kernel (kernel)
    {
    }

    /** Even voices add (left, right), odd voices (right, left). */
    void renderChunk (float* left, float* right) noexcept;

private:
    void prepareControls() noexcept;
    void loadControlState (int lane, SynthVoice& voice) noexcept;
    void storeControlState (int lane, SynthVoice& voice) noexcept;
    void loadControls (int lane, SynthVoice& voice) noexcept;
    void load (int lane, SynthVoice& voice) noexcept;
    void storeBack (int lane, SynthVoice& voice) noexcept;
    void renderOneAtATime (float* left, float* right) noexcept;

    std::array<SynthVoice*, voiceCount> voices;
    const PatchParams& patch;
    VoiceLanesKernel kernel;
    std::array<int, VoiceLanes::maxCount> voiceOfLane {};
    VoiceLanes lanes {};
};
} // namespace quane
