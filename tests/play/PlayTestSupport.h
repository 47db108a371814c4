// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers for the quane-play tests: processes, a private JACK server, a JACK client that plays
// notes to the player and records it, and the analysis of what it recorded.
#pragma once

#include "tests/common/ScratchFolder.h"

#include <atomic>
#include <jack/jack.h>
#include <juce_core/juce_core.h>
#include <sys/types.h>
#include <vector>

namespace quane::test
{
/** A child process whose output goes to a log file; stopped (SIGTERM, then SIGKILL) when the
    object goes, so a failing test leaves nothing running. */
class RunningProcess
{
public:
    RunningProcess (const juce::StringArray& command, const juce::File& logFile,
                    const juce::StringPairArray& environment = {});
    ~RunningProcess();

    bool isRunning();
    /** Waits for the process to end by itself; its exit status, or -1 after the timeout. */
    int waitForExit (int timeoutMs);
    /** SIGTERM, a grace period, then SIGKILL; answers the exit status (negative: the signal). */
    int stop (int graceMs = 5000);
    juce::String getLog() const { return log.loadFileAsString(); }

private:
    pid_t pid = -1;
    int status = 0;
    bool exited = false;
    juce::File log;
};

/** A JACK server of the test's own (dummy driver, 48 kHz, 256 frames) under a unique name, which
    JACK_DEFAULT_SERVER then names for every process the test starts. */
class JackServer
{
public:
    static constexpr int sampleRate = 48000, periodFrames = 256;

    explicit JackServer (const juce::File& folder);
    ~JackServer();

    bool isReady() const noexcept { return ready; }
    const juce::String& getName() const noexcept { return name; }
    juce::String getLog() const { return process->getLog(); }

private:
    juce::String name;
    std::unique_ptr<RunningProcess> process;
    bool ready = false;
};

/** MIDI bytes at a frame counted from the start of a performance. */
struct TimedMessage
{
    int frame;
    juce::uint8 bytes[3];
    int size = 3;
};

/** A client with a MIDI output and two audio inputs: plays timed messages into the player's
    MIDI port and records the player's two outputs over the same frames. */
class JackTestClient
{
public:
    explicit JackTestClient (const JackServer& server);
    ~JackTestClient();

    bool isOpen() const noexcept { return client != nullptr; }

    /** True once both ports exist on the server (waits up to the timeout). */
    bool waitForPorts (const juce::StringArray& portNames, int timeoutMs);
    /** Connects two ports, waiting up to ten seconds for their clients to be active. */
    bool connect (const juce::String& source, const juce::String& destination);

    /** Plays the messages and records `seconds` of the connected outputs; left channel first.
        Empty when the server stopped delivering cycles. */
    std::vector<std::vector<float>> perform (const std::vector<TimedMessage>& messages, double seconds);

    juce::String name() const;

private:
    static int process (jack_nframes_t frames, void* self);
    void run (jack_nframes_t frames);

    jack_client_t* client = nullptr;
    jack_port_t* midiOut = nullptr;
    jack_port_t* audioIn[2] = {};
    std::vector<TimedMessage> schedule;
    std::vector<std::vector<float>> recording;
    std::atomic<bool> running { false };
    std::atomic<int> framesDone { 0 };
    size_t nextMessage = 0;
};

/** Root-mean-square level in dBFS of samples [start, end) of a channel. */
double rmsDb (const std::vector<float>& samples, int start, int end);

/** The fundamental of samples [start, end) by autocorrelation, in Hz (0 when none is found). */
double fundamentalHz (const std::vector<float>& samples, int start, int end, double sampleRate);

/** The built quane-play with these arguments, HOME pointing at the folder (so its settings go
    there) and the test's JACK server. */
std::unique_ptr<RunningProcess> startPlayer (const juce::StringArray& arguments, const juce::File& home,
                                             const JackServer* server, const juce::String& logName = "player.log");

/** Note on or off on channel 1 at a frame. */
TimedMessage noteAt (int frame, int note, int velocity);

/** A controller's value on channel 1 at a frame. */
TimedMessage controllerAt (int frame, int controller, int value);

/** A program change on channel 1 at a frame. */
TimedMessage programChangeAt (int frame, int program);
} // namespace quane::test
