// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Golden renders: a fixed phrase with each factory program, compared bit for bit with references.
//
// tests/golden holds, for every program and the rates 44100, 48000 and 96000 Hz, the phrase
// rendered in blocks of 301 samples as a 32-bit float stereo WAV, and in digests.txt a digest of
// the same phrase rendered in blocks of 64 (the block size moves where events take effect, so each
// block size has its own reference). After a deliberate change of the sound, rewrite them with
// QUANE_UPDATE_GOLDEN=1 set in the environment and review the difference.
#include "TestSupport.h"

#include "plugin/FactoryPrograms.h"
#include "tests/common/GoldenPhrase.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

namespace quane
{
namespace
{
using test::goldenPhrase;
using test::goldenPhraseBlock;
using test::goldenPhraseLength;

constexpr int sampleRates[] = { 44100, 48000, 96000 };
constexpr int phraseLength = goldenPhraseLength;
constexpr int referenceBlockSize = 301; // odd, so chunks and blocks never line up
constexpr int digestBlockSize = 64;

/** Renders the phrase through the model's processing entry; returns interleaved stereo. */
std::vector<float> renderPhrase (int program, int sampleRate, int blockSize)
{
    MyPlugJuceFilter model;
    model.beginPlayback (sampleRate, blockSize);
    model.selectProgram (program);

    const auto events = goldenPhrase();
    std::vector<float> interleaved;
    interleaved.reserve ((size_t) phraseLength * 2);

    for (int start = 0; start < phraseLength; start += blockSize)
    {
        const int length = std::min (blockSize, phraseLength - start);
        auto midi = goldenPhraseBlock (events, start, length);
        const auto block = test::renderThroughModel (model, length, midi);
        for (int i = 0; i < length; ++i)
        {
            interleaved.push_back (block[(size_t) i]);
            interleaved.push_back (block[(size_t) (length + i)]);
        }
    }
    return interleaved;
}

std::filesystem::path goldenFolder()
{
    return std::filesystem::path (QUANE_SOURCE_DIR) / "tests" / "golden";
}

std::string renderName (int program, int sampleRate)
{
    return std::string ("program-") + (program < 10 ? "0" : "") + std::to_string (program) + "-"
           + std::to_string (sampleRate);
}

std::filesystem::path referencePath (int program, int sampleRate)
{
    return goldenFolder() / (renderName (program, sampleRate) + ".wav");
}

std::filesystem::path digestPath()
{
    return goldenFolder() / "digests.txt";
}

/** FNV-1a over the samples' bit patterns, little-endian: equal digests mean equal renders. */
std::string digestOf (const std::vector<float>& interleaved)
{
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (float sample : interleaved)
    {
        std::uint32_t bits;
        std::memcpy (&bits, &sample, sizeof bits);
        for (int i = 0; i < 4; ++i)
            hash = (hash ^ ((bits >> (8 * i)) & 0xff)) * 0x100000001b3ull;
    }
    char text[17];
    std::snprintf (text, sizeof text, "%016" PRIx64, hash);
    return text;
}

std::map<std::string, std::string> readDigests()
{
    std::map<std::string, std::string> digests;
    std::ifstream file (digestPath());
    std::string name, digest;
    while (file >> name >> digest)
        digests[name] = digest;
    return digests;
}

void writeDigests (const std::map<std::string, std::string>& digests)
{
    std::ofstream file (digestPath());
    for (const auto& [name, digest] : digests)
        file << name << ' ' << digest << '\n';
}

void putLittleEndian (std::string& bytes, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.push_back ((char) ((value >> (8 * i)) & 0xff));
}

/** A canonical 44-byte-header WAV of 32-bit float stereo samples. */
void writeWav (const std::filesystem::path& path, const std::vector<float>& interleaved, int sampleRate)
{
    const auto dataBytes = (std::uint32_t) (interleaved.size() * sizeof (float));
    std::string header = "RIFF";
    putLittleEndian (header, 36 + dataBytes, 4);
    header += "WAVEfmt ";
    putLittleEndian (header, 16, 4);
    putLittleEndian (header, 3, 2); // IEEE float
    putLittleEndian (header, 2, 2);
    putLittleEndian (header, sampleRate, 4);
    putLittleEndian (header, sampleRate * 2 * 4, 4);
    putLittleEndian (header, 2 * 4, 2);
    putLittleEndian (header, 32, 2);
    header += "data";
    putLittleEndian (header, dataBytes, 4);

    std::ofstream file (path, std::ios::binary);
    file.write (header.data(), (std::streamsize) header.size());
    for (float sample : interleaved)
    {
        std::uint32_t bits;
        std::memcpy (&bits, &sample, sizeof bits);
        std::string word;
        putLittleEndian (word, bits, 4);
        file.write (word.data(), 4);
    }
}

/** Reads a file written by writeWav; empty if it is missing or not of that form. */
std::vector<float> readWav (const std::filesystem::path& path)
{
    std::ifstream file (path, std::ios::binary);
    std::string bytes ((std::istreambuf_iterator<char> (file)), std::istreambuf_iterator<char>());
    if (bytes.size() < 44 || bytes.compare (0, 4, "RIFF") != 0 || bytes.compare (36, 4, "data") != 0)
        return {};

    std::vector<float> samples ((bytes.size() - 44) / 4);
    for (size_t i = 0; i < samples.size(); ++i)
    {
        std::uint32_t bits = 0;
        for (int b = 3; b >= 0; --b)
            bits = (bits << 8) | (unsigned char) bytes[44 + 4 * i + (size_t) b];
        std::memcpy (&samples[i], &bits, sizeof bits);
    }
    return samples;
}

bool updating()
{
    const char* flag = std::getenv ("QUANE_UPDATE_GOLDEN");
    return flag != nullptr && std::string (flag) == "1";
}

/** Checks a render against its reference: finite, not silent, and equal to the last bit. */
void expectMatchesReference (const std::vector<float>& rendered, const std::filesystem::path& path, int sampleRate)
{
    ASSERT_EQ (rendered.size(), (size_t) phraseLength * 2);

    // Whatever the references say, a program must sound and stay finite.
    double peak = 0.0;
    for (float sample : rendered)
    {
        ASSERT_TRUE (std::isfinite (sample));
        peak = std::max (peak, (double) std::fabs (sample));
    }
    EXPECT_GT (peak, 0.01);

    if (updating())
    {
        std::filesystem::create_directories (path.parent_path());
        writeWav (path, rendered, sampleRate);
        std::printf ("QUANE_UPDATE_GOLDEN=1: rewrote %s\n", path.string().c_str());
        return;
    }

    const auto reference = readWav (path);
    ASSERT_EQ (reference.size(), rendered.size())
        << "missing or unreadable reference; run the test with QUANE_UPDATE_GOLDEN=1 to write it";

    size_t mismatches = 0, firstMismatch = 0;
    double worst = 0.0;
    for (size_t i = 0; i < rendered.size(); ++i)
    {
        if (std::memcmp (&rendered[i], &reference[i], sizeof (float)) != 0)
            firstMismatch = mismatches++ == 0 ? i : firstMismatch;
        worst = std::max (worst, std::fabs ((double) rendered[i] - (double) reference[i]));
    }
    EXPECT_EQ (mismatches, 0u) << "first at frame " << firstMismatch / 2
                               << (firstMismatch % 2 == 0 ? " left" : " right") << ", largest difference " << worst;
}

TEST (GoldenRender, EveryFactoryProgramMatchesItsReferenceAtEveryRate)
{
    for (int sampleRate : sampleRates)
        for (int program = 0; program < factoryProgramCount; ++program)
        {
            const auto path = referencePath (program, sampleRate);
            SCOPED_TRACE ("program " + std::to_string (program) + " \"" + factoryPrograms().programs[program].name
                          + "\" at " + std::to_string (sampleRate) + " Hz, reference " + path.string());
            expectMatchesReference (renderPhrase (program, sampleRate, referenceBlockSize), path, sampleRate);
        }
}

TEST (GoldenRender, SmallerBlocksMatchTheirDigests)
{
    auto digests = readDigests();
    for (int sampleRate : sampleRates)
        for (int program = 0; program < factoryProgramCount; ++program)
        {
            const auto name = renderName (program, sampleRate) + "-block" + std::to_string (digestBlockSize);
            SCOPED_TRACE (name);
            const auto digest = digestOf (renderPhrase (program, sampleRate, digestBlockSize));
            if (updating())
                digests[name] = digest;
            else
                EXPECT_EQ (digest, digests[name]) << "no digest or a different render; see " << digestPath().string();
        }

    if (updating())
        writeDigests (digests);
}

TEST (GoldenRender, TheReferenceFileFormatReadsBackExactly)
{
    const std::vector<float> samples { 0.0f, -0.0f, 1.0f, -1.0e-30f, 0.123456789f, -3.4e38f };
    const auto path = std::filesystem::temp_directory_path() / "quane-golden-format-check.wav";
    writeWav (path, samples, 44100);
    const auto back = readWav (path);
    std::filesystem::remove (path);
    ASSERT_EQ (back.size(), samples.size());
    EXPECT_EQ (std::memcmp (back.data(), samples.data(), samples.size() * sizeof (float)), 0);
}

TEST (GoldenRender, RenderingIsRepeatable)
{
    // The references only mean something if two renders of one program agree to the bit.
    const auto first = renderPhrase (3, 48000, referenceBlockSize);
    const auto second = renderPhrase (3, 48000, referenceBlockSize);
    EXPECT_EQ (std::memcmp (first.data(), second.data(), first.size() * sizeof (float)), 0);
}
} // namespace
} // namespace quane
