// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The voice pool against a voice double: block arithmetic, assignment, stealing and fan-out.
#include "engine/PatchValueTable.h"
#include "engine/SynthEngine.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace quane
{
namespace
{
struct StartCall
{
    float frequencyHz, velocity;
    int note, delay;
    float sampleRate;
};

/** Records every call. While active, voice 0 writes a running sample count into its first array
    and its negation into its second, so the engine's output shows every rendered sample's order. */
class RecordingVoice : public Voice
{
public:
    RecordingVoice (int voiceIndex, int& sampleCounter, int& chunkCounter)
        : index (voiceIndex), samples (sampleCounter), chunks (chunkCounter)
    {
    }

    void start (float frequencyHz, float velocity, int noteNumber, int delay, float sampleRate) override
    {
        starts.push_back ({ frequencyHz, velocity, noteNumber, delay, sampleRate });
        note = noteNumber;
        active = true;
        released = false;
    }

    void release (int delay) override
    {
        releases.push_back (delay);
        released = true;
    }

    void refresh (int patchIndex) override { refreshes.push_back (patchIndex); }

    void renderChunk (float* first, float* second) override
    {
        lastFirst = first;
        lastSecond = second;
        if (index == 0)
            ++chunks;
        if (! active || index != 0)
            return;
        for (int i = 0; i < chunkSize; ++i)
        {
            const float value = (float) ++samples;
            first[i] += value;
            second[i] -= value;
        }
    }

    const int index;
    int& samples;
    int& chunks;
    std::vector<StartCall> starts;
    std::vector<int> releases, refreshes;
    float* lastFirst = nullptr;
    float* lastSecond = nullptr;
};

PatchProgram testProgram()
{
    PatchProgram program { "Test", {} };
    for (int i = 0; i < patch::valueCount; ++i)
        program.values[i] = 0.5f;
    program.values[patch::octave] = 2.0f;
    return program;
}

class EngineFixture : public ::testing::Test
{
protected:
    EngineFixture()
        : program (testProgram()), engine (44100.0f, { &program, 1 }, [this] (float, const PatchParams&) {
              auto voice = std::make_unique<RecordingVoice> ((int) doubles.size(), samplesWritten, chunksRendered);
              doubles.push_back (voice.get());
              return std::unique_ptr<Voice> (std::move (voice));
          })
    {
        engine.loadProgram (0);
    }

    RecordingVoice& voice (int i) { return *doubles[(size_t) i]; }

    /** Renders one block and appends its left channel to the collected output. */
    void render (int numSamples)
    {
        std::vector<float> left ((size_t) numSamples, 0.0f), right ((size_t) numSamples, 0.0f);
        engine.renderBlock (left.data(), right.data(), numSamples);
        for (int i = 0; i < numSamples; ++i)
        {
            ASSERT_EQ (right[(size_t) i], -left[(size_t) i]) << "sample " << i;
            collected.push_back (left[(size_t) i]);
        }
    }

    void expectCollectedInOrder()
    {
        for (size_t i = 0; i < collected.size(); ++i)
            ASSERT_EQ (collected[i], (float) (i + 1)) << "output sample " << i;
    }

    PatchProgram program;
    std::vector<RecordingVoice*> doubles;
    int samplesWritten = 0;
    int chunksRendered = 0;
    SynthEngine engine;
    std::vector<float> collected;
};

TEST_F (EngineFixture, WorkedSequenceOfTwoBlocksOf100)
{
    engine.noteOn (69, 100, 0);
    render (100);
    EXPECT_EQ (chunksRendered, 7); // six chunks and the carry chunk
    EXPECT_EQ (engine.getCarriedCount(), 12);
    render (100);
    EXPECT_EQ (chunksRendered, 7 + 6); // five chunks and a new carry chunk
    EXPECT_EQ (engine.getCarriedCount(), 8);
    expectCollectedInOrder();
    EXPECT_EQ (samplesWritten, 13 * 16);
}

TEST_F (EngineFixture, BlockBoundaryCases)
{
    engine.noteOn (60, 100, 0);

    // n = 0 on a fresh engine: nothing delivered, one chunk rendered ahead.
    render (0);
    EXPECT_EQ (chunksRendered, 1);
    EXPECT_EQ (engine.getCarriedCount(), 16);

    // A multiple of 16 with 16 carried: the carried chunk, n/16 - 1 fresh chunks, none of the new carry.
    render (64);
    EXPECT_EQ (chunksRendered, 1 + 3 + 1);
    EXPECT_EQ (engine.getCarriedCount(), 16);

    // n = c: only the carried samples; a new carry chunk and c = 16.
    render (16);
    EXPECT_EQ (chunksRendered, 5 + 1);
    EXPECT_EQ (engine.getCarriedCount(), 16);

    // n < c: the oldest carried samples, no rendering, the rest still waiting.
    render (5);
    EXPECT_EQ (chunksRendered, 6);
    EXPECT_EQ (engine.getCarriedCount(), 11);
    render (0);
    EXPECT_EQ (engine.getCarriedCount(), 11);
    render (11);
    EXPECT_EQ (engine.getCarriedCount(), 16);
    expectCollectedInOrder();
}

TEST_F (EngineFixture, AnySequenceOfBlockSizesDeliversEverySampleOnceInOrder)
{
    engine.noteOn (60, 100, 0);
    std::mt19937 random (1234);
    std::uniform_int_distribution<int> size (0, 70);
    for (int block = 0; block < 400; ++block)
    {
        render (size (random));
        ASSERT_GE (engine.getCarriedCount(), 1);
        ASSERT_LE (engine.getCarriedCount(), 16);
    }
    expectCollectedInOrder();
    EXPECT_EQ (samplesWritten, (int) collected.size() + engine.getCarriedCount());
}

TEST_F (EngineFixture, EvenVoicesGetLeftFirstAndOddVoicesRightFirst)
{
    float left[16] = {}, right[16] = {};
    engine.renderBlock (left, right, 0);
    for (int i = 0; i < voiceCount; ++i)
    {
        SCOPED_TRACE (i);
        EXPECT_NE (voice (i).lastFirst, nullptr);
        EXPECT_EQ (voice (i).lastFirst, voice (i % 2).lastFirst);
        EXPECT_EQ (voice (i).lastSecond, voice (i % 2).lastSecond);
    }
    EXPECT_EQ (voice (0).lastFirst, voice (1).lastSecond);
    EXPECT_EQ (voice (0).lastSecond, voice (1).lastFirst);
}

TEST_F (EngineFixture, NoteOnTakesFirstFreeVoiceWithTranspositionAndFrequency)
{
    engine.noteOn (69, 127, 100);
    ASSERT_EQ (voice (0).starts.size(), 1u);
    const auto& call = voice (0).starts[0];
    EXPECT_EQ (call.note, 69);
    EXPECT_EQ (call.frequencyHz, 220.0f); // sounds at twice this
    EXPECT_EQ (call.velocity, 1.0f);
    EXPECT_EQ (call.delay, 100);
    EXPECT_EQ (call.sampleRate, 44100.0f);

    engine.setPatchValue (patch::octave, 1.0f);
    engine.noteOn (60, 64, 0);
    ASSERT_EQ (voice (1).starts.size(), 1u);
    EXPECT_EQ (voice (1).starts[0].note, 48);
    EXPECT_FLOAT_EQ (voice (1).starts[0].velocity, 64.0f / 127.0f);

    engine.setPatchValue (patch::octave, 3.0f);
    engine.noteOn (60, 1, 0);
    EXPECT_EQ (voice (2).starts[0].note, 72);
    EXPECT_NEAR (SynthEngine::halfPitchHz (60), 130.8128, 1e-3);

    // -12 x Octave is a float product: 0.416666657 gives -5 (in double it would give -4).
    engine.setPatchValue (patch::octave, 0.416666657f);
    EXPECT_EQ (engine.transposedNote (60), 41);
}

TEST_F (EngineFixture, ExtremeOctaveValuesTransposeWithoutOverflow)
{
    for (const float octave : { 1e10f, -1e12f, 3.0e38f, -3.0e38f })
    {
        engine.setPatchValue (patch::octave, octave);
        const int note = engine.transposedNote (60);
        EXPECT_EQ (note, octave > 0 ? (1 << 20) : -(1 << 20)) << octave;
    }
}

TEST_F (EngineFixture, EleventhNoteIsDroppedWhileTenAreHeld)
{
    for (int i = 0; i < 10; ++i)
        engine.noteOn (40 + i, 100, 0);
    engine.noteOn (90, 100, 0);
    for (int i = 0; i < 10; ++i)
    {
        SCOPED_TRACE (i);
        ASSERT_EQ (voice (i).starts.size(), 1u);
        EXPECT_EQ (voice (i).getNote(), 40 + i);
    }
}

TEST_F (EngineFixture, EleventhNoteStealsTheFirstReleasingVoice)
{
    for (int i = 0; i < 10; ++i)
        engine.noteOn (40 + i, 100, 0);
    engine.noteOff (47, 3);
    engine.noteOff (43, 5);
    engine.noteOn (90, 100, 7);

    EXPECT_EQ (voice (3).starts.size(), 2u);
    EXPECT_EQ (voice (3).getNote(), 90);
    EXPECT_FALSE (voice (3).isReleased());
    EXPECT_EQ (voice (7).starts.size(), 1u);
    EXPECT_TRUE (voice (7).isReleased());
}

TEST_F (EngineFixture, NoteOffReleasesEveryHolderAndNothingElse)
{
    engine.noteOn (60, 100, 0);
    engine.noteOn (60, 100, 0);
    engine.noteOn (62, 100, 0);
    engine.noteOff (60, 20);
    EXPECT_EQ (voice (0).releases, std::vector<int> { 20 });
    EXPECT_EQ (voice (1).releases, std::vector<int> { 20 });
    EXPECT_TRUE (voice (2).releases.empty());

    engine.noteOff (99, 0);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ (voice (i).releases.size(), i < 2 ? 1u : 0u) << i;
}

TEST_F (EngineFixture, RefreshFanOutAndSilencing)
{
    for (int i = 0; i < 3; ++i)
        engine.noteOn (60 + i, 100, 0);

    engine.refreshVoices (patch::cutoff);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ (voice (i).refreshes.back(), patch::cutoff) << i;
    EXPECT_TRUE (voice (0).isActive());

    // Octave never reaches a voice: the engine silences them all.
    const auto refreshesBefore = voice (0).refreshes.size();
    engine.refreshVoices (patch::octave);
    EXPECT_EQ (voice (0).refreshes.size(), refreshesBefore);
    for (int i = 0; i < 10; ++i)
        EXPECT_FALSE (voice (i).isActive()) << i;

    engine.noteOn (60, 100, 0);
    voice (0).refreshes.clear();
    EXPECT_TRUE (engine.loadProgram (0));
    EXPECT_FALSE (voice (0).isActive());
    ASSERT_EQ (voice (0).refreshes.size(), (size_t) patch::valueCount);
    for (int index = 0; index < patch::valueCount; ++index)
        EXPECT_EQ (voice (0).refreshes[(size_t) index], index);
}

TEST_F (EngineFixture, LoadProgramRejectsUnknownNumbersAndKeepsWheels)
{
    engine.getPatch()[patch::modwheelPosition] = 0.25f;
    engine.getPatch()[patch::pitchBend] = -0.5f;
    engine.setPatchValue (patch::cutoff, 0.9f);
    engine.noteOn (60, 100, 0);

    EXPECT_FALSE (engine.loadProgram (1));
    EXPECT_FALSE (engine.loadProgram (-1));
    EXPECT_EQ (engine.getPatch()[patch::cutoff], 0.9f);
    EXPECT_TRUE (voice (0).isActive());

    EXPECT_TRUE (engine.loadProgram (0));
    EXPECT_EQ (engine.getPatch()[patch::cutoff], 0.5f);
    EXPECT_EQ (engine.getPatch()[patch::modwheelPosition], 0.25f);
    EXPECT_EQ (engine.getPatch()[patch::pitchBend], -0.5f);
}

TEST (PatchClamping, ClassesLimitValuesWithStrictComparisons)
{
    using namespace patch;
    EXPECT_EQ (clampToClass (phase, 0.0f), unitMinimum);
    EXPECT_EQ (clampToClass (phase, 1.0f), unitMaximum);
    EXPECT_EQ (clampToClass (phase, 0.5f), 0.5f);
    EXPECT_EQ (clampToClass (ampRelease, unitMinimum), unitMinimum);
    EXPECT_EQ (clampToClass (env1Depth, -3.0f), -1.0f);
    EXPECT_EQ (clampToClass (modwheelDepth, 2.0f), 1.0f);
    EXPECT_EQ (clampToClass (env1Depth, 0.0f), 0.0f);
    for (const int freeIndex : { 2, 3, 4, 9, 30, 31, 32, 33, 34, 35, 36, 37, 38 })
        EXPECT_EQ (clampToClass (freeIndex, 7.0f), 7.0f) << freeIndex;
    for (const int unitIndex : { 0, 1, 5, 6, 7, 8, 10, 11, 12, 13, 14, 15, 16, 17, 19, 20, 21, 22, 24, 26 })
        EXPECT_EQ (clampClassOf (unitIndex), ClampClass::unit) << unitIndex;
}

TEST (PatchClamping, SelectorItemsAndSaturatingTruncation)
{
    EXPECT_EQ (selectorItem (2.9f, 9), 2);
    EXPECT_EQ (selectorItem (0.0f, 9), 1);
    EXPECT_EQ (selectorItem (12.0f, 9), 1);
    EXPECT_EQ (selectorItem (-1e12f, 8), 1);
    EXPECT_EQ (selectorItem (8.0f, 8), 8);
    EXPECT_EQ (truncateToInt (-2.5), -2);
    EXPECT_EQ (truncateToInt (1e300), 1 << 30);
    EXPECT_EQ (truncateToInt (-1e300), -(1 << 30));
    EXPECT_EQ (truncateToInt (std::nan ("")), 0);
}
} // namespace
} // namespace quane
