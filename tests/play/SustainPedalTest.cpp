// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The sustain pedal's note-offs: held, released in order, re-struck keys, a full voice pool.
#include "apps/play/SustainPedal.h"

#include <gtest/gtest.h>

namespace quane::test
{
namespace
{
/** Routes messages through a pedal and answers what the module received, as "90 3c 64" lines. */
class PedalRun
{
public:
    std::vector<std::string> send (std::initializer_list<std::array<uint8_t, 3>> messages)
    {
        hostkit::VstEventList events (64);
        for (const auto& message : messages)
            EXPECT_EQ (pedal.route (message.data(), 3, 0, events), 0);
        std::vector<std::string> received;
        const auto& record = events.record();
        for (int i = 0; i < record.numEvents; ++i)
        {
            const auto* midi = reinterpret_cast<const vst::VstMidiEvent*> (record.events[i]);
            char text[16];
            std::snprintf (text, sizeof text, "%02x %02x %02x", (uint8_t) midi->midiData[0],
                           (uint8_t) midi->midiData[1], (uint8_t) midi->midiData[2]);
            received.emplace_back (text);
        }
        return received;
    }

    play::SustainPedal pedal;
};

using Lines = std::vector<std::string>;
} // namespace

TEST (SustainPedal, HoldsNoteOffsAndReleasesThemInOrderWhenItComesUp)
{
    PedalRun run;
    EXPECT_EQ (run.send ({ { 0x90, 60, 100 }, { 0xb0, 64, 127 }, { 0x80, 60, 0 }, { 0x91, 64, 90 }, { 0x91, 64, 0 } }),
               (Lines { "90 3c 64", "91 40 5a" }));
    EXPECT_EQ (run.pedal.getHeldCount(), 2);
    // Struck again while held: its note-off first, then the new note; so one key, one voice.
    EXPECT_EQ (run.send ({ { 0x90, 60, 80 } }), (Lines { "80 3c 00", "90 3c 50" }));
    EXPECT_EQ (run.send ({ { 0x80, 60, 0 }, { 0xb0, 64, 0 } }), (Lines { "81 40 00", "80 3c 00" }));
    EXPECT_EQ (run.send ({ { 0x90, 62, 100 }, { 0x80, 62, 0 } }), (Lines { "90 3e 64", "80 3e 00" }));
}

TEST (SustainPedal, ReleasesTheOldestHeldNoteWhenEveryVoiceIsTaken)
{
    PedalRun run;
    run.send ({ { 0xb0, 64, 100 } });
    for (uint8_t note = 40; note < 50; ++note)
        run.send ({ { 0x90, note, 100 }, { 0x80, note, 0 } });
    EXPECT_EQ (run.pedal.getHeldCount(), 10);
    EXPECT_EQ (run.send ({ { 0x90, 70, 100 } }), (Lines { "80 28 00", "90 46 64" }));
    EXPECT_EQ (run.send ({ { 0x90, 71, 100 } }), (Lines { "80 29 00", "90 47 64" }));
}

TEST (SustainPedal, AllNotesOffForgetsHeldNotesAndTheModuleHearsOnlyWhatItKnows)
{
    PedalRun run;
    run.send ({ { 0xb0, 64, 127 }, { 0x90, 60, 100 }, { 0x80, 60, 0 } });
    EXPECT_EQ (run.send ({ { 0xb0, 123, 0 }, { 0xb0, 64, 0 } }), (Lines { "b0 7b 00" }));
    EXPECT_EQ (run.send ({ { 0xb2, 120, 0 } }), (Lines { "b2 7b 00" })); // all sound off, as the module knows it
    EXPECT_EQ (run.send ({ { 0xb0, 1, 90 }, { 0xe0, 0, 80 }, { 0xb0, 7, 100 }, { 0xa0, 60, 5 }, { 0xd0, 5, 0 } }),
               (Lines { "b0 01 5a", "e0 00 50" }));
    run.send ({ { 0xb0, 64, 127 }, { 0x90, 61, 100 }, { 0x80, 61, 0 } });
    EXPECT_EQ (run.send ({ { 0xb0, 121, 0 } }), (Lines { "80 3d 00", "b0 01 00", "e0 00 40" }));
    EXPECT_FALSE (run.pedal.isDown());
}
} // namespace quane::test
