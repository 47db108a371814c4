// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The stress tool's commands; each returns the process's exit status (0 passed, 1 failed).
#pragma once

#include <string>

namespace quane::stress
{
/** Renders at full polyphony for seconds of wall time with random notes, automation of every
    parameter, program changes and state restores; checks every sample and the time per sample. */
int runSoak (const std::string& modulePath, double seconds, unsigned seed);

/** Creates, plays and closes count instances in one process; memory before and after. */
int runInstances (const std::string& modulePath, int count);

/** Loads the module, plays one instance and unloads it, count times; memory before and after. */
int runReloads (const std::string& modulePath, int count);

/** A host's session for a memory checker: every program, a chord, a state round trip and the
    editor opened and closed in a window of its own (when there is a display). */
int runSession (const std::string& modulePath);
} // namespace quane::stress
