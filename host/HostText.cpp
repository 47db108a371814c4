// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Text handed to and taken from the host: 8-bit, zero-terminated, cut to the interface's limits.
#include "host/HostText.h"

#include <cstring>

namespace quane
{
bool copyHostText (void* destination, const juce::String& text, int maxChars)
{
    if (destination == nullptr)
        return false;

    const char* bytes = text.toRawUTF8();
    const auto length = strnlen (bytes, (size_t) juce::jmax (0, maxChars));
    auto* out = static_cast<char*> (destination);
    std::memcpy (out, bytes, length);
    out[length] = 0;
    return true;
}

juce::String readHostText (const void* source, int maxChars)
{
    if (source == nullptr)
        return {};

    const auto* bytes = static_cast<const char*> (source);
    return juce::String::fromUTF8 (bytes, (int) strnlen (bytes, (size_t) juce::jmax (0, maxChars)));
}
} // namespace quane
