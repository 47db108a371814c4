// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A private Xvfb display for the editor screenshot when the tool runs without one.
#pragma once

namespace quane::render
{
/** When DISPLAY is unset, starts Xvfb on a free display number and points DISPLAY at it. Must run
    before the module is loaded, because the module's GUI library connects to the display named by
    DISPLAY when it first needs one. That library keeps its connection until the process exits
    (it shuts down at exit), so the server ends with this process rather than before: closing it
    earlier makes the connection fail at exit, which ends the process with a failure status.
    Throws ToolError (editor) when there is no display and Xvfb cannot be started. */
void startPrivateDisplayIfNone();
} // namespace quane::render
