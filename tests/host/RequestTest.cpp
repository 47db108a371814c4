// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The dispatcher's answers, host text limits and requests with hostile arguments.
#include "tests/host/HostTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <limits>

namespace quane::test
{
TEST (HostRequests, IdentityAndFixedAnswers)
{
    Instance instance;
    ASSERT_NE (instance.getEffect(), nullptr);

    EXPECT_EQ (instance.text (vst::effGetEffectName), "Quane");
    EXPECT_EQ (instance.text (vst::effGetProductString), "Quane");
    EXPECT_EQ (instance.text (vst::effGetVendorString), "Brelloux");
    EXPECT_EQ (instance.dispatch (vst::effGetEffectName, 0, 0, nullptr), 0);

    const struct
    {
        vst::int32 opcode;
        vst::intptr answer;
    } fixed[] = {
        { vst::effOpen, 0 },
        { vst::effIdentify, 0x4E764566 },
        { vst::effGetVendorVersion, 1000 },
        { vst::effGetVstVersion, 2300 },
        { vst::effGetPlugCategory, 2 },
        { vst::effKeysRequired, 1 },
        { vst::effGetCurrentMidiProgram, -1 },
        { vst::effGetNumProgramCategories, 1 },
        { vst::effConnectInput, 1 },
        { vst::effConnectOutput, 1 },
        { vst::effGetTailSize, 0 },
        { vst::effGetVu, 0 },
        { vst::effEditGetRect, 0 },
        { vst::effEditOpen, 0 },
        { vst::effEditClose, 0 },
        { vst::effEditIdle, 0 },
        { vst::effString2Parameter, 0 },
        { vst::effSetBypass, 0 },
        { vst::effBeginLoadProgram, 0 },
        { 77, 0 },
        { 1000, 0 },
        { -1, 0 },
    };
    for (const auto& request : fixed)
    {
        SCOPED_TRACE (request.opcode);
        EXPECT_EQ (instance.dispatch (request.opcode), request.answer);
    }

    EXPECT_EQ (instance.dispatch (vst::effSetTotalSampleToProcess, 0, 12345), 12345);
    EXPECT_EQ (instance.dispatch (vst::effSetBlockSizeAndSampleRate, 0, 256, nullptr, 48000.0f), 1);
    EXPECT_EQ (instance.dispatch (vst::effCanBeAutomated, 5), 1);
    EXPECT_EQ (instance.dispatch (vst::effCanBeAutomated, -7), 1);
    EXPECT_EQ (instance.dispatch (vst::effProcessEvents, 0, 0, nullptr), 0);
}

TEST (HostRequests, CapabilitiesAreComparedExactly)
{
    Instance instance;
    const struct
    {
        const char* name;
        vst::intptr answer;
    } capabilities[] = {
        { "receiveVstEvents", 1 },  { "receiveVstMidiEvents", 1 }, { "sendVstEvents", -1 },
        { "sendVstMidiEvent", -1 }, { "receiveVstTimeInfo", 1 },   { "conformsToWindowRules", 1 },
        { "ReceiveVstEvents", 0 },  { "receiveVstEvent", 0 },      { "", 0 },
        { "sizeWindow", 0 },
    };
    for (const auto& capability : capabilities)
    {
        SCOPED_TRACE (capability.name);
        EXPECT_EQ (instance.dispatch (vst::effCanDo, 0, 0, const_cast<char*> (capability.name)), capability.answer);
    }
    EXPECT_EQ (instance.dispatch (vst::effCanDo, 0, 0, nullptr), 0);
}

TEST (HostRequests, NamesAreCutToTheirLimits)
{
    Instance instance;
    EXPECT_EQ (instance.text (vst::effGetParamName, 0), "Phase");
    EXPECT_EQ (instance.text (vst::effGetParamName, 1), "Phaser L");
    EXPECT_EQ (instance.text (vst::effGetParamName, 28), "Velocity");
    EXPECT_EQ (instance.text (vst::effGetParamLabel, 3), "");
    EXPECT_EQ (instance.text (vst::effGetParamDisplay, 25), "0.25");
    EXPECT_EQ (instance.text (vst::effGetParamDisplay, 1), "0.999000013");

    // The longest factory name, and nothing written past its terminator.
    char buffer[64];
    std::memset (buffer, 'x', sizeof (buffer));
    EXPECT_EQ (instance.dispatch (vst::effGetProgramNameIndexed, 11, 0, buffer), 1);
    EXPECT_STREQ (buffer, "Sawish Power Chord");
    EXPECT_EQ (buffer[19], 'x');

    EXPECT_EQ (instance.dispatch (vst::effGetProgramNameIndexed, 12, 0, buffer), 0);
    EXPECT_EQ (instance.dispatch (vst::effGetProgramNameIndexed, -1, 0, buffer), 0);
    EXPECT_EQ (instance.dispatch (vst::effGetProgramNameIndexed, 0, 0, nullptr), 0);
}

TEST (HostRequests, ProgramsAreForwardedToTheModel)
{
    Instance instance;
    EXPECT_EQ (instance.dispatch (vst::effGetProgram), 0);
    EXPECT_EQ (instance.text (vst::effGetProgramName), "Chordy");

    instance.dispatch (vst::effSetProgram, 0, 4);
    EXPECT_EQ (instance.dispatch (vst::effGetProgram), 4);
    EXPECT_EQ (instance.text (vst::effGetProgramName), "Bell Lead");

    for (vst::intptr outside :
         { (vst::intptr) 12, (vst::intptr) -1, (vst::intptr) INT_MAX, std::numeric_limits<vst::intptr>::max() })
    {
        SCOPED_TRACE (outside);
        instance.dispatch (vst::effSetProgram, 0, outside);
        EXPECT_EQ (instance.dispatch (vst::effGetProgram), 4);
    }
    instance.dispatch (vst::effSetProgramName, 0, 0, nullptr);
    EXPECT_EQ (instance.text (vst::effGetProgramName), "Bell Lead");
}

TEST (HostRequests, HostileIndicesAndNullPointersTouchNothing)
{
    Instance instance;
    auto* e = instance.getEffect();
    const auto before = instance.allValues();

    for (vst::int32 index : { -1, patch::valueCount, (int) patch::entryCount, 100000, INT_MAX, INT_MIN })
    {
        SCOPED_TRACE (index);
        e->setParameter (e, index, 0.5f);
        EXPECT_EQ (e->getParameter (e, index), 0.0f);
        EXPECT_EQ (instance.text (vst::effGetParamName, index), "");
        EXPECT_EQ (instance.text (vst::effGetParamLabel, index), "");
        EXPECT_EQ (instance.text (vst::effGetParamDisplay, index), "");
    }
    EXPECT_EQ (instance.allValues(), before);

    // Every request that writes text or a pointer, given none.
    for (vst::int32 opcode :
         { vst::effGetProgramName, vst::effGetParamLabel, vst::effGetParamDisplay, vst::effGetParamName,
           vst::effGetChunk, vst::effGetEffectName, vst::effGetVendorString, vst::effGetProductString,
           vst::effSetProgramName, vst::effGetSpeakerArrangement, vst::effEditGetRect, vst::effEditOpen })
    {
        SCOPED_TRACE (opcode);
        EXPECT_EQ (instance.dispatch (opcode, 0, 0, nullptr), 0);
    }

    void* inputArrangement = &inputArrangement;
    void* outputArrangement = &outputArrangement;
    instance.dispatch (vst::effGetSpeakerArrangement, 0, (vst::intptr) &inputArrangement, &outputArrangement);
    EXPECT_EQ (inputArrangement, nullptr);
    EXPECT_EQ (outputArrangement, nullptr);
}

TEST (HostRequests, HostChangesAreNotReportedBack)
{
    Instance instance;
    instance.clearRequests();
    instance.setParameter (6, 0.5f);
    EXPECT_TRUE (instance.getRequests (vst::audioMasterAutomate).empty());
}
} // namespace quane::test
