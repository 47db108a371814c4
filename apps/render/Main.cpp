// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// quane-render's entry: one render, or one per factory program, from a fresh instance each.
#include "AudioFiles.h"
#include "EditorCapture.h"
#include "InstanceSetup.h"
#include "PrivateDisplay.h"
#include "RenderPicture.h"

#include <iostream>
#include <optional>
#include <unistd.h>

namespace quane::render
{
namespace
{
/** Where one render goes and how it is labelled. */
struct RenderJob
{
    juce::String programLabel;
    juce::File wavFile, pngFile; // either may be unset
};

void renderAndWrite (HostedEffect& effect, const Performance& performance, const RenderOptions& options,
                     const RenderJob& job)
{
    for (const auto& file : { job.wavFile, job.pngFile })
        if (file != juce::File())
            checkWritable (file);

    // The WAV file and the picture's summary take the audio as it is made.
    const auto numSamples = renderLength (performance, options.sampleRate, options.tailSeconds);
    std::vector<RenderSink*> sinks;
    std::optional<WavFileWriter> wav;
    std::optional<RenderPicture> picture;
    if (job.wavFile != juce::File())
        sinks.push_back (&wav.emplace (job.wavFile, options.sampleRate, options.bitsPerSample));
    if (job.pngFile != juce::File())
        sinks.push_back (&picture.emplace (numSamples));

    const bool showProgress = ! options.quiet && isatty (STDERR_FILENO) != 0;
    const auto render = renderPerformance (effect, performance, options.sampleRate, options.blockSize, numSamples,
                                           showProgress, sinks);

    if (wav.has_value())
    {
        wav->finish();
        if (options.bitsPerSample == 24 && juce::jmax (render.levels[0].peakDb, render.levels[1].peakDb) > 0.0f)
            std::cerr << "quane-render: warning: the render peaks above 0 dBFS; " << job.wavFile.getFileName()
                      << " clips those samples (the 32-bit float file keeps them)" << std::endl;
    }

    const auto shownName = job.wavFile != juce::File() ? job.wavFile.getFileName() : juce::String ("(audio not saved)");
    if (picture.has_value())
        picture->write (job.pngFile, render, { job.programLabel, shownName, performance.sourceName });

    if (! options.quiet)
    {
        const auto destination = job.wavFile != juce::File()
                                     ? job.wavFile.getRelativePathFrom (juce::File::getCurrentWorkingDirectory())
                                     : juce::String();
        std::cout << summaryLine (job.programLabel, render, destination) << std::endl;
    }
}

/** With --all-programs, --out and --png name folders; they are made when missing. */
juce::File outputFolder (const juce::File& folder, const juce::String& option)
{
    if (folder == juce::File())
        return {};
    if (folder.existsAsFile() || folder.hasFileExtension ("wav;png"))
        fail (ToolError::Kind::usage,
              "with --all-programs, " + option + " names a folder, not the file " + folder.getFullPathName());
    if (! folder.createDirectory())
        fail (ToolError::Kind::output, "cannot make the folder " + folder.getFullPathName());
    return folder;
}

void renderEveryProgram (const LoadedModule& module, const Performance& performance, const RenderOptions& options)
{
    const auto wavFolder = outputFolder (options.wavFile, "--out");
    const auto pngFolder = outputFolder (options.pngFile, "--png");

    for (int number = 0;; ++number)
    {
        const auto instance = openEffect (module, options.sampleRate, options.blockSize, "quane-render");
        auto& effect = *instance;
        if (number >= effect.getNumPrograms())
            break;

        effect.setProgram (number);
        applySettings (effect, options.settings);

        const auto stem = programFileStem (number, effect.getProgramName (number));
        RenderJob job { currentProgramLabel (effect) + (options.settings.isEmpty() ? "" : " (edited)"),
                        wavFolder != juce::File() ? wavFolder.getChildFile (stem + ".wav") : juce::File(),
                        pngFolder != juce::File() ? pngFolder.getChildFile (stem + ".png") : juce::File() };
        renderAndWrite (effect, performance, options, job);
    }
}

void renderOnce (const LoadedModule& module, const Performance& performance, const RenderOptions& options)
{
    const auto instance = openEffect (module, options.sampleRate, options.blockSize, "quane-render");
    auto& effect = *instance;

    if (options.program.isNotEmpty())
        effect.setProgram (findProgram (effect, options.program));
    if (options.loadFile != juce::File())
        loadPreset (effect, options.loadFile);
    applySettings (effect, options.settings);

    if (options.saveFile != juce::File())
        savePreset (effect, options.saveFile);

    // A run that asks only for a preset or the editor picture renders nothing.
    const bool onlyStateOrEditor = options.wavFile == juce::File() && options.pngFile == juce::File()
                                   && (options.saveFile != juce::File() || options.editorPngFile != juce::File());
    if (! onlyStateOrEditor)
    {
        auto label = options.loadFile != juce::File() ? "preset " + options.loadFile.getFileName()
                                                      : currentProgramLabel (effect);
        if (! options.settings.isEmpty())
            label << " (edited)";
        renderAndWrite (effect, performance, options, { label, options.wavFile, options.pngFile });
    }

    if (options.editorPngFile != juce::File())
    {
        checkWritable (options.editorPngFile);
        captureEditor (effect, options.editorPngFile);
        if (! options.quiet)
            std::cout << "editor picture -> "
                      << options.editorPngFile.getRelativePathFrom (juce::File::getCurrentWorkingDirectory())
                      << std::endl;
    }
}

int run (const juce::StringArray& arguments)
{
    const auto options = parseCommandLine (arguments);
    if (options.showHelp)
    {
        std::cout << helpText();
        return 0;
    }
    if (options.allPrograms && options.editorPngFile != juce::File())
        fail (ToolError::Kind::usage, "take the editor picture in a run of its own, without --all-programs");

    // Before the module loads: its GUI library reads DISPLAY when it first connects.
    if (options.editorPngFile != juce::File())
        startPrivateDisplayIfNone();

    const auto performance = options.midiFile != juce::File()
                                 ? loadMidiFile (options.midiFile, options.sampleRate, options.maximumSeconds)
                                 : demoPhrase (options.sampleRate);
    const auto module = openModule (options.modulePath);

    if (options.allPrograms)
        renderEveryProgram (*module, performance, options);
    else
        renderOnce (*module, performance, options);
    return 0;
}
} // namespace
} // namespace quane::render

int main (int argc, char* argv[])
{
    return quane::hostkit::runToolMain ("quane-render", argc, argv, quane::render::run);
}
