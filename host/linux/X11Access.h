// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// JUCE's X connection, the error trap's record and the window tree, shared by the X11 window code.
#pragma once

#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include <juce_gui_basics/juce_gui_basics.h>

namespace quane::native
{
/** JUCE's own connection to the X server; null when there is no display. With create false
    it never opens one. */
::Display* juceDisplay (bool create);

/** How many X errors on JUCE's connection the traps have absorbed so far. */
int absorbedErrorCount() noexcept;

/** The parent of a window, or 0 at the top (the root) or when the window has gone. */
::Window parentOf (::Display* display, ::Window window);

inline ::Window toXWindow (void* handle) noexcept
{
    return (::Window) (juce::pointer_sized_uint) handle;
}
inline void* toHandle (::Window window) noexcept
{
    return (void*) (juce::pointer_sized_uint) window;
}
} // namespace quane::native
