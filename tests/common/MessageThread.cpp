// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The test program's main thread as JUCE's message thread, and running its messages.
#include "tests/common/MessageThread.h"

#include "host/MessageLoop.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

namespace quane::test
{
namespace
{
/** The main thread is JUCE's message thread, as a host's GUI thread would be. */
class MessageThreadEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { initialiser = std::make_unique<juce::ScopedJuceInitialiser_GUI>(); }
    void TearDown() override { initialiser.reset(); }

private:
    std::unique_ptr<juce::ScopedJuceInitialiser_GUI> initialiser;
};

[[maybe_unused]] auto* const environment = ::testing::AddGlobalTestEnvironment (new MessageThreadEnvironment);
} // namespace

void pumpMessages (int minimumMs)
{
    const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) minimumMs;
    do
    {
        dispatchPendingMessages();
        juce::Thread::sleep (1);
    } while (juce::Time::getMillisecondCounter() < end);
    dispatchPendingMessages();
}
} // namespace quane::test
