// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The sustain pedal, kept by the player: the module hears notes, mod wheel, all notes off, bend.
#pragma once

#include "hostkit/VstEventList.h"

#include <array>
#include <cstdint>

namespace quane::play
{
/** Turns the player's channel messages into those the module knows, holding note-offs while the
    sustain pedal (controller 64) is down. Every channel is one, as the module hears them.

    A key struck again while the pedal holds it is first released, so a key never holds two
    voices. The module steals only releasing voices: when every voice is taken and the pedal holds
    some, the oldest held note is released before a new one starts. The pedal coming up releases
    the held notes in the order their keys came up. All notes off (123) and all sound off (120,
    passed on as 123) forget the held notes; reset all controllers (121) lifts the pedal and
    returns the wheels. Other messages stay with the player. Allocates nothing. */
class SustainPedal
{
public:
    /** Adds what the message becomes to the list at the position; answers how many events did
        not fit. */
    int route (const uint8_t* message, int length, int position, hostkit::VstEventList& events) noexcept;

    /** Forgets every key and held note, with the pedal up, as at a device's start. */
    void reset() noexcept;

    bool isDown() const noexcept { return down; }
    int getHeldCount() const noexcept { return heldCount; }

private:
    struct Output;

    void release (uint8_t note, Output& out) noexcept;
    void forgetHeld (uint8_t note) noexcept;
    void liftPedal (Output& out) noexcept;
    void forgetAll() noexcept;

    bool down = false;
    std::array<bool, 128> keyDown {};
    std::array<uint8_t, 128> keyChannel {};
    std::array<uint8_t, 128> held {}; // notes the pedal holds, oldest first
    int heldCount = 0, keysDownCount = 0;
};
} // namespace quane::play
