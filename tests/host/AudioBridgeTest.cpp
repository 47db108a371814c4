// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Audio blocks and MIDI through the AEffect: replacing, adding, event order, resume and suspend.
#include "tests/host/HostTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace quane::test
{
namespace
{
constexpr int blockFrames = 4096;

size_t firstAudibleFrame (const std::vector<float>& samples, int frames)
{
    for (size_t i = 0; i < (size_t) frames; ++i)
        if (std::abs (samples[i]) > 1e-6f || std::abs (samples[(size_t) frames + i]) > 1e-6f)
            return i;
    return (size_t) frames;
}
} // namespace

TEST (AudioBridge, ANoteSoundsAndProcessAdds)
{
    Instance replacing, adding;
    replacing.resume();
    adding.resume();
    replacing.noteOn (60);
    adding.noteOn (60);

    const auto replaced = replacing.render (blockFrames, true, 0.5f);
    const auto added = adding.render (blockFrames, false, 0.5f);
    EXPECT_GT (rms (replaced, 0, replaced.size()), 1e-3);
    for (size_t i = 0; i < replaced.size(); ++i)
        ASSERT_NEAR (added[i], replaced[i] + 0.5f, 1e-6f) << "sample " << i;

    // Without notes: replacing clears, adding keeps what the host had.
    Instance quiet;
    for (float sample : quiet.render (256, true, 0.5f))
        ASSERT_EQ (sample, 0.0f);
    for (float sample : quiet.render (256, false, 0.5f))
        ASSERT_EQ (sample, 0.5f);
}

TEST (AudioBridge, EventsAreOrderedByPositionAndKeepArrivalOrderAtEqualPositions)
{
    // A note-off listed before its note-on in time must not release it.
    Instance listedBackwards, onOnly;
    listedBackwards.resume();
    onOnly.resume();
    listedBackwards.sendMidi ({ { 100, { 0x90, 60, 100 } }, { 50, { 0x80, 60, 0 } } });
    onOnly.noteOn (60, 100);
    const auto backwards = listedBackwards.render (blockFrames);
    EXPECT_EQ (backwards, onOnly.render (blockFrames));
    EXPECT_LT (firstAudibleFrame (backwards, blockFrames), (size_t) blockFrames);

    // On then off at one position: the note is released, unlike a lone note-on.
    Instance onThenOff, sustained;
    onThenOff.resume();
    sustained.resume();
    onThenOff.sendMidi ({ { 10, { 0x90, 60, 100 } }, { 10, { 0x80, 60, 0 } } });
    sustained.noteOn (60, 10);
    onThenOff.render (44100);
    sustained.render (44100);
    const auto releasedTail = onThenOff.render (blockFrames);
    const auto sustainedTail = sustained.render (blockFrames);
    EXPECT_LT (rms (releasedTail, 0, releasedTail.size()), 0.1 * rms (sustainedTail, 0, sustainedTail.size()));
}

TEST (AudioBridge, EventsOfOtherTypesAndNullEventsAreSkipped)
{
    Instance instance, reference;
    instance.resume();
    reference.resume();
    vst::VstEvent sysex {};
    sysex.type = vst::kVstSysExType;
    sysex.byteSize = 16;
    hostkit::VstEventList list (3);
    list.add (&sysex);
    list.add (nullptr);
    list.add ({ 0, { 0x90, 60, 100 } });
    EXPECT_EQ (instance.sendEvents (list.record()), 1);
    reference.noteOn (60);
    EXPECT_EQ (instance.render (blockFrames), reference.render (blockFrames));
}

TEST (AudioBridge, ABlockOfAHundredThousandEventsTakesMilliseconds)
{
    // Alternating notes on and off, listed in order and then backwards.
    constexpr int count = 100000, frames = 512;
    std::vector<std::vector<unsigned char>> messages;
    std::vector<int> inOrder, backwards;
    for (int i = 0; i < count; ++i)
    {
        messages.push_back ({ (unsigned char) (i % 2 == 0 ? 0x90 : 0x80), (unsigned char) (40 + i % 40), 100 });
        inOrder.push_back (i * frames / count);
        backwards.push_back (frames - 1 - i * frames / count);
    }

    Instance instance;
    instance.resume();
    for (const auto* positions : { &inOrder, &backwards })
    {
        hostkit::VstEventList events (count);
        for (int i = 0; i < count; ++i)
            events.add (messages[(size_t) i].data(), 3, (*positions)[(size_t) i]);
        const auto milliseconds = bestMilliseconds (3, [&] {
            instance.sendEvents (events.record());
            instance.render (frames);
        });
        EXPECT_LT (milliseconds, 100.0) << (positions == &inOrder ? "in order" : "backwards");
    }
}

TEST (AudioBridge, SuspendDropsPendingEvents)
{
    Instance instance;
    instance.dispatch (vst::effMainsChanged, 0, 1);
    instance.noteOn (60);
    instance.dispatch (vst::effMainsChanged, 0, 0);
    EXPECT_EQ (rms (instance.render (blockFrames), 0, 2 * blockFrames), 0.0);

    instance.noteOn (60);
    EXPECT_GT (rms (instance.render (blockFrames), 0, 2 * blockFrames), 1e-3);
}

TEST (AudioBridge, SampleRateZeroMeans44100)
{
    const auto renderAt = [] (float rate) {
        Instance instance;
        instance.dispatch (vst::effSetSampleRate, 0, 0, nullptr, rate);
        instance.dispatch (vst::effMainsChanged, 0, 1);
        instance.noteOn (69);
        return instance.render (blockFrames);
    };
    const auto atZero = renderAt (0.0f);
    EXPECT_EQ (atZero, renderAt (44100.0f));
    EXPECT_EQ (renderAt (-5.0f), atZero);
    EXPECT_NE (renderAt (22050.0f), atZero);
}

TEST (AudioBridge, MissingChannelsOrNegativeLengthsRenderNothing)
{
    Instance instance;
    auto* e = instance.getEffect();
    instance.resume();
    instance.noteOn (60);

    std::vector<float> left (64, 0.25f);
    float* oneMissing[] = { left.data(), nullptr };
    e->processReplacing (e, nullptr, nullptr, 64);
    e->process (e, nullptr, nullptr, 64);
    e->processReplacing (e, nullptr, oneMissing, 64);
    e->process (e, nullptr, oneMissing, 64);
    float* both[] = { left.data(), left.data() };
    e->processReplacing (e, nullptr, both, -64);
    e->process (e, nullptr, both, INT32_MIN);
    for (float sample : left)
        ASSERT_EQ (sample, 0.25f);

    // None of that consumed the pending note.
    EXPECT_GT (rms (instance.render (blockFrames), 0, 2 * blockFrames), 1e-3);
}
} // namespace quane::test
