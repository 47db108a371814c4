// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The binary wrapping of the state element that the host stores with its projects.
#include "host/ChunkFormat.h"

#include <algorithm>
#include <cstring>

namespace quane
{
namespace
{
// The state is one flat element. The parser recurses once per nesting level, so a hostile chunk
// of nested tags could exhaust the stack: every level opens with a '<' that starts no closing tag,
// comment or declaration, so their count bounds the depth whatever the quoting.
constexpr int maximumElementStarts = 64;

int elementStartCount (const char* text, size_t length)
{
    int count = 0;
    for (size_t i = 0; i < length; ++i)
        if (text[i] == '<' && (i + 1 == length || (text[i + 1] != '/' && text[i + 1] != '!' && text[i + 1] != '?')))
            ++count;
    return count;
}

// A document type may declare entities that expand into elements or into themselves; the state
// never carries one.
bool hasDocumentType (const char* text, size_t length)
{
    static constexpr char marker[] = "<!DOCTYPE";
    return std::search (text, text + length, marker, marker + sizeof (marker) - 1) != text + length;
}

// The parser loops for ever on a processing instruction followed by text inside an element
// (`<A><?x?>text</A>`). The state carries none; one before the first element (a declaration)
// does no harm and passes.
bool hasProcessingInstructionInsideElement (const char* text, size_t length)
{
    const char* const end = text + length;
    const char* element = std::find (text, end, '<');
    while (element != end && element + 1 != end && (element[1] == '?' || element[1] == '!'))
        element = std::find (element + 1, end, '<');

    static constexpr char marker[] = "<?";
    return element != end && std::search (element, end, marker, marker + sizeof (marker) - 1) != end;
}

juce::String bytesToString (const char* bytes, size_t length)
{
    if (juce::CharPointer_UTF8::isValidString (bytes, (int) length))
        return juce::String::fromUTF8 (bytes, (int) length);

    // Not UTF-8: one character per byte, as an 8-bit code page would give.
    juce::String text;
    text.preallocateBytes (length * 2);
    for (size_t i = 0; i < length; ++i)
        text += juce::String::charToString ((juce::juce_wchar) (unsigned char) bytes[i]);
    return text;
}
} // namespace

void xmlToChunk (const juce::XmlElement& element, juce::MemoryBlock& destination)
{
    auto format = juce::XmlElement::TextFormat().singleLine().withoutHeader();
    format.customEncoding = "UTF-8";
    const juce::String text = element.toString (format);

    const auto length = (size_t) text.length();
    destination.setSize (length + chunkHeaderSize + 2, false);

    auto* bytes = static_cast<char*> (destination.getData());
    const juce::uint32 header[2] = { juce::ByteOrder::swapIfBigEndian (chunkMagic),
                                     juce::ByteOrder::swapIfBigEndian ((juce::uint32) length) };
    std::memcpy (bytes, header, sizeof (header));

    const char* utf8 = text.toRawUTF8();
    std::memcpy (bytes + chunkHeaderSize, utf8, juce::jmin (length, std::strlen (utf8)));
    bytes[chunkHeaderSize + length] = 0;
    bytes[chunkHeaderSize + length + 1] = 0;
}

std::unique_ptr<juce::XmlElement> chunkToXml (const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes <= (int) chunkHeaderSize)
        return nullptr;

    const auto* bytes = static_cast<const char*> (data);
    if (juce::ByteOrder::littleEndianInt (bytes) != chunkMagic)
        return nullptr;

    const auto declaredLength = (size_t) juce::ByteOrder::littleEndianInt (bytes + 4);
    if (declaredLength == 0)
        return nullptr;

    const size_t available = juce::jmin (declaredLength, (size_t) sizeInBytes - chunkHeaderSize);
    const char* text = bytes + chunkHeaderSize;
    const size_t length = (size_t) (std::find (text, text + available, '\0') - text);

    if (elementStartCount (text, length) > maximumElementStarts || hasDocumentType (text, length)
        || hasProcessingInstructionInsideElement (text, length))
        return nullptr;

    // The parser accepts an element cut off inside its opening tag (`<TAG 0="1"`) without an
    // error; a truncated chunk would then set every missing value to 0.
    const char* last = text + length;
    while (last > text && juce::CharacterFunctions::isWhitespace (last[-1]))
        --last;
    if (last == text || last[-1] != '>')
        return nullptr;

    return juce::XmlDocument::parse (bytesToString (text, length));
}
} // namespace quane
