// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The windows side of the Windows test host: its own top-level windows, its message loop, real
// mouse input and pictures of windows.
#include "tests/windows/Win32TestHost.h"

#include <fstream>

namespace quane::test
{
namespace
{
const wchar_t* hostClassName()
{
    static const bool registered = [] {
        WNDCLASSW windowClass {};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW (nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH> (GetStockObject (BLACK_BRUSH));
        windowClass.lpszClassName = L"QuaneTestHostWindow";
        return RegisterClassW (&windowClass) != 0;
    }();
    return registered ? L"QuaneTestHostWindow" : nullptr;
}

BOOL CALLBACK collectVisible (HWND window, LPARAM list)
{
    if (IsWindowVisible (window))
        reinterpret_cast<std::vector<HWND>*> (list)->push_back (window);
    return TRUE;
}

void sendMouse (DWORD flags, LONG dx = 0, LONG dy = 0)
{
    INPUT input {};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    SendInput (1, &input, sizeof (input));
}
} // namespace

HostWindow::HostWindow (int width, int height)
{
    hwnd = CreateWindowExW (0, hostClassName(), L"Quane test host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40,
                            width, height, nullptr, nullptr, GetModuleHandleW (nullptr), nullptr);
}

HostWindow::~HostWindow()
{
    if (hwnd != nullptr)
        DestroyWindow (hwnd);
}

HWND HostWindow::onlyChild() const
{
    const auto first = GetWindow (hwnd, GW_CHILD);
    return first != nullptr && GetWindow (first, GW_HWNDNEXT) == nullptr ? first : nullptr;
}

void runHostLoop (int ms, std::initializer_list<Instance*> instances, int stepMs)
{
    const auto end = GetTickCount() + (DWORD) ms;
    do
    {
        MSG message;
        while (PeekMessageW (&message, nullptr, 0, 0, PM_REMOVE))
        {
            TranslateMessage (&message);
            DispatchMessageW (&message);
        }
        for (auto* instance : instances)
            if (instance->getEffect() != nullptr)
                instance->dispatch (vst::effEditIdle);
        Sleep ((DWORD) stepMs);
    } while ((LONG) (end - GetTickCount()) > 0);
}

void pointerTo (HWND window, int x, int y)
{
    POINT point { x, y };
    ClientToScreen (window, &point);
    // Absolute input counts 0..65536 across the screen; round up so that Windows' scaling back
    // lands on the intended pixel.
    const int width = GetSystemMetrics (SM_CXSCREEN), height = GetSystemMetrics (SM_CYSCREEN);
    sendMouse (MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, (point.x * 65536 + width - 1) / width,
               (point.y * 65536 + height - 1) / height);
}

void pressButton()
{
    sendMouse (MOUSEEVENTF_LEFTDOWN);
}

void releaseButton()
{
    sendMouse (MOUSEEVENTF_LEFTUP);
}

std::vector<HWND> visibleThreadWindows()
{
    std::vector<HWND> windows;
    EnumThreadWindows (GetCurrentThreadId(), collectVisible, reinterpret_cast<LPARAM> (&windows));
    return windows;
}

bool saveBmp (const Picture& picture, const std::string& path)
{
    const auto width = picture.width, height = picture.height;
    const int rowBytes = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER fileHeader {};
    BITMAPINFOHEADER info {};
    info.biSize = sizeof (info);
    info.biWidth = width;
    info.biHeight = -height; // top row first
    info.biPlanes = 1;
    info.biBitCount = 24;
    fileHeader.bfType = 0x4d42; // "BM"
    fileHeader.bfOffBits = sizeof (fileHeader) + sizeof (info);
    fileHeader.bfSize = fileHeader.bfOffBits + (DWORD) (rowBytes * height);

    std::ofstream file (path, std::ios::binary);
    file.write (reinterpret_cast<const char*> (&fileHeader), sizeof (fileHeader));
    file.write (reinterpret_cast<const char*> (&info), sizeof (info));
    std::vector<char> row ((size_t) rowBytes, 0);
    for (int y = 0; y < height; ++y)
    {
        for (int x = 0; x < width; ++x)
        {
            const auto pixel = picture.at (x, y);
            row[(size_t) (3 * x)] = (char) (pixel & 0xff);
            row[(size_t) (3 * x + 1)] = (char) ((pixel >> 8) & 0xff);
            row[(size_t) (3 * x + 2)] = (char) ((pixel >> 16) & 0xff);
        }
        file.write (row.data(), rowBytes);
    }
    return file.good();
}

Picture capture (HWND window)
{
    Picture picture;
    RECT client {};
    if (window == nullptr || ! GetClientRect (window, &client))
        return picture;
    picture.width = client.right;
    picture.height = client.bottom;

    const auto windowDc = GetDC (window);
    const auto memoryDc = CreateCompatibleDC (windowDc);
    BITMAPINFO info {};
    info.bmiHeader.biSize = sizeof (info.bmiHeader);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    const auto bitmap = CreateDIBSection (memoryDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    const auto previous = SelectObject (memoryDc, bitmap);
    BitBlt (memoryDc, 0, 0, picture.width, picture.height, windowDc, 0, 0, SRCCOPY);
    GdiFlush();

    const auto* source = static_cast<const std::uint32_t*> (bits);
    picture.pixels.assign (source, source + (size_t) picture.width * (size_t) picture.height);
    for (auto& pixel : picture.pixels)
        pixel &= 0xffffff;

    SelectObject (memoryDc, previous);
    DeleteObject (bitmap);
    DeleteDC (memoryDc);
    ReleaseDC (window, windowDc);
    return picture;
}
} // namespace quane::test
