// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A private Xvfb display for the editor screenshot when the tool runs without one.
#pragma once

#include <sys/types.h>

namespace quane::render
{
/** When DISPLAY is unset, starts Xvfb on a free display number and points DISPLAY at it; stops
    the server when destroyed. Must exist before the module is loaded, because the module's GUI
    library connects to the display named by DISPLAY when it first needs one.
    Throws ToolError (editor) when there is no display and Xvfb cannot be started. */
class PrivateDisplay
{
public:
    PrivateDisplay();
    ~PrivateDisplay();

    PrivateDisplay (const PrivateDisplay&) = delete;
    PrivateDisplay& operator= (const PrivateDisplay&) = delete;

private:
    pid_t serverProcess = -1;
};
} // namespace quane::render
