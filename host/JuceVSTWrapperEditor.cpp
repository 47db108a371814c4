// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The VST 2.x instance: the editor requests, answered as for a model that makes no editor.
#include "host/JuceVSTWrapper.h"

#include "host/HostMessagePump.h"

namespace quane
{
vst::intptr JuceVSTWrapper::editorGetRect (void*)
{
    return 0;
}

vst::intptr JuceVSTWrapper::editorOpen (void*)
{
    return 0;
}

vst::intptr JuceVSTWrapper::editorClose()
{
    deleteEditor();
    return 0;
}

// The host's idle call is where JUCE's timers and messages get their time on Linux.
vst::intptr JuceVSTWrapper::editorIdle()
{
    giveMessagesTime (true);
    return 0;
}

void JuceVSTWrapper::deleteEditor()
{
    editorComp.reset();
}

// Host idle help is only asked for while an editor is open.
void JuceVSTWrapper::tryHostIdle() {}
} // namespace quane
