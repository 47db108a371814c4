// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The model's editor factory.
#include "editor/MyPlugEditorComponent.h"

namespace quane
{
AudioFilterEditor* MyPlugJuceFilter::createEditorComponent()
{
    return new MyPlugEditorComponent (*this);
}
} // namespace quane
