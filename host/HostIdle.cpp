// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The process-wide idle guard and the time of the last idle call asked of the host.
#include "host/HostIdle.h"

namespace quane
{
namespace
{
bool hostIdleGuard = false;
std::uint32_t lastIdleTime = 0;
} // namespace

bool isHostIdleGuardSet() noexcept
{
    return hostIdleGuard;
}

ScopedHostIdleGuard::ScopedHostIdleGuard() noexcept : wasSet (hostIdleGuard)
{
    hostIdleGuard = true;
}

ScopedHostIdleGuard::~ScopedHostIdleGuard()
{
    hostIdleGuard = wasSet;
}

std::uint32_t lastHostIdleTime() noexcept
{
    return lastIdleTime;
}

void setLastHostIdleTime (std::uint32_t now) noexcept
{
    lastIdleTime = now;
}
} // namespace quane
