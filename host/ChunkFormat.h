// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The binary wrapping of the state element that the host stores with its projects.
#pragma once

#include <juce_core/juce_core.h>

#include <memory>

namespace quane
{
/** Chunk layout, integers little-endian:
    offset 0: magic "VC2!" (0x21324356); offset 4: n, the XML text's length;
    offset 8: the text, one byte per character; offset 8 + n: a zero byte; then one spare byte. */
constexpr juce::uint32 chunkMagic = 0x21324356;
constexpr size_t chunkHeaderSize = 8;

/** Replaces the block's contents with the chunk of the element, written on one line without declaration. */
void xmlToChunk (const juce::XmlElement& element, juce::MemoryBlock& destination);

/** Reads a chunk back; null when the bytes are too short, lack the magic, hold no text or do not
    parse. Any bytes are safe to pass, in time linear in their count: lengths are cut to the bytes
    present, and texts above 16 KB, documents with more elements or an element with far more
    attributes than a state could hold, or with a document type, are refused before parsing. */
std::unique_ptr<juce::XmlElement> chunkToXml (const void* data, int sizeInBytes);
} // namespace quane
