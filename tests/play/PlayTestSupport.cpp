// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Helpers for the quane-play tests: processes, a private JACK server, a JACK client, analysis.
#include "PlayTestSupport.h"

#include <csignal>
#include <fcntl.h>
#include <jack/midiport.h>
#include <sys/wait.h>
#include <unistd.h>

namespace quane::test
{
namespace
{
constexpr int pollIntervalMs = 20;

template <typename Condition>
bool waitUntil (Condition condition, int timeoutMs)
{
    const auto deadline = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
    while (! condition())
    {
        if (juce::Time::getMillisecondCounter() > deadline)
            return false;
        juce::Thread::sleep (pollIntervalMs);
    }
    return true;
}
} // namespace

RunningProcess::RunningProcess (const juce::StringArray& command, const juce::File& logFile,
                                const juce::StringPairArray& environment)
    : log (logFile)
{
    std::vector<std::string> words;
    for (const auto& word : command)
        words.push_back (word.toStdString());
    std::vector<char*> arguments;
    for (auto& word : words)
        arguments.push_back (word.data());
    arguments.push_back (nullptr);

    pid = fork();
    if (pid == 0)
    {
        for (const auto& key : environment.getAllKeys())
            setenv (key.toRawUTF8(), environment[key].toRawUTF8(), 1);
        const auto fd = open (logFile.getFullPathName().toRawUTF8(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0)
        {
            dup2 (fd, STDOUT_FILENO);
            dup2 (fd, STDERR_FILENO);
        }
        execvp (arguments[0], arguments.data());
        _exit (127);
    }
}

RunningProcess::~RunningProcess()
{
    stop();
}

bool RunningProcess::isRunning()
{
    if (pid <= 0 || exited)
        return false;
    if (waitpid (pid, &status, WNOHANG) == pid)
        exited = true;
    return ! exited;
}

int RunningProcess::waitForExit (int timeoutMs)
{
    if (! waitUntil ([this] { return ! isRunning(); }, timeoutMs))
        return -1;
    return WIFEXITED (status) ? WEXITSTATUS (status) : -WTERMSIG (status);
}

int RunningProcess::stop (int graceMs)
{
    if (pid <= 0)
        return -1;
    if (isRunning())
    {
        kill (pid, SIGTERM);
        if (! waitUntil ([this] { return ! isRunning(); }, graceMs))
        {
            kill (pid, SIGKILL);
            waitpid (pid, &status, 0);
            exited = true;
        }
    }
    return WIFEXITED (status) ? WEXITSTATUS (status) : -WTERMSIG (status);
}

JackServer::JackServer (const juce::File& folder)
    : name ("quane-test-" + juce::String (getpid()) + "-"
            + juce::String::toHexString (juce::Random::getSystemRandom().nextInt()))
{
    // A generous client timeout: on a busy machine the clients' threads run late now and then.
    process = std::make_unique<RunningProcess> (
        juce::StringArray { "jackd", "--no-realtime", "--timeout", "5000", "--name", name, "-d", "dummy", "-r",
                            juce::String (sampleRate), "-p", juce::String (periodFrames) },
        folder.getChildFile ("jackd.log"));
    setenv ("JACK_DEFAULT_SERVER", name.toRawUTF8(), 1);

    ready = waitUntil (
                [this] {
                    if (! process->isRunning())
                        return true;
                    jack_status_t status {};
                    auto* probe = jack_client_open ("probe", (jack_options_t) (JackNoStartServer | JackServerName),
                                                    &status, name.toRawUTF8());
                    if (probe == nullptr)
                        return false;
                    jack_client_close (probe);
                    return true;
                },
                10000)
            && process->isRunning();
}

JackServer::~JackServer()
{
    process->stop();
    unsetenv ("JACK_DEFAULT_SERVER");
}

JackTestClient::JackTestClient (const JackServer& server)
{
    jack_status_t status {};
    client = jack_client_open ("quane-test", (jack_options_t) (JackNoStartServer | JackServerName), &status,
                               server.getName().toRawUTF8());
    if (client == nullptr)
        return;
    midiOut = jack_port_register (client, "midi_out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    audioIn[0] = jack_port_register (client, "in_l", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
    audioIn[1] = jack_port_register (client, "in_r", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
    jack_set_process_callback (client, &JackTestClient::process, this);
    jack_activate (client);
}

JackTestClient::~JackTestClient()
{
    if (client != nullptr)
    {
        jack_deactivate (client);
        jack_client_close (client);
    }
}

juce::String JackTestClient::name() const
{
    return juce::String (jack_get_client_name (client));
}

bool JackTestClient::waitForPorts (const juce::StringArray& portNames, int timeoutMs)
{
    return waitUntil (
        [&] {
            for (const auto& port : portNames)
                if (jack_port_by_name (client, port.toRawUTF8()) == nullptr)
                    return false;
            return true;
        },
        timeoutMs);
}

bool JackTestClient::connect (const juce::String& source, const juce::String& destination)
{
    // A client's ports exist before it is activated, and until then they cannot be connected.
    return waitUntil ([&] { return jack_connect (client, source.toRawUTF8(), destination.toRawUTF8()) == 0; }, 10000);
}

std::vector<std::vector<float>> JackTestClient::perform (const std::vector<TimedMessage>& messages, double seconds)
{
    const auto length = (size_t) (seconds * jack_get_sample_rate (client));
    schedule = messages;
    std::sort (schedule.begin(), schedule.end(), [] (const auto& a, const auto& b) { return a.frame < b.frame; });
    recording.assign (2, std::vector<float> (length, 0.0f));
    nextMessage = 0;
    framesDone = 0;
    running = true;

    const auto finished = waitUntil ([&] { return ! running.load(); }, (int) (seconds * 1000.0) * 4 + 5000);
    running = false;
    if (! finished)
        return {};
    return recording;
}

int JackTestClient::process (jack_nframes_t frames, void* self)
{
    static_cast<JackTestClient*> (self)->run (frames);
    return 0;
}

void JackTestClient::run (jack_nframes_t frames)
{
    auto* midi = jack_port_get_buffer (midiOut, frames);
    jack_midi_clear_buffer (midi);
    if (! running.load())
        return;

    const auto start = framesDone.load();
    for (; nextMessage < schedule.size() && schedule[nextMessage].frame < start + (int) frames; ++nextMessage)
    {
        const auto offset = (jack_nframes_t) juce::jmax (0, schedule[nextMessage].frame - start);
        jack_midi_event_write (midi, offset, schedule[nextMessage].bytes, (size_t) schedule[nextMessage].size);
    }

    const auto length = (int) recording[0].size();
    const auto count = juce::jmin ((int) frames, length - start);
    for (int channel = 0; channel < 2; ++channel)
    {
        const auto* input = static_cast<const float*> (jack_port_get_buffer (audioIn[channel], frames));
        std::copy (input, input + count, recording[(size_t) channel].begin() + start);
    }
    framesDone = start + count;
    if (start + count >= length)
        running = false;
}

double rmsDb (const std::vector<float>& samples, int start, int end)
{
    double sum = 0.0;
    for (int i = start; i < end; ++i)
        sum += (double) samples[(size_t) i] * samples[(size_t) i];
    const auto rms = std::sqrt (sum / juce::jmax (1, end - start));
    return rms > 0.0 ? 20.0 * std::log10 (rms) : -300.0;
}

double fundamentalHz (const std::vector<float>& samples, int start, int end, double sampleRate)
{
    const auto minimumLag = (int) (sampleRate / 2000.0), maximumLag = (int) (sampleRate / 40.0);
    const auto window = end - start - maximumLag;
    if (window <= 0)
        return 0.0;

    std::vector<double> correlation ((size_t) maximumLag + 2, 0.0);
    double energy = 0.0;
    for (int i = start; i < start + window; ++i)
        energy += (double) samples[(size_t) i] * samples[(size_t) i];
    if (energy <= 0.0)
        return 0.0;
    for (int lag = minimumLag; lag <= maximumLag + 1; ++lag)
    {
        double sum = 0.0;
        for (int i = start; i < start + window; ++i)
            sum += (double) samples[(size_t) i] * samples[(size_t) (i + lag)];
        correlation[(size_t) lag] = sum / energy;
    }

    // The first peak that comes close to the highest is the period; later ones are its multiples.
    const auto highest = *std::max_element (correlation.begin() + minimumLag, correlation.end() - 1);
    for (int lag = minimumLag + 1; lag <= maximumLag; ++lag)
    {
        const auto here = correlation[(size_t) lag];
        if (here >= 0.9 * highest && here >= correlation[(size_t) lag - 1] && here >= correlation[(size_t) lag + 1])
        {
            // A parabola through the peak and its neighbours places it between samples.
            const auto before = correlation[(size_t) lag - 1], after = correlation[(size_t) lag + 1];
            const auto denominator = before - 2.0 * here + after;
            const auto shift = denominator != 0.0 ? 0.5 * (before - after) / denominator : 0.0;
            return sampleRate / (lag + shift);
        }
    }
    return 0.0;
}

std::unique_ptr<RunningProcess> startPlayer (const juce::StringArray& arguments, const juce::File& home,
                                             const JackServer* server, const juce::String& logName)
{
    juce::StringArray command { QUANE_PLAY_PATH, "--module", QUANE_MODULE_PATH };
    command.addArray (arguments);
    juce::StringPairArray environment;
    environment.set ("HOME", home.getFullPathName());
    environment.set ("JACK_DEFAULT_SERVER",
                     server != nullptr ? server->getName() : juce::String ("quane-test-no-such-server"));
    return std::make_unique<RunningProcess> (command, home.getChildFile (logName), environment);
}

TimedMessage noteAt (int frame, int note, int velocity)
{
    return { frame, { (juce::uint8) (velocity > 0 ? 0x90 : 0x80), (juce::uint8) note, (juce::uint8) velocity } };
}

TimedMessage controllerAt (int frame, int controller, int value)
{
    return { frame, { 0xb0, (juce::uint8) controller, (juce::uint8) value } };
}

TimedMessage programChangeAt (int frame, int program)
{
    return { frame, { 0xc0, (juce::uint8) program, 0 }, 2 };
}
} // namespace quane::test
