// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's window as a child of the host's X11 window: placement, events and sizing.
// First: JUCE's X declarations are only visible when its header is first included from here.
#include "host/linux/X11Access.h"

#include "host/NativeWindow.h"

#include <juce_events/native/juce_linux_EventLoopInternal.h>

namespace quane::native
{
namespace
{
// X has no dialog-frame metric: borders belong to the window manager's own frame windows.
constexpr int dialogFrameSize = 0;
// An ancestor this much larger than its child is a host panel, not a frame around the editor.
constexpr int maximumFrameMargin = 100;

struct Geometry
{
    int width = 0, height = 0;
};

Geometry geometryOf (::Display* display, ::Window window)
{
    XWindowAttributes attributes {};
    if (XGetWindowAttributes (display, window, &attributes) == 0)
        return {};
    return { attributes.width, attributes.height };
}

bool isMdiClient (::Display* display, ::Window window)
{
    XClassHint hint {};
    if (XGetClassHint (display, window, &hint) == 0)
        return false;
    // Compared as a Windows class name would be: at most 31 characters, ignoring case.
    const auto className = juce::String (hint.res_class != nullptr ? hint.res_class : "").substring (0, 31);
    if (hint.res_name != nullptr)
        XFree (hint.res_name);
    if (hint.res_class != nullptr)
        XFree (hint.res_class);
    return className.equalsIgnoreCase ("MDIClient");
}
} // namespace

::Window parentOf (::Display* display, ::Window window)
{
    ::Window root = 0, parent = 0;
    ::Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree (display, window, &root, &parent, &children, &count) == 0)
        return 0;
    if (children != nullptr)
        XFree (children);
    return parent == root ? 0 : parent;
}

bool placeInHostWindow (juce::Component& component, void* hostWindow)
{
    ScopedErrorTrap trap;
    auto* display = juceDisplay (true);
    if (hostWindow == nullptr || display == nullptr)
        return false;

    // A stale or made-up id must not reach XCreateWindow: ask the server first.
    const auto errorsBefore = absorbedErrorCount();
    XWindowAttributes attributes {};
    if (XGetWindowAttributes (display, toXWindow (hostWindow), &attributes) == 0 || absorbedErrorCount() != errorsBefore
        || attributes.c_class != InputOutput)
        return false;

    component.addToDesktop (0, hostWindow);
    XSync (display, False);
    if (! component.isOnDesktop() || component.getWindowHandle() == nullptr
        || parentOf (display, toXWindow (component.getWindowHandle())) != toXWindow (hostWindow))
    {
        component.removeFromDesktop();
        return false;
    }
    return true;
}

void dispatchPendingEvents (juce::Component& component)
{
    auto* display = juceDisplay (false);
    if (display == nullptr || component.getPeer() == nullptr)
        return;

    // JUCE's poll only sees the socket; events Xlib has already read sit in its queue until
    // JUCE's X handler is run by hand. The handler drains that queue.
    if (XPending (display) > 0)
        juce::LinuxEventLoopInternal::invokeEventLoopCallbackForFd (XConnectionNumber (display));
}

void resizeWindowChain (juce::Component& component, int width, int height)
{
    auto* display = juceDisplay (false);
    auto current = toXWindow (component.getWindowHandle());
    if (display == nullptr || current == 0)
        return;

    int dw = 0, dh = 0;
    const auto resize = [&] (::Window window) {
        XResizeWindow (display, window, (unsigned) juce::jmax (1, width + dw), (unsigned) juce::jmax (1, height + dh));
    };

    for (;;)
    {
        const auto parent = parentOf (display, current);
        if (parent == 0 || isMdiClient (display, parent))
        {
            resize (current);
            return;
        }

        const auto own = geometryOf (display, current);
        const auto outer = geometryOf (display, parent);
        resize (current);
        dw = outer.width - own.width;
        dh = outer.height - own.height;
        current = parent;

        if (dw == 2 * dialogFrameSize)
        {
            resize (current);
            return;
        }
        if (dw > maximumFrameMargin || dh > maximumFrameMargin)
            return;
    }
}

void* findMdiFrame (void* window)
{
    auto* display = juceDisplay (false);
    auto current = toXWindow (window);
    if (display == nullptr || current == 0)
        return nullptr;

    for (;;)
    {
        const auto parent = parentOf (display, current);
        if (parent == 0)
            return toHandle (current);
        if (isMdiClient (display, parent))
            return toHandle (parent);

        const auto own = geometryOf (display, current);
        const auto outer = geometryOf (display, parent);
        const int dw = outer.width - own.width, dh = outer.height - own.height;
        if (dw > maximumFrameMargin || dh > maximumFrameMargin)
            return toHandle (current);

        current = parent;
        if (dw == 2 * dialogFrameSize)
            return toHandle (current);
    }
}

void bringToTop (void* window)
{
    if (auto* display = juceDisplay (false); display != nullptr && window != nullptr)
        XRaiseWindow (display, toXWindow (window));
}
} // namespace quane::native
