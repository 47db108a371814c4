// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The X11 display's size factor, and the keyboard left with the host's windows.
// First: JUCE's X declarations are only visible when its header is first included from here.
#include "host/linux/X11Access.h"

#include "host/NativeWindow.h"

#include <X11/Xatom.h>

namespace quane::native
{
namespace
{
// X11's reference density: Xft.dpi 96 is 100 %, 192 is 200 %.
constexpr double referenceDpi = 96.0;
// XSETTINGS give Xft/DPI in 1024ths of a dot per inch.
constexpr double xsettingsDpiUnit = 1024.0;

/** Xft.dpi from the X resources as they are now on the server (the root window's
    RESOURCE_MANAGER, which Xlib would otherwise only read once per connection). */
double resourceDpi (::Display* display)
{
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    // At most 64 KB of resources are read; Xft.dpi sits among the first lines where it is set.
    if (XGetWindowProperty (display, DefaultRootWindow (display), XA_RESOURCE_MANAGER, 0, 16384, False, XA_STRING,
                            &type, &format, &count, &remaining, &data)
            != Success
        || data == nullptr)
        return 0.0;

    const auto resources = juce::String::fromUTF8 ((const char*) data, (int) count);
    XFree (data);
    for (const auto& line : juce::StringArray::fromLines (resources))
        if (line.trimStart().startsWith ("Xft.dpi:"))
            return line.fromFirstOccurrenceOf (":", false, false).trim().getDoubleValue();
    return 0.0;
}

double xsettingsDpi()
{
    auto* settings = juce::XWindowSystem::getInstance()->getXSettings();
    if (settings == nullptr)
        return 0.0;
    const auto dpi = settings->getSetting ("Xft/DPI");
    return dpi.isValid() ? (double) dpi.integerValue / xsettingsDpiUnit : 0.0;
}

bool isManagedTopLevel (::Display* display, ::Window window)
{
    const auto wmState = XInternAtom (display, "WM_STATE", True);
    if (wmState == 0)
        return false;
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    XGetWindowProperty (display, window, wmState, 0, 2, False, AnyPropertyType, &type, &format, &count, &remaining,
                        &data);
    if (data != nullptr)
        XFree (data);
    return type != 0;
}

/** The host's window that a window manager would give the keyboard: the topmost ancestor with
    WM_STATE, or without a window manager the ancestor just below the root. */
::Window hostTopLevel (::Display* display, ::Window hostWindow)
{
    ::Window managed = 0, top = hostWindow;
    for (auto window = hostWindow; window != 0; window = parentOf (display, window))
    {
        top = window;
        if (isManagedTopLevel (display, window))
            managed = window;
    }
    return managed != 0 ? managed : top;
}
} // namespace

float displayScaleFactor (void*)
{
    // Desktops set GDK_SCALE to whole factors for every program of the session.
    const auto gdkScale = juce::SystemStats::getEnvironmentVariable ("GDK_SCALE", {}).trim();
    if (gdkScale.isNotEmpty() && gdkScale.containsOnly ("0123456789"))
        return (float) gdkScale.getIntValue();

    ScopedErrorTrap trap;
    auto* display = juceDisplay (true);
    if (display == nullptr)
        return 0.0f;
    double dpi = xsettingsDpi();
    if (dpi <= 0.0)
        dpi = resourceDpi (display);
    return dpi > 0.0 ? (float) (dpi / referenceDpi) : 0.0f;
}

void setKeyboardTaken (juce::Component& component, void* hostWindow, bool taken)
{
    auto* display = juceDisplay (false);
    const auto own = toXWindow (component.getWindowHandle());
    if (display == nullptr || own == 0 || hostWindow == nullptr)
        return;

    ScopedErrorTrap trap;
    XWindowAttributes attributes {};
    if (XGetWindowAttributes (display, own, &attributes) == 0)
        return;

    // Key events the editor's window does not select travel up to the host's windows, even while
    // the pointer is over the editor.
    constexpr long keyEvents = KeyPressMask | KeyReleaseMask;
    XSelectInput (display, own,
                  taken ? attributes.your_event_mask | keyEvents : attributes.your_event_mask & ~keyEvents);

    // JUCE takes the focus at every button press; it goes back to the host unless it is wanted.
    ::Window focus = 0;
    int revertTo = 0;
    XGetInputFocus (display, &focus, &revertTo);
    if (taken && focus != own && attributes.map_state == IsViewable)
        XSetInputFocus (display, own, RevertToParent, CurrentTime);
    else if (! taken && focus == own)
        XSetInputFocus (display, hostTopLevel (display, toXWindow (hostWindow)), RevertToParent, CurrentTime);
}
} // namespace quane::native
