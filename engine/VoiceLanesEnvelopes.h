// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// What every envelope holds, for a group of lanes.
#pragma once

#include "engine/VectorShims.h"
#include "engine/VoiceLanes.h"

namespace quane::lanes
{
namespace
{
/** The envelopes of a group of lanes, as the shared step formulas want them. */
template <int width>
struct EnvelopeValueLanes
{
    Ints<width> stage;
    Floats<width> level, attackRate, decayRate, sustainLevel, releaseRate;

    EnvelopeValueLanes (const VoiceLanes::Envelopes& lanes, int firstLane) noexcept
        : stage (load<Ints<width>> (lanes.stage + firstLane)),
          level (load<Floats<width>> (lanes.level + firstLane)),
          attackRate (load<Floats<width>> (lanes.attackRate + firstLane)),
          decayRate (load<Floats<width>> (lanes.decayRate + firstLane)),
          sustainLevel (load<Floats<width>> (lanes.sustainLevel + firstLane)),
          releaseRate (load<Floats<width>> (lanes.releaseRate + firstLane))
    {
    }

    /** What a chunk changes, the stage and the level, kept in the lanes of mask only. */
    void storeTo (VoiceLanes::Envelopes& lanes, int firstLane, Ints<width> mask) const noexcept
    {
        storeWhere (lanes.stage + firstLane, mask, stage);
        storeWhere (lanes.level + firstLane, mask, level);
    }
};
} // namespace
} // namespace quane::lanes
