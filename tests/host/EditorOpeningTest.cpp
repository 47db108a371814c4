// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor's rectangle, and opening it in windows that are missing, made up or gone.
#include "tests/host/EditorHostSupport.h"

#include <gtest/gtest.h>

namespace quane::editorhost
{
namespace
{
TEST (EditorOpening, RectangleBeforeAndAfterOpening)
{
    HostDisplay host (false);
    ASSERT_NE (host.display, nullptr);
    EditorInstance instance;
    ASSERT_NE (instance.getEffect(), nullptr);
    EXPECT_NE (instance.getEffect()->flags & vst::effFlagsHasEditor, 0);

    vst::ERect* rect = nullptr;
    const auto answer = instance.dispatch (vst::effEditGetRect, 0, 0, &rect);
    ASSERT_NE (rect, nullptr);
    EXPECT_EQ (answer, (vst::intptr) rect);
    EXPECT_EQ (rect->top, 0);
    EXPECT_EQ (rect->left, 0);
    EXPECT_EQ (rect->bottom, 340);
    EXPECT_EQ (rect->right, 540);
    EXPECT_EQ (instance.dispatch (vst::effEditGetRect, 0, 0, nullptr), 0) << "no place for the address";

    const auto parent = host.createHostWindow (540, 340);
    ASSERT_EQ (instance.openEditor (parent), 1);
    instance.idleEditor (100);
    vst::ERect* again = nullptr;
    instance.dispatch (vst::effEditGetRect, 0, 0, &again);
    ASSERT_NE (again, nullptr);
    EXPECT_EQ (again->bottom, 340);
    EXPECT_EQ (again->right, 540);
    EXPECT_EQ (host.childrenOf (parent).size(), 1u);

    // Closing twice, or idling without an editor, is harmless.
    EXPECT_EQ (instance.dispatch (vst::effEditClose), 0);
    EXPECT_EQ (instance.dispatch (vst::effEditClose), 0);
    EXPECT_EQ (instance.dispatch (vst::effEditIdle), 0);
    EXPECT_TRUE (host.childrenOf (parent).empty());
    EXPECT_EQ (HostDisplay::hostHandlerErrors(), 0);
}

TEST (EditorOpening, MissingMadeUpOrUnsuitableParentsShowNothing)
{
    HostDisplay host (false);
    ASSERT_NE (host.display, nullptr);
    EditorInstance instance;
    ASSERT_NE (instance.getEffect(), nullptr);
    const auto viewableTopLevels = [&host] {
        int count = 0;
        for (auto window : host.topLevelWindows())
            count += host.geometryOf (window).viewable ? 1 : 0;
        return count;
    };
    const auto viewableBefore = viewableTopLevels();

    const auto gone = host.createHostWindow (540, 340);
    host.destroyWindow (gone);
    const auto inputOnly = host.createInputOnlyWindow();

    const struct
    {
        const char* what;
        XWindow window;
    } parents[] = {
        { "null", 0 },
        { "made-up id", 0x7ffff0f1 },
        { "destroyed window", gone },
        { "input-only window", inputOnly },
    };
    for (const auto& parent : parents)
    {
        SCOPED_TRACE (parent.what);
        EXPECT_EQ (instance.openEditor (parent.window), 0);
        instance.idleEditor (50);
        EXPECT_EQ (viewableTopLevels(), viewableBefore) << "no window of the module's on screen";
    }
    EXPECT_TRUE (host.childrenOf (inputOnly).empty());
    EXPECT_EQ (HostDisplay::hostHandlerErrors(), 0) << "an X error reached the host's handler";
    EXPECT_TRUE (HostDisplay::hostHandlerIsInstalled());

    // A proper window afterwards still works.
    const auto parent = host.createHostWindow (540, 340);
    EXPECT_EQ (instance.openEditor (parent), 1);
    instance.idleEditor (100);
    EXPECT_EQ (host.childrenOf (parent).size(), 1u);
}

TEST (EditorOpening, HostDestroyingItsWindowBeforeClosingTheEditor)
{
    HostDisplay host (false);
    ASSERT_NE (host.display, nullptr);
    EditorInstance instance;
    ASSERT_NE (instance.getEffect(), nullptr);
    const auto parent = host.createHostWindow (540, 340);
    ASSERT_EQ (instance.openEditor (parent), 1);
    instance.idleEditor (200);

    host.destroyWindow (parent);
    instance.idleEditor (100);
    EXPECT_EQ (instance.dispatch (vst::effEditClose), 0);
    instance.dispatch (vst::effSetProgram, 0, 2);
    EXPECT_EQ (instance.dispatch (vst::effGetProgram), 2) << "the instance still answers";
    EXPECT_EQ (HostDisplay::hostHandlerErrors(), 0) << "an X error reached the host's handler";
    EXPECT_TRUE (HostDisplay::hostHandlerIsInstalled());
}
} // namespace
} // namespace quane::editorhost
