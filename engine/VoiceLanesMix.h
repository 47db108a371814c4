// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice-lanes output stage and mix: every voice's values into the chunk's arrays, in voice order.
//
// Included only through engine/VoiceLanesKernel.h, by sources built for one instruction set.
#pragma once

#include "engine/OutputStage.h"
#include "engine/VectorShims.h"
#include "engine/VoiceLanes.h"

namespace quane::lanes
{
namespace
{
/** One voice's output stage on its even and odd internal values of width output samples, added
    into the sums of both channels as the voice's own output stage adds them: the even value and
    then the odd one, first (the spread share) into the channel on the voice's side. */
template <int width>
inline void addVoice (Floats<width>& first, Floats<width>& second, Floats<width> even, Floats<width> odd,
                      Floats<width> saturation, float volume, Floats<width> spread) noexcept
{
    for (const auto value : { even, odd })
    {
        const auto shares = outputShares (value, saturation, Floats<width> (volume), spread);
        first = first + shares.first;
        second = second + shares.second;
    }
}

/** The mix into arrays that do not overlap, width output samples at a time: each group of four
    lanes' values is transposed into the lanes' even and odd values in time order. */
template <int width>
inline void mixApart (const VoiceLanes& lanes, float* left, float* right) noexcept
{
    using F = Floats<width>;
    constexpr bool hasPair = width < voiceCount;
    constexpr int groupLanes = hasPair ? VoiceLanes::pairFirst : voiceCount;
    constexpr int blocks = width / 4;
    static_assert (voiceCount % 2 == 0 && VoiceLanes::pairFirst % 2 == 0);

    const F saturation = lanes.saturation, spread = lanes.spread;
    for (int start = 0; start < chunkSize; start += width)
    {
        // Each voice's even and odd values. Block k of a group of four lanes: their values at
        // internal value 2 (start + k), or the one after.
        F values[(voiceCount + 3) / 4 * 4][2];
        for (int quad = 0; 4 * quad < groupLanes; ++quad)
            if (((lanes.active >> (4 * quad)) & 0xfu) != 0)
            {
                F even[4], odd[4];
                transposeBlocks<width, blocks> (
                    [&] (int k) { return _mm_loadu_ps (lanes.shaped[2 * (start + k)] + 4 * quad); }, even);
                transposeBlocks<width, blocks> (
                    [&] (int k) { return _mm_loadu_ps (lanes.shaped[2 * (start + k) + 1] + 4 * quad); }, odd);
                for (int k = 0; k < 4; ++k)
                {
                    values[4 * quad + k][0] = even[k];
                    values[4 * quad + k][1] = odd[k];
                }
            }
        if constexpr (hasPair)
            if ((lanes.active >> VoiceLanes::pairFirst) != 0)
            {
                // Block k: both voices' values at internal values 2 (start + k) and the one after.
                F pair[4];
                transposeBlocks<width, blocks> (
                    [&] (int k) { return _mm_loadu_ps (lanes.pairShaped[2 * (start + k)]); }, pair);
                for (int k = 0; k < 2; ++k)
                {
                    values[VoiceLanes::pairFirst + k][0] = pair[k];
                    values[VoiceLanes::pairFirst + k][1] = pair[2 + k];
                }
            }

        // In voice order; even voices lean left, odd voices right.
        F sumLeft = load<F> (left + start), sumRight = load<F> (right + start);
        for (int voice = 0; voice < voiceCount; voice += 2)
        {
            if (((lanes.active >> voice) & 1u) != 0)
                addVoice (sumLeft, sumRight, values[voice][0], values[voice][1], saturation, lanes.volume[voice],
                          spread);
            if (((lanes.active >> (voice + 1)) & 1u) != 0)
                addVoice (sumRight, sumLeft, values[voice + 1][0], values[voice + 1][1], saturation,
                          lanes.volume[voice + 1], spread);
        }
        store (left + start, sumLeft);
        store (right + start, sumRight);
    }
}

template <int width>
inline void mix (const VoiceLanes& lanes, float* left, float* right) noexcept
{
    if (left + chunkSize <= right || right + chunkSize <= left)
        return mixApart<width> (lanes, left, right);

    // A host that gives both channels one array: the voices' own output stage, in its order.
    for (int voice = 0; voice < voiceCount; ++voice)
        if ((lanes.active >> voice) & 1u)
        {
            const bool paired = width < voiceCount && voice >= VoiceLanes::pairFirst;
            float values[valuesPerChunk];
            for (int n = 0; n < valuesPerChunk; ++n)
                values[n] = paired ? lanes.pairShaped[n][voice - VoiceLanes::pairFirst] : lanes.shaped[n][voice];
            float* first = voice % 2 == 0 ? left : right;
            float* second = voice % 2 == 0 ? right : left;
            addOutputStage (values, valuesPerChunk, lanes.saturation, lanes.volume[voice], lanes.spread, first, second);
        }
}
} // namespace
} // namespace quane::lanes
