// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// quane-play's entry: a JUCE application that hosts the module live, with or without a window.
#include "DeviceSetup.h"
#include "JackMidiInput.h"
#include "PlayerWindow.h"

#include <csignal>
#include <iostream>

namespace quane::play
{
namespace
{
constexpr int watchIntervalMs = 50;
constexpr int headlessStatusIntervalMs = 5000;
constexpr float audibleLevel = 1.0e-4f; // -80 dBFS

std::atomic<bool> quitSignalled { false };

extern "C" void noteQuitSignal (int)
{
    quitSignalled = true;
}

/** Turns SIGINT and SIGTERM into an orderly quit (settings saved, devices closed), gives the
    module idle time, and in headless mode prints a status line while it sounds. */
class RunWatcher : private juce::Timer
{
public:
    RunWatcher (PlayerSession* playerSession, bool printStatus) : session (playerSession), printsStatus (printStatus)
    {
        startTimer (watchIntervalMs);
    }

private:
    void timerCallback() override
    {
        if (quitSignalled.exchange (false))
            juce::JUCEApplication::getInstance()->systemRequestedQuit();
        if (session == nullptr)
            return;
        // The module's messages run on the idle calls a host makes, with or without an editor.
        session->getEffect().dispatch (vst::effIdle);
        session->followMidiRequests();
        if (! printsStatus)
            return;

        const auto peaks = session->getPlayer().takePeakLevels();
        sounding = sounding || juce::jmax (peaks[0], peaks[1]) > audibleLevel
                   || session->getPlayer().getHeldNoteCount() > 0;
        const auto now = juce::Time::getMillisecondCounter();
        if (now - lastStatus >= (juce::uint32) headlessStatusIntervalMs)
        {
            if (sounding)
                std::cout << session->getStatusLine() << std::endl;
            sounding = false;
            lastStatus = now;
        }
    }

    PlayerSession* session;
    bool printsStatus, sounding = false;
    juce::uint32 lastStatus = juce::Time::getMillisecondCounter();
};
} // namespace

class PlayerApplication : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override { return "quane-play"; }
    const juce::String getApplicationVersion() override { return "1.0.0"; }
    bool moreThanOneInstanceAllowed() override { return true; }

    void initialise (const juce::String&) override
    {
        // From the start: a quit asked for while the devices open is carried out once they are.
        std::signal (SIGINT, noteQuitSignal);
        std::signal (SIGTERM, noteQuitSignal);
        try
        {
            start (parseCommandLine (getCommandLineParameterArray()));
        }
        catch (const ToolError& error)
        {
            std::cerr << "quane-play: " << error.message << std::endl;
            shutdown();
            setApplicationReturnValue ((int) error.kind);
            quit();
        }
    }

    void shutdown() override
    {
        watcher.reset();
        window.reset();
        session.reset();
    }

    void systemRequestedQuit() override { quit(); }
    void anotherInstanceStarted (const juce::String&) override {}

private:
    void start (const PlayOptions& options)
    {
        if (options.showHelp)
        {
            std::cout << helpText();
            quit();
            return;
        }
        JackMidiInput::quietenLibrary();
        if (options.listDevices)
        {
            juce::AudioDeviceManager devices;
            std::cout << describeDevices (devices);
            quit();
            return;
        }

        session = std::make_unique<PlayerSession> (options);
        std::cout << "quane-play: " << session->getStatusLine() << std::endl;
        if (const auto port = session->getJackMidiPortName(); port.isNotEmpty())
            std::cout << "quane-play: JACK MIDI input " << port << std::endl;

        if (! options.headless)
            window = std::make_unique<PlayerWindow> (*session);
        watcher = std::make_unique<RunWatcher> (session.get(), options.headless);
    }

    std::unique_ptr<PlayerSession> session;
    std::unique_ptr<PlayerWindow> window;
    std::unique_ptr<RunWatcher> watcher;
};
} // namespace quane::play

START_JUCE_APPLICATION (quane::play::PlayerApplication)
