// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A host process loading and unloading the DLL again and again, two instances with editors at a
// time, and unloading it with an instance left open.
#include "tests/windows/Win32TestHost.h"

#include <gtest/gtest.h>

namespace quane::test
{
TEST (LoadCycles, TenLoadsWithTwoInstancesAndTheirEditorsEach)
{
    for (int cycle = 0; cycle < 10; ++cycle)
    {
        SCOPED_TRACE (cycle);
        hostkit::LoadedModule module (modulePath());
        ASSERT_TRUE (module.isLoaded());
        Instance first (module.getPluginMain()), second (module.getLegacyMain());
        ASSERT_NE (first.getEffect(), nullptr);
        ASSERT_NE (second.getEffect(), nullptr);
        HostWindow firstWindow (540, 340), secondWindow (540, 340);

        for (auto* instance : { &first, &second })
        {
            instance->dispatch (vst::effOpen);
            instance->resume();
        }
        ASSERT_EQ (first.dispatch (vst::effEditOpen, 0, 0, firstWindow.hwnd), 1);
        ASSERT_EQ (second.dispatch (vst::effEditOpen, 0, 0, secondWindow.hwnd), 1);
        runHostLoop (60, { &first, &second });
        EXPECT_NE (firstWindow.onlyChild(), nullptr);
        EXPECT_NE (secondWindow.onlyChild(), nullptr);

        first.noteOn (60);
        EXPECT_GT (rms (first.render (1024), 0, 2048), 1e-4);
        EXPECT_EQ (rms (second.render (1024), 0, 2048), 0.0);

        EXPECT_EQ (first.dispatch (vst::effEditClose), 0);
        EXPECT_EQ (second.dispatch (vst::effEditClose), 0);
        EXPECT_EQ (firstWindow.onlyChild(), nullptr);
        first.close();
        second.close();
    }
}

TEST (LoadCycles, UnloadingWithAnInstanceOpenLeavesTheProcessRunning)
{
    HostWindow window (540, 340);
    auto* module = new hostkit::LoadedModule (modulePath());
    ASSERT_TRUE (module->isLoaded());
    // A host that forgets its instance: it is never closed, its editor stays open.
    auto* forgotten = new Instance (module->getPluginMain());
    ASSERT_NE (forgotten->getEffect(), nullptr);
    forgotten->dispatch (vst::effOpen);
    ASSERT_EQ (forgotten->dispatch (vst::effEditOpen, 0, 0, window.hwnd), 1);
    runHostLoop (100, { forgotten });
    delete module;

    // JUCE's timer thread and the editor's window keep running into the module's code.
    runHostLoop (600, {});
    EXPECT_NE (window.onlyChild(), nullptr);

    // The host also calls the entry twice more through a fresh load.
    hostkit::LoadedModule again (modulePath());
    Instance a (again.getPluginMain()), b (again.getLegacyMain());
    EXPECT_NE (a.getEffect(), nullptr);
    EXPECT_NE (b.getEffect(), nullptr);
}
} // namespace quane::test
