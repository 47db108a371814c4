// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The loaded module under a host's threads: one renders while others set parameters, select
// programs and restore the state, and the message thread opens and closes the editor.
#include "engine/EngineLimits.h"
#include "tests/host/EditorHostSupport.h"
#include "tests/host/HostTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <thread>

namespace quane::test
{
namespace
{
constexpr int blockSize = 256;

vst::intptr dispatch (vst::AEffect* effect, vst::int32 opcode, vst::int32 index = 0, vst::intptr value = 0,
                      void* ptr = nullptr)
{
    return effect->dispatcher (effect, opcode, index, value, ptr, 0.0f);
}

void renderUntilStopped (vst::AEffect* effect, const std::atomic<bool>& stop, std::atomic<int>& blocks,
                         std::atomic<bool>& bounded)
{
    std::vector<float> left (blockSize), right (blockSize);
    float* outputs[] = { left.data(), right.data() };
    hostkit::VstEventList events (2);

    for (int block = 0; ! stop.load(); ++block)
    {
        events.clear();
        for (int i = 0; i < 2; ++i)
            events.add (
                { block * 37 % blockSize,
                  { (unsigned char) (i == 0 ? 0x90 : 0x80), (unsigned char) (48 + (block + i * 7) % 24), 100 } });
        dispatch (effect, vst::effProcessEvents, 0, 0, const_cast<vst::VstEvents*> (&events.record()));
        effect->processReplacing (effect, nullptr, outputs, blockSize);
        for (const auto* channel : { &left, &right })
            for (float sample : *channel)
                if (! (std::fabs (sample) <= outputBound))
                    bounded = false;
        ++blocks;
    }
}

TEST (HostThreads, RendersWhileOtherThreadsChangeTheInstanceAndTheEditorComesAndGoes)
{
    editorhost::HostDisplay host (false);
    ASSERT_NE (host.display, nullptr);
    // The host's answers keep no record here, so that its threads share nothing.
    hostkit::HostedEffect instance (sharedModule().getPluginMain());
    auto* effect = instance.getEffect();
    ASSERT_NE (effect, nullptr);
    dispatch (effect, vst::effOpen);
    dispatch (effect, vst::effMainsChanged, 0, 1);
    const auto parent = host.createHostWindow (540, 340);

    void* data = nullptr;
    const auto size = dispatch (effect, vst::effGetChunk, 0, 0, &data);
    ASSERT_GT (size, 0);
    const std::vector<char> state ((const char*) data, (const char*) data + size);

    std::atomic<bool> stop { false }, bounded { true };
    std::atomic<int> blocks { 0 };
    std::thread audio (renderUntilStopped, effect, std::cref (stop), std::ref (blocks), std::ref (bounded));
    std::thread automation ([&] {
        for (int round = 0; ! stop.load(); ++round)
        {
            const int index = round % patch::parameterCount;
            effect->setParameter (effect, index, index == 3 ? 2.0f : (float) (round % 7) / 7.0f);
            effect->getParameter (effect, (round + 11) % patch::parameterCount);
            std::this_thread::sleep_for (std::chrono::microseconds (100)); // automation, not a flood
        }
    });
    std::thread programs ([&] {
        for (int round = 0; ! stop.load(); ++round)
        {
            dispatch (effect, vst::effSetProgram, 0, round % 12);
            dispatch (effect, vst::effSetChunk, round % 2, (vst::intptr) state.size(),
                      const_cast<char*> (state.data()));
            dispatch (effect, vst::effGetProgram);
            std::this_thread::sleep_for (std::chrono::microseconds (500));
        }
    });

    // The loading thread is the message thread: the editor opens, idles and closes there.
    for (int round = 0; round < 8; ++round)
    {
        ASSERT_EQ (dispatch (effect, vst::effEditOpen, 0, 0, (void*) parent), 1);
        for (int idle = 0; idle < 10; ++idle)
        {
            dispatch (effect, vst::effEditIdle);
            std::this_thread::sleep_for (std::chrono::milliseconds (5));
        }
        dispatch (effect, vst::effEditClose);
    }
    while (blocks.load() < 100)
        std::this_thread::yield();

    stop = true;
    audio.join();
    automation.join();
    programs.join();
    instance.close();
    EXPECT_TRUE (bounded.load());
}
} // namespace
} // namespace quane::test
