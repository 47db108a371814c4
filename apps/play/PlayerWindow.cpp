// Quane - polyphonic wavetable synthesiser
// SPDX-License-Identifier: GPL-3.0-or-later
// The player's one window: the module's editor above the control strip.
#include "PlayerWindow.h"

namespace quane::play
{
namespace
{
// Wide enough for the strip's buttons and three octaves of keys beside a narrow editor.
constexpr int minimumWidth = 720;
} // namespace

/** The editor centred at the top, the strip below it across the whole width. */
class PlayerWindow::Content : public juce::Component
{
public:
    explicit Content (PlayerSession& session) : editor (session.getEffect()), strip (session)
    {
        addAndMakeVisible (editor);
        addAndMakeVisible (strip);
        editor.onEditorResized = [this] { fitToEditor(); };
        editor.onKeyboardTakenBack = [this] { strip.focusKeyboard(); };
        fitToEditor();
    }

    void fitToEditor()
    {
        const auto editorArea = editor.getEditorBounds();
        setSize (juce::jmax (minimumWidth, editorArea.getWidth()),
                 editorArea.getHeight() + ControlStrip::preferredHeight);
    }

    void paint (juce::Graphics& g) override { g.fillAll (juce::Colour (0xff2b2b30)); }

    void resized() override
    {
        auto area = getLocalBounds();
        const auto editorArea = editor.getEditorBounds();
        auto top = area.removeFromTop (editorArea.getHeight());
        editor.setBounds (top.withSizeKeepingCentre (editorArea.getWidth(), editorArea.getHeight()));
        strip.setBounds (area);
    }

    ControlStrip& getStrip() noexcept { return strip; }

private:
    EditorHost editor;
    ControlStrip strip;
};

PlayerWindow::PlayerWindow (PlayerSession& playerSession)
    : juce::DocumentWindow ("Quane", juce::Colour (0xff2b2b30),
                            juce::DocumentWindow::closeButton | juce::DocumentWindow::minimiseButton),
      session (playerSession)
{
    setUsingNativeTitleBar (true);
    auto* content = new Content (session);
    setContentOwned (content, true);
    setResizable (false, false);

    const auto savedPosition = session.getSettings().getWindowState();
    if (savedPosition.isEmpty() || ! restoreWindowStateFromString (savedPosition))
        centreWithSize (getWidth(), getHeight());
    // The saved state holds a size too: the editor's size wins.
    setSize (content->getWidth(), content->getHeight());

    setVisible (true);
    content->getStrip().focusKeyboard();
    if (session.getDeviceProblem().isNotEmpty())
        content->getStrip().offerDeviceSettings();
    else if (session.getSettings().getWarning().isNotEmpty())
        content->getStrip().showMessage ("Settings were unreadable and have been set aside; starting with program 0.");
}

PlayerWindow::~PlayerWindow()
{
    session.getSettings().setWindowState (getWindowStateAsString());
    clearContentComponent(); // the editor closes while the window it lives in still exists
}

void PlayerWindow::closeButtonPressed()
{
    juce::JUCEApplication::getInstance()->systemRequestedQuit();
}
} // namespace quane::play
