// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
#include "SustainPedal.h"

#include "engine/EngineLimits.h"

#include <algorithm>

namespace quane::play
{
namespace
{
constexpr uint8_t noteOff = 0x80, noteOn = 0x90, controller = 0xb0, pitchWheel = 0xe0;
constexpr uint8_t modWheelController = 1, sustainController = 64, allSoundOffController = 120,
                  resetControllersController = 121, allNotesOffController = 123;
constexpr uint8_t pedalDownFrom = 64, pitchWheelCentreHigh = 0x40;
} // namespace

/** The events of one message, all at its position. */
struct SustainPedal::Output
{
    hostkit::VstEventList& events;
    int position;
    int dropped = 0;

    void add (uint8_t status, uint8_t data1, uint8_t data2) noexcept
    {
        const uint8_t bytes[] { status, data1, data2 };
        if (! events.add (bytes, 3, position))
            ++dropped;
    }
};

int SustainPedal::route (const uint8_t* message, int length, int position, hostkit::VstEventList& events) noexcept
{
    if (length < 2)
        return 0;
    Output out { events, position };
    const uint8_t kind = message[0] & 0xf0, channel = message[0] & 0x0f, data1 = message[1] & 0x7f;
    const uint8_t data2 = length > 2 ? message[2] & 0x7f : 0;

    if (kind == noteOn && data2 != 0)
    {
        if (heldCount > 0 && std::find (held.begin(), held.begin() + heldCount, data1) != held.begin() + heldCount)
            release (data1, out);
        else if (heldCount > 0 && keysDownCount + heldCount >= voiceCount)
            release (held[0], out);
        if (! keyDown[data1])
            ++keysDownCount;
        keyDown[data1] = true;
        keyChannel[data1] = channel;
        out.add (message[0], data1, data2);
    }
    else if (kind == noteOff || kind == noteOn)
    {
        const bool wasDown = keyDown[data1];
        if (wasDown)
            --keysDownCount;
        keyDown[data1] = false;
        if (down && wasDown)
            held[(size_t) heldCount++] = data1;
        else if (! down)
            out.add (noteOff | channel, data1, 0);
    }
    else if (kind == controller && data1 == sustainController)
    {
        if (data2 >= pedalDownFrom)
            down = true;
        else
            liftPedal (out);
    }
    else if (kind == controller && (data1 == allNotesOffController || data1 == allSoundOffController))
    {
        forgetAll();
        out.add (controller | channel, allNotesOffController, 0);
    }
    else if (kind == controller && data1 == resetControllersController)
    {
        liftPedal (out);
        out.add (controller | channel, modWheelController, 0);
        out.add (pitchWheel | channel, 0, pitchWheelCentreHigh);
    }
    else if ((kind == controller && data1 == modWheelController) || kind == pitchWheel)
        out.add (message[0], data1, data2);
    return out.dropped;
}

void SustainPedal::reset() noexcept
{
    forgetAll();
    down = false;
}

void SustainPedal::release (uint8_t note, Output& out) noexcept
{
    forgetHeld (note);
    out.add (noteOff | keyChannel[note], note, 0);
}

void SustainPedal::forgetHeld (uint8_t note) noexcept
{
    const auto end = held.begin() + heldCount;
    if (const auto found = std::find (held.begin(), end, note); found != end)
    {
        std::copy (found + 1, end, found);
        --heldCount;
    }
}

void SustainPedal::liftPedal (Output& out) noexcept
{
    down = false;
    for (int i = 0; i < heldCount; ++i)
        out.add (noteOff | keyChannel[held[(size_t) i]], held[(size_t) i], 0);
    heldCount = 0;
}

void SustainPedal::forgetAll() noexcept
{
    keyDown.fill (false);
    keysDownCount = 0;
    heldCount = 0;
}
} // namespace quane::play
