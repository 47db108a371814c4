// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The process-wide guard that keeps idle work from running inside itself.
#pragma once

namespace quane
{
/** True while editor idle, host idle or editor deletion is under way on the message thread; the
    chunk release and the message pump of the dispatcher stay out while it is set. Shared by
    every instance in the process. */
bool isHostIdleGuardSet() noexcept;

/** Sets the guard for the lifetime of the object; not nestable, message thread only. */
class ScopedHostIdleGuard
{
public:
    ScopedHostIdleGuard() noexcept;
    ~ScopedHostIdleGuard();

    ScopedHostIdleGuard (const ScopedHostIdleGuard&) = delete;
    ScopedHostIdleGuard& operator= (const ScopedHostIdleGuard&) = delete;
};
} // namespace quane
