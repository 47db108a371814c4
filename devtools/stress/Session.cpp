// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// A host's whole session in a few seconds, for running under a memory checker.
#include "devtools/stress/StressCommands.h"
#include "devtools/stress/StressHost.h"

#include <X11/Xlib.h>

#include <cstdio>

namespace quane::stress
{
namespace
{
constexpr int blockSize = 512;

bool playChord (hostkit::HostedEffect& instance)
{
    float left[blockSize], right[blockSize];
    float* outputs[] = { left, right };
    long bad = 0;
    instance.sendMidi (
        { { 0, { 0x90, 48, 100 } }, { 5, { 0x90, 55, 90 } }, { 9, { 0x90, 64, 80 } }, { 13, { 0x90, 71, 70 } } });
    for (int block = 0; block < 8; ++block)
    {
        if (block == 4)
            instance.sendMidi (
                { { 0, { 0x80, 48, 0 } }, { 0, { 0x80, 55, 0 } }, { 0, { 0x80, 64, 0 } }, { 0, { 0x80, 71, 0 } } });
        instance.render (outputs, blockSize);
        bad += countBadSamples (left, blockSize) + countBadSamples (right, blockSize);
    }
    return bad == 0;
}

/** Opens the editor in a window of the session's own, idles it as a host does, closes it. */
bool openAndCloseEditor (hostkit::HostedEffect& instance)
{
    Display* display = XOpenDisplay (nullptr);
    if (display == nullptr)
    {
        std::printf ("editor: no X display, left out\n");
        return true;
    }
    const int screen = DefaultScreen (display);
    const Window parent = XCreateSimpleWindow (display, RootWindow (display, screen), 0, 0, 540, 340, 0,
                                               BlackPixel (display, screen), BlackPixel (display, screen));
    XMapWindow (display, parent);
    XSync (display, False);

    vst::ERect* rect = nullptr;
    instance.dispatch (vst::effEditGetRect, 0, 0, &rect);
    const bool opened = instance.dispatch (vst::effEditOpen, 0, 0, (void*) parent) == 1;
    instance.idleEditor (200, 10);
    instance.dispatch (vst::effEditClose);

    XDestroyWindow (display, parent);
    XCloseDisplay (display);
    std::printf ("editor: %s\n", opened && rect != nullptr ? "opened, idled and closed" : "did not open");
    return opened && rect != nullptr;
}
} // namespace

int runSession (const std::string& modulePath)
{
    bool passed = true;
    {
        const auto module = loadModule (modulePath);
        if (module == nullptr)
            return 2;
        const auto playing = startInstance (*module, 44100.0, blockSize);
        if (playing == nullptr)
            return 2;
        auto& instance = *playing;

        for (int program = 0; program < instance.getNumPrograms(); ++program)
        {
            instance.dispatch (vst::effSetProgram, 0, program);
            instance.getCurrentProgramName();
            for (int index = 0; index < instance.getNumParameters(); ++index)
            {
                instance.getParameterName (index);
                instance.text (vst::effGetParamDisplay, index);
            }
            passed = playChord (instance) && passed;
        }
        std::printf ("programs: %d played\n", instance.getNumPrograms());

        const auto saved = instance.getChunk();
        instance.dispatch (vst::effSetProgram, 0, 3);
        instance.setChunk (saved);
        const bool roundTrip = ! saved.empty() && instance.getChunk() == saved;
        std::printf ("state round trip: %s\n", roundTrip ? "same bytes" : "DIFFERENT");
        passed = roundTrip && passed;

        passed = openAndCloseEditor (instance) && passed;
    }
    std::printf ("%s\n", passed ? "passed" : "FAILED");
    return passed ? 0 : 1;
}
} // namespace quane::stress
