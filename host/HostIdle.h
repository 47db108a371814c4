// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The process-wide idle guard and the time of the last idle call asked of the host.
#pragma once

#include <cstdint>

namespace quane
{
/** True while editor idle, host idle or editor deletion is under way on the message thread; the
    chunk release, editor idle, host idle and the dispatcher's message pump stay out while it is
    set. Shared by every instance in the process. */
bool isHostIdleGuardSet() noexcept;

/** Sets the guard for the lifetime of the object and puts back what was there before, so a
    deletion inside an idle call leaves the idle call guarded. Message thread only. */
class ScopedHostIdleGuard
{
public:
    ScopedHostIdleGuard() noexcept;
    ~ScopedHostIdleGuard();

    ScopedHostIdleGuard (const ScopedHostIdleGuard&) = delete;
    ScopedHostIdleGuard& operator= (const ScopedHostIdleGuard&) = delete;

private:
    bool wasSet;
};

/** The millisecond counter at the last audioMasterIdle any instance made, 0 before the first.
    Shared, so that all instances together ask at most once per interval. */
std::uint32_t lastHostIdleTime() noexcept;
void setLastHostIdleTime (std::uint32_t now) noexcept;
} // namespace quane
