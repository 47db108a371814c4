// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The windows side of the Windows test host: its own top-level windows, its message loop, real
// mouse input and pictures of windows.
#pragma once

#include "host/win32/WindowsHeaders.h"
#include "tests/common/Picture.h"
#include "tests/host/HostTestSupport.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace quane::test
{
/** A visible, undecorated top-level window of the host's own class, as a host makes to hold an
    editor; destroyed when the object goes. */
class HostWindow
{
public:
    HostWindow (int width, int height);
    ~HostWindow();

    HWND hwnd = nullptr;

    /** The only child window, or null when there is none or more than one. */
    HWND onlyChild() const;
};

/** The host's loop for ms milliseconds: every message of the thread is dispatched, and each
    instance gets effEditIdle every stepMs, as Windows hosts do. */
void runHostLoop (int ms, std::initializer_list<Instance*> instances, int stepMs = 10);

/** Real input through SendInput: the pointer to (x, y) of a window's client area, button 1. */
void pointerTo (HWND window, int x, int y);
void pressButton();
void releaseButton();

/** Visible top-level windows of this thread. */
std::vector<HWND> visibleThreadWindows();

/** Writes a picture as a 24-bit BMP file; answers whether it was written. */
bool saveBmp (const Picture& picture, const std::string& path);

/** A window's pixels, read through its device context. */
Picture capture (HWND window);
} // namespace quane::test
