// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A test host with windows: X11 parent windows, an opened instance, the pointer and pictures.
#include "tests/host/EditorHostSupport.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <set>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace quane::editorhost
{
namespace
{
int hostErrors = 0;

int recordHostError (::Display*, XErrorEvent*)
{
    ++hostErrors;
    return 0;
}

int spawn (std::vector<std::string> arguments)
{
    std::vector<char*> argv;
    for (auto& argument : arguments)
        argv.push_back (argument.data());
    argv.push_back (nullptr);
    pid_t pid = -1;
    return posix_spawnp (&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 ? (int) pid : -1;
}

void run (const std::string& command)
{
    [[maybe_unused]] const int status = std::system (command.c_str());
}

/** A window manager of the desktop conventions marks the root window with this property. */
bool windowManagerIsRunning (::Display* display)
{
    const auto check = XInternAtom (display, "_NET_SUPPORTING_WM_CHECK", True);
    int count = 0;
    auto* properties = XListProperties (display, DefaultRootWindow (display), &count);
    const bool found = check != 0 && properties != nullptr && std::count (properties, properties + count, check) > 0;
    if (properties != nullptr)
        XFree (properties);
    return found;
}

std::string artefactDirectory()
{
    // The module lies in <build>/plugin; the pictures go to <build>/test-artefacts.
    std::string modulePath = QUANE_MODULE_PATH;
    auto pluginDir = modulePath.substr (0, modulePath.find_last_of ('/'));
    auto buildDir = pluginDir.substr (0, pluginDir.find_last_of ('/'));
    auto dir = buildDir + "/test-artefacts";
    run ("mkdir -p '" + dir + "'");
    return dir;
}

} // namespace

HostDisplay::HostDisplay (bool withWindowManager)
{
    // The server resets when its last client leaves (another test process ending) and refuses
    // connections for that moment.
    for (int attempt = 0; attempt < 100 && display == nullptr; ++attempt)
    {
        display = XOpenDisplay (nullptr);
        if (display == nullptr)
            std::this_thread::sleep_for (std::chrono::milliseconds (20));
    }
    if (display == nullptr)
        return;
    previousHandler = (void*) XSetErrorHandler (recordHostError);
    hostErrors = 0;

    if (withWindowManager && ! windowManagerIsRunning (display))
    {
        windowManagerPid = spawn ({ "matchbox-window-manager", "-use_titlebar", "no" });
        for (int attempt = 0; attempt < 100 && windowManagerPid > 0 && ! windowManagerIsRunning (display); ++attempt)
            std::this_thread::sleep_for (std::chrono::milliseconds (20));
    }
    releaseButton();
}

HostDisplay::~HostDisplay()
{
    if (display != nullptr)
    {
        XSync (display, False);
        XSetErrorHandler ((XErrorHandler) previousHandler);
        XCloseDisplay (display);
    }
    if (windowManagerPid > 0)
    {
        kill (windowManagerPid, SIGTERM);
        waitpid (windowManagerPid, nullptr, 0);
    }
}

int HostDisplay::hostHandlerErrors()
{
    return hostErrors;
}

bool HostDisplay::hostHandlerIsInstalled()
{
    const auto current = XSetErrorHandler (recordHostError);
    XSetErrorHandler (current);
    return current == recordHostError;
}

XWindow HostDisplay::createHostWindow (int width, int height)
{
    const int screen = DefaultScreen (display);
    const auto window = XCreateSimpleWindow (display, RootWindow (display, screen), 40, 40, (unsigned) width,
                                             (unsigned) height, 0, BlackPixel (display, screen),
                                             BlackPixel (display, screen));
    XStoreName (display, window, "Quane test host");
    XSelectInput (display, window, StructureNotifyMask | ExposureMask);
    XMapWindow (display, window);
    // Wait until it is really on screen, which with a window manager takes a round of its own.
    for (int attempt = 0; attempt < 200; ++attempt)
    {
        XWindowAttributes attributes {};
        XGetWindowAttributes (display, window, &attributes);
        if (attributes.map_state == IsViewable)
            break;
        std::this_thread::sleep_for (std::chrono::milliseconds (5));
    }
    XSync (display, False);
    return window;
}

std::vector<XWindow> HostDisplay::childrenOf (XWindow window)
{
    ::Window root = 0, parent = 0;
    ::Window* children = nullptr;
    unsigned int count = 0;
    std::vector<XWindow> found;
    XSync (display, False);
    if (XQueryTree (display, window, &root, &parent, &children, &count) != 0)
        found.assign (children, children + count);
    if (children != nullptr)
        XFree (children);
    return found;
}

std::vector<XWindow> HostDisplay::topLevelWindows()
{
    return childrenOf (DefaultRootWindow (display));
}

WindowGeometry HostDisplay::geometryOf (XWindow window)
{
    XWindowAttributes attributes {};
    XSync (display, False);
    if (XGetWindowAttributes (display, window, &attributes) == 0)
        return {};
    const bool viewable = attributes.map_state == IsViewable;
    return { attributes.x, attributes.y, attributes.width, attributes.height, viewable, true };
}

XWindow HostDisplay::createInputOnlyWindow()
{
    const auto window = XCreateWindow (display, DefaultRootWindow (display), 0, 0, 540, 340, 0, 0, InputOnly,
                                       CopyFromParent, 0, nullptr);
    XSync (display, False);
    return window;
}

void HostDisplay::destroyWindow (XWindow window)
{
    XDestroyWindow (display, window);
    XSync (display, False);
}

EditorInstance::EditorInstance()
{
    if (getEffect() != nullptr)
        dispatch (vst::effOpen);
}

void pointerTo (XWindow window, int x, int y)
{
    run ("xdotool mousemove --window " + std::to_string (window) + " " + std::to_string (x) + " " + std::to_string (y));
}

void pressButton()
{
    run ("xdotool mousedown 1");
}

void releaseButton()
{
    run ("xdotool mouseup 1");
}

test::Picture grabWindow (_XDisplay* display, XWindow window)
{
    test::Picture picture;
    XWindowAttributes attributes {};
    XSync (display, False);
    if (XGetWindowAttributes (display, window, &attributes) == 0)
        return picture;
    auto* image = XGetImage (display, window, 0, 0, (unsigned) attributes.width, (unsigned) attributes.height,
                             AllPlanes, ZPixmap);
    if (image == nullptr)
        return picture;
    picture.width = attributes.width;
    picture.height = attributes.height;
    picture.pixels.resize ((size_t) (picture.width * picture.height));
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            picture.pixels[(size_t) (y * picture.width + x)] = (std::uint32_t) XGetPixel (image, x, y) & 0xffffffu;
    XDestroyImage (image);
    return picture;
}

std::string saveWindowPicture (XWindow window, const std::string& name)
{
    const auto path = artefactDirectory() + "/" + name;
    run ("rm -f '" + path + "'");
    run ("import -window " + std::to_string (window) + " '" + path + "' 2>/dev/null");
    return path;
}
} // namespace quane::editorhost
