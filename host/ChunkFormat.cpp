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
// A state we write is about 520 bytes of text; 16 KB is thirty times that. The bound keeps the
// parser within milliseconds whatever a host or a shared preset hands over: it copies an attribute
// value whole for each entity in it, so its time grows with the square of such a value's length
// (40 ms for 64 KB of entities, 2.5 ms for 16 KB).
constexpr size_t maximumTextBytes = 16 * 1024;

// Ours carries 39 attributes. The parser enters every attribute name into the library's sorted pool
// of names, moving the entries after it, so thousands of them cost far more than any state needs.
constexpr int maximumAttributesPerElement = 1000;

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

// The parser reads an element's attributes as name = quoted value up to its '>', skipping comments
// between them; every attribute has its '=' outside quotes, so those count the attributes.
int mostAttributesInOneElement (const char* text, size_t length)
{
    int most = 0;
    for (size_t i = 0; i < length; ++i)
    {
        if (text[i] != '<' || (i + 1 < length && (text[i + 1] == '/' || text[i + 1] == '!' || text[i + 1] == '?')))
            continue;

        int count = 0;
        char quote = 0;
        for (++i; i < length && (quote != 0 || text[i] != '>'); ++i)
        {
            const char c = text[i];
            if (quote != 0)
                quote = c == quote ? 0 : quote;
            else if (c == '"' || c == '\'')
                quote = c;
            else if (c == '=')
                ++count;
            else if (c == '<' && length - i >= 4 && std::memcmp (text + i, "<!--", 4) == 0)
            {
                static constexpr char commentEnd[] = "-->";
                i = (size_t) (std::search (text + i + 4, text + length, commentEnd, commentEnd + 3) - text) + 2;
            }
        }
        most = std::max (most, count);
    }
    return most;
}

juce::String bytesToString (const char* bytes, size_t length)
{
    if (juce::CharPointer_UTF8::isValidString (bytes, (int) length))
        return juce::String::fromUTF8 (bytes, (int) length);

    // Not UTF-8: one character per byte, as an 8-bit code page would give, written out as UTF-8.
    std::string utf8;
    utf8.reserve (length * 2);
    for (size_t i = 0; i < length; ++i)
    {
        const auto byte = (unsigned char) bytes[i];
        if (byte < 0x80)
            utf8 += (char) byte;
        else
        {
            utf8 += (char) (0xc0 | (byte >> 6));
            utf8 += (char) (0x80 | (byte & 0x3f));
        }
    }
    return juce::String::fromUTF8 (utf8.data(), (int) utf8.size());
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

    // The text ends at its terminator; looking for it stops one byte past the bound.
    const size_t available = juce::jmin (declaredLength, (size_t) sizeInBytes - chunkHeaderSize, maximumTextBytes + 1);
    const char* text = bytes + chunkHeaderSize;
    const size_t length = (size_t) (std::find (text, text + available, '\0') - text);

    if (length > maximumTextBytes || elementStartCount (text, length) > maximumElementStarts
        || mostAttributesInOneElement (text, length) > maximumAttributesPerElement || hasDocumentType (text, length)
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
