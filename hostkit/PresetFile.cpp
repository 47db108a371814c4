// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Writing and reading opaque-chunk program and bank files.
#include "PresetFile.h"

#include "ToolError.h"

namespace quane::hostkit
{
namespace
{
constexpr juce::int32 fourCharacters (const char (&text)[5])
{
    return (juce::int32) (((juce::uint32) (juce::uint8) text[0] << 24) | ((juce::uint32) (juce::uint8) text[1] << 16)
                          | ((juce::uint32) (juce::uint8) text[2] << 8) | (juce::uint32) (juce::uint8) text[3]);
}

constexpr auto chunkMagic = fourCharacters ("CcnK");
constexpr auto programChunkMagic = fourCharacters ("FPCh");
constexpr auto bankChunkMagic = fourCharacters ("FBCh");
constexpr auto programListMagic = fourCharacters ("FxCk");
constexpr auto bankListMagic = fourCharacters ("FxBk");
constexpr juce::int32 formatVersion = 1;
constexpr int programNameBytes = 28;
constexpr int bankReservedBytes = 128;
constexpr int fixedHeaderBytes = 28; // magic to count, seven fields

/** Reads big-endian fields and fails with the file's name when the bytes run out. */
class FieldReader
{
public:
    FieldReader (const juce::MemoryBlock& source, size_t end, const juce::String& name)
        : bytes (source), limit (end), fileName (name)
    {
    }

    juce::int32 integer() { return (juce::int32) juce::ByteOrder::bigEndianInt (take (4)); }

    const char* take (size_t size)
    {
        if (position + size > limit)
            fail (ToolError::Kind::input, fileName + " is cut short: it ends inside its preset header or chunk");
        const auto* start = static_cast<const char*> (bytes.getData()) + position;
        position += size;
        return start;
    }

    size_t remaining() const noexcept { return limit - position; }

private:
    const juce::MemoryBlock& bytes;
    size_t limit, position = 0;
    juce::String fileName;
};
} // namespace

juce::MemoryBlock encodePreset (const PresetFile& preset)
{
    juce::MemoryOutputStream body;
    body.writeIntBigEndian (preset.isBank ? bankChunkMagic : programChunkMagic);
    body.writeIntBigEndian (formatVersion);
    body.writeIntBigEndian (preset.uniqueId);
    body.writeIntBigEndian (preset.moduleVersion);
    body.writeIntBigEndian (preset.count);

    if (preset.isBank)
    {
        body.writeRepeatedByte (0, bankReservedBytes);
    }
    else
    {
        char name[programNameBytes] = {};
        preset.programName.copyToUTF8 (name, programNameBytes); // always leaves a terminating zero
        body.write (name, programNameBytes);
    }

    body.writeIntBigEndian ((int) preset.chunk.size());
    body.write (preset.chunk.data(), preset.chunk.size());

    juce::MemoryOutputStream file;
    file.writeIntBigEndian (chunkMagic);
    file.writeIntBigEndian ((int) body.getDataSize());
    file << body.getMemoryBlock();
    return file.getMemoryBlock();
}

PresetFile decodePreset (const juce::MemoryBlock& bytes, const juce::String& fileName)
{
    FieldReader header (bytes, bytes.getSize(), fileName);
    if (bytes.getSize() < (size_t) fixedHeaderBytes || header.integer() != chunkMagic)
        fail (ToolError::Kind::input, fileName + " is not a VST preset file (it does not start with CcnK)");

    const auto byteSize = header.integer();
    if (byteSize < 0 || (size_t) byteSize > header.remaining())
        fail (ToolError::Kind::input, fileName + " is cut short: its header announces " + juce::String (byteSize)
                                          + " bytes, " + juce::String ((juce::int64) header.remaining()) + " follow");

    // From here on only the announced bytes count; anything after them is ignored.
    FieldReader reader (bytes, (size_t) byteSize + 8, fileName);
    reader.take (8);

    PresetFile preset;
    const auto kind = reader.integer();
    if (kind == programListMagic || kind == bankListMagic)
        fail (ToolError::Kind::input,
              fileName
                  + " holds a list of parameter values; this module stores its state as an opaque chunk (FPCh/FBCh)");
    if (kind != programChunkMagic && kind != bankChunkMagic)
        fail (ToolError::Kind::input, fileName + " is not a program or bank file (unknown kind after CcnK)");
    preset.isBank = kind == bankChunkMagic;

    const auto version = reader.integer();
    if (version < 1 || version > 2)
        fail (ToolError::Kind::input,
              fileName + " has preset format version " + juce::String (version) + "; versions 1 and 2 are read");

    preset.uniqueId = reader.integer();
    preset.moduleVersion = reader.integer();
    preset.count = reader.integer();

    if (preset.isBank)
    {
        reader.take (bankReservedBytes);
    }
    else
    {
        const auto* name = reader.take (programNameBytes);
        preset.programName = juce::String::fromUTF8 (name, (int) strnlen (name, programNameBytes));
    }

    const auto chunkSize = reader.integer();
    if (chunkSize < 0 || (size_t) chunkSize > reader.remaining())
        fail (ToolError::Kind::input, fileName + " is cut short: its chunk announces " + juce::String (chunkSize)
                                          + " bytes, " + juce::String ((juce::int64) reader.remaining()) + " follow");
    const auto* chunk = reinterpret_cast<const unsigned char*> (reader.take ((size_t) chunkSize));
    preset.chunk.assign (chunk, chunk + chunkSize);
    return preset;
}
} // namespace quane::hostkit
