// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A fresh temporary folder for a test, deleted with everything in it when the test is done.
#include "tests/common/ScratchFolder.h"

namespace quane::test
{
ScratchFolder::ScratchFolder()
    : folder (juce::File::getSpecialLocation (juce::File::tempDirectory)
                  .getChildFile ("quane-test-" + juce::String (juce::Time::getHighResolutionTicks()) + "-"
                                 + juce::String::toHexString (juce::Random::getSystemRandom().nextInt64())))
{
    folder.createDirectory();
}

ScratchFolder::~ScratchFolder()
{
    folder.deleteRecursively();
}
} // namespace quane::test
