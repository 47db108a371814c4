// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps X errors caused by the editor's window from reaching the host's error handler.
// First: JUCE's X declarations are only visible when its header is first included from here.
#include "host/linux/X11Access.h"

#include "host/NativeWindow.h"

namespace quane::native
{
namespace
{
// Xlib's handler is process-wide; the traps nest, and only the outermost installs and restores.
int trapDepth = 0;
XErrorHandler hostHandler = nullptr;
int absorbedErrors = 0;

int absorbModuleErrors (::Display* display, XErrorEvent* error)
{
    // Xvfb without a window manager answers BadAtom to JUCE's window-manager properties; a host
    // that destroyed its window first gives BadWindow. Both are harmless to the editor. JUCE's
    // connection may open while the trap is set, so it is looked up as each error comes.
    if (display != nullptr && display == juceDisplay (false))
    {
        ++absorbedErrors;
        return 0;
    }
    return hostHandler != nullptr ? hostHandler (display, error) : 0;
}
} // namespace

::Display* juceDisplay (bool create)
{
    auto* windowSystem = create ? juce::XWindowSystem::getInstance()
                                : juce::XWindowSystem::getInstanceWithoutCreating();
    return windowSystem != nullptr ? windowSystem->getDisplay() : nullptr;
}

int absorbedErrorCount() noexcept
{
    return absorbedErrors;
}

ScopedErrorTrap::ScopedErrorTrap()
{
    if (trapDepth++ == 0)
        hostHandler = XSetErrorHandler (absorbModuleErrors);
}

ScopedErrorTrap::~ScopedErrorTrap()
{
    if (--trapDepth > 0)
        return;

    // Errors of the module's requests arrive while its handler is still in place.
    if (auto* display = juceDisplay (false))
        XSync (display, False);
    const auto current = XSetErrorHandler (hostHandler);
    // A handler the host installed meanwhile (from inside a callback) is the one to keep.
    if (current != absorbModuleErrors)
        XSetErrorHandler (current);
    hostHandler = nullptr;
}
} // namespace quane::native
