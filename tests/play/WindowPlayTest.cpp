// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// quane-play with its window on the test display: the module's editor inside the player's
// window, a screenshot of it, a note from the JACK port, and one played by clicking the
// on-screen keyboard.
#include "PlayTestSupport.h"
#include "tests/common/DisplayLock.h"

#include <gtest/gtest.h>
#include <juce_graphics/juce_graphics.h>
#include <set>

namespace quane::test
{
namespace
{
constexpr int rate = JackServer::sampleRate;
// The window's layout: the 540 x 340 editor centred over a 720-wide strip, the keyboard's white
// keys in the strip's lower part.
constexpr int editorLeft = 90, editorWidth = 540, editorHeight = 340;
constexpr int keyX = 300, keyY = 452;
constexpr int logoX = 580, logoY = 40;

juce::String runCommand (const juce::StringArray& command)
{
    juce::ChildProcess process;
    if (! process.start (command))
        return {};
    auto output = process.readAllProcessOutput();
    process.waitForProcessToFinish (10000);
    return output;
}

juce::String findWindow (const juce::String& title = "^Quane$")
{
    for (int attempt = 0; attempt < 100; ++attempt)
    {
        // Only the ids: a window that goes while xdotool walks the tree adds an X error line, and
        // import given anything else as its window waits for a click.
        for (const auto& line : juce::StringArray::fromLines (runCommand ({ "xdotool", "search", "--name", title })))
            if (line.isNotEmpty() && line.containsOnly ("0123456789"))
                return line;
        juce::Thread::sleep (100);
    }
    return {};
}

/** The loudest fifth of a second of the left channel, in dBFS. */
double loudestDbOf (const std::vector<std::vector<float>>& audio)
{
    double loudestDb = -300.0;
    for (int start = 0; ! audio.empty() && start + rate / 5 <= (int) audio[0].size(); start += rate / 20)
        loudestDb = juce::jmax (loudestDb, rmsDb (audio[0], start, start + rate / 5));
    return loudestDb;
}

int distinctColours (const juce::Image& image, juce::Rectangle<int> area)
{
    std::set<juce::uint32> colours;
    for (int y = area.getY(); y < area.getBottom(); y += 2)
        for (int x = area.getX(); x < area.getRight(); x += 2)
            colours.insert (image.getPixelAt (x, y).getARGB());
    return (int) colours.size();
}
} // namespace

TEST (WindowPlay, ShowsTheModuleEditorInsideItsWindowAndPlaysAClickedKey)
{
    if (juce::SystemStats::getEnvironmentVariable ("DISPLAY", {}).isEmpty())
        GTEST_SKIP() << "needs an X display (tools/run-tests.sh starts one)";

    // The test clicks and types on the display other test processes share.
    const DisplayLock displayLock;
    ScratchFolder home;
    JackServer server (home.get());
    ASSERT_TRUE (server.isReady()) << server.getLog();
    auto player = startPlayer ({ "--jack", "--program", "Simple Saw" }, home.get(), &server);
    JackTestClient client (server);
    ASSERT_TRUE (client.waitForPorts ({ "quane-play:out_1" }, 30000)) << player->getLog();
    ASSERT_TRUE (client.connect ("quane-play:out_1", client.name() + ":in_l"));
    ASSERT_TRUE (client.connect ("quane-play:out_2", client.name() + ":in_r"));
    ASSERT_TRUE (client.connect (client.name() + ":midi_out", "quane-play-midi:in"));

    const auto window = findWindow();
    ASSERT_TRUE (window.isNotEmpty()) << player->getLog();
    juce::Thread::sleep (1500); // the editor paints on its idle calls

    // The editor's own window sits inside the player's, at its full size.
    const auto tree = runCommand ({ "xwininfo", "-tree", "-id", window });
    EXPECT_TRUE (tree.contains (juce::String (editorWidth) + "x" + juce::String (editorHeight))) << tree;

    const auto screenshot = juce::File (QUANE_BINARY_DIR).getChildFile ("tests").getChildFile ("quane-play-window.png");
    screenshot.deleteFile();
    runCommand ({ "import", "-window", window, screenshot.getFullPathName() });
    const auto picture = juce::ImageFileFormat::loadFrom (screenshot);
    ASSERT_TRUE (picture.isValid()) << "no screenshot at " << screenshot.getFullPathName();
    EXPECT_GT (distinctColours (picture, { editorLeft, 0, editorWidth, editorHeight }), 50)
        << "the editor area looks blank";

    // With the window up, a note from the JACK port sounds at its pitch ("Simple Saw": A4 at
    // 220 Hz) and stops after its release.
    const auto played = client.perform ({ noteAt (rate / 5, 69, 100), noteAt (rate, 69, 0) }, 1.6);
    ASSERT_EQ (played.size(), 2u);
    EXPECT_NEAR (fundamentalHz (played[0], rate / 2, rate - rate / 20, rate), 220.0, 220.0 * 0.015);
    EXPECT_LT (rmsDb (played[0], rate + rate / 4, (int) played[0].size()), -90.0);

    // Hold a white key for about a second while recording, then let go.
    RunningProcess clicker ({ "xdotool", "mousemove", "--window", window, juce::String (keyX), juce::String (keyY),
                              "sleep", "0.4", "mousedown", "1", "sleep", "1.0", "mouseup", "1" },
                            home.file ("xdotool.log"));
    const auto audio = client.perform ({}, 2.6);
    ASSERT_EQ (audio.size(), 2u);
    EXPECT_GT (loudestDbOf (audio), -40.0) << "the clicked key did not sound; " << player->getLog();
    EXPECT_LT (rmsDb (audio[0], (int) audio[0].size() - rate / 4, (int) audio[0].size()), -90.0)
        << "the note did not stop";

    // A click in the editor (on its logo) leaves the computer keyboard playing: "a" is a C.
    RunningProcess typist ({ "xdotool", "mousemove", "--window", window, juce::String (logoX), juce::String (logoY),
                             "click", "1", "sleep", "0.5", "keydown", "a", "sleep", "1.0", "keyup", "a" },
                           home.file ("xdotool-keys.log"));
    EXPECT_GT (loudestDbOf (client.perform ({}, 2.6)), -40.0) << "the key did not sound after a click in the editor";

    // ">" shifts the computer keys an octave up: "a" is then C6 (72), at 261.6 Hz an octave down
    // in "Simple Saw"; the octave is kept in the settings.
    RunningProcess shifter (
        { "xdotool", "sleep", "0.3", "key", "greater", "sleep", "0.2", "keydown", "a", "sleep", "1.2", "keyup", "a" },
        home.file ("xdotool-octave.log"));
    const auto shifted = client.perform ({}, 2.4);
    ASSERT_EQ (shifted.size(), 2u);
    EXPECT_NEAR (fundamentalHz (shifted[0], rate, rate + rate / 2, rate), 261.6, 261.6 * 0.015);

    EXPECT_EQ (player->stop(), 0) << player->getLog();
    EXPECT_TRUE (
        home.file (".config/Quane/quane-play.settings").loadFileAsString().contains ("name=\"keyOctave\" val=\"6\""));
}

TEST (WindowPlay, WithoutAnAudioDeviceTheWindowOpensWithTheDeviceDialog)
{
    if (juce::SystemStats::getEnvironmentVariable ("DISPLAY", {}).isEmpty())
        GTEST_SKIP() << "needs an X display (tools/run-tests.sh starts one)";

    ScratchFolder home;
    auto player = startPlayer ({ "--jack" }, home.get(), nullptr); // no JACK server of that name runs
    EXPECT_TRUE (findWindow().isNotEmpty()) << player->getLog();
    EXPECT_TRUE (findWindow ("^Audio and MIDI settings$").isNotEmpty()) << player->getLog();
    EXPECT_TRUE (player->isRunning());
    EXPECT_EQ (player->stop(), 0) << player->getLog();
    EXPECT_FALSE (player->getLog().contains ("JackShm")) << player->getLog();
}
} // namespace quane::test
