// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The engine's fixed sizes and the bound of its output, for every folder that needs them.
#pragma once

namespace quane
{
constexpr int voiceCount = 10; // voices in the pool, one note each
constexpr int chunkSize = 16;  // output samples rendered per voice call

/** The oscillator steps twice per output sample: a chunk is 32 internal values. */
constexpr int valuesPerChunk = 2 * chunkSize;

/** Spread is stored as it comes (states round-trip) but used within -1..2: every value a host
    (0..1) or the editor (0.5..1) sends and modest ones beyond stay as they are, while a corrupt
    state or host can no longer scale a voice without bound. */
constexpr float spreadLowest = -1.0f;
constexpr float spreadHighest = 2.0f;

/** The larger of the two shares, spread and 1 - spread, that Spread can give. */
constexpr float largestShare = spreadHighest > 1.0f - spreadLowest ? spreadHighest : 1.0f - spreadLowest;

/** What one voice adds at most to a channel's sample: two internal values, each limited to
    -1..1, times Volume (at most 1), times 0.5, times its share. Twice full scale. */
constexpr float voiceOutputBound = 2.0f * 1.0f * 1.0f * 0.5f * largestShare;

/** What all voices add at most to a channel's sample: 20. */
constexpr float outputBound = (float) voiceCount * voiceOutputBound;
} // namespace quane
