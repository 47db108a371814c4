// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolError.h"

namespace quane::vsthost
{
void fail (ToolError::Kind kind, const juce::String& message)
{
    throw ToolError { kind, message };
}
} // namespace quane::vsthost
