// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// One test process at a time drives the pointer, the keyboard focus or the window manager of a display.
#pragma once

namespace quane::test
{
/** Held while alive: test processes sharing the display ($DISPLAY) wait for each other here. */
class DisplayLock
{
public:
    DisplayLock();
    ~DisplayLock();
    DisplayLock (const DisplayLock&) = delete;
    DisplayLock& operator= (const DisplayLock&) = delete;

private:
    int fd = -1;
};
} // namespace quane::test
