// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Every fact of a patch value in one row: names, clamping, editor control and voice refresh.
#include "engine/PatchValueTable.h"

#include "engine/SynthVoice.h"
#include "engine/WaveformData.h"

#include <iterator>
#include <string_view>

namespace quane::patch
{
namespace
{
constexpr int sliderWidth = 12;
constexpr int sliderHeight = 80;
constexpr int selectorHeight = 20;
constexpr float bipolarCatch = 0.05f; // the bipolar sliders catch 0 within this

constexpr const char* waves[] = { "Saw",         "Bright Saw",      "Cliped Sine",  "Sine and Pulse",
                                  "Cliped Tri",  "Staggred Pulses", "Soft Squares", "Noiseform",
                                  "Soft Noisef." };
constexpr const char* shapes[] = { "Saw", "Sine", "Square", "Triangle" };
constexpr const char* destinations[] = { "Off",    "Osc Phase", "Osc P-level", "Osc Tune",
                                         "Cutoff", "Volume",    "LFO1 Speed",  "LFO1 Depth" };

enum class Travel
{
    linear,
    squareLaw
};

constexpr EditorControl slider (int x, int y, double minimum, double maximum, double step = 0.0,
                                Travel travel = Travel::linear, float snapTolerance = 0.0f)
{
    const bool isSquareLaw = travel == Travel::squareLaw;
    return { x, y, sliderWidth, sliderHeight, minimum, maximum, step, isSquareLaw, 0.0f, snapTolerance, nullptr, 0 };
}

constexpr EditorControl unitSlider (int x, int y, Travel travel = Travel::linear)
{
    return slider (x, y, 0.0, 1.0, 0.0, travel);
}

constexpr EditorControl bipolarSlider (int x, int y)
{
    return slider (x, y, -1.0, 1.0, 0.0, Travel::linear, bipolarCatch);
}

constexpr EditorControl wholeSlider (int x, int y, double maximum)
{
    return slider (x, y, 0.0, maximum, 1.0);
}

/** Item ids 1..itemCount, labelled by the first itemCount texts of the list. */
template <size_t listLength>
constexpr EditorControl selector (int x, int y, int width, const char* const (&items)[listLength],
                                  int itemCount = (int) listLength)
{
    return { x, y, width, selectorHeight, 1.0, (double) itemCount, 1.0, false, 0.0f, 0.0f, items, itemCount };
}

constexpr auto squareLaw = Travel::squareLaw;
constexpr auto unit = ClampClass::unit;
constexpr auto bipolar = ClampClass::bipolar;
constexpr auto free = ClampClass::free;
using R = VoiceRefresh;
} // namespace

// LFO 1 is offered no route to itself: its selector lists the first six destinations.
// clang-format off
constexpr PatchValueRow rows[] = {
    // index               name                    class    editor control                           voice refresh
    { phase,               "Phase",                unit,    unitSlider (120, 10),                    R::none },
    { phaserLevel,         "Phaser Level",         unit,    unitSlider (150, 10),                    R::none },
    { detune,              "Detune",               free,    bipolarSlider (180, 10),                 R::none },
    { octave,              "Octave",               free,    wholeSlider (210, 10, 3),                R::silenceVoices },
    { bendRange,           "Bend range",           free,    wholeSlider (240, 10, 12),               R::none },
    { saturation,          "Saturation",           unit,    unitSlider (270, 10),                    R::none },
    { cutoff,              "Cutoff",               unit,    unitSlider (310, 10, squareLaw),         R::none },
    { resonance,           "Resonance",            unit,    unitSlider (340, 10),                    R::none },
    { volume,              "Volume",               unit,    unitSlider (380, 10),                    R::none },
    { spread,              "Spread",               free,    slider (410, 10, 0.5, 1),                R::none },
    { ampAttack,           "Amp Attack",           unit,    unitSlider (20, 120, squareLaw),         R::ampEnvelope },
    { ampDecay,            "Amp Decay",            unit,    unitSlider (50, 120, squareLaw),         R::ampEnvelope },
    { ampSustain,          "Amp Sustain",          unit,    unitSlider (80, 120),                    R::ampEnvelope },
    { ampRelease,          "Amp Release",          unit,    unitSlider (110, 120, squareLaw),        R::ampEnvelope },
    { env1Attack,          "Env1 Attack",          unit,    unitSlider (150, 120, squareLaw),        R::env1 },
    { env1Decay,           "Env1 Decay",           unit,    unitSlider (180, 120, squareLaw),        R::env1 },
    { env1Sustain,         "Env1 Sustain",         unit,    unitSlider (210, 120),                   R::env1 },
    { env1Release,         "Env1 Release",         unit,    unitSlider (240, 120, squareLaw),        R::env1 },
    { env1Depth,           "Env1 Depth",           bipolar, bipolarSlider (268, 120),                R::none },
    { env2Attack,          "Env2 Attack",          unit,    unitSlider (392, 120, squareLaw),        R::env2 },
    { env2Decay,           "Env2 Decay",           unit,    unitSlider (422, 120, squareLaw),        R::env2 },
    { env2Sustain,         "Env2 Sustain",         unit,    unitSlider (452, 120),                   R::env2 },
    { env2Release,         "Env2 Release",         unit,    unitSlider (482, 120, squareLaw),        R::env2 },
    { env2Depth,           "Env2 Depth",           bipolar, bipolarSlider (512, 120),                R::none },
    { lfo1Speed,           "LFO1 Speed",           unit,    unitSlider (20, 230),                    R::none },
    { lfo1Depth,           "LFO1 Depth",           bipolar, bipolarSlider (50, 230),                 R::none },
    { lfo2Speed,           "LFO2 Speed",           unit,    unitSlider (180, 230),                   R::lfo2Increment },
    { lfo2Depth,           "LFO2 Depth",           bipolar, bipolarSlider (210, 230),                R::none },
    { velocityDepth,       "Velocity Depth",       bipolar, bipolarSlider (350, 230),                R::none },
    { modwheelDepth,       "Modwheel Depth",       bipolar, bipolarSlider (510, 230),                R::none },
    { oscWave,             "Osc Wave",             free,    selector (16, 50, 85, waves),            R::oscWave },
    { env1Destination,     "Env1 Destination",     free,    selector (295, 126, 80, destinations),   R::env1Route },
    { env2Destination,     "Env2 Destination",     free,    selector (299, 183, 80, destinations),   R::env2Route },
    { lfo1Shape,           "LFO1 Shape",           free,    selector (76, 244, 80, shapes),          R::lfo1Shape },
    { lfo1Destination,     "LFO1 Destination",     free,    selector (76, 284, 80, destinations, 6), R::lfo1Route },
    { lfo2Shape,           "LFO2 Shape",           free,    selector (236, 244, 80, shapes),         R::lfo2Shape },
    { lfo2Destination,     "LFO2 Destination",     free,    selector (236, 284, 80, destinations),   R::lfo2Route },
    { velocityDestination, "Velocity Destination", free,    selector (382, 242, 80, destinations),   R::velocityRoute },
    { modwheelDestination, "Modwheel Destination", free,    selector (408, 298, 80, destinations),   R::modwheelRoute },
};
// clang-format on

namespace
{
constexpr bool rowsFollowTheIndexOrder()
{
    for (int i = 0; i < valueCount; ++i)
        if (rows[i].index != i)
            return false;
    return true;
}

constexpr bool hostNamesAreDistinct()
{
    for (int i = 0; i < parameterCount; ++i)
        for (int j = i + 1; j < parameterCount; ++j)
            if (std::string_view (rows[i].name).substr (0, hostNameLength)
                == std::string_view (rows[j].name).substr (0, hostNameLength))
                return false;
    return true;
}

constexpr bool slidersThenSelectors()
{
    for (int i = 0; i < valueCount; ++i)
        if ((rows[i].control.items == nullptr) != (i < parameterCount))
            return false;
    return true;
}
} // namespace

static_assert (std::size (rows) == valueCount, "one row per patch value");
static_assert (rowsFollowTheIndexOrder(), "row i describes patch value i");
static_assert (hostNamesAreDistinct(), "a host tells parameters apart by their first 8 characters");
static_assert (slidersThenSelectors(), "the host parameters are sliders, the rest selectors");
static_assert (rows[oscWave].control.itemCount == waveformCount);
static_assert (rows[lfo1Shape].control.itemCount == lfoShapeCount
               && rows[lfo2Shape].control.itemCount == lfoShapeCount);
static_assert (std::size (destinations) == SynthVoice::slotCount, "destination item i routes to slot i - 1");

ClampClass clampClassOf (int index) noexcept
{
    return index >= 0 && index < valueCount ? rows[index].clampClass : ClampClass::free;
}

float clampToClass (int index, float value) noexcept
{
    switch (clampClassOf (index))
    {
        case ClampClass::bipolar: return value < -1.0f ? -1.0f : (value > 1.0f ? 1.0f : value);
        case ClampClass::unit: return value < unitMinimum ? unitMinimum : (value > unitMaximum ? unitMaximum : value);
        case ClampClass::free: break;
    }
    return value;
}

VoiceRefresh voiceRefreshOf (int index) noexcept
{
    return index >= 0 && index < valueCount ? rows[index].refresh : VoiceRefresh::none;
}
} // namespace quane::patch
