// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The state chunk through effGetChunk and effSetChunk: layout, round trip and hostile bytes.
#include "tests/host/HostTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

namespace quane::test
{
namespace
{
unsigned int declaredLength (const std::vector<unsigned char>& chunk)
{
    return (unsigned int) chunk[4] | (unsigned int) chunk[5] << 8 | (unsigned int) chunk[6] << 16
           | (unsigned int) chunk[7] << 24;
}

std::string stateText (const std::string& attributes, const std::string& tag = "FOO1_SETTINGS_01")
{
    return "<" + tag + " " + attributes + "/>";
}

void expectAllFinite (Instance& instance)
{
    const auto values = instance.allValues();
    for (int i = 0; i < patch::valueCount; ++i)
        EXPECT_TRUE (std::isfinite (values[(size_t) i])) << "value " << i;
}
} // namespace

TEST (StateChunk, LayoutIsMagicLengthTextAndTerminator)
{
    Instance instance;
    const auto chunk = instance.getChunk();
    ASSERT_GT (chunk.size(), 10u);
    EXPECT_EQ (std::vector<unsigned char> (chunk.begin(), chunk.begin() + 4),
               (std::vector<unsigned char> { 0x56, 0x43, 0x32, 0x21 }));
    const auto n = declaredLength (chunk);
    EXPECT_EQ (chunk.size(), n + 10);
    EXPECT_EQ (chunk[8 + n], 0);

    const std::string text (chunk.begin() + 8, chunk.begin() + 8 + n);
    EXPECT_EQ (text.find ('\n'), std::string::npos);
    EXPECT_EQ (text.find ("<?xml"), std::string::npos);
    EXPECT_EQ (text.rfind ("<FOO1_SETTINGS_01 ", 0), 0u);
    EXPECT_NE (text.find ("1=\"0.999000013\""), std::string::npos);
    EXPECT_NE (text.find ("38=\"1\""), std::string::npos);
}

TEST (StateChunk, RoundTripsBitForBitIntoAnotherInstance)
{
    Instance source, target;
    source.dispatch (vst::effSetProgram, 0, 7);
    source.setParameter (6, 0.123456789f);
    source.setParameter (18, -0.3333333f);
    // Free values at the ends of the float range read back as themselves, not as infinities.
    source.setParameter (9, std::numeric_limits<float>::max());
    source.setParameter (2, -std::numeric_limits<float>::max());
    source.setParameter (4, std::numeric_limits<float>::denorm_min());
    const auto chunk = source.getChunk();
    target.setChunk (chunk);

    const auto expected = source.allValues(), restored = target.allValues();
    EXPECT_EQ (std::memcmp (expected.data(), restored.data(), expected.size() * sizeof (float)), 0);
    EXPECT_EQ (target.getChunk(), chunk);
    EXPECT_EQ (target.dispatch (vst::effGetProgram), 0);
}

TEST (StateChunk, LengthBeyondTheBytesIsCutToTheBytes)
{
    std::string text = stateText ("0=\"0.25\"");
    text.resize (100, ' ');
    Instance instance;
    instance.setChunk (makeChunkDeclaring (text, 1000)); // exactly 108 bytes, no terminator
    EXPECT_EQ (instance.getParameter (0), 0.25f);
}

TEST (StateChunk, UnreadableChunksChangeNothing)
{
    Instance instance;
    instance.setParameter (6, 0.5f);
    const auto before = instance.allValues();

    auto wrongMagic = makeChunk (stateText ("6=\"0.1\""));
    wrongMagic[0] = 0x57;
    auto emptyLength = makeChunk (stateText ("6=\"0.1\""));
    std::memset (emptyLength.data() + 4, 0, 4);
    auto headerOnly = makeChunk (stateText ("6=\"0.1\""));
    headerOnly.resize (8);
    const std::vector<std::vector<unsigned char>> unreadable = {
        headerOnly,
        wrongMagic,
        emptyLength,
        makeChunk (stateText ("6=\"0.1\"", "OTHER_PLUGIN")),
        makeChunk ("<FOO1_SETTINGS_01 6=\"0.1\""),
        makeChunk ("<FOO1_SETTINGS_01 6=\"0.1\" 7=\"0.2"),
        makeChunk ("<FOO1_SETTINGS_01 6=\"0.1\" /"),
        makeChunk ("not xml at all"),
        // A processing instruction followed by text inside an element, which the XML parser
        // would loop on for ever.
        makeChunk ("<FOO1_SETTINGS_01 6=\"0.1\"><?\?>></FOO1_SETTINGS_01>"),
        makeChunk ("<FOO1_SETTINGS_01 6=\"0.1\"><?x?>text</FOO1_SETTINGS_01>"),
    };
    for (size_t i = 0; i < unreadable.size(); ++i)
    {
        SCOPED_TRACE (i);
        instance.setChunk (unreadable[i]);
        EXPECT_EQ (instance.allValues(), before);
    }
    instance.dispatch (vst::effSetChunk, 0, 100, nullptr);
    instance.dispatch (vst::effSetChunk, 0, -5, const_cast<unsigned char*> (wrongMagic.data()));
    EXPECT_EQ (instance.allValues(), before);

    // A declaration before the element is read past.
    instance.setChunk (makeChunk ("<?xml version=\"1.0\"?>" + stateText ("6=\"0.1\"")));
    EXPECT_EQ (instance.getParameter (6), 0.1f);
}

TEST (StateChunk, StatesUpToTheBoundsReadAsTheyAlwaysDid)
{
    Instance source, target;
    source.dispatch (vst::effSetProgram, 0, 5);
    const auto saved = source.getChunk();
    const std::string savedText (saved.begin() + 8, saved.begin() + 8 + declaredLength (saved));
    const auto savedAttributes = savedText.substr (18, savedText.size() - 20); // inside "<FOO1_SETTINGS_01 " "/>"

    // 960 attributes of no meaning, the 39 and a second "6" make 1,000; the first "6" counts.
    std::string others;
    for (int i = 0; i < 960; ++i)
        others += "x" + std::to_string (i) + "=\"1\" ";
    const auto thousand = others + savedAttributes + " 6=\"0.1\"";
    target.setChunk (makeChunk (stateText (thousand)));
    EXPECT_EQ (target.allValues(), source.allValues());

    // Text of exactly 16 KB is read; a byte more is refused.
    auto padded = stateText ("6=\"0.25\"");
    padded.insert (padded.size() - 2, 16 * 1024 - padded.size(), ' ');
    target.setChunk (makeChunk (padded));
    EXPECT_EQ (target.getParameter (6), 0.25f);
    padded.insert (padded.size() - 2, 1, ' ');
    target.setChunk (makeChunk (padded));
    EXPECT_EQ (target.getParameter (6), 0.25f);
    target.setChunk (makeChunk (stateText ("x=\"1\" " + thousand)));
    EXPECT_EQ (target.getParameter (6), 0.25f) << "1,001 attributes were read";
}

TEST (StateChunk, OversizedStatesAreRefusedWithinMilliseconds)
{
    auto attributes = [] (int count, const std::string& between = " ") {
        std::string text;
        for (int i = 0; i < count; ++i)
            text += "a" + std::to_string (i) + "=''" + between;
        return text + "6=\"0.1\"";
    };
    // The parser skips comments between attributes, so they hide nothing from the count.
    const auto behindComments = stateText (attributes (1000, "<!--> -->"));
    ASSERT_LT (behindComments.size(), 16u * 1024u);
    std::string entities (1 << 20, ' ');
    for (size_t i = 0; i + 4 <= entities.size(); i += 4)
        entities.replace (i, 4, "&lt;");

    Instance instance;
    const auto before = instance.allValues();
    for (const auto& text : { stateText (attributes (10000)), stateText (attributes (30000)), behindComments,
                              stateText ("6=\"" + entities + "\"") })
    {
        const auto chunk = makeChunk (text);
        const auto milliseconds = bestMilliseconds (3, [&] { instance.setChunk (chunk); });
        EXPECT_LT (milliseconds, 10.0) << chunk.size() << " bytes";
        EXPECT_EQ (instance.allValues(), before);
    }
}

TEST (StateChunk, ValuesAreReadAndClampedByTheirClass)
{
    Instance instance;
    instance.setChunk (
        makeChunk (stateText ("6=\"1.5\" 18=\"-2\" 4=\"24\" 0=\" 0.25\" 1=\"abc\"", "foo1_settings_01")));
    EXPECT_EQ (instance.getParameter (6), 0.999f);
    EXPECT_EQ (instance.getParameter (18), -1.0f);
    EXPECT_EQ (instance.getParameter (4), 24.0f);
    EXPECT_EQ (instance.getParameter (0), 0.25f);
    EXPECT_EQ (instance.getParameter (1), 0.001f);

    instance.setChunk (makeChunk (stateText ("3=\"1\"")));
    EXPECT_EQ (instance.getParameter (3), 1.0f);
    EXPECT_EQ (instance.getParameter (0), 0.001f);
    EXPECT_EQ (instance.getParameter (18), 0.0f);
}

TEST (StateChunk, NonFiniteTextNeverEntersThePatch)
{
    Instance instance;
    instance.setChunk (
        makeChunk (stateText ("0=\"nan\" 3=\"inf\" 4=\"1e999\" 6=\"-1e999\" 30=\"NaN\" 18=\"-inf\" 31=\"1e39\"")));
    expectAllFinite (instance);
    EXPECT_EQ (instance.getParameter (0), 0.001f);

    instance.resume();
    instance.noteOn (60);
    const auto samples = instance.render (2048);
    for (size_t i = 0; i < samples.size(); ++i)
        ASSERT_TRUE (std::isfinite (samples[i])) << "sample " << i;
}

TEST (StateChunk, HostileBytesNeverCrashNorCorruptThePatch)
{
    Instance instance;
    std::mt19937 random (1234);
    std::uniform_int_distribution<int> byte (0, 255);

    for (int round = 0; round < 300; ++round)
    {
        SCOPED_TRACE (round);
        std::vector<unsigned char> bytes ((size_t) (round * 7 % 400 + 1));
        for (auto& b : bytes)
            b = (unsigned char) byte (random);
        if (round % 2 == 0 && bytes.size() >= 8)
        {
            const unsigned int huge = round % 4 == 0 ? 0xFFFFFFFFu : (unsigned int) random();
            const auto header = makeChunkDeclaring ("", huge);
            std::copy (header.begin(), header.end(), bytes.begin());
        }
        instance.setChunk (bytes);
        expectAllFinite (instance);
    }

    // Nesting deep enough to exhaust any stack, plainly and hidden from a naive tag count.
    std::string nested, hidden;
    for (int i = 0; i < 200000; ++i)
    {
        nested += "<a>";
        hidden += "<a x=\"/>\">";
    }
    const std::string entityLoop = "<!DOCTYPE FOO1_SETTINGS_01 [<!ENTITY e \"&e;&e;\">]><FOO1_SETTINGS_01 0=\"&e;\"/>";
    for (const auto& text : { nested, hidden, "<FOO1_SETTINGS_01>" + nested, entityLoop })
    {
        instance.setChunk (makeChunk (text));
        expectAllFinite (instance);
    }
}
} // namespace quane::test
