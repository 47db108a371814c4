// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The model's change message: posted, collapsed, and only for real changes.
#include "TestSupport.h"

#include "host/MessageLoop.h"

#include <gtest/gtest.h>

namespace quane
{
namespace
{
struct CountingListener : juce::ChangeListener
{
    void changeListenerCallback (juce::ChangeBroadcaster* source) override
    {
        ++deliveries;
        lastSource = source;
    }
    int deliveries = 0;
    juce::ChangeBroadcaster* lastSource = nullptr;
};

class ChangeMessages : public ::testing::Test
{
protected:
    void SetUp() override
    {
        test::pumpMessages (5);
        model.addChangeListener (&listener);
    }
    void TearDown() override { model.removeChangeListener (&listener); }

    MyPlugJuceFilter model;
    CountingListener listener;
};

TEST_F (ChangeMessages, IsPostedNotDeliveredDuringTheCall)
{
    model.setParameterValue (0, 0.3f);
    EXPECT_EQ (listener.deliveries, 0);
    test::pumpMessages();
    EXPECT_EQ (listener.deliveries, 1);
    EXPECT_EQ (listener.lastSource, &model);
}

TEST_F (ChangeMessages, SeveralSendsCollapseIntoOneDelivery)
{
    model.setParameterValue (0, 0.3f);
    model.setParameterValue (1, 0.4f);
    model.selectProgram (3);
    test::pumpMessages();
    EXPECT_EQ (listener.deliveries, 1);
}

TEST_F (ChangeMessages, RepeatsAndRejectedCallsSendNothing)
{
    model.setParameterValue (0, model.parameterValue (0));
    model.selectProgram (12);
    model.setParameterValue (45, 0.2f);
    test::pumpMessages();
    EXPECT_EQ (listener.deliveries, 0);
}

TEST_F (ChangeMessages, ARepeatedOutOfRangeValueIsNotARepeat)
{
    model.setParameterValue (0, 0.0f);
    test::pumpMessages();
    EXPECT_EQ (model.parameterValue (0), 0.001f);
    model.setParameterValue (0, 0.0f);
    test::pumpMessages();
    EXPECT_EQ (listener.deliveries, 2);
}

TEST (ChangeMessagesWithoutListener, NothingIsPosted)
{
    test::pumpMessages (5);
    MyPlugJuceFilter model;
    model.setParameterValue (0, 0.3f);
    EXPECT_EQ (quane::dispatchPendingMessages(), 0);
}
} // namespace
} // namespace quane
