// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A test host with windows: X11 parent windows, an opened instance, the pointer and pictures.
#pragma once

#include "tests/common/DisplayLock.h"
#include "tests/common/Picture.h"
#include "tests/host/HostTestSupport.h"

#include <cstdint>
#include <string>
#include <vector>

// Xlib's own types, without its macros (None, Bool, Status...) that clash with the test framework.
struct _XDisplay;

namespace quane::editorhost
{
using XWindow = unsigned long;

/** Where a window sits in its parent, its size, and whether it is on screen. */
struct WindowGeometry
{
    int x = 0, y = 0, width = 0, height = 0;
    bool viewable = false;
    bool exists = false;
};

/** The host's own X connection, serialised against other processes that drive the same
    display's pointer, with a window manager running for its lifetime when asked for. */
class HostDisplay
{
public:
    explicit HostDisplay (bool withWindowManager);
    ~HostDisplay();

    _XDisplay* display = nullptr;
    bool hasWindowManager() const { return windowManagerPid > 0; }

    /** A mapped top-level window of the given size, as a host makes for an editor. */
    XWindow createHostWindow (int width, int height);
    std::vector<XWindow> childrenOf (XWindow window);
    std::vector<XWindow> topLevelWindows();
    WindowGeometry geometryOf (XWindow window);
    XWindow createInputOnlyWindow();
    void destroyWindow (XWindow window);

    /** Errors the host's own error handler saw on any connection while this display lived. */
    static int hostHandlerErrors();
    /** Whether the host's handler is the one Xlib would call now. */
    static bool hostHandlerIsInstalled();

private:
    quane::test::DisplayLock displayLock; // other test processes may share the display
    int windowManagerPid = -1;
    void* previousHandler = nullptr;
};

/** An instance opened with effOpen, as a host opens one before its editor. */
class EditorInstance : public test::Instance
{
public:
    EditorInstance();

    vst::intptr openEditor (XWindow parent) { return dispatch (vst::effEditOpen, 0, 0, (void*) parent); }
};

/** Moves the real pointer relative to a window, presses or releases button 1 (XTest, via xdotool). */
void pointerTo (XWindow window, int x, int y);
void pressButton();
void releaseButton();

/** The window's pixels, read from the X server. */
test::Picture grabWindow (_XDisplay* display, XWindow window);

/** Saves a window's picture as PNG under the build's test-artefacts folder; answers the path. */
std::string saveWindowPicture (XWindow window, const std::string& name);
} // namespace quane::editorhost
