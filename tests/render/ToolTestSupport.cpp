// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Running quane-render and reading what it wrote.
#include "ToolTestSupport.h"

#include <juce_audio_formats/juce_audio_formats.h>

namespace quane::test
{
ToolRun runTool (const juce::StringArray& arguments)
{
    juce::StringArray command { QUANE_RENDER_PATH };
    command.addArray (arguments);

    juce::ChildProcess process;
    ToolRun run;
    if (! process.start (command, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
    {
        run.output = "could not start " + command[0];
        return run;
    }
    run.output = process.readAllProcessOutput();
    if (process.waitForProcessToFinish (120000))
        run.exitCode = (int) process.getExitCode();
    else
        process.kill();
    return run;
}

juce::AudioBuffer<float> readWav (const juce::File& file, double* sampleRate, int* bitsPerSample)
{
    auto stream = file.createInputStream();
    if (stream == nullptr)
        return {};
    juce::WavAudioFormat format;
    std::unique_ptr<juce::AudioFormatReader> reader (format.createReaderFor (stream.release(), true));
    if (reader == nullptr)
        return {};

    juce::AudioBuffer<float> audio ((int) reader->numChannels, (int) reader->lengthInSamples);
    reader->read (&audio, 0, audio.getNumSamples(), 0, true, true);
    if (sampleRate != nullptr)
        *sampleRate = reader->sampleRate;
    if (bitsPerSample != nullptr)
        *bitsPerSample = (int) reader->bitsPerSample;
    return audio;
}

bool identical (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    if (a.getNumChannels() != b.getNumChannels() || a.getNumSamples() != b.getNumSamples())
        return false;
    for (int channel = 0; channel < a.getNumChannels(); ++channel)
        if (std::memcmp (a.getReadPointer (channel), b.getReadPointer (channel),
                         sizeof (float) * (size_t) a.getNumSamples())
            != 0)
            return false;
    return true;
}

double rmsDifference (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    jassert (a.getNumChannels() == b.getNumChannels() && a.getNumSamples() == b.getNumSamples());
    double sum = 0.0;
    for (int channel = 0; channel < a.getNumChannels(); ++channel)
        for (int i = 0; i < a.getNumSamples(); ++i)
        {
            const double difference = a.getSample (channel, i) - b.getSample (channel, i);
            sum += difference * difference;
        }
    return std::sqrt (sum / juce::jmax (1, a.getNumChannels() * a.getNumSamples()));
}

void writeMidiFile (const juce::File& file, int ticksPerQuarterNote,
                    const juce::Array<juce::MidiMessageSequence>& tracks)
{
    juce::MidiFile midi;
    midi.setTicksPerQuarterNote (ticksPerQuarterNote);
    for (const auto& track : tracks)
        midi.addTrack (track);

    file.deleteFile();
    juce::FileOutputStream stream (file);
    jassert (stream.openedOk());
    midi.writeTo (stream, 1);
}
} // namespace quane::test
