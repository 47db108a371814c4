// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor screenshot: the module's editor opened in an X11 window of the tool's own.
#pragma once

#include "Hosting.h"

namespace quane::render
{
/** Asks for the editor's rectangle, opens the editor in a top-level X11 window made to that size,
    gives it about 0.8 s of effEditIdle calls to paint, reads the window's pixels (XGetImage, the
    editor's child window included), closes the editor and writes the pixels as PNG.
    Runs on the thread that loaded the module. Throws ToolError (editor) when the module shows no
    editor or nothing was painted, and (output) when the file cannot be written. */
void captureEditor (HostedEffect& effect, const juce::File& pngFile);
} // namespace quane::render
