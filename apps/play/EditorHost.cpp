// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The module's editor inside the player's window, hosted as a VST 2.x host does it.
#include "EditorHost.h"

#include <X11/Xlib.h>

namespace quane::play
{
namespace
{
// Hosts give the editor idle time from their GUI thread every few tens of milliseconds.
constexpr int idleIntervalMs = 25;
constexpr int placeholderWidth = 540, placeholderHeight = 340;
} // namespace

/** The child window, made on a display connection of our own: the module's editor connects
    with its own JUCE and only needs the window's id. */
struct EditorHost::NativeWindow
{
    ::Display* display = nullptr;
    ::Window window = 0;

    NativeWindow (::Window parent, juce::Rectangle<int> area)
    {
        display = XOpenDisplay (nullptr);
        if (display == nullptr)
            return;
        XWindowAttributes parentAttributes {};
        if (XGetWindowAttributes (display, parent, &parentAttributes) == 0)
            return;
        const auto screen = DefaultScreen (display);
        window = XCreateSimpleWindow (
            display, parent, area.getX(), area.getY(), (unsigned) juce::jmax (1, area.getWidth()),
            (unsigned) juce::jmax (1, area.getHeight()), 0, BlackPixel (display, screen), BlackPixel (display, screen));
        XMapWindow (display, window);
        XSync (display, False);
    }

    ~NativeWindow()
    {
        if (display == nullptr)
            return;
        if (window != 0)
            XDestroyWindow (display, window);
        XSync (display, False);
        XCloseDisplay (display);
    }

    bool isValid() const noexcept { return window != 0; }

    void place (juce::Rectangle<int> area)
    {
        XMoveResizeWindow (display, window, area.getX(), area.getY(), (unsigned) juce::jmax (1, area.getWidth()),
                           (unsigned) juce::jmax (1, area.getHeight()));
        XFlush (display);
    }

    /** True when the X input focus is on this window or one inside it (the editor's). */
    bool holdsInputFocus() const
    {
        ::Window focus = 0;
        int revertTo = 0;
        XGetInputFocus (display, &focus, &revertTo);
        while (focus != 0 && focus != PointerRoot)
        {
            if (focus == window)
                return true;
            ::Window root = 0, parent = 0, *children = nullptr;
            unsigned count = 0;
            if (XQueryTree (display, focus, &root, &parent, &children, &count) == 0)
                return false;
            if (children != nullptr)
                XFree (children);
            if (parent == root)
                return false;
            focus = parent;
        }
        return false;
    }

    void giveInputFocusTo (::Window target)
    {
        XSetInputFocus (display, target, RevertToParent, CurrentTime);
        XFlush (display);
    }

    /** The connection's own events (none are selected) would pile up otherwise. */
    void drainEvents()
    {
        while (XPending (display) > 0)
        {
            XEvent event;
            XNextEvent (display, &event);
        }
    }
};

EditorHost::EditorHost (hostkit::HostedEffect& hostedEffect) : effect (hostedEffect)
{
    setOpaque (true);
    vst::ERect* rect = nullptr;
    hasEditor = (effect.getEffect()->flags & vst::effFlagsHasEditor) != 0
                && effect.dispatch (vst::effEditGetRect, 0, 0, &rect) != 0 && rect != nullptr
                && rect->right > rect->left && rect->bottom > rect->top;
    editorBounds = hasEditor ? juce::Rectangle<int> (rect->right - rect->left, rect->bottom - rect->top)
                             : juce::Rectangle<int> (placeholderWidth, placeholderHeight);
    setSize (editorBounds.getWidth(), editorBounds.getHeight());

    effect.onSizeWindow = [this] (int width, int height) {
        editorBounds.setSize (width, height);
        setSize (width, height);
        if (onEditorResized != nullptr)
            onEditorResized();
        return true;
    };
    startTimer (idleIntervalMs);
}

EditorHost::~EditorHost()
{
    closeEditor();
    effect.onSizeWindow = nullptr;
}

void EditorHost::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::black);
    if (! hasEditor)
    {
        g.setColour (juce::Colours::grey);
        g.drawText ("The module shows no editor.", getLocalBounds(), juce::Justification::centred);
    }
}

void EditorHost::resized()
{
    placeNativeWindow();
}

void EditorHost::moved()
{
    placeNativeWindow();
}

void EditorHost::parentHierarchyChanged()
{
    // A new top-level window means a new parent: the editor moves with a fresh child window.
    if (open)
        closeEditor();
}

void EditorHost::timerCallback()
{
    if (! open)
    {
        openWhenShowing();
        return;
    }
    effect.dispatch (vst::effEditIdle);
    window->drainEvents();

    // The computer keyboard plays the player: a click that left the keyboard with the editor
    // hands it back. Menus the editor opens are windows of their own and keep it meanwhile.
    if (auto* peer = getPeer(); peer != nullptr && window->holdsInputFocus())
    {
        window->giveInputFocusTo ((::Window) reinterpret_cast<juce::pointer_sized_uint> (peer->getNativeHandle()));
        if (onKeyboardTakenBack != nullptr)
            onKeyboardTakenBack();
    }
}

void EditorHost::openWhenShowing()
{
    auto* peer = getPeer();
    if (! hasEditor || peer == nullptr || ! isShowing())
        return;

    const auto area = peer->getComponent().getLocalArea (this, getLocalBounds()) * peer->getPlatformScaleFactor();
    window = std::make_unique<NativeWindow> (
        (::Window) reinterpret_cast<juce::pointer_sized_uint> (peer->getNativeHandle()), area);
    if (! window->isValid())
    {
        window.reset(); // the player's window is not on the server yet: try at the next tick
        return;
    }

    open = effect.dispatch (vst::effEditOpen, 0, 0, reinterpret_cast<void*> (window->window)) != 0;
    if (! open)
    {
        window.reset();
        hasEditor = false;
        repaint();
    }
}

void EditorHost::closeEditor()
{
    if (open)
        effect.dispatch (vst::effEditClose);
    open = false;
    window.reset();
}

void EditorHost::placeNativeWindow()
{
    if (window == nullptr)
        return;
    if (auto* peer = getPeer())
        window->place (peer->getComponent().getLocalArea (this, getLocalBounds()) * peer->getPlatformScaleFactor());
}
} // namespace quane::play
