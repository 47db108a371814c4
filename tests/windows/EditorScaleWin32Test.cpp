// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor at the host's size factor inside a host-made Win32 window, and the keyboard after a click.
#include "tests/windows/Win32TestHost.h"
#include "tests/windows/WineTestEnvironment.h"

#include <gtest/gtest.h>

namespace quane::test
{
namespace
{
TEST (Win32EditorScale, TakesTheHostsFactorAndLeavesTheKeyboardWithTheHost)
{
    Instance instance;
    ASSERT_NE (instance.getEffect(), nullptr);
    instance.dispatch (vst::effOpen);

    // 150 %, as a DPI-aware host passes its monitor's scale.
    EXPECT_EQ (instance.dispatch (vst::effVendorSpecific, vst::editorScaleRequestIndex, vst::editorScaleRequestValue,
                                  nullptr, 1.5f),
               0);
    vst::ERect* rect = nullptr;
    ASSERT_NE (instance.dispatch (vst::effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ (rect->right - rect->left, 810);
    EXPECT_EQ (rect->bottom - rect->top, 510);

    HostWindow host (810, 510);
    ASSERT_EQ (instance.dispatch (vst::effEditOpen, 0, 0, host.hwnd), 1);
    runHostLoop (600, { &instance });
    const auto editor = host.onlyChild();
    ASSERT_NE (editor, nullptr);
    RECT client {};
    GetClientRect (editor, &client);
    EXPECT_EQ (client.right, 810);
    EXPECT_EQ (client.bottom, 510);

    const auto shown = capture (editor);
    ASSERT_EQ (shown.width, 810);
    const auto artefacts = environmentPath ("QUANE_ARTEFACTS");
    if (! artefacts.empty())
    {
        EXPECT_TRUE (saveBmp (shown, inFolder (artefacts, "editor-hosted-150.bmp")));
    }
    EXPECT_GT (shown.distinctColours(), 1000) << "the textured panel, not a blank window";
    EXPECT_GT (shown.meanBrightness(), 150.0) << "the light grey panel over the whole window";

    // A click on a slider (Resonance, at 346, 50 panel pixels) leaves the keyboard where it was.
    SetFocus (host.hwnd);
    pointerTo (editor, 519, 75);
    runHostLoop (60, { &instance });
    pressButton();
    runHostLoop (60, { &instance });
    releaseButton();
    runHostLoop (200, { &instance });
    EXPECT_EQ (GetFocus(), host.hwnd);

    instance.dispatch (vst::effEditClose);
    instance.close();
}
} // namespace
} // namespace quane::test
