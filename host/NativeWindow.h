// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The few window-system calls the editor hosting needs, one implementation per platform.
#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

namespace quane::native
{
/** Puts the component on the desktop as an undecorated native window that is a child of the
    host's window. Answers false, and leaves the component off the desktop, when the handle is
    null or names no window. */
bool placeInHostWindow (juce::Component& component, void* hostWindow);

/** The size factor of the display the window is shown on (1 = 96 dpi), or 0 when the window system
    tells none; null stands for the main display. X11: GDK_SCALE where set, else Xft.dpi from the
    XSETTINGS manager or the screen's X resources. Windows: the window's own (per-monitor) DPI. */
float displayScaleFactor (void* window);

/** The command a component placed by placeInHostWindow receives (handleCommandMessage) when the
    display's factor of its window may have changed (Windows: the window moved to a monitor of
    another DPI). */
constexpr int displayScaleChangedCommand = 0x44504943;

/** Gives the keyboard to the component's window (taken), or leaves it with the host: then key
    events over the editor go on to the host's windows, and a focus the editor's window holds goes
    back to the host's top-level window. */
void setKeyboardTaken (juce::Component& component, void* hostWindow, bool taken);

/** Runs what the window system holds for the editor's window that JUCE's own queue does not
    see: at most one paint message on Windows, the events Xlib has already buffered on Linux. */
void dispatchPendingEvents (juce::Component& component);

/** Sizes the native windows from the component's own window up the host's window chain to
    width x height plus each ancestor's margin around its child, for hosts that do not resize. */
void resizeWindowChain (juce::Component& component, int width, int height);

/** The host frame that holds the given window: the window just below an MDI client, or the
    last ancestor that is not much larger than its child. Null for a null window. */
void* findMdiFrame (void* window);

/** Raises the window among its siblings without moving, sizing or activating it. */
void bringToTop (void* window);

/** While one exists, window-system errors caused by the module are absorbed instead of reaching
    the host's handler (which by default ends the process on Linux). Nestable; message thread only.
    The last one to go flushes the module's requests first, then puts the host's handler back. */
class ScopedErrorTrap
{
public:
    ScopedErrorTrap();
    ~ScopedErrorTrap();

    ScopedErrorTrap (const ScopedErrorTrap&) = delete;
    ScopedErrorTrap& operator= (const ScopedErrorTrap&) = delete;
};
} // namespace quane::native
