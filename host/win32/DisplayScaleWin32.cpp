// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 window's DPI as the editor's size factor, its changes, and the keyboard left with the host.
#include "host/NativeWindow.h"
#include "host/win32/DisplayWatch.h"
#include "host/win32/WindowsHeaders.h"

#include <commctrl.h>

namespace quane::native
{
namespace
{
// Windows' reference density: 96 dpi is 100 %.
constexpr float referenceDpi = 96.0f;
// Sent to a top-level window, and to the children of a per-monitor aware one, when the DPI changes.
constexpr UINT dpiChangedMessage = 0x02E0;
constexpr UINT dpiChangedAfterParentMessage = 0x02E3;
constexpr UINT_PTR displayWatchId = 0x51;

using GetDpiForWindowFunction = UINT (WINAPI*) (HWND);

/** GetDpiForWindow exists from Windows 10 (1607) on; older systems have one DPI for all monitors. */
GetDpiForWindowFunction getDpiForWindow()
{
    static const auto function = (GetDpiForWindowFunction) (void*) GetProcAddress (GetModuleHandleA ("user32.dll"),
                                                                                   "GetDpiForWindow");
    return function;
}

LRESULT CALLBACK watchDisplay (HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR component)
{
    if (message == dpiChangedMessage || message == dpiChangedAfterParentMessage)
        reinterpret_cast<juce::Component*> (component)->postCommandMessage (displayScaleChangedCommand);
    return DefSubclassProc (window, message, wParam, lParam);
}
} // namespace

float displayScaleFactor (void* window)
{
    UINT dpi = 0;
    if (window != nullptr && getDpiForWindow() != nullptr)
        dpi = getDpiForWindow() (static_cast<HWND> (window));
    if (dpi == 0)
    {
        // The system's DPI; a process that is not DPI-aware is told 96 and scaled by Windows itself.
        const auto screen = GetDC (nullptr);
        dpi = (UINT) GetDeviceCaps (screen, LOGPIXELSX);
        ReleaseDC (nullptr, screen);
    }
    return dpi > 0 ? (float) dpi / referenceDpi : 0.0f;
}

void watchDisplayScale (juce::Component& component)
{
    // The subclass goes with the window; the component outlives its window.
    if (auto* own = static_cast<HWND> (component.getWindowHandle()))
        SetWindowSubclass (own, watchDisplay, displayWatchId, (DWORD_PTR) &component);
}

void setKeyboardTaken (juce::Component& component, void* hostWindow, bool taken)
{
    const auto own = static_cast<HWND> (component.getWindowHandle());
    if (own == nullptr || hostWindow == nullptr)
        return;

    const auto focus = GetFocus();
    const bool editorHasFocus = focus == own || IsChild (own, focus);
    if (taken && ! editorHasFocus)
        SetFocus (own);
    else if (! taken && editorHasFocus)
        SetFocus (GetAncestor (static_cast<HWND> (hostWindow), GA_ROOT));
}
} // namespace quane::native
