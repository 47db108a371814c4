// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// quane-play's command line: options, their values and the help text.
#include "PlayOptions.h"

#include "hostkit/ModuleOpening.h"

namespace quane::play
{
PlayOptions parseCommandLine (const juce::StringArray& arguments)
{
    PlayOptions options;
    options.modulePath = hostkit::defaultModulePath (QUANE_DEFAULT_MODULE_PATH);

    for (hostkit::ToolArguments reader (arguments); reader.next();)
    {
        const auto& option = reader.option();
        if (reader.readHostingOption (options))
            continue;
        if (option == "--list-devices")
            options.listDevices = true;
        else if (option == "--jack" || option == "--alsa")
        {
            const auto type = option.substring (2).toUpperCase();
            if (options.audioType.isNotEmpty() && options.audioType != type)
                fail (ToolError::Kind::usage, "--jack and --alsa exclude each other");
            options.audioType = type;
        }
        else if (option == "--midi-input")
            options.midiInputs.add (reader.value());
        else if (option == "--headless")
            options.headless = true;
        else
            reader.rejectOption();
    }

    hostkit::checkPresetFileName (options.loadFile);
    return options;
}

juce::String helpText()
{
    return R"(quane-play: plays the Quane module (Kolv.so) live, hosting it through its VST 2.x entry.

Usage: quane-play [options]

One window shows the module's editor above a strip with the program menu, an on-screen keyboard
(also played from the computer keyboard: A W S E D F T G Y H U J K O L P ; from C, octave
with the < > buttons),
pitch bend, mod wheel, level meter, panic, load/save of .fxp/.fxb files and the audio/MIDI
settings. MIDI comes from every enabled ALSA MIDI input and, on JACK, from the player's own
JACK MIDI port (quane-play-midi:in), on any channel.

Options
  --program N|NAME      factory program by number (0-11) or name, e.g. "Pulse Lead"
  --load FILE.fxp|.fxb  restore a program or bank file after the program
  --jack, --alsa        audio through JACK or ALSA (default: the last set-up, else the first
                        system that has a device)
  --midi-input NAME     enable the MIDI inputs whose name contains NAME (repeatable); on JACK
                        also connects JACK MIDI outputs whose port name contains NAME
  --list-devices        list audio devices, MIDI inputs and JACK MIDI sources, then quit
  --headless            no window: audio and MIDI only, until Ctrl+C or SIGTERM
  --module PATH         the module to load (default: the installed or built Kolv.so)
  --help                this text

Settings (the last device set-up, the instrument's state and the window position) are kept in
~/.config/Quane/quane-play.settings and restored at the next start; --program and --load apply
on top of the restored state.

Exit status: 0 done; 1 bad command line (option, program name, MIDI input); 2 module missing,
unloadable or not a VST 2.x effect; 3 preset file unreadable or invalid; 6 no audio device could
be opened.
)";
}
} // namespace quane::play
