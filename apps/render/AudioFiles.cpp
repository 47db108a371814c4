// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// WAV writing, the writability check and the per-render summary line.
#include "AudioFiles.h"

#include "RenderOptions.h"

#include <juce_audio_formats/juce_audio_formats.h>

namespace quane::render
{
namespace
{
// Silence reads as this floor rather than minus infinity.
constexpr float silenceDb = -200.0f;

} // namespace

void writeWav (const juce::File& file, const RenderResult& render, int bitsPerSample)
{
    auto stream = createEmptyFile (file);
    juce::WavAudioFormat format;
    std::unique_ptr<juce::AudioFormatWriter> writer (
        format.createWriterFor (stream.get(), render.sampleRate, 2, bitsPerSample, {}, 0));
    if (writer == nullptr)
        fail (ToolError::Kind::output, "cannot write " + file.getFullPathName() + ": no WAV writer for "
                                           + juce::String (bitsPerSample) + " bits");
    stream.release(); // the writer owns the stream from here on

    if (! writer->writeFromAudioSampleBuffer (render.audio, 0, render.audio.getNumSamples()) || ! writer->flush())
        fail (ToolError::Kind::output, "cannot write " + file.getFullPathName() + ": the disk refused the samples");
}

ChannelLevels levelsOf (const RenderResult& render, int channel)
{
    const auto numSamples = render.audio.getNumSamples();
    const auto peak = render.audio.getMagnitude (channel, 0, numSamples);
    const auto rms = render.audio.getRMSLevel (channel, 0, numSamples);
    return { juce::Decibels::gainToDecibels (peak, silenceDb), juce::Decibels::gainToDecibels (rms, silenceDb) };
}

juce::String summaryLine (const juce::String& programLabel, const RenderResult& render, const juce::String& destination)
{
    const auto seconds = render.audio.getNumSamples() / render.sampleRate;
    const auto left = levelsOf (render, 0);
    const auto right = levelsOf (render, 1);
    const auto realTime = render.wallSeconds > 0.0 ? seconds / render.wallSeconds : 0.0;

    auto db = [] (float value) { return juce::String (value, 1).paddedLeft (' ', 6); };
    return programLabel.paddedRight (' ', 24) + juce::String (seconds, 2).paddedLeft (' ', 6) + " s" + "  peak L "
           + db (left.peakDb) + " R " + db (right.peakDb) + " dBFS" + "  RMS L " + db (left.rmsDb) + " R "
           + db (right.rmsDb) + " dBFS" + "  " + juce::String (realTime, 1) + "x real time"
           + (destination.isNotEmpty() ? "  -> " + destination : juce::String());
}
} // namespace quane::render
