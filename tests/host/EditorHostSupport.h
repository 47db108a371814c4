// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A test host with windows: X11 parent windows, a timed log of host calls, the pointer and pictures.
#pragma once

#include "host/VstAbi.h"
#include "tests/common/DisplayLock.h"

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

/** One call the module made of the host, with the time it came (steady clock, milliseconds). */
struct TimedRequest
{
    vst::int32 opcode;
    vst::int32 index;
    vst::intptr value;
    float opt;
    double timeMs;
};

/** What the host answers and what it was asked. */
struct EditorHostLog
{
    std::vector<TimedRequest> requests;
    bool idlesEditorFromHostIdle = false; // calls effEditIdle from inside audioMasterIdle
    int nestedHostIdleCalls = 0;
    bool sizesWindows = false; // answers "sizeWindow" and audioMasterSizeWindow with 1

    std::vector<TimedRequest> of (vst::int32 opcode) const;
    void clear() { requests.clear(); }
};

EditorHostLog& editorHostLog();
double nowMs();

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

/** One plug-in instance with the timed host callback, opened with effOpen, closed with effClose. */
class EditorInstance
{
public:
    EditorInstance();
    ~EditorInstance();

    vst::AEffect* effect = nullptr;

    vst::intptr dispatch (vst::int32 opcode, vst::int32 index = 0, vst::intptr value = 0, void* ptr = nullptr,
                          float opt = 0.0f);
    vst::intptr openEditor (XWindow parent) { return dispatch (vst::effEditOpen, 0, 0, (void*) parent); }
    float parameter (int index) { return effect->getParameter (effect, index); }

    /** Calls effEditIdle every stepMs for ms milliseconds, as a host's idle loop does. */
    void idleFor (int ms, int stepMs = 5);
    void close();
};

/** Moves the real pointer relative to a window, presses or releases button 1 (XTest, via xdotool). */
void pointerTo (XWindow window, int x, int y);
void pressButton();
void releaseButton();

/** The window's pixels as 0xRRGGBB values, row by row. */
struct Picture
{
    int width = 0, height = 0;
    std::vector<std::uint32_t> pixels;

    std::uint32_t at (int x, int y) const { return pixels[(size_t) (y * width + x)]; }
    int distinctColours() const;
    /** Mean absolute channel difference to another picture of the same size over an area. */
    double meanDifference (const Picture& other, int x, int y, int w, int h) const;
};

Picture grabWindow (_XDisplay* display, XWindow window);

/** Saves a window's picture as PNG under the build's test-artefacts folder; answers the path. */
std::string saveWindowPicture (XWindow window, const std::string& name);
} // namespace quane::editorhost
