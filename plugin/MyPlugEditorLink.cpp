// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The model's editor factory.
#include "plugin/MyPlugJuceFilter.h"

namespace quane
{
AudioFilterEditor* MyPlugJuceFilter::createEditorComponent()
{
    return nullptr;
}
} // namespace quane
