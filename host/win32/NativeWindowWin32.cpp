// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's window as a child of the host's Win32 window: placement, paint and sizing.
#include "host/NativeWindow.h"
#include "host/win32/DisplayWatch.h"
#include "host/win32/QuitMessage.h"
#include "host/win32/WindowsHeaders.h"

namespace quane::native
{
namespace
{
// An ancestor this much larger than its child is a host panel, not a frame around the editor.
constexpr int maximumFrameMargin = 100;
// GWL_STYLE without WS_POPUP and WS_CHILD, then with WS_CHILD: a popup becomes a child window.
constexpr DWORD childStyleMask = 0x3fffffff;
constexpr DWORD childStyleBit = 0x40000000;
// SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER
constexpr UINT resizeOnlyFlags = 0x216;

HWND toHwnd (void* handle) noexcept
{
    return static_cast<HWND> (handle);
}

bool isMdiClient (HWND window)
{
    char className[32] = {};
    GetClassNameA (window, className, (int) sizeof (className));
    return juce::String (className).equalsIgnoreCase ("MDIClient");
}

RECT windowRect (HWND window)
{
    RECT rect {};
    GetWindowRect (window, &rect);
    return rect;
}

int widthOf (const RECT& r) noexcept
{
    return r.right - r.left;
}
int heightOf (const RECT& r) noexcept
{
    return r.bottom - r.top;
}
} // namespace

bool placeInHostWindow (juce::Component& component, void* hostWindow)
{
    const auto host = toHwnd (hostWindow);
    if (host == nullptr || ! IsWindow (host))
        return false;

    // A top-level window without decorations first, then adopted by the host's window.
    component.addToDesktop (0);
    const auto own = toHwnd (component.getWindowHandle());
    if (own == nullptr)
    {
        component.removeFromDesktop();
        return false;
    }

    SetParent (own, host);
    const auto style = (DWORD) GetWindowLongA (own, GWL_STYLE);
    SetWindowLongA (own, GWL_STYLE, (LONG) ((style & childStyleMask) | childStyleBit));
    watchDisplayScale (component);
    return true;
}

void dispatchPendingEvents (juce::Component& component)
{
    const auto own = toHwnd (component.getWindowHandle());
    if (own == nullptr)
        return;

    MSG message {};
    if (PeekMessageA (&message, own, WM_PAINT, WM_PAINT, PM_REMOVE))
    {
        if (message.message == WM_QUIT)
            putBackQuit (message);
        else
            DispatchMessageA (&message);
    }
}

void resizeWindowChain (juce::Component& component, int width, int height)
{
    auto current = toHwnd (component.getWindowHandle());
    if (current == nullptr)
        return;

    const int frame = GetSystemMetrics (SM_CYDLGFRAME);
    int dw = 0, dh = 0;
    const auto resize = [&] (HWND window) {
        SetWindowPos (window, nullptr, 0, 0, width + dw, height + dh, resizeOnlyFlags);
    };

    for (;;)
    {
        const auto parent = GetParent (current);
        if (parent == nullptr || isMdiClient (parent))
        {
            resize (current);
            return;
        }

        const auto own = windowRect (current);
        const auto outer = windowRect (parent);
        resize (current);
        dw = widthOf (outer) - widthOf (own);
        dh = heightOf (outer) - heightOf (own);
        current = parent;

        if (dw == 2 * frame)
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
    const int frame = GetSystemMetrics (SM_CYDLGFRAME);
    auto current = toHwnd (window);
    if (current == nullptr)
        return nullptr;

    for (;;)
    {
        const auto parent = GetParent (current);
        if (parent == nullptr)
            return current;
        if (isMdiClient (parent))
            return parent;

        const auto own = windowRect (current);
        const auto outer = windowRect (parent);
        const int dw = widthOf (outer) - widthOf (own), dh = heightOf (outer) - heightOf (own);
        if (dw > maximumFrameMargin || dh > maximumFrameMargin)
            return current;

        current = parent;
        if (dw == 2 * frame)
            return current;
    }
}

void bringToTop (void* window)
{
    if (window != nullptr)
        SetWindowPos (toHwnd (window), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

// Win32 reports failed window calls through their results; there is no handler to guard.
ScopedErrorTrap::ScopedErrorTrap() = default;
ScopedErrorTrap::~ScopedErrorTrap() = default;
} // namespace quane::native
