// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// quane-render's command line: options, their values and the help text.
#include "RenderOptions.h"

#include "hostkit/ModuleOpening.h"

namespace quane::render
{
namespace
{
double parseNumber (const juce::String& option, const juce::String& text)
{
    const auto trimmed = text.trim();
    char* end = nullptr;
    const auto value = std::strtod (trimmed.toRawUTF8(), &end);
    if (trimmed.isEmpty() || end == nullptr || *end != '\0' || ! std::isfinite (value))
        fail (ToolError::Kind::usage, option + " needs a number, not \"" + text + "\"");
    return value;
}

/** A whole number; one beyond the range of int is kept at its end, for the range checks to refuse. */
int parseInteger (const juce::String& option, const juce::String& text)
{
    const auto value = parseNumber (option, text);
    return (int) juce::jlimit ((double) std::numeric_limits<int>::min(), (double) std::numeric_limits<int>::max(),
                               value);
}

ParameterSetting parseSetting (const juce::String& text)
{
    const auto equals = text.lastIndexOfChar ('=');
    if (equals <= 0)
        fail (ToolError::Kind::usage, "--set needs NAME=VALUE, not \"" + text + "\"");
    return { text.substring (0, equals).trim(),
             (float) parseNumber ("--set " + text.substring (0, equals).trim(), text.substring (equals + 1)) };
}
} // namespace

RenderOptions parseCommandLine (const juce::StringArray& arguments)
{
    RenderOptions options;
    options.modulePath = hostkit::defaultModulePath (QUANE_DEFAULT_MODULE_PATH);

    for (hostkit::ToolArguments reader (arguments); reader.next();)
    {
        const auto& option = reader.option();
        if (reader.readHostingOption (options))
            continue;
        if (option == "--midi")
            options.midiFile = reader.fileValue();
        else if (option == "--all-programs")
            options.allPrograms = true;
        else if (option == "--set")
            options.settings.add (parseSetting (reader.value()));
        else if (option == "--rate")
            options.sampleRate = parseNumber (option, reader.value());
        else if (option == "--block")
            options.blockSize = parseInteger (option, reader.value());
        else if (option == "--tail")
            options.tailSeconds = parseNumber (option, reader.value());
        else if (option == "--max-seconds")
            options.maximumSeconds = parseNumber (option, reader.value());
        else if (option == "--out")
            options.wavFile = reader.fileValue();
        else if (option == "--bits")
            options.bitsPerSample = parseInteger (option, reader.value());
        else if (option == "--png")
            options.pngFile = reader.fileValue();
        else if (option == "--editor-png")
            options.editorPngFile = reader.fileValue();
        else if (option == "--save")
            options.saveFile = reader.fileValue();
        else if (option == "--quiet" || option == "-q")
            options.quiet = true;
        else
            reader.rejectOption();
    }

    if (options.sampleRate < 8000.0 || options.sampleRate > 384000.0)
        fail (ToolError::Kind::usage, "--rate must lie between 8000 and 384000 Hz");
    if (options.blockSize < 1 || options.blockSize > 65536)
        fail (ToolError::Kind::usage, "--block must lie between 1 and 65536 samples");
    if (options.tailSeconds < 0.0 || options.tailSeconds > 600.0)
        fail (ToolError::Kind::usage, "--tail must lie between 0 and 600 seconds");
    if (options.maximumSeconds < 1.0 || options.maximumSeconds > 86400.0)
        fail (ToolError::Kind::usage, "--max-seconds must lie between 1 and 86400 (a day)");
    if (options.bitsPerSample != 32 && options.bitsPerSample != 24)
        fail (ToolError::Kind::usage, "--bits must be 32 (float) or 24");
    if (options.allPrograms && options.program.isNotEmpty())
        fail (ToolError::Kind::usage, "--program and --all-programs exclude each other");
    if (options.loadFile != juce::File() && (options.allPrograms || options.program.isNotEmpty()))
        fail (ToolError::Kind::usage, "--load replaces the whole patch: use it without --program or --all-programs");
    if (options.saveFile != juce::File() && options.allPrograms)
        fail (ToolError::Kind::usage, "--save stores one instance's state: use it without --all-programs");
    for (const auto& file : { options.loadFile, options.saveFile })
        hostkit::checkPresetFileName (file);

    return options;
}

juce::String helpText()
{
    return R"(quane-render: plays the Quane module (Kolv.so) through its VST 2.x entry, as a music host does.

Usage: quane-render [options]

Sound
  --midi FILE.mid        play a standard MIDI file (all tracks merged, tempo map honoured);
                         without it the embedded demo phrase plays (about 10 s: a chord with its
                         release tail, then a lead line with pitch bend and mod wheel over a bass)
  --program N|NAME       factory program by number (0-11) or name, e.g. "Pulse Lead" or pulse-lead
  --all-programs         render once per factory program, each in a fresh instance; --out and
                         --png then name folders, and every file is called NN-program-name,
                         e.g. out/03-pulse-lead.wav and out/03-pulse-lead.png
  --set NAME=VALUE       set a parameter to a raw value (as hosts send them) after the program or
                         preset; NAME is the full parameter name ("Amp Release"), the 8-character
                         host name ("Amp Rele") or the index (0-29), case-insensitive; repeatable
  --load FILE.fxp|.fxb   restore a program or bank file (opaque chunk) into the instance
  --save FILE.fxp|.fxb   store the instance's state after --program/--load/--set

Rendering
  --rate HZ              sample rate (default 44100)
  --block N              host block size in samples (default 512)
  --tail SECONDS         time rendered after the last MIDI event (default 2)
  --max-seconds SECONDS  refuse a MIDI file whose events lie further out (default 3600: an hour)

Output
  --out FILE.wav         write the render (32-bit float WAV unless --bits 24)
  --bits 32|24           sample format of the WAV file
  --png FILE.png         picture of the render: stereo waveform and spectrogram
  --editor-png FILE.png  open the module's editor in a window of its own and save a screenshot;
                         with no DISPLAY a private Xvfb is started when Xvfb is installed
  --module PATH          the module to load (default: the installed or built Kolv.so)
  --quiet                no summary lines and no progress bar
  --help                 this text

Each render prints one line: program, length, peak and RMS per channel in dBFS and the real-time
factor. A progress bar appears on stderr for renders over a second when stderr is a terminal.

MIDI files over 64 MB or with more than a million events are refused before they are played.

Exit status: 0 done; 1 bad command line (option, program or parameter name, value); 2 module
missing, unloadable or not a VST 2.x effect; 3 MIDI or preset file unreadable, invalid or too
large or long; 4 an output file cannot be written; 5 the module shows no editor or its window
could not be captured; 7 an unexpected failure (such as running out of memory).
)";
}
} // namespace quane::render
