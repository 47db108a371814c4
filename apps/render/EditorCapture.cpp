// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Hosting the editor in an Xlib window and capturing it.
#include "EditorCapture.h"

#include "AudioFiles.h"
#include "RenderOptions.h"

#include <juce_graphics/juce_graphics.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace quane::render
{
namespace
{
constexpr int paintMilliseconds = 800;
constexpr int idleIntervalMilliseconds = 20;

// A window the editor destroys or an atom a bare server lacks must not end the tool.
int ignoreXError (Display*, XErrorEvent*)
{
    return 0;
}

/** The host side of the editor: our own display connection and top-level window. */
class HostWindow
{
public:
    HostWindow (int width, int height)
    {
        display = XOpenDisplay (nullptr);
        if (display == nullptr)
            fail (ToolError::Kind::editor,
                  "cannot open the X display \"" + juce::String (XDisplayName (nullptr)) + "\" for the editor");
        previousHandler = XSetErrorHandler (ignoreXError);

        const auto screen = DefaultScreen (display);
        window = XCreateSimpleWindow (display, RootWindow (display, screen), 0, 0, (unsigned) width, (unsigned) height,
                                      0, BlackPixel (display, screen), BlackPixel (display, screen));
        XStoreName (display, window, "quane-render: Quane editor");
        XSelectInput (display, window, StructureNotifyMask | ExposureMask);
        XMapWindow (display, window);
        waitForMap();
    }

    ~HostWindow()
    {
        XDestroyWindow (display, window);
        XSync (display, False);
        XSetErrorHandler (previousHandler);
        XCloseDisplay (display);
    }

    Window getWindow() const noexcept { return window; }

    void resize (int width, int height)
    {
        XResizeWindow (display, window, (unsigned) width, (unsigned) height);
        XSync (display, False);
    }

    void drainEvents()
    {
        while (XPending (display) > 0)
        {
            XEvent event;
            XNextEvent (display, &event);
        }
    }

    juce::Image capture (int width, int height)
    {
        XSync (display, False);
        auto* pixels = XGetImage (display, window, 0, 0, (unsigned) width, (unsigned) height, AllPlanes, ZPixmap);
        if (pixels == nullptr)
            fail (ToolError::Kind::editor, "could not read the editor window's pixels (XGetImage failed)");

        juce::Image image (juce::Image::RGB, width, height, false);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.setPixelAt (x, y, colourOf (*pixels, XGetPixel (pixels, x, y)));
        XDestroyImage (pixels);
        return image;
    }

private:
    Display* display = nullptr;
    Window window = 0;
    XErrorHandler previousHandler = nullptr;

    void waitForMap()
    {
        const auto deadline = juce::Time::getMillisecondCounter() + 2000;
        while (juce::Time::getMillisecondCounter() < deadline)
        {
            XEvent event;
            if (XCheckTypedWindowEvent (display, window, MapNotify, &event))
                return;
            juce::Thread::sleep (5);
        }
    }

    static juce::uint8 channelOf (unsigned long pixel, unsigned long mask)
    {
        if (mask == 0)
            return 0;
        int shift = 0;
        while (((mask >> shift) & 1) == 0)
            ++shift;
        const auto maximum = mask >> shift;
        return (juce::uint8) (((pixel & mask) >> shift) * 255 / maximum);
    }

    static juce::Colour colourOf (const XImage& image, unsigned long pixel)
    {
        return juce::Colour (channelOf (pixel, image.red_mask), channelOf (pixel, image.green_mask),
                             channelOf (pixel, image.blue_mask));
    }
};

juce::Rectangle<int> editorBounds (HostedEffect& effect)
{
    vst::ERect* rect = nullptr;
    if (effect.dispatch (vst::effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr)
        return {};
    return { rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top };
}

bool isOneColour (const juce::Image& image)
{
    const auto first = image.getPixelAt (0, 0);
    for (int y = 0; y < image.getHeight(); ++y)
        for (int x = 0; x < image.getWidth(); ++x)
            if (image.getPixelAt (x, y) != first)
                return false;
    return true;
}
} // namespace

void captureEditor (HostedEffect& effect, const juce::File& pngFile)
{
    if ((effect.getEffect()->flags & vst::effFlagsHasEditor) == 0)
        fail (ToolError::Kind::editor,
              "the module declares no editor (effFlagsHasEditor is clear); no editor picture written");

    auto bounds = editorBounds (effect);
    if (bounds.isEmpty())
        fail (ToolError::Kind::editor,
              "the module has no editor to show (effEditGetRect answered 0); no editor picture written");

    HostWindow host (bounds.getWidth(), bounds.getHeight());
    effect.onSizeWindow = [&] (int width, int height) {
        host.resize (width, height);
        bounds.setSize (width, height);
        return true;
    };

    // The editor is closed before the window goes, however this function is left.
    struct EditorSession
    {
        HostedEffect& effect;
        bool open = false;
        ~EditorSession()
        {
            if (open)
                effect.dispatch (vst::effEditClose);
            effect.onSizeWindow = nullptr;
        }
    } session { effect };

    session.open = effect.dispatch (vst::effEditOpen, 0, 0, reinterpret_cast<void*> (host.getWindow())) != 0;
    if (! session.open)
        fail (ToolError::Kind::editor,
              "the module did not open its editor (effEditOpen answered 0); no editor picture written");

    // Hosts give the editor idle time from their GUI thread every few tens of milliseconds.
    const auto start = juce::Time::getMillisecondCounter();
    while (juce::Time::getMillisecondCounter() - start < (juce::uint32) paintMilliseconds)
    {
        effect.dispatch (vst::effEditIdle);
        host.drainEvents();
        juce::Thread::sleep (idleIntervalMilliseconds);
    }

    const auto picture = host.capture (bounds.getWidth(), bounds.getHeight());

    juce::MemoryOutputStream png;
    if (! juce::PNGImageFormat().writeImageToStream (picture, png))
        fail (ToolError::Kind::output, "cannot encode the editor picture " + pngFile.getFullPathName());
    writeBytes (pngFile, png.getMemoryBlock());

    if (isOneColour (picture))
        fail (ToolError::Kind::editor, "the editor window stayed one colour after " + juce::String (paintMilliseconds)
                                           + " ms of idle time: it did not paint (picture written to "
                                           + pngFile.getFullPathName() + ")");
}
} // namespace quane::render
