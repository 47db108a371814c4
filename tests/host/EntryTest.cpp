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
    EXPECT_NE (sharedModule().pluginMain(), nullptr);
    EXPECT_NE (sharedModule().legacyMain(), nullptr);
}

TEST (ModuleEntry, FreshInstanceReportsItsIdentity)
{
    for (auto entry : { sharedModule().pluginMain(), sharedModule().legacyMain() })
    {
        hostLog().clear();
        Instance instance (entry);
        ASSERT_NE (instance.effect, nullptr);
        const auto& e = *instance.effect;
        EXPECT_EQ (e.magic, 0x56737450);
        EXPECT_EQ (e.flags, 0x131);
        EXPECT_EQ (e.uniqueID, 0x11149876);
        EXPECT_EQ (e.version, 1);
        EXPECT_EQ (e.numInputs, 0);
        EXPECT_EQ (e.numOutputs, 2);
        EXPECT_EQ (e.numParams, 30);
        EXPECT_EQ (e.numPrograms, 12);
        EXPECT_EQ (e.initialDelay, 0);
        EXPECT_FLOAT_EQ (e.ioRatio, 1.0f);
        EXPECT_EQ (e.user, nullptr);
        EXPECT_EQ (e.processDoubleReplacing, nullptr);
        EXPECT_NE (e.processReplacing, nullptr);

        // Asked once for the version without an effect, then told the instance wants MIDI.
        ASSERT_GE (hostLog().requests.size(), 2u);
        EXPECT_EQ (hostLog().requests[0].opcode, vst::audioMasterVersion);
        EXPECT_EQ (hostLog().requests[0].effect, nullptr);
        EXPECT_EQ (hostLog().count (vst::audioMasterWantMidi), 1);
    }
}

TEST (ModuleEntry, HostThatIsNoVstHostGetsNothing)
{
    hostLog().versionAnswer = 0;
    Instance refused;
    hostLog().versionAnswer = 2400;
    EXPECT_EQ (refused.effect, nullptr);
    EXPECT_EQ (sharedModule().pluginMain() (nullptr), nullptr);
}

TEST (ModuleEntry, InstancesAreIndependent)
{
    Instance first, second;
    ASSERT_NE (first.effect, nullptr);
    ASSERT_NE (second.effect, nullptr);
    EXPECT_NE (first.effect, second.effect);

    first.effect->setParameter (first.effect, 6, 0.25f);
    EXPECT_EQ (first.effect->getParameter (first.effect, 6), 0.25f);
    EXPECT_NE (second.effect->getParameter (second.effect, 6), 0.25f);

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
        LoadedModule module;
        ASSERT_TRUE (module.isLoaded());
        Instance a (module.pluginMain()), b (module.pluginMain());
        ASSERT_NE (a.effect, nullptr);
        ASSERT_NE (b.effect, nullptr);
        a.dispatch (vst::effOpen);
        b.dispatch (vst::effOpen);
        a.resume();
        a.noteOn (64);
        EXPECT_GT (rms (a.render (2048), 0, 4096), 1e-4);
        EXPECT_EQ (a.dispatch (vst::effClose), 1);
        a.effect = nullptr;
        b.close();
    }
}
} // namespace quane::test
