// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Watching the editor's Win32 window for DPI changes.
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace quane::native
{
/** From now on the component receives displayScaleChangedCommand whenever its native window is
    told that its DPI changed. For the life of that window; message thread. */
void watchDisplayScale (juce::Component& component);
} // namespace quane::native
