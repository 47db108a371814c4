// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// Output files: the WAV file written as the render is made, and the summary line.
#include "AudioFiles.h"

#include "RenderOptions.h"

namespace quane::render
{
WavFileWriter::WavFileWriter (const juce::File& wavFile, double sampleRate, int bitsPerSample) : file (wavFile)
{
    auto stream = createEmptyFile (file);
    juce::WavAudioFormat format;
    writer.reset (format.createWriterFor (stream.get(), sampleRate, 2, bitsPerSample, {}, 0));
    if (writer == nullptr)
        fail (ToolError::Kind::output, "cannot write " + file.getFullPathName() + ": no WAV writer for "
                                           + juce::String (bitsPerSample) + " bits");
    stream.release(); // the writer owns the stream from here on
}

void WavFileWriter::addBlock (const float* left, const float* right, int numSamples)
{
    const float* channels[] = { left, right, nullptr };
    if (! writer->writeFromFloatArrays (channels, 2, numSamples))
        fail (ToolError::Kind::output, "cannot write " + file.getFullPathName() + ": the disk refused the samples");
}

void WavFileWriter::finish()
{
    if (! writer->flush())
        fail (ToolError::Kind::output, "cannot write " + file.getFullPathName() + ": the disk refused the samples");
}

juce::String summaryLine (const juce::String& programLabel, const RenderResult& render, const juce::String& destination)
{
    const auto seconds = render.seconds();
    const auto& left = render.levels[0];
    const auto& right = render.levels[1];
    const auto realTime = render.wallSeconds > 0.0 ? seconds / render.wallSeconds : 0.0;

    auto db = [] (float value) { return juce::String (value, 1).paddedLeft (' ', 6); };
    return programLabel.paddedRight (' ', 24) + juce::String (seconds, 2).paddedLeft (' ', 6) + " s" + "  peak L "
           + db (left.peakDb) + " R " + db (right.peakDb) + " dBFS" + "  RMS L " + db (left.rmsDb) + " R "
           + db (right.rmsDb) + " dBFS" + "  " + juce::String (realTime, 1) + "x real time"
           + (destination.isNotEmpty() ? "  -> " + destination : juce::String());
}
} // namespace quane::render
