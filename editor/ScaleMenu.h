// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The panel's right-click menu of size factors.
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <optional>

namespace quane
{
/** Shows the offered factors ("100 %" ... "300 %") and "Follow the display" at the pointer, the
    user's current choice ticked (none: following). The menu is its own window, scaled like the
    panel. Asynchronous: onPick receives the pick (a fixed factor, or none to follow the display)
    unless the menu is dismissed; onClosed comes last either way. Neither comes once the panel
    is gone. Message thread. */
void showScaleMenu (juce::Component& panel, std::optional<float> currentChoice,
                    std::function<void (std::optional<float>)> onPick, std::function<void()> onClosed);
} // namespace quane
