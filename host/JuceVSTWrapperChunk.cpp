// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The VST 2.x instance: the state chunk handed to and taken from the host.
#include "host/JuceVSTWrapper.h"

#include "host/HostIdle.h"

#include <limits>

namespace quane
{
namespace
{
// The host may read the chunk for this long after asking for it; the 250 ms timer frees it later.
constexpr juce::uint32 chunkLifetimeMs = 2000;
} // namespace

vst::intptr JuceVSTWrapper::getChunk (void** destination)
{
    if (destination == nullptr)
        return 0;

    const juce::ScopedLock lock (chunkLock);
    chunkBlock.reset();
    filter->saveState (chunkBlock);
    *destination = chunkBlock.getData();
    // 0 means "no chunk held", so a counter that happens to read 0 counts as 1.
    chunkTimestamp = juce::jmax ((juce::uint32) 1, juce::Time::getMillisecondCounter());
    return (vst::intptr) chunkBlock.getSize();
}

vst::intptr JuceVSTWrapper::setChunk (const void* data, vst::intptr sizeInBytes)
{
    {
        const juce::ScopedLock lock (chunkLock);
        chunkBlock.reset();
        chunkTimestamp = 0;
    }

    // A size beyond the model's int is cut, never wrapped into a small or negative one.
    if (sizeInBytes > 0 && data != nullptr)
        filter->restoreState (data, (int) juce::jmin (sizeInBytes, (vst::intptr) std::numeric_limits<int>::max()));
    return 0;
}

void JuceVSTWrapper::releaseStaleChunk()
{
    if (isHostIdleGuardSet())
        return;

    const juce::ScopedLock lock (chunkLock);
    if (chunkTimestamp == 0)
        return;

    // Unsigned difference: right across the counter's wrap-around.
    if (juce::Time::getMillisecondCounter() - chunkTimestamp > chunkLifetimeMs)
    {
        chunkTimestamp = 0;
        chunkBlock.reset();
    }
}
} // namespace quane
