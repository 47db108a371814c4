// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The editor at its size factors, through the module's entry: display, host, the user's menu, drags and keys.
#include "tests/host/EditorHostSupport.h"

#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <poll.h>
#include <set>
#include <spawn.h>
#include <unistd.h>

extern char** environ;

namespace quane::editorhost
{
namespace
{
constexpr int panelWidth = 540, panelHeight = 340;
// Resonance: slider 7 at (340, 10), 12 x 80 panel pixels; (170, 100) is bare panel.
constexpr int sliderX = 346, backgroundX = 170, backgroundY = 100;

/** The display's scale is a setting of the whole X server, which the other test programs share:
    this program runs on a server of its own, started before its first test. The server ends by
    itself when its last client has gone, the module's connection included, at the program's exit. */
class PrivateServer : public ::testing::Environment
{
public:
    void SetUp() override
    {
        int ready[2];
        ASSERT_EQ (pipe (ready), 0);
        const auto fd = std::to_string (ready[1]);
        const char* argv[] = { "Xvfb",         "-displayfd", fd.c_str(), "-screen",    "0",
                               "1920x1200x24", "-nolisten",  "tcp",      "-terminate", nullptr };
        ASSERT_EQ (posix_spawnp (&pid, argv[0], nullptr, nullptr, const_cast<char**> (argv), environ), 0);
        close (ready[1]);
        // The server writes its display number once it accepts clients.
        pollfd wait { ready[0], POLLIN, 0 };
        char number[16] = {};
        ASSERT_GT (poll (&wait, 1, 20000), 0) << "Xvfb did not start";
        ASSERT_GT (read (ready[0], number, sizeof (number) - 1), 0);
        close (ready[0]);
        setenv ("DISPLAY", (":" + std::to_string (std::atoi (number))).c_str(), 1);
        // Held for the whole run, so the server neither ends nor resets between tests.
        keeper = XOpenDisplay (nullptr);
        ASSERT_NE (keeper, nullptr);
        // The factor must come from the settings under test, not from the desktop that runs them.
        unsetenv ("GDK_SCALE");
    }

    void TearDown() override
    {
        if (keeper != nullptr)
            XCloseDisplay (keeper);
    }

private:
    pid_t pid = -1;
    ::Display* keeper = nullptr;
};

[[maybe_unused]] const auto* const server = ::testing::AddGlobalTestEnvironment (new PrivateServer);

std::string run (const std::string& command)
{
    std::string output;
    if (auto* pipe = popen ((command + " 2>&1").c_str(), "r"))
    {
        char buffer[256];
        while (fgets (buffer, sizeof (buffer), pipe) != nullptr)
            output += buffer;
        pclose (pipe);
    }
    return output;
}

/** ImageMagick's mean absolute error of two pictures of one size, 0..1. */
double meanAbsoluteError (const std::string& a, const std::string& b)
{
    const auto output = run ("compare -metric MAE '" + a + "' '" + b + "' null:");
    const auto open = output.find ('(');
    return open == std::string::npos ? -1.0 : std::atof (output.c_str() + open + 1);
}

class EditorScale : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE (host.display, nullptr);
        ASSERT_NE (instance.getEffect(), nullptr);
        setDisplayDpi (96);
        // Each test is a new user with no choice of their own.
        configFolder = std::filesystem::temp_directory_path() / ("quane-scale-" + std::to_string (getpid()));
        std::filesystem::remove_all (configFolder);
        std::filesystem::create_directories (configFolder);
        setenv ("XDG_CONFIG_HOME", configFolder.c_str(), 1);
    }

    void TearDown() override
    {
        releaseButton();
        instance.close();
        std::filesystem::remove_all (configFolder);
    }

    /** Xft.dpi in the screen's X resources, as xrdb or a desktop sets it. */
    void setDisplayDpi (int dpi)
    {
        const auto resources = "Xft.dpi:\t" + std::to_string (dpi) + "\n";
        XChangeProperty (host.display, DefaultRootWindow (host.display), XA_RESOURCE_MANAGER, XA_STRING, 8,
                         PropModeReplace, (const unsigned char*) resources.data(), (int) resources.size());
        XSync (host.display, False);
    }

    std::pair<int, int> editorRect (EditorInstance& effect)
    {
        vst::ERect* rect = nullptr;
        if (effect.dispatch (vst::effEditGetRect, 0, 0, &rect) == 0 || rect == nullptr)
            return {};
        return { rect->right - rect->left, rect->bottom - rect->top };
    }

    vst::intptr sendHostFactor (float factor)
    {
        return instance.dispatch (vst::effVendorSpecific, vst::editorScaleRequestIndex, vst::editorScaleRequestValue,
                                  nullptr, factor);
    }

    /** Opens the editor in a new host window of the given size; answers the editor's window. */
    XWindow openEditor (int width, int height)
    {
        parent = host.createHostWindow (width, height);
        if (instance.openEditor (parent) != 1)
            return 0;
        instance.idleEditor (300);
        const auto children = host.childrenOf (parent);
        return children.size() == 1 ? children[0] : 0;
    }

    void closeEditor()
    {
        instance.dispatch (vst::effEditClose);
        host.destroyWindow (parent);
    }

    /** Presses button 1 at (x, y) of the host window, drags to y, releases. */
    void drag (int x, int fromY, int toY)
    {
        pointerTo (parent, x, fromY);
        instance.idleEditor (50);
        pressButton();
        instance.idleEditor (80);
        pointerTo (parent, x, (fromY + toY) / 2);
        instance.idleEditor (80);
        pointerTo (parent, x, toY);
        instance.idleEditor (80);
        releaseButton();
        instance.idleEditor (80);
    }

    /** The biggest top-level window that was not there before: a menu, not its shadows. */
    WindowGeometry newestMenu (const std::vector<XWindow>& before)
    {
        WindowGeometry menu;
        for (auto window : host.topLevelWindows())
        {
            const auto geometry = host.geometryOf (window);
            if (std::find (before.begin(), before.end(), window) == before.end() && geometry.viewable
                && geometry.width * geometry.height > menu.width * menu.height)
                menu = geometry;
        }
        return menu;
    }

    /** Right-clicks the panel's background; answers the menu that opens. */
    WindowGeometry openScaleMenu (float factor)
    {
        const auto before = host.topLevelWindows();
        pointerTo (parent, (int) (backgroundX * factor), (int) (backgroundY * factor));
        instance.idleEditor (50);
        run ("xdotool click 3");
        instance.idleEditor (300);
        return newestMenu (before);
    }

    HostDisplay host { false };
    EditorInstance instance;
    XWindow parent = 0;
    std::filesystem::path configFolder;
};

TEST_F (EditorScale, FollowsTheDisplaysXftDpiWithThePanelDrawnAnew)
{
    std::string pictures[4];
    for (int factor : { 1, 2, 3 })
    {
        SCOPED_TRACE (testing::Message() << "Xft.dpi " << 96 * factor);
        setDisplayDpi (96 * factor);
        EXPECT_EQ (editorRect (instance), std::make_pair (panelWidth * factor, panelHeight * factor));
        const auto editor = openEditor (panelWidth * factor, panelHeight * factor);
        ASSERT_NE (editor, 0u);
        const auto geometry = host.geometryOf (editor);
        EXPECT_EQ (geometry.width, panelWidth * factor);
        EXPECT_EQ (geometry.height, panelHeight * factor);
        EXPECT_EQ (editorRect (instance), std::make_pair (panelWidth * factor, panelHeight * factor));
        pictures[factor] = saveWindowPicture (editor, "editor-scale-" + std::to_string (100 * factor) + ".png");
        std::cout << "editor at " << 100 * factor << " %: " << pictures[factor] << std::endl;
        closeEditor();
    }

    // Not the 100 % picture made larger, by any of the usual filters: the 200 % panel is drawn anew.
    for (const char* filter : { "Point", "Box", "Triangle", "Hermite", "Catrom", "Mitchell", "Lanczos", "Spline" })
    {
        SCOPED_TRACE (filter);
        const auto upscaled = pictures[2] + "." + filter + ".png";
        run ("convert '" + pictures[1] + "' -filter " + filter + " -resize 1080x680! '" + upscaled + "'");
        const double difference = meanAbsoluteError (pictures[2], upscaled);
        std::cout << filter << " upscale differs by " << difference << std::endl;
        EXPECT_GT (difference, 0.02);
        std::filesystem::remove (upscaled);
    }
}

TEST_F (EditorScale, TakesTheHostsFactorAndIgnoresWhatIsNoFactor)
{
    std::vector<char> stateBefore;
    {
        void* chunk = nullptr;
        const auto size = instance.dispatch (vst::effGetChunk, 0, 0, &chunk);
        stateBefore.assign ((char*) chunk, (char*) chunk + size);
    }

    EXPECT_EQ (sendHostFactor (2.0f), 0) << "the request's answer stays as it was";
    EXPECT_EQ (editorRect (instance), std::make_pair (1080, 680));
    for (float bad :
         { 0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 0.3f, 5.0f })
    {
        SCOPED_TRACE (bad);
        EXPECT_EQ (sendHostFactor (bad), 0);
        EXPECT_EQ (editorRect (instance), std::make_pair (1080, 680));
    }

    // Changed while open, with a host that does not size its windows: both are sized by hand.
    const auto editor = openEditor (1080, 680);
    ASSERT_NE (editor, 0u);
    sendHostFactor (1.4f);
    instance.idleEditor (300);
    EXPECT_EQ (host.geometryOf (editor).width, 810);
    EXPECT_EQ (host.geometryOf (editor).height, 510);
    EXPECT_EQ (host.geometryOf (parent).width, 810);
    EXPECT_EQ (host.geometryOf (parent).height, 510);

    void* chunk = nullptr;
    const auto size = instance.dispatch (vst::effGetChunk, 0, 0, &chunk);
    EXPECT_EQ (std::vector<char> ((char*) chunk, (char*) chunk + size), stateBefore)
        << "the scale is no part of the state";
    EXPECT_FALSE (std::filesystem::exists (configFolder / "Quane")) << "nothing written without the user's pick";
}

TEST_F (EditorScale, TheRightClickMenuKeepsTheUsersChoice)
{
    instance.onSizeWindow = [] (int, int) { return true; }; // a host that sizes its window itself
    const auto editor = openEditor (panelWidth, panelHeight);
    ASSERT_NE (editor, 0u);
    const auto menuAt100 = openScaleMenu (1.0f);
    ASSERT_GT (menuAt100.height, 0) << "no menu opened";

    // "100 %" ... "300 %", a separator about half an item high, "Follow the display": pick "150 %".
    instance.clearRequests();
    const int item = 2;
    pointerTo (DefaultRootWindow (host.display), menuAt100.x + menuAt100.width / 2,
               menuAt100.y + (int) ((item + 0.5) * menuAt100.height / 8.5));
    instance.idleEditor (100);
    run ("xdotool click 1");
    instance.idleEditor (400);

    const auto resizes = instance.getRequests (vst::audioMasterSizeWindow);
    ASSERT_EQ (resizes.size(), 1u);
    EXPECT_EQ (resizes[0].index, 810);
    EXPECT_EQ (resizes[0].value, 510);
    EXPECT_EQ (host.geometryOf (editor).width, 810);
    EXPECT_EQ (host.geometryOf (editor).height, 510);

    const auto menuAt150 = openScaleMenu (1.5f);
    EXPECT_NEAR (menuAt150.height, menuAt100.height * 1.5, 2.0) << "the menu scales with its editor";
    run ("xdotool key Escape");
    instance.idleEditor (200);
    closeEditor();

    // Kept for the person: a new instance starts at 150 %, ahead of the host's factor.
    std::ifstream settings (configFolder / "Quane" / "editor-scale.settings");
    std::string line;
    std::getline (settings, line);
    EXPECT_EQ (line, "scale=150");
    EditorInstance second;
    second.dispatch (vst::effVendorSpecific, vst::editorScaleRequestIndex, vst::editorScaleRequestValue, nullptr, 2.0f);
    EXPECT_EQ (editorRect (second), std::make_pair (810, 510));

    // A garbled file is no choice.
    std::ofstream (configFolder / "Quane" / "editor-scale.settings") << "scale=1\x01\xff" << std::string (100, 'x');
    EditorInstance third;
    EXPECT_EQ (editorRect (third), std::make_pair (panelWidth, panelHeight));
}

TEST_F (EditorScale, ADragMovesTheSameParameterByTheSameAmountAtEveryFactor)
{
    float moved[3] = {};
    for (int factor : { 1, 2 })
    {
        SCOPED_TRACE (testing::Message() << factor * 100 << " %");
        setDisplayDpi (96 * factor);
        const auto editor = openEditor (panelWidth * factor, panelHeight * factor);
        ASSERT_NE (editor, 0u);
        instance.setParameter (7, 0.5f);
        instance.idleEditor (100);
        instance.clearRequests();

        // Hovering shows the parameter's name and value in a bubble right of the slider.
        const auto before = grabWindow (host.display, editor);
        pointerTo (parent, sliderX * factor, 50 * factor);
        instance.idleEditor (200);
        const auto hovered = grabWindow (host.display, editor);
        EXPECT_GT (hovered.meanDifference (before, 353 * factor, 20 * factor, 60 * factor, 60 * factor), 10.0)
            << "no bubble beside the hovered slider";

        drag (sliderX * factor, 40 * factor, 25 * factor);
        const auto automates = instance.getRequests (vst::audioMasterAutomate);
        ASSERT_FALSE (automates.empty());
        EXPECT_EQ (automates.back().index, 7);
        moved[factor] = instance.getParameter (7) - 0.5f;
        closeEditor();
    }
    EXPECT_GT (moved[1], 0.1f);
    EXPECT_NEAR (moved[2], moved[1], 0.01f);
}

TEST_F (EditorScale, AClickOnASliderLeavesTheKeysWithTheHost)
{
    ASSERT_NE (openEditor (panelWidth, panelHeight), 0u);
    XSelectInput (host.display, parent, KeyPressMask | StructureNotifyMask | ExposureMask);
    XSetInputFocus (host.display, parent, RevertToParent, CurrentTime);
    XSync (host.display, False);

    drag (sliderX, 40, 40);
    run ("xdotool key a");
    XEvent event {};
    bool hostGotKey = false;
    for (int attempt = 0; attempt < 50 && ! hostGotKey; ++attempt)
    {
        instance.idleEditor (20);
        hostGotKey = XCheckWindowEvent (host.display, parent, KeyPressMask, &event) == True;
    }
    EXPECT_TRUE (hostGotKey) << "the key went to the editor, not to the host";

    ::Window focus = 0;
    int revertTo = 0;
    XGetInputFocus (host.display, &focus, &revertTo);
    EXPECT_EQ (focus, parent);
}
} // namespace
} // namespace quane::editorhost
