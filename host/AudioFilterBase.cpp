// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The interface between the host adaptation and the plug-in model.
#include "host/AudioFilterBase.h"

namespace quane
{
void AudioFilterBase::attachHost (FilterNativeCallbacks* callbacks)
{
    hostCallbacks = callbacks;
    describePlugin (description);
}

void AudioFilterBase::setParameterAndNotifyHost (int index, float value)
{
    if (hostCallbacks != nullptr)
        hostCallbacks->reportParameterChange (index, value);
    else
        setParameterValue (index, value);
}

AudioFilterEditor* AudioFilterBase::obtainEditor()
{
    auto* editor = createEditorComponent();
    if (editor != nullptr)
    {
        const juce::ScopedLock lock (processLock);
        activeEditor = editor;
    }
    return editor;
}

void AudioFilterBase::editorClosing (AudioFilterEditor* editor)
{
    const juce::ScopedLock lock (processLock);
    if (activeEditor == editor)
        activeEditor = nullptr;
}
} // namespace quane
