// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The module's entry and the identity a fresh instance reports.
#include "tests/host/HostTestSupport.h"

#include <gtest/gtest.h>

namespace quane::test
{
TEST (ModuleEntry, BothEntryNamesAreFound)
{
    ASSERT_TRUE (sharedModule().isLoaded());
    EXPECT_NE (sharedModule().getPluginMain(), nullptr);
    EXPECT_NE (sharedModule().getLegacyMain(), nullptr);
}

TEST (ModuleEntry, FreshInstanceReportsItsIdentity)
{
    for (auto entry : { sharedModule().getPluginMain(), sharedModule().getLegacyMain() })
    {
        Instance instance (entry);
        ASSERT_NE (instance.getEffect(), nullptr);
        const auto& e = *instance.getEffect();
        EXPECT_EQ (e.magic, 0x56737450);
        EXPECT_EQ (e.flags, 0x131);
        EXPECT_EQ (e.uniqueID, 0x11149876);
        EXPECT_EQ (e.version, 1);
        EXPECT_EQ (e.numInputs, 0);
        EXPECT_EQ (e.numOutputs, 2);
        EXPECT_EQ (e.numParams, patch::parameterCount);
        EXPECT_EQ (e.numPrograms, 12);
        EXPECT_EQ (e.initialDelay, 0);
        EXPECT_FLOAT_EQ (e.ioRatio, 1.0f);
        EXPECT_EQ (e.user, nullptr);
        EXPECT_EQ (e.processDoubleReplacing, nullptr);
        EXPECT_NE (e.processReplacing, nullptr);

        // Asked once for the version without an effect, then told the instance wants MIDI.
        const auto requests = instance.getRequests();
        ASSERT_GE (requests.size(), 2u);
        EXPECT_EQ (requests[0].opcode, vst::audioMasterVersion);
        EXPECT_EQ (requests[0].effect, nullptr);
        EXPECT_EQ (instance.getRequests (vst::audioMasterWantMidi).size(), 1u);
    }
}

TEST (ModuleEntry, HostThatIsNoVstHostGetsNothing)
{
    const Instance refused (sharedModule().getPluginMain(), 0);
    EXPECT_EQ (refused.getEffect(), nullptr);
    EXPECT_EQ (sharedModule().getPluginMain() (nullptr), nullptr);
}

TEST (ModuleEntry, InstancesAreIndependent)
{
    Instance first, second;
    ASSERT_NE (first.getEffect(), nullptr);
    ASSERT_NE (second.getEffect(), nullptr);
    EXPECT_NE (first.getEffect(), second.getEffect());

    first.setParameter (6, 0.25f);
    EXPECT_EQ (first.getParameter (6), 0.25f);
    EXPECT_NE (second.getParameter (6), 0.25f);

    first.resume();
    second.resume();
    first.noteOn (60);
    EXPECT_GT (rms (first.render (4096), 0, 8192), 1e-4);
    EXPECT_EQ (rms (second.render (4096), 0, 8192), 0.0);
}

TEST (ModuleEntry, UnloadsAfterItsInstancesAreClosedAndLoadsAgain)
{
    for (int round = 0; round < 2; ++round)
    {
        SCOPED_TRACE (round);
        hostkit::LoadedModule module (modulePath());
        ASSERT_TRUE (module.isLoaded());
        Instance a (module.getPluginMain()), b (module.getPluginMain());
        ASSERT_NE (a.getEffect(), nullptr);
        ASSERT_NE (b.getEffect(), nullptr);
        a.dispatch (vst::effOpen);
        b.dispatch (vst::effOpen);
        a.resume();
        a.noteOn (64);
        EXPECT_GT (rms (a.render (2048), 0, 4096), 1e-4);
        EXPECT_EQ (a.close(), 1);
        b.close();
    }
}
} // namespace quane::test
