// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// quane-play --headless on a private JACK server with the dummy driver: notes in through its
// JACK MIDI port, its outputs recorded and measured; settings kept between runs; exit statuses.
#include "PlayTestSupport.h"
#include "hostkit/FileWriting.h"
#include "hostkit/HostedEffect.h"
#include "hostkit/ModuleOpening.h"
#include "hostkit/PresetFile.h"

#include <gtest/gtest.h>

namespace quane::test
{
namespace
{
constexpr int rate = JackServer::sampleRate;
constexpr double pitchTolerance = 0.015; // the pitch of a note, as a fraction of its frequency
constexpr double soundingDb = -40.0, silentDb = -90.0;

int frameAt (double seconds)
{
    return (int) (seconds * rate);
}

/** A JACK server, the headless player on it and a client wired to the player's ports. */
class HeadlessPlayer
{
public:
    /** prepare may leave files in the player's home folder before it starts, and answers more
        arguments. */
    explicit HeadlessPlayer (const juce::StringArray& arguments,
                             const std::function<juce::StringArray (const ScratchFolder&)>& prepare = {})
        : server (scratch.get())
    {
        if (! server.isReady())
            return;
        auto command = arguments;
        if (prepare)
            command.addArray (prepare (scratch));
        command.addArray ({ "--headless", "--jack" });
        player = startPlayer (command, scratch.get(), &server);
        client = std::make_unique<JackTestClient> (server);
        wired = client->isOpen()
                && client->waitForPorts ({ "quane-play:out_1", "quane-play:out_2", "quane-play-midi:in" }, 30000)
                && client->connect ("quane-play:out_1", client->name() + ":in_l")
                && client->connect ("quane-play:out_2", client->name() + ":in_r")
                && client->connect (client->name() + ":midi_out", "quane-play-midi:in");
    }

    bool isReady() const { return wired; }
    juce::String diagnosis() const
    {
        return "jackd:\n" + server.getLog() + "\nplayer:\n" + (player != nullptr ? player->getLog() : "");
    }

    std::vector<std::vector<float>> perform (const std::vector<TimedMessage>& messages, double seconds)
    {
        return client->perform (messages, seconds);
    }

    /** Stops the player; its exit status and what its settings file then holds for a name. */
    int stop() { return player->stop(); }
    juce::String setting (const juce::String& name) const
    {
        if (const auto settings = juce::parseXMLIfTagMatches (scratch.file (".config/Quane/quane-play.settings"),
                                                              "PROPERTIES"))
            for (const auto* value : settings->getChildWithTagNameIterator ("VALUE"))
                if (value->getStringAttribute ("name") == name)
                    return value->getStringAttribute ("val");
        return {};
    }

private:
    ScratchFolder scratch;
    JackServer server;
    std::unique_ptr<RunningProcess> player;
    std::unique_ptr<JackTestClient> client;
    bool wired = false;
};

void expectPitch (const std::vector<float>& channel, double fromSeconds, double toSeconds, double expectedHz)
{
    SCOPED_TRACE ("from " + std::to_string (fromSeconds) + " s, expecting " + std::to_string (expectedHz) + " Hz");
    EXPECT_GT (rmsDb (channel, frameAt (fromSeconds), frameAt (toSeconds)), soundingDb);
    EXPECT_NEAR (fundamentalHz (channel, frameAt (fromSeconds), frameAt (toSeconds), rate), expectedHz,
                 expectedHz * pitchTolerance);
}

/** A program (.fxp) or bank (.fxb) file of the module's factory program, under a name. */
void writeSound (const juce::File& file, int program, const juce::String& name)
{
    const auto module = hostkit::openModule (QUANE_MODULE_PATH);
    const auto effect = hostkit::openEffect (*module, 44100.0, 512, "test");
    effect->setProgram (program);
    hostkit::PresetFile preset;
    preset.isBank = file.hasFileExtension ("fxb");
    preset.uniqueId = effect->getEffect()->uniqueID;
    preset.programName = name;
    preset.chunk = effect->getChunk (! preset.isBank);
    file.getParentDirectory().createDirectory();
    hostkit::writeBytes (file, hostkit::encodePreset (preset));
}

void expectSilence (const std::vector<float>& channel, double fromSeconds, double toSeconds)
{
    SCOPED_TRACE ("from " + std::to_string (fromSeconds) + " s to " + std::to_string (toSeconds) + " s");
    EXPECT_LT (rmsDb (channel, frameAt (fromSeconds), frameAt (toSeconds)), silentDb);
}
} // namespace

TEST (HeadlessPlay, NotesFromTheJackPortSoundAtTheirPitchAndStopAfterRelease)
{
    // "Simple Saw" plays an octave down: A4 (69) sounds at 220 Hz, A5 (81) at 440 Hz.
    HeadlessPlayer session ({ "--program", "Simple Saw" });
    ASSERT_TRUE (session.isReady()) << session.diagnosis();

    const auto audio = session.perform ({ noteAt (frameAt (0.3), 69, 100), noteAt (frameAt (1.3), 69, 0),
                                          noteAt (frameAt (1.8), 81, 100), noteAt (frameAt (2.6), 81, 0) },
                                        3.6);
    ASSERT_EQ (audio.size(), 2u) << session.diagnosis();

    for (const auto& channel : audio)
    {
        expectSilence (channel, 0.0, 0.25);
        expectPitch (channel, 0.6, 1.25, 220.0);
        expectSilence (channel, 1.55, 1.75);
        expectPitch (channel, 2.0, 2.55, 440.0);
        expectSilence (channel, 3.0, 3.6);
    }
}

TEST (HeadlessPlay, TheSustainPedalHoldsAReleasedNoteUntilItComesUp)
{
    HeadlessPlayer session ({ "--program", "Simple Saw" });
    ASSERT_TRUE (session.isReady()) << session.diagnosis();

    const auto audio = session.perform ({ noteAt (frameAt (0.2), 69, 100), controllerAt (frameAt (0.4), 64, 127),
                                          noteAt (frameAt (0.6), 69, 0), controllerAt (frameAt (1.5), 64, 0) },
                                        2.2);
    ASSERT_EQ (audio.size(), 2u) << session.diagnosis();
    expectPitch (audio[0], 0.9, 1.45, 220.0);
    expectSilence (audio[0], 1.8, 2.2);
}

TEST (HeadlessPlay, AnotherProgramOnTheCommandLineIsHeard)
{
    // "Chordy" does not transpose: the same A4 sounds an octave higher than with "Simple Saw".
    HeadlessPlayer session ({ "--program", "0" });
    ASSERT_TRUE (session.isReady()) << session.diagnosis();

    const auto audio = session.perform ({ noteAt (frameAt (0.2), 69, 100), noteAt (frameAt (1.0), 69, 0) }, 1.2);
    ASSERT_EQ (audio.size(), 2u) << session.diagnosis();
    expectPitch (audio[0], 0.45, 0.95, 440.0);
}

TEST (HeadlessPlay, AProgramChangeSwitchesTheSound)
{
    // From "Chordy" (0: A4 at 440 Hz) to "Simple Saw" (8: an octave down).
    HeadlessPlayer session ({ "--program", "0" });
    ASSERT_TRUE (session.isReady()) << session.diagnosis();

    const auto audio = session.perform ({ noteAt (frameAt (0.2), 69, 100), noteAt (frameAt (0.8), 69, 0),
                                          programChangeAt (frameAt (1.0), 8), noteAt (frameAt (1.4), 69, 100),
                                          noteAt (frameAt (2.0), 69, 0) },
                                        2.2);
    ASSERT_EQ (audio.size(), 2u) << session.diagnosis();
    expectPitch (audio[0], 0.4, 0.75, 440.0);
    expectPitch (audio[0], 1.6, 1.95, 220.0);
}

TEST (HeadlessPlay, ProgramChangesGoOnToTheUsersSoundsAndABankLoadsUnderItsFileName)
{
    // Program 12 is the first of the user's own sounds: "Simple Saw" (8) saved as "Low Saw".
    {
        HeadlessPlayer session ({ "--program", "0" }, [] (const ScratchFolder& home) {
            writeSound (home.file (".config/Quane/sounds/Low Saw.fxp"), 8, "Low Saw");
            home.file (".config/Quane/sounds/broken.fxp").replaceWithText ("CcnK");
            return juce::StringArray();
        });
        ASSERT_TRUE (session.isReady()) << session.diagnosis();
        const auto audio = session.perform (
            { programChangeAt (frameAt (0.1), 12), noteAt (frameAt (0.4), 69, 100), noteAt (frameAt (1.0), 69, 0) },
            1.2);
        ASSERT_EQ (audio.size(), 2u) << session.diagnosis();
        expectPitch (audio[0], 0.6, 0.95, 220.0);
        EXPECT_EQ (session.stop(), 0);
        EXPECT_EQ (session.setting ("soundName"), "Low Saw");
        EXPECT_TRUE (session.diagnosis().contains ("broken.fxp")) << "the unreadable sound was not named";
    } // one JACK server at a time

    // A bank from elsewhere is the one sound it holds, named as its file.
    HeadlessPlayer banked ({}, [] (const ScratchFolder& home) {
        writeSound (home.file ("Night Pad.fxb"), 3, "ignored");
        return juce::StringArray { "--load", home.file ("Night Pad.fxb").getFullPathName() };
    });
    ASSERT_TRUE (banked.isReady()) << banked.diagnosis();
    EXPECT_EQ (banked.stop(), 0);
    EXPECT_EQ (banked.setting ("soundName"), "Night Pad");
}

TEST (HeadlessPlay, MidiInputByPartOfAJackPortsNameIsConnectedAndListed)
{
    ScratchFolder home;
    JackServer server (home.get());
    ASSERT_TRUE (server.isReady()) << server.getLog();
    JackTestClient client (server);
    ASSERT_TRUE (client.isOpen());

    auto lister = startPlayer ({ "--list-devices" }, home.get(), &server, "list.log");
    EXPECT_EQ (lister->waitForExit (30000), 0);
    EXPECT_TRUE (lister->getLog().contains ("JACK MIDI sources:\n  " + client.name() + ":midi_out"))
        << lister->getLog();

    auto player = startPlayer ({ "--headless", "--jack", "--program", "Simple Saw", "--midi-input", "TEST:midi" },
                               home.get(), &server);
    ASSERT_TRUE (client.waitForPorts ({ "quane-play:out_1", "quane-play-midi:in" }, 30000)) << player->getLog();
    ASSERT_TRUE (client.connect ("quane-play:out_1", client.name() + ":in_l"));
    ASSERT_TRUE (client.connect ("quane-play:out_2", client.name() + ":in_r"));
    const auto audio = client.perform ({ noteAt (frameAt (0.2), 69, 100), noteAt (frameAt (0.9), 69, 0) }, 1.0);
    ASSERT_EQ (audio.size(), 2u) << player->getLog();
    expectPitch (audio[0], 0.4, 0.85, 220.0);
    EXPECT_EQ (player->stop(), 0) << player->getLog();
}

TEST (HeadlessPlay, ALearnedControllerMovesTheCutoffAndTheSpectrumFollows)
{
    // Controller 74 learned for the cutoff (6); an assignment to a value the module lacks is dropped.
    HeadlessPlayer session ({ "--program", "Simple Saw" }, [] (const ScratchFolder& home) {
        home.file (".config/Quane/quane-play.settings").create();
        home.file (".config/Quane/quane-play.settings")
            .replaceWithText ("<PROPERTIES><VALUE name=\"learnedControllers\" val=\"74:6 75:99\"/></PROPERTIES>");
        return juce::StringArray();
    });
    ASSERT_TRUE (session.isReady()) << session.diagnosis();
    const auto audio = session.perform ({ controllerAt (frameAt (0.1), 74, 20), noteAt (frameAt (0.2), 57, 100),
                                          controllerAt (frameAt (1.0), 74, 127), noteAt (frameAt (1.8), 57, 0) },
                                        1.9);
    ASSERT_EQ (audio.size(), 2u) << session.diagnosis();

    // The share of high frequencies: the level of the sample-to-sample difference over the level.
    const auto brightness = [&] (double from, double to) {
        std::vector<float> difference;
        for (int i = frameAt (from); i < frameAt (to); ++i)
            difference.push_back (audio[0][(size_t) i + 1] - audio[0][(size_t) i]);
        return rmsDb (difference, 0, (int) difference.size()) - rmsDb (audio[0], frameAt (from), frameAt (to));
    };
    EXPECT_GT (rmsDb (audio[0], frameAt (0.5), frameAt (0.9)), soundingDb);
    EXPECT_GT (brightness (1.3, 1.7), brightness (0.5, 0.9) + 6.0);

    EXPECT_EQ (session.stop(), 0);
    EXPECT_EQ (session.setting ("learnedControllers"), "74:6");
}

TEST (HeadlessPlay, SettingsAreKeptAndAnUnreadableFileIsSetAside)
{
    ScratchFolder home;
    JackServer server (home.get());
    ASSERT_TRUE (server.isReady()) << server.getLog();

    const auto settingsFile = home.file (".config/Quane/quane-play.settings");
    settingsFile.getParentDirectory().createDirectory();
    settingsFile.replaceWithText ("<PROPERTIES><VALUE name=\"program\" val=\"3\"");

    const auto runAndStop = [&] (const juce::StringArray& arguments) {
        juce::StringArray command { "--headless", "--jack" };
        command.addArray (arguments);
        auto player = startPlayer (command, home.get(), &server);
        JackTestClient client (server);
        EXPECT_TRUE (client.waitForPorts ({ "quane-play:out_1" }, 30000)) << player->getLog();
        EXPECT_EQ (player->stop(), 0) << player->getLog();
        return player->getLog();
    };

    const auto firstLog = runAndStop ({});
    EXPECT_TRUE (firstLog.contains ("could not be read")) << firstLog;
    EXPECT_TRUE (settingsFile.getSiblingFile ("quane-play.settings.corrupt")
                     .loadFileAsString()
                     .startsWith ("<PROPERTIES><VALUE"));

    const auto readSettings = [&] { return juce::parseXMLIfTagMatches (settingsFile, "PROPERTIES"); };
    const auto valueOf = [] (const juce::XmlElement& settings, const juce::String& name) {
        for (const auto* value : settings.getChildWithTagNameIterator ("VALUE"))
            if (value->getStringAttribute ("name") == name)
                return value->getStringAttribute ("val");
        return juce::String();
    };

    auto settings = readSettings();
    ASSERT_NE (settings, nullptr);
    EXPECT_EQ (valueOf (*settings, "program"), "0"); // a fresh start, not program 3 from the broken file
    EXPECT_TRUE (valueOf (*settings, "instrumentChunk").isNotEmpty());
    const auto* deviceState = settings->getChildByAttribute ("name", "audioDeviceState");
    ASSERT_NE (deviceState, nullptr);
    EXPECT_TRUE (deviceState->toString().contains ("deviceType=\"JACK\"")) << deviceState->toString();

    runAndStop ({ "--program", "Rezzy Bass" });
    runAndStop ({});
    settings = readSettings();
    ASSERT_NE (settings, nullptr);
    EXPECT_EQ (valueOf (*settings, "program"), "7"); // restored at the second start, kept at its end
}

TEST (HeadlessPlay, FailuresEndWithTheirExitStatus)
{
    ScratchFolder home;
    const auto exitOf = [&] (const juce::StringArray& arguments) {
        auto player = startPlayer (arguments, home.get(), nullptr);
        const auto status = player->waitForExit (30000);
        SCOPED_TRACE (player->getLog());
        return status;
    };

    EXPECT_EQ (exitOf ({ "--headless", "--no-such-option" }), 1);
    EXPECT_EQ (exitOf ({ "--headless", "--jack", "--program", "No Such Program" }), 1);
    EXPECT_EQ (exitOf ({ "--headless", "--module", home.file ("missing.so").getFullPathName() }), 2);

    // A program file of this module whose state the module does not take is no loaded sound.
    hostkit::PresetFile refused;
    refused.uniqueId =
        hostkit::openEffect (*hostkit::openModule (QUANE_MODULE_PATH), 44100.0, 512, "test")->getEffect()->uniqueID;
    refused.programName = "Refused";
    const std::string junk = "not a state";
    refused.chunk.assign (junk.begin(), junk.end());
    hostkit::writeBytes (home.file ("refused.fxp"), hostkit::encodePreset (refused));
    EXPECT_EQ (exitOf ({ "--headless", "--load", home.file ("refused.fxp").getFullPathName() }), 3);
    EXPECT_EQ (exitOf ({ "--headless", "--jack" }), 6); // no JACK server of that name runs
    EXPECT_EQ (exitOf ({ "--help" }), 0);
}
} // namespace quane::test
