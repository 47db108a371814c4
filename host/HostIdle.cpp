// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The process-wide guard that keeps idle work from running inside itself.
#include "host/HostIdle.h"

namespace quane
{
namespace
{
bool hostIdleGuard = false;
} // namespace

bool isHostIdleGuardSet() noexcept
{
    return hostIdleGuard;
}

ScopedHostIdleGuard::ScopedHostIdleGuard() noexcept
{
    hostIdleGuard = true;
}

ScopedHostIdleGuard::~ScopedHostIdleGuard()
{
    hostIdleGuard = false;
}
} // namespace quane
