// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The Win32 window calls of the editor hosting on window chains as hosts build them: frames
// around the editor, a host panel, an MDI client; sizing by hand, the MDI frame and raising it.
#include "host/NativeWindow.h"
#include "host/win32/WindowsHeaders.h"

#include <gtest/gtest.h>

namespace quane::native
{
namespace
{
const wchar_t* testClass()
{
    static const bool registered = [] {
        WNDCLASSW windowClass {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW (nullptr);
        windowClass.lpszClassName = L"QuaneNativeTestWindow";
        return RegisterClassW (&windowClass) != 0;
    }();
    return registered ? L"QuaneNativeTestWindow" : nullptr;
}

HWND makeWindow (HWND parent, int width, int height, const wchar_t* className = testClass())
{
    const DWORD style = parent == nullptr ? WS_POPUP | WS_VISIBLE : WS_CHILD | WS_VISIBLE;
    CLIENTCREATESTRUCT mdi {};
    return CreateWindowExW (0, className, L"", style | WS_CLIPCHILDREN, 0, 0, width, height, parent, nullptr,
                            GetModuleHandleW (nullptr), &mdi);
}

SIZE sizeOf (HWND window)
{
    RECT rect {};
    GetWindowRect (window, &rect);
    return { rect.right - rect.left, rect.bottom - rect.top };
}

/** A JUCE component as the editor's own window, adopted by the given host window. */
struct EditorWindow
{
    explicit EditorWindow (HWND host)
    {
        component.setSize (540, 340);
        placed = placeInHostWindow (component, host);
        component.setVisible (true);
    }
    ~EditorWindow() { component.removeFromDesktop(); }

    HWND hwnd() const { return static_cast<HWND> (component.getWindowHandle()); }

    juce::ScopedJuceInitialiser_GUI gui;
    juce::Component component;
    bool placed = false;
};
} // namespace

TEST (NativeWindowWin32, PlacesTheEditorAsAChildAndRefusesWhatIsNoWindow)
{
    const auto host = makeWindow (nullptr, 540, 340);
    {
        EditorWindow editor (host);
        ASSERT_TRUE (editor.placed);
        EXPECT_EQ (GetParent (editor.hwnd()), host);
        const auto style = (DWORD) GetWindowLongA (editor.hwnd(), GWL_STYLE);
        EXPECT_NE (style & WS_CHILD, 0u);
        EXPECT_EQ (style & WS_POPUP, 0u);
    }
    juce::ScopedJuceInitialiser_GUI gui;
    juce::Component component;
    component.setSize (540, 340);
    EXPECT_FALSE (placeInHostWindow (component, nullptr));
    EXPECT_FALSE (placeInHostWindow (component, reinterpret_cast<void*> (0x7ff0f1)));
    EXPECT_FALSE (component.isOnDesktop());
    DestroyWindow (host);
}

TEST (NativeWindowWin32, HandResizeGivesEachAncestorItsMarginAndStopsAtAHostPanel)
{
    // A host panel much larger than its child, a frame with a 20-pixel margin, the host's window.
    const auto panel = makeWindow (nullptr, 900, 700);
    const auto frame = makeWindow (panel, 560, 360);
    const auto host = makeWindow (frame, 540, 340);
    EditorWindow editor (host);
    ASSERT_TRUE (editor.placed);

    resizeWindowChain (editor.component, 600, 400);
    EXPECT_EQ (sizeOf (editor.hwnd()).cx, 600);
    EXPECT_EQ (sizeOf (editor.hwnd()).cy, 400);
    EXPECT_EQ (sizeOf (host).cx, 600);
    EXPECT_EQ (sizeOf (host).cy, 400);
    EXPECT_EQ (sizeOf (frame).cx, 620);
    EXPECT_EQ (sizeOf (frame).cy, 420);
    EXPECT_EQ (sizeOf (panel).cx, 900) << "a margin over 100 pixels is a host panel, left alone";
    EXPECT_EQ (sizeOf (panel).cy, 700);

    EXPECT_EQ (findMdiFrame (editor.hwnd()), frame) << "the last ancestor not much larger than its child";
    EXPECT_EQ (findMdiFrame (nullptr), nullptr);
    DestroyWindow (panel);
}

TEST (NativeWindowWin32, ADialogFrameEndsTheWalk)
{
    // The window around the host's window is wider by exactly two dialog-frame borders: it is sized
    // and the walk ends there, though its own parent is only 20 pixels larger.
    const int border = GetSystemMetrics (SM_CYDLGFRAME);
    const auto outer = makeWindow (nullptr, 540 + 2 * border + 20, 340 + 2 * border + 20);
    const auto dialog = makeWindow (outer, 540 + 2 * border, 340 + 2 * border);
    const auto host = makeWindow (dialog, 540, 340);
    EditorWindow editor (host);
    ASSERT_TRUE (editor.placed);

    resizeWindowChain (editor.component, 600, 400);
    EXPECT_EQ (sizeOf (host).cx, 600);
    EXPECT_EQ (sizeOf (dialog).cx, 600 + 2 * border);
    EXPECT_EQ (sizeOf (dialog).cy, 400 + 2 * border);
    EXPECT_EQ (sizeOf (outer).cx, 540 + 2 * border + 20);
    EXPECT_EQ (findMdiFrame (editor.hwnd()), dialog);
    DestroyWindow (outer);
}

TEST (NativeWindowWin32, AnMdiClientIsNeverResizedAndIsRaisedAsTheFrame)
{
    // MDI host: main frame > MDI client > document window > host window > editor.
    const auto mainFrame = makeWindow (nullptr, 1000, 800);
    const auto sibling = makeWindow (mainFrame, 100, 100);
    const auto client = makeWindow (mainFrame, 980, 760, L"MDICLIENT");
    ASSERT_NE (client, nullptr);
    const auto document = makeWindow (client, 550, 350);
    const auto host = makeWindow (document, 540, 340);
    EditorWindow editor (host);
    ASSERT_TRUE (editor.placed);

    resizeWindowChain (editor.component, 500, 300);
    EXPECT_EQ (sizeOf (host).cx, 500);
    EXPECT_EQ (sizeOf (document).cx, 510);
    EXPECT_EQ (sizeOf (document).cy, 310);
    EXPECT_EQ (sizeOf (client).cx, 980) << "the MDI client is the host's to size";
    EXPECT_EQ (sizeOf (client).cy, 760);

    EXPECT_EQ (findMdiFrame (editor.hwnd()), client);
    SetWindowPos (sibling, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_EQ (GetWindow (mainFrame, GW_CHILD), sibling);
    bringToTop (findMdiFrame (editor.hwnd()));
    EXPECT_EQ (GetWindow (mainFrame, GW_CHILD), client);
    DestroyWindow (mainFrame);
}
} // namespace quane::native
