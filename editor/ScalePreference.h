// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The user's own choice of the editor's size, kept for the person in a small settings file.
#pragma once

#include <juce_core/juce_core.h>

#include <optional>

namespace quane::scalepreference
{
/** The file: Quane/editor-scale.settings in the user's configuration folder ($XDG_CONFIG_HOME or
    ~/.config on Linux, the roaming application data on Windows). It belongs to the person, not
    to a project: it is the one file the module ever writes. */
juce::File location();

/** The factor the user fixed, or none when the editor follows the host and the display: also for
    a missing, unreadable, oversized or garbled file, which is never repaired or rewritten. */
std::optional<float> read();

/** Keeps the user's pick (a fixed factor, or none to follow the display). Failures are ignored:
    the choice then lasts for the editor's life only. Only ever called when the user picks. */
void write (std::optional<float> fixedFactor);
} // namespace quane::scalepreference
