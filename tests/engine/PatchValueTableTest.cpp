// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The patch value table against the published parameter, editor and voice refresh tables, row by row.
#include "engine/PatchValueTable.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

namespace quane
{
namespace
{
using patch::ClampClass;

struct PublishedRow
{
    const char* name;
    ClampClass clampClass;
    double minimum, maximum;
    int x, y, width, height;
    patch::VoiceRefresh refresh;
};

constexpr auto unit = ClampClass::unit;
constexpr auto bipolar = ClampClass::bipolar;
constexpr auto free = ClampClass::free;
using R = patch::VoiceRefresh;

const PublishedRow published[] = {
    { "Phase", unit, 0, 1, 120, 10, 12, 80, R::none },
    { "Phaser Level", unit, 0, 1, 150, 10, 12, 80, R::none },
    { "Detune", free, -1, 1, 180, 10, 12, 80, R::none },
    { "Octave", free, 0, 3, 210, 10, 12, 80, R::silenceVoices },
    { "Bend range", free, 0, 12, 240, 10, 12, 80, R::none },
    { "Saturation", unit, 0, 1, 270, 10, 12, 80, R::none },
    { "Cutoff", unit, 0, 1, 310, 10, 12, 80, R::none },
    { "Resonance", unit, 0, 1, 340, 10, 12, 80, R::none },
    { "Volume", unit, 0, 1, 380, 10, 12, 80, R::none },
    { "Spread", free, 0.5, 1, 410, 10, 12, 80, R::none },
    { "Amp Attack", unit, 0, 1, 20, 120, 12, 80, R::ampEnvelope },
    { "Amp Decay", unit, 0, 1, 50, 120, 12, 80, R::ampEnvelope },
    { "Amp Sustain", unit, 0, 1, 80, 120, 12, 80, R::ampEnvelope },
    { "Amp Release", unit, 0, 1, 110, 120, 12, 80, R::ampEnvelope },
    { "Env1 Attack", unit, 0, 1, 150, 120, 12, 80, R::env1 },
    { "Env1 Decay", unit, 0, 1, 180, 120, 12, 80, R::env1 },
    { "Env1 Sustain", unit, 0, 1, 210, 120, 12, 80, R::env1 },
    { "Env1 Release", unit, 0, 1, 240, 120, 12, 80, R::env1 },
    { "Env1 Depth", bipolar, -1, 1, 268, 120, 12, 80, R::none },
    { "Env2 Attack", unit, 0, 1, 392, 120, 12, 80, R::env2 },
    { "Env2 Decay", unit, 0, 1, 422, 120, 12, 80, R::env2 },
    { "Env2 Sustain", unit, 0, 1, 452, 120, 12, 80, R::env2 },
    { "Env2 Release", unit, 0, 1, 482, 120, 12, 80, R::env2 },
    { "Env2 Depth", bipolar, -1, 1, 512, 120, 12, 80, R::none },
    { "LFO1 Speed", unit, 0, 1, 20, 230, 12, 80, R::none },
    { "LFO1 Depth", bipolar, -1, 1, 50, 230, 12, 80, R::none },
    { "LFO2 Speed", unit, 0, 1, 180, 230, 12, 80, R::lfo2Increment },
    { "LFO2 Depth", bipolar, -1, 1, 210, 230, 12, 80, R::none },
    { "Velocity Depth", bipolar, -1, 1, 350, 230, 12, 80, R::none },
    { "Modwheel Depth", bipolar, -1, 1, 510, 230, 12, 80, R::none },
    { "Osc Wave", free, 1, 9, 16, 50, 85, 20, R::oscWave },
    { "Env1 Destination", free, 1, 8, 295, 126, 80, 20, R::env1Route },
    { "Env2 Destination", free, 1, 8, 299, 183, 80, 20, R::env2Route },
    { "LFO1 Shape", free, 1, 4, 76, 244, 80, 20, R::lfo1Shape },
    { "LFO1 Destination", free, 1, 6, 76, 284, 80, 20, R::lfo1Route },
    { "LFO2 Shape", free, 1, 4, 236, 244, 80, 20, R::lfo2Shape },
    { "LFO2 Destination", free, 1, 8, 236, 284, 80, 20, R::lfo2Route },
    { "Velocity Destination", free, 1, 8, 382, 242, 80, 20, R::velocityRoute },
    { "Modwheel Destination", free, 1, 8, 408, 298, 80, 20, R::modwheelRoute },
};

static_assert (std::size (published) == patch::valueCount);

TEST (PatchValueTable, EveryRowMatchesThePublishedTables)
{
    for (int i = 0; i < patch::valueCount; ++i)
    {
        const auto& row = patch::rows[i];
        const auto& expected = published[i];
        SCOPED_TRACE (testing::Message() << "index " << i << " " << expected.name);
        EXPECT_EQ (std::string (row.name), expected.name);
        EXPECT_EQ (row.clampClass, expected.clampClass);
        EXPECT_EQ (row.control.minimum, expected.minimum);
        EXPECT_EQ (row.control.maximum, expected.maximum);
        EXPECT_EQ (row.control.x, expected.x);
        EXPECT_EQ (row.control.y, expected.y);
        EXPECT_EQ (row.control.width, expected.width);
        EXPECT_EQ (row.control.height, expected.height);
        EXPECT_EQ (row.refresh, expected.refresh);
    }
}
} // namespace
} // namespace quane
