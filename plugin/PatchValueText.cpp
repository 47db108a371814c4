// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Patch values as text and back, independent of the process locale.
#include "plugin/PatchValueText.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <cmath>
#include <limits>

namespace quane
{
juce::String formatPatchValue (float value)
{
    char text[32];
    const auto result = std::to_chars (text, text + sizeof (text), (double) value, std::chars_format::general, 9);
    return juce::String (text, (size_t) (result.ptr - text));
}

float readPatchValue (const juce::String& text)
{
    const std::string utf8 = text.toStdString();
    const char* position = utf8.c_str();
    const char* const end = position + utf8.size();

    while (position < end && (*position == ' ' || (*position >= '\t' && *position <= '\r')))
        ++position;

    bool negative = false;
    if (position < end && (*position == '+' || *position == '-'))
        negative = *position++ == '-';

    // Only digits or a point followed by a digit start a number; "inf", "nan" and hex do not.
    const bool startsNumber = position < end
                              && ((*position >= '0' && *position <= '9')
                                  || (*position == '.' && position + 1 < end && position[1] >= '0'
                                      && position[1] <= '9'));
    if (! startsNumber)
        return 0.0f;

    double value = 0.0;
    const auto result = std::from_chars (position, end, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
    {
        // from_chars leaves the value alone on overflow and underflow; tell them apart by the exponent.
        const auto exponent = std::strchr (position, 'e') != nullptr ? std::strchr (position, 'e')
                                                                     : std::strchr (position, 'E');
        const bool tiny = exponent != nullptr && exponent[1] == '-';
        value = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    // Narrowing a double beyond the float range is undefined. Up to half a step beyond the largest
    // float a value still rounds to it (its own text, 3.40282347e+38, lies there); from there on
    // it is the infinity it rounds to.
    constexpr double roundsToInfinity = 0x1.ffffffp+127;
    constexpr double largest = std::numeric_limits<float>::max();
    const float magnitude = value >= roundsToInfinity ? std::numeric_limits<float>::infinity()
                                                      : (float) std::min (value, largest);
    return negative ? -magnitude : magnitude;
}
} // namespace quane
