// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Starting and stopping a private Xvfb server.
#include "PrivateDisplay.h"

#include "RenderOptions.h"

#include <csignal>
#include <cstdlib>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quane::render
{
namespace
{
constexpr int startTimeoutMs = 10000;

/** Xvfb writes the display number it chose to this descriptor (-displayfd) once it accepts clients. */
juce::String readDisplayNumber (int fd)
{
    juce::String number;
    const auto deadline = juce::Time::getMillisecondCounter() + (juce::uint32) startTimeoutMs;
    for (;;)
    {
        const auto now = juce::Time::getMillisecondCounter();
        if (now >= deadline)
            return {};
        pollfd request { fd, POLLIN, 0 };
        if (poll (&request, 1, (int) (deadline - now)) <= 0)
            return {};
        char buffer[16];
        const auto count = read (fd, buffer, sizeof (buffer));
        if (count <= 0)
            return number.trim();
        number += juce::String (buffer, (size_t) count);
        if (number.containsChar ('\n'))
            return number.trim();
    }
}
} // namespace

void startPrivateDisplayIfNone()
{
    if (const auto* display = std::getenv ("DISPLAY"); display != nullptr && *display != '\0')
        return;

    int pipeEnds[2];
    if (pipe (pipeEnds) != 0)
        fail (ToolError::Kind::editor, "no X display: DISPLAY is unset and no pipe could be made to start Xvfb");

    const auto tool = getpid();
    const auto serverProcess = fork();
    if (serverProcess == 0)
    {
        // The server goes when the tool goes, however it ends.
        prctl (PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != tool)
            _exit (127);
        close (pipeEnds[0]);
        const auto fd = juce::String (pipeEnds[1]);
        execlp ("Xvfb", "Xvfb", "-displayfd", fd.toRawUTF8(), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                (char*) nullptr);
        _exit (127);
    }
    close (pipeEnds[1]);

    const auto number = serverProcess > 0 ? readDisplayNumber (pipeEnds[0]) : juce::String();
    close (pipeEnds[0]);

    if (number.isEmpty() || ! number.containsOnly ("0123456789"))
    {
        if (serverProcess > 0)
        {
            kill (serverProcess, SIGTERM);
            waitpid (serverProcess, nullptr, 0);
        }
        fail (
            ToolError::Kind::editor,
            "no X display: DISPLAY is unset and Xvfb could not be started (install the xvfb package, or set DISPLAY)");
    }

    setenv ("DISPLAY", (":" + number).toRawUTF8(), 1);
}
} // namespace quane::render
