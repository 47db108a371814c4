// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor inside a host-made X11 window, driven through the module's entry with a real pointer.
#include "tests/host/EditorHostSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <optional>

namespace quane::editorhost
{
namespace
{
constexpr int editorWidth = 540, editorHeight = 340;

/** A host window with an open editor, under a window manager or on the bare server. */
class OpenedEditor : public ::testing::TestWithParam<bool>
{
protected:
    void SetUp() override
    {
        ASSERT_NE (host.display, nullptr) << "no X display (the test command starts one)";
        ASSERT_NE (instance.getEffect(), nullptr);
        parent = host.createHostWindow (editorWidth, editorHeight);
        ASSERT_EQ (instance.openEditor (parent), 1);
        instance.idleEditor (300);
        instance.clearRequests();
    }

    void TearDown() override
    {
        if (host.display == nullptr)
            return;
        releaseButton();
        instance.close();
        EXPECT_EQ (HostDisplay::hostHandlerErrors(), 0) << "an X error reached the host's handler";
        EXPECT_TRUE (HostDisplay::hostHandlerIsInstalled());
    }

    /** Presses at (x, y) of the host window, moves through the given ys and releases, with idle time between. */
    void dragVertically (int x, int fromY, std::initializer_list<int> throughYs)
    {
        pointerTo (parent, x, fromY);
        instance.idleEditor (30);
        pressButton();
        instance.idleEditor (60);
        for (int y : throughYs)
        {
            pointerTo (parent, x, y);
            instance.idleEditor (60);
        }
        releaseButton();
        instance.idleEditor (60);
    }

    /** The editor's own window, the host window's only child. */
    XWindow editorWindow()
    {
        const auto children = host.childrenOf (parent);
        return children.size() == 1 ? children[0] : 0;
    }

    HostDisplay host { GetParam() };
    EditorInstance instance;
    XWindow parent = 0;
};

TEST_P (OpenedEditor, IsOneChildOfTheHostWindowAndShowsThePanel)
{
    auto children = host.childrenOf (parent);
    ASSERT_EQ (children.size(), 1u);
    const auto editorWindow = host.geometryOf (children[0]);
    ASSERT_TRUE (editorWindow.exists);
    EXPECT_EQ (editorWindow.x, 0);
    EXPECT_EQ (editorWindow.y, 0);
    EXPECT_EQ (editorWindow.width, editorWidth);
    EXPECT_EQ (editorWindow.height, editorHeight);
    EXPECT_TRUE (editorWindow.viewable);

    const auto name = std::string ("editor-hosted") + (host.hasWindowManager() ? "-wm" : "") + ".png";
    const auto path = saveWindowPicture (children[0], name);
    std::cout << "hosted editor picture: " << path << std::endl;
    const auto picture = grabWindow (host.display, children[0]);
    ASSERT_EQ (picture.width, editorWidth);
    ASSERT_EQ (picture.height, editorHeight);
    EXPECT_GT (picture.distinctColours(), 1000) << "the textured panel, not a blank window";
    double brightness = 0.0;
    for (auto pixel : picture.pixels)
        brightness += (double) ((pixel >> 8) & 0xff);
    EXPECT_GT (brightness / (double) picture.pixels.size(), 150.0) << "the light grey panel, not the black host window";

    // A second open replaces the first editor: still exactly one child, showing the panel.
    ASSERT_EQ (instance.openEditor (parent), 1);
    instance.idleEditor (300);
    children = host.childrenOf (parent);
    ASSERT_EQ (children.size(), 1u);
    EXPECT_GT (grabWindow (host.display, children[0]).distinctColours(), 1000);

    ASSERT_EQ (instance.dispatch (vst::effEditClose), 0);
    EXPECT_TRUE (host.childrenOf (parent).empty());
}

TEST_P (OpenedEditor, DraggingASliderAutomatesEveryChangeOnce)
{
    // Resonance: slider 7 at (340, 10), 12 x 80.
    dragVertically (346, 20, { 30, 40, 50, 60, 70, 80 });
    test::expectOneWayAutomation (instance, 7, false);
}

TEST_P (OpenedEditor, BipolarSliderCatchesZeroUnderTheMouse)
{
    // Detune: slider 2 at (180, 10), -1..1; its middle lies at y = 50.
    dragVertically (186, 25, { 40, 50 });
    auto automates = instance.getRequests (vst::audioMasterAutomate);
    ASSERT_GE (automates.size(), 2u);
    for (const auto& automate : automates)
        EXPECT_EQ (automate.index, 2);
    EXPECT_GT (automates.front().opt, 0.3f);
    EXPECT_EQ (automates.back().opt, 0.0f);
    EXPECT_EQ (instance.getParameter (2), 0.0f);

    // A unit slider has no catch: Phase (120, 10) dragged close to its bottom end keeps a small value.
    instance.clearRequests();
    dragVertically (126, 20, { 80 });
    automates = instance.getRequests (vst::audioMasterAutomate);
    ASSERT_FALSE (automates.empty());
    EXPECT_GT (automates.back().opt, 0.0f);
    EXPECT_LT (automates.back().opt, 0.15f);
}

TEST_P (OpenedEditor, ChoosingASelectorItemWritesThirtyPlusItsIndex)
{
    // LFO1 Shape: selector 3 at (76, 244), 80 x 20, items Saw, Sine, Square, Triangle.
    const int current = (int) instance.getParameter (33);
    const int chosen = current == 4 ? 1 : 4;
    const auto before = host.topLevelWindows();

    pointerTo (parent, 116, 254);
    pressButton();
    instance.idleEditor (40);
    releaseButton();
    instance.idleEditor (400); // the menu opens asynchronously and ignores clicks at first

    XWindow menu = 0;
    for (auto window : host.topLevelWindows())
        if (std::find (before.begin(), before.end(), window) == before.end() && host.geometryOf (window).viewable)
            menu = window;
    ASSERT_NE (menu, 0u) << "the selector's pop-up menu did not open";
    const auto menuWindow = host.geometryOf (menu);

    // Four rows fill the menu between its small borders.
    const int rowY = (int) ((chosen - 0.5) * menuWindow.height / 4.0);
    pointerTo (menu, menuWindow.width / 2, rowY);
    instance.idleEditor (100);
    pressButton();
    instance.idleEditor (40);
    releaseButton();
    instance.idleEditor (300);

    test::expectSingleAutomation (instance, 33, (float) chosen);
}

TEST_P (OpenedEditor, ProgramChangeInTheHostMovesTheControls)
{
    const auto shown = grabWindow (host.display, editorWindow());
    const auto before = instance.allValues();

    // Program 7 differs from program 0 in most sliders and in several selectors.
    instance.dispatch (vst::effSetProgram, 0, 7);
    const auto after = instance.allValues();
    EXPECT_EQ (instance.getRequests (vst::audioMasterAutomate).size(), 0u) << "nothing moves before the idle";
    instance.idleEditor (300);

    const auto moved = grabWindow (host.display, editorWindow());
    ASSERT_EQ (moved.width, editorWidth);
    struct Spot
    {
        int x, y;
    };
    const Spot sliders[] = { { 120, 10 },  { 150, 10 },  { 180, 10 },  { 210, 10 },  { 240, 10 },  { 270, 10 },
                             { 310, 10 },  { 340, 10 },  { 380, 10 },  { 410, 10 },  { 20, 120 },  { 50, 120 },
                             { 80, 120 },  { 110, 120 }, { 150, 120 }, { 180, 120 }, { 210, 120 }, { 240, 120 },
                             { 268, 120 }, { 392, 120 }, { 422, 120 }, { 452, 120 }, { 482, 120 }, { 512, 120 },
                             { 20, 230 },  { 50, 230 },  { 180, 230 }, { 210, 230 }, { 350, 230 }, { 510, 230 } };
    static_assert (std::size (sliders) == (size_t) patch::parameterCount);
    int movedSliders = 0;
    for (size_t i = 0; i < std::size (sliders); ++i)
    {
        const double difference = shown.meanDifference (moved, sliders[i].x, sliders[i].y, 12, 80);
        if (before[i] == after[i])
        {
            EXPECT_LT (difference, 0.5) << "slider " << i << " should stay";
        }
        else if (std::abs (before[i] - after[i]) > 0.15f)
        {
            EXPECT_GT (difference, 2.0) << "slider " << i << " should move";
            ++movedSliders;
        }
    }
    EXPECT_GE (movedSliders, 5);

    // Each selector whose item changed writes its value back once; the others stay silent.
    const auto automates = instance.getRequests (vst::audioMasterAutomate);
    int changedSelectors = 0;
    for (int index = patch::firstSelector; index < patch::valueCount; ++index)
    {
        const bool changed = (int) before[(size_t) index] != (int) after[(size_t) index];
        changedSelectors += changed ? 1 : 0;
        int writes = 0;
        for (const auto& automate : automates)
            writes += automate.index == index ? 1 : 0;
        EXPECT_EQ (writes, changed ? 1 : 0) << "selector " << index - patch::firstSelector;
    }
    EXPECT_GE (changedSelectors, 1);
    for (const auto& automate : automates)
        EXPECT_GE (automate.index, patch::firstSelector) << "no slider is sent back by the refresh";
}

TEST_P (OpenedEditor, HostIdleOnlyWhileAButtonIsHeldAndAtMostEvery20Ms)
{
    instance.idleEditor (600, 2);
    EXPECT_TRUE (instance.getRequests (vst::audioMasterIdle).empty()) << "no button held";

    // A host that gives editor idle from inside its own idle call must not get a nested request.
    int nestedHostIdleCalls = 0;
    instance.onRequest = [&] (const hostkit::HostRequest& request) -> std::optional<vst::intptr> {
        if (request.opcode == vst::audioMasterIdle)
        {
            const auto before = instance.getRequests (vst::audioMasterIdle).size();
            instance.dispatch (vst::effEditIdle);
            nestedHostIdleCalls += (int) (instance.getRequests (vst::audioMasterIdle).size() - before);
        }
        return std::nullopt;
    };
    pointerTo (parent, 346, 20);
    pressButton();
    for (int step = 0; step < 40; ++step)
    {
        pointerTo (parent, 346, 20 + (step * 3) % 60);
        instance.idleEditor (15, 1);
    }
    const auto held = instance.getRequests (vst::audioMasterIdle);
    releaseButton();
    instance.idleEditor (100, 2);
    instance.clearRequests();
    instance.idleEditor (600, 2);

    ASSERT_GE (held.size(), 3u);
    for (size_t k = 1; k < held.size(); ++k)
        EXPECT_GE (held[k].timeMs - held[k - 1].timeMs, 19.5) << "idle requests " << k - 1 << " and " << k;
    EXPECT_EQ (nestedHostIdleCalls, 0);
    EXPECT_TRUE (instance.getRequests (vst::audioMasterIdle).empty()) << "button released";
}

TEST_P (OpenedEditor, ClosingTheInstanceWithTheEditorOpenAndMessagesPending)
{
    // A program change queues the change message; the instance goes before any idle runs it.
    instance.dispatch (vst::effSetProgram, 0, 4);
    instance.close();
    EXPECT_TRUE (host.childrenOf (parent).empty()) << "the editor's window goes with the instance";

    // The module keeps serving other instances in the same process.
    EditorInstance next;
    ASSERT_NE (next.getEffect(), nullptr);
    ASSERT_EQ (next.openEditor (parent), 1);
    next.idleEditor (100);
    EXPECT_EQ (host.childrenOf (parent).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P (WindowManagers, OpenedEditor, ::testing::Values (false, true),
                          [] (const auto& info) { return info.param ? "Matchbox" : "Bare"; });
} // namespace
} // namespace quane::editorhost
