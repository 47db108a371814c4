// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor inside a host-made Win32 window: parenting and style, its picture, repaints after the
// first frame, and real mouse input reaching the host as automation.
#include "tests/windows/Win32TestHost.h"
#include "tests/windows/WineTestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace quane::test
{
namespace
{
constexpr int editorWidth = 540, editorHeight = 340;

/** An opened instance with its editor in a host window, idled until it has painted. */
class Win32Editor : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE (instance.getEffect(), nullptr);
        ASSERT_NE (host.hwnd, nullptr);
        instance.dispatch (vst::effOpen);
        ASSERT_EQ (instance.dispatch (vst::effEditOpen, 0, 0, host.hwnd), 1);
        runHostLoop (600, { &instance });
        editor = host.onlyChild();
        ASSERT_NE (editor, nullptr) << "the editor is the host window's one child";
        instance.clearRequests();
    }

    void TearDown() override
    {
        releaseButton();
        instance.close();
    }

    void dragVertically (int x, int fromY, std::initializer_list<int> throughYs)
    {
        pointerTo (editor, x, fromY);
        runHostLoop (40, { &instance });
        pressButton();
        runHostLoop (60, { &instance });
        for (int y : throughYs)
        {
            pointerTo (editor, x, y);
            runHostLoop (60, { &instance });
        }
        releaseButton();
        runHostLoop (60, { &instance });
    }

    void click (HWND window, int x, int y)
    {
        pointerTo (window, x, y);
        runHostLoop (60, { &instance });
        pressButton();
        runHostLoop (40, { &instance });
        releaseButton();
    }

    Instance instance;
    HostWindow host { editorWidth, editorHeight };
    HWND editor = nullptr;
};

TEST_F (Win32Editor, IsAChildWindowAtTheOriginShowingThePanelAndKeepsRepainting)
{
    EXPECT_EQ (GetParent (editor), host.hwnd);
    const auto style = (DWORD) GetWindowLongA (editor, GWL_STYLE);
    EXPECT_NE (style & WS_CHILD, 0u);
    EXPECT_EQ (style & WS_POPUP, 0u);
    EXPECT_NE (style & WS_VISIBLE, 0u);
    RECT bounds {};
    GetWindowRect (editor, &bounds);
    MapWindowPoints (HWND_DESKTOP, host.hwnd, reinterpret_cast<POINT*> (&bounds), 2);
    EXPECT_EQ (bounds.left, 0);
    EXPECT_EQ (bounds.top, 0);
    EXPECT_EQ (bounds.right - bounds.left, editorWidth);
    EXPECT_EQ (bounds.bottom - bounds.top, editorHeight);

    const auto shown = capture (editor);
    ASSERT_EQ (shown.width, editorWidth);
    ASSERT_EQ (shown.height, editorHeight);
    const auto artefacts = environmentPath ("QUANE_ARTEFACTS");
    if (! artefacts.empty())
    {
        EXPECT_TRUE (saveBmp (shown, inFolder (artefacts, "editor-hosted.bmp")));
    }
    EXPECT_GT (shown.distinctColours(), 1000) << "the textured panel, not a blank window";
    EXPECT_GT (shown.meanBrightness(), 150.0) << "the light grey panel, not the black host window";

    // A program change from the host moves sliders: the window must show it long after its first
    // frame, which needs repaints to keep reaching the screen.
    instance.dispatch (vst::effSetProgram, 0, 7);
    runHostLoop (500, { &instance });
    const auto moved = capture (editor);
    EXPECT_GT (moved.differingPixels (shown), 500) << "the editor stopped repainting after its first frame";
    EXPECT_GT (moved.distinctColours(), 1000);

    EXPECT_EQ (instance.dispatch (vst::effEditClose), 0);
    EXPECT_FALSE (IsWindow (editor));
    EXPECT_EQ (GetWindow (host.hwnd, GW_CHILD), nullptr);

    // A handle that names no window gets no editor.
    EXPECT_EQ (instance.dispatch (vst::effEditOpen, 0, 0, reinterpret_cast<void*> (0x7ff0f1)), 0);
}

TEST_F (Win32Editor, DraggingASliderAutomatesRisingValues)
{
    // Resonance: slider 7 at (340, 10), 12 x 80; dragging up raises it.
    dragVertically (346, 80, { 70, 60, 50, 40, 30, 20 });
    expectOneWayAutomation (instance, 7, true);
}

TEST_F (Win32Editor, PickingASelectorItemReportsItOnce)
{
    // LFO1 Shape: selector 3 at (76, 244), 80 x 20, items Saw, Sine, Square, Triangle.
    const int chosen = (int) instance.getParameter (33) == 4 ? 1 : 4;
    const auto before = visibleThreadWindows();
    click (editor, 116, 254);
    runHostLoop (400, { &instance }); // the menu opens asynchronously and ignores clicks at first

    // The menu is the largest new window; its drop shadow comes in thin windows of its own.
    HWND menu = nullptr;
    RECT menuBounds {};
    for (auto window : visibleThreadWindows())
    {
        RECT bounds {};
        GetClientRect (window, &bounds);
        if (std::find (before.begin(), before.end(), window) == before.end()
            && bounds.right * bounds.bottom > menuBounds.right * menuBounds.bottom)
        {
            menu = window;
            menuBounds = bounds;
        }
    }
    ASSERT_NE (menu, nullptr) << "the selector's pop-up menu did not open";

    // Four rows fill the menu between its small borders.
    click (menu, menuBounds.right / 2, (int) ((chosen - 0.5) * menuBounds.bottom / 4.0));
    runHostLoop (300, { &instance });

    expectSingleAutomation (instance, 33, (float) chosen);
}

TEST_F (Win32Editor, LeavesTheHostsOwnMessagesInItsQueue)
{
    // The module serves JUCE's messages from its idle and request calls; the host's messages,
    // and its request to quit, are the host's loop to take.
    constexpr UINT hostMessage = WM_APP + 7;
    PostMessageW (host.hwnd, hostMessage, 0, 0);
    PostQuitMessage (3);
    for (int call = 0; call < 5; ++call)
    {
        instance.dispatch (vst::effEditIdle);
        instance.dispatch (vst::effIdle);
        instance.dispatch (vst::effGetProgram);
    }
    MSG message {};
    EXPECT_TRUE (PeekMessageW (&message, host.hwnd, hostMessage, hostMessage, PM_REMOVE));
    EXPECT_TRUE (PeekMessageW (&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ (message.wParam, 3u);
}
} // namespace
} // namespace quane::test
